' Arithmetic, comparison and logical operators with the coercions between subtypes.
Option Explicit

' Integer arithmetic widens instead of overflowing.
Check TypeName(1 + 2) = "Integer", "Integer + Integer stays Integer"
Check TypeName(32767 + 1) = "Long", "Integer overflow widens to Long"
Check 32767 + 1 = 32768, "widened sum keeps its value"
Check TypeName(2147483647 + 1) = "Double", "Long overflow widens to Double"
Check 2147483647 + 1 = 2147483648, "Double sum keeps its value"
Check TypeName(CInt(-32768) - 1) = "Long", "Integer underflow widens to Long"
Check TypeName(200 * 200) = "Long", "Integer product widens to Long"
Check TypeName(CByte(200) + CByte(100)) = "Integer", "Byte sum widens to Integer"
Check TypeName(True + 1) = "Integer" And True + 1 = 0, "True counts as -1"

' The same rules hold for values held in variables, the way loops meet them.
Dim small, big, wide, huge
small = CInt(32767): big = CLng(2147483647): wide = 0.5: huge = 1E+308
Check TypeName(small + small) = "Long" And small + small = 65534, "Integer variables widen"
Check TypeName(small - small) = "Integer", "Integer difference stays Integer"
Check TypeName(big + small) = "Double" And big + small = 2147516414, "Long + Integer widens"
Check TypeName(big * big) = "Double", "Long product widens to Double"
Check TypeName(small + wide) = "Double" And small + wide = 32767.5, "Integer + Double"
Check small < big And big > wide And wide <= 0.5 And Not (small <> 32767), "mixed comparisons"
Check TypeName(small = 32767) = "Boolean", "a comparison gives a Boolean"
On Error Resume Next
Dim overflowed
overflowed = huge * 10
Check Err.Number = 6 And IsEmpty(overflowed), "a Double product past the range is error 6"
On Error GoTo 0

' Division and powers.
Check 10 / 4 = 2.5 And TypeName(10 / 5) = "Double", "/ gives a Double"
Check 7 \ 2 = 3 And -7 \ 2 = -3, "\ truncates toward zero"
Check 7.5 \ 2 = 4, "\ rounds its operands first (banker's)"
Check 6.5 \ 2 = 3, "6.5 rounds to 6 before \"
Check 7 Mod 3 = 1 And -7 Mod 3 = -1 And 7 Mod -3 = 1, "Mod takes the sign of the dividend"
Check 5.5 Mod 4 = 2, "Mod rounds its operands"
Check 2 ^ 10 = 1024 And TypeName(2 ^ 2) = "Double", "^ gives a Double"
Check -3 ^ 2 = 9 And -2 ^ 3 = -8 And 2 ^ -1 = 0.5, "negation binds tighter than ^"
Check 1 - 3 ^ 2 = -8 And -3 * 2 = -6, "a minus between operands is still a subtraction"
Check 2 + 3 * 4 = 14 And (2 + 3) * 4 = 20, "precedence of * over +"
Check 2 ^ 3 ^ 2 = 64, "^ is left-associative"

' + and & on strings.
Check "1" + "2" = "12", "+ on two strings concatenates"
Check "1" + 2 = 3, "+ with one number adds"
Check 1 & 2 = "12" And TypeName(1 & 2) = "String", "& always gives a String"
Check "a" & 1 + 2 = "a3", "& binds looser than +"
Check "x" & Null = "x" And IsNull(Null & Null), "& treats Null as empty unless both are Null"
Check IsNull(Null + 1) And IsNull(Null * 0), "arithmetic on Null gives Null"

Dim e
Check e + 1 = 1 And e & "x" = "x", "Empty is 0 or an empty string"
Check e = 0 And e = "", "Empty equals both 0 and an empty string"

' Comparisons.
Check "10" < "9", "two strings compare as text"
Check 10 > 9, "two numbers compare as numbers"
Check Not ("a" = "A"), "binary comparison is case-sensitive"
Check "abc" < "abd" And "ab" < "abc", "text comparison by character"
Dim n, s
n = 10 : s = "9"
Check n < s, "a number compares lower than a string variable"
Check IsNull(Null = Null) And IsNull(1 < Null), "a comparison with Null gives Null"
Check (1 < 2) = True, "a comparison gives a Boolean"
Check CInt(1 = 1) = -1, "True is -1"

' Logical operators: bitwise on numbers.
Check (Not 0) = -1 And (Not True) = False, "Not"
Check (5 And 3) = 1 And (5 Or 3) = 7 And (5 Xor 3) = 6, "And Or Xor on numbers are bitwise"
Check (12 Eqv 10) = -7 And (12 Imp 10) = -5, "Eqv and Imp on numbers are bitwise"
Check (True Eqv True) And (False Imp True) And Not (True Imp False), "Eqv and Imp on Booleans"
Check IsNull(True And Null) And (False And Null) = False, "False And Null is False"
Check (True Or Null) = True And IsNull(False Or Null), "True Or Null is True"
Check TypeName(True And True) = "Boolean", "And of Booleans stays Boolean"
Check (&HFF And &H0F) = 15, "hexadecimal literals"
Check &O17 = 15 And &o777 = 511, "octal literals"
' Without a trailing &, a literal up to &HFFFF is a 16-bit signed Integer; &H8000 is the Long
' -32768. With &, or past &HFFFF, it is 32-bit signed.
Check TypeName(&H7FFF) = "Integer" And &H7FFF = 32767, "&H7FFF is the Integer 32767"
Check &HFFFF = -1 And TypeName(&HFFFF) = "Integer", "&HFFFF is the Integer -1"
Check &H8001 = -32767 And TypeName(&H8001) = "Integer", "&H8001 is -32767"
Check &H8000 = -32768 And TypeName(&H8000) = "Long" And VarType(&H8000) = 3, "&H8000 is the Long -32768"
Check &HFFF0 = -16 And -&HFFF0 = 16 And TypeName(-&HFFF0) = "Integer", "-&HFFF0 is 16"
Check &O177777 = -1 And &O100001 = -32767 And &O100000 = -32768 And TypeName(&O100000) = "Long", "octal up to &O177777 is 16-bit"
Check &H0 = 0 And &hFF = 255 And &o0 = 0 And TypeName(&hFF) = "Integer", "small literals"
Check &HFFFF& = 65535 And TypeName(&HFFFF&) = "Long", "&HFFFF& is the Long 65535"
Check &H8000& = 32768 And TypeName(&H8000&) = "Long" And &O177777& = 65535, "&H8000& and &O177777& are 32-bit"
Check &H10000 = 65536 And TypeName(&H10000) = "Long", "past &HFFFF: 32 bits"
Check &HFFFFFFFF = -1 And TypeName(&HFFFFFFFF) = "Integer", "&HFFFFFFFF is -1"
Check TypeName(&h10&) = "Integer" And &h10& = 16, "&h10& is 16"
Check TypeName(&hFFFFFFFF&) = "Integer" And &hFFFFFFFF& = -1, "&hFFFFFFFF& is -1"
Check &HFFFF8000 = -32768 And &HFFFF7FFF = -32769, "32-bit literals near -32768"
Check TypeName(&H80000000) = "Long" And &H80000000 = -2147483648, "the sign bit of 32"
Check &H7FFFFFFF = 2147483647 And &O37777777777 = -1, "the largest 32-bit literals"
Check (&HFFFF And &HFF) = 255 And (&HFFFF& And &H1FF) = 511, "16-bit literals in bit operations"
Check CLng(&HFFFF) = -1 And Hex(&HFFFF) = "FFFF" And Hex(&HFFFF&) = "FFFF", "CLng and Hex of &HFFFF"
On Error Resume Next
Dim tooBig
Execute "tooBig = &H100000000"
Check Err.Number <> 0 And IsEmpty(tooBig), "a hex literal past 32 bits is an error"
Err.Clear
On Error GoTo 0

' Objects compare with Is.
Class Box
  Public Value
End Class
Dim a, b, c
Set a = New Box
Set b = a
Set c = New Box
Check a Is b, "two references to one object are Is"
Check Not (a Is c), "two objects are not Is"
Check Nothing Is Nothing, "Nothing Is Nothing"
Set b = Nothing
Check b Is Nothing, "a cleared reference Is Nothing"

'' A text against a number: only when the number is a numeric literal written in the
' comparison is the text read as a number (13 when it is none); a number from anywhere else
' is turned into text and the two compare as texts. A Boolean always compares as its text.
Dim ten, nineText
ten = 10 : nineText = "9"
Check ten < nineText And Not (ten > nineText), "two variables: ""10"" < ""9"" as texts"
Check nineText < 10 And 10 > nineText, "a literal number reads the text as a number"
Check Not ("9" < ten) And Not (ten > "9") And "9" > ten, "a text literal against a number variable compares as text"
Check "10" = 10 And 1 = "1" And Not ("2" < 1), "literal texts against literal numbers compare as numbers"
Check " 12 " = 12 And "1e1" = 10 And "&H10" = 16, "a text read as a number may have blanks, an exponent, &H"
Check "255" = &HFF And "8" = &O10, "a hex or octal literal is a numeric literal"
Check "True" = True And True = "True" And "False" = False And Not ("1" = True), "a text against a literal Boolean compares as text"
Dim yes
yes = True
Check "True" = yes And Not ("-1" = yes), "a text against a Boolean variable compares as text"
On Error Resume Next
Dim mismatch
mismatch = ("abc" = 1)
Check Err.Number = 13 And IsEmpty(mismatch), "a text that is no number against a literal number is 13"
Err.Clear
mismatch = (nineText < "x" And "abc" < 1)
Check Err.Number = 13, "a text variable that is no number against a literal number is 13"
Err.Clear
On Error GoTo 0
' The examples of the rule.
Dim five, cmp
five = 5
cmp = ("abc" = five)
Check cmp = False And TypeName(cmp) = "Boolean", "n = 5 : (""abc"" = n) is False without error"
Check Len("ab") > "" And Not (Len("ab") < ""), "Len(""ab"") > """" is True"
Check ("010" = ten) = False And ("10" = ten) = True, "a number variable turned into text: ""010"" <> ""10"""
Check ("10" > CDbl(5)) = False And ("10" < CDbl(5)), """10"" > CDbl(5) compares ""10"" with ""5"""
Dim textSix
textSix = "010"
Check textSix = 10 And 10 = textSix And Not (textSix < 10), "a text variable against a literal number is read as a number"
' Every other source of a number: conversions, functions, constants, arithmetic, a sign.
Check ("abc" = CByte(5)) = False And ("5" = CByte(5)), "CByte"
Check ("abc" = CCur(5)) = False And ("5" = CCur(5)), "CCur"
Check ("abc" = CInt(5)) = False And ("5" = CInt(5)) And Not ("5.0" = CInt(5)), "CInt"
Check ("abc" = CLng(5)) = False And ("5" = CLng(5)), "CLng"
Check ("abc" = CSng(1.5)) = False And ("1.5" = CSng(1.5)), "CSng"
Check ("abc" = CDbl(5)) = False And ("05" <> CDbl(5)), "CDbl"
Check ("abc" = CDate(1)) = False And (CStr(CDate(1)) = CDate(1)), "CDate: the date's text"
Check ("abc" > Len("abcd")) And ("3" < Len("abcd")), "Len"
Function FiveOf()
  FiveOf = 5
End Function
Check ("abc" = FiveOf()) = False And ("5" = FiveOf) And "40" < FiveOf(), "a user function"
Const fiveConst = 5
Check ("abc" = fiveConst) = False And ("5" = fiveConst) And Not ("5.0" = fiveConst), "a Const"
Check ("abc" = 2 + 3) = False And ("5" = 2 + 3) And Not ("05" = 2 + 3), "arithmetic"
Check ("abc" = -5) = False And ("-5" = -5) And Not (" -5" = -5), "a negated literal -5"
Check ("abc" <> ten) And ("abc" >= ten) And Not ("abc" <= ten), "<> >= <= the same way"
Sub CompareParams(ByVal byValue, byRefValue)
  Check ("abc" = byValue) = False And ("7" = byValue), "a ByVal parameter"
  Check ("abc" = byRefValue) = False And ("7" = byRefValue), "a ByRef parameter"
End Sub
Dim seven
seven = 7
CompareParams seven, seven
Check "" = Empty And Not ("a" = Empty) And "" < ten, "a text against Empty, and """" against a number variable"
Dim arr
arr = Array(5)
Check ("abc" = arr(0)) = False And ("5" = arr(0)), "an array element"

' A Single meets a Double at the Single's precision.
Check CSng(0.1) = 0.1 And 0.1 = CSng(0.1), "CSng(0.1) = 0.1"
Check CSng(0.1) <> 0.1000001, "a Double that differs as a Single still differs"

' Logical operators on Empty give a Long; with Null, a result the other side settles alone.
Check TypeName(Empty And 1) = "Long" And TypeName(Empty Or Empty) = "Long", "Empty makes a Long"
Check TypeName(Not Empty) = "Long" And (Not Empty) = -1, "Not Empty is the Long -1"
Check TypeName(Empty Xor CByte(1)) = "Long" And TypeName(1 Eqv Empty) = "Long", "Xor and Eqv with Empty"
Check TypeName(CByte(1) And CByte(3)) = "Byte" And TypeName(True Or CByte(1)) = "Integer", "Byte stays Byte, Boolean with a number is an Integer"
Check (CByte(0) Imp Null) = 255 And TypeName(CByte(0) Imp Null) = "Byte", "CByte(0) Imp Null is 255"
Check (CByte(170) Imp Null) = 85 And VarType(CByte(170) Imp Null) = 17, "a Byte Imp Null is Not b as a Byte"
Check (CByte(255) Imp Null) = 0 And TypeName(CByte(255) Imp Null) = "Byte", "CByte(255) Imp Null is 0"
Check (CByte(1) Imp Null) = (Not CByte(1)) And (Not CByte(1)) = 254, "CByte(1) Imp Null is Not CByte(1)"
Check IsNull(170 Imp Null) And IsNull(CLng(170) Imp Null) And (0 Imp Null) = -1, "other numbers Imp Null: known only when Not x is all ones"
Check IsNull(Null Imp CByte(170)) And (Null Imp CByte(255)) = 255, "Null Imp a Byte: known only when the Byte is all ones"
Check (Empty Imp Null) = -1 And TypeName(Empty Imp Null) = "Long", "Empty Imp Null is -1"
Check (False Imp Null) = True And IsNull(True Imp Null) And (Null Imp True) = True And IsNull(Null Imp 0), "Imp with Null"
Check (Not "#FALSE#") = True And (Not "#TRUE#") = False And TypeName(Not "#FALSE#") = "Boolean", "Not ""#FALSE#"" is True"
Check (Not "False") = True And (Not "true") = False, "Not of a Boolean's text"
Check (Not "5") = -6 And TypeName(Not "5") = "Long" And (Not "0") = -1, "Not of a number's text is a Long"
On Error Resume Next
Dim notText
notText = Not "abc"
Check Err.Number = 13 And IsEmpty(notText), "Not of another text is 13"
Err.Clear
On Error GoTo 0
Check (0 And Null) = 0 And TypeName(0 And Null) = "Integer" And IsNull(1 And Null), "And with Null"
Check (-1 Or Null) = -1 And (CByte(255) Or Null) = 255 And IsNull(1 Or Null), "Or with Null"
Check IsNull(Null Xor 0) And IsNull(Null Eqv -1), "Xor and Eqv with Null are Null"

' Unary + is the identity, on texts and objects too.
Check TypeName(+"12") = "String" And +"12" = "12", "+ keeps a text"
Check IsEmpty(+Empty) And IsNull(+Null), "+ keeps Empty and Null"
Dim plusBox
Set plusBox = New Box
Check TypeName(+plusBox) = "Box", "+ keeps an object"
Check -+-3 = 3, "signs in a row"
