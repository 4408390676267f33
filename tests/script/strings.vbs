' The string functions, with the 1-based positions and compare modes they take.
Option Explicit

Check Len("hello") = 5 And Len("") = 0 And Len(123) = 3, "Len"
Check Len("あいう") = 3, "Len counts characters, not bytes"
Check IsNull(Len(Null)), "Len of Null"
Check Left("hello", 2) = "he" And Left("hi", 10) = "hi" And Left("x", 0) = "", "Left"
Check Right("hello", 3) = "llo" And Right("hi", 5) = "hi", "Right"
Check Mid("hello", 2, 3) = "ell" And Mid("hello", 4) = "lo" And Mid("hi", 5) = "", "Mid"
Check Mid("あいうえ", 2, 2) = "いう", "Mid on Japanese text"

Check InStr("hello", "l") = 3 And InStr("hello", "z") = 0, "InStr"
Check InStr(4, "hello", "l") = 4 And InStr(5, "hello", "l") = 0, "InStr from a start"
Check InStr("Hello", "h") = 0 And InStr(1, "Hello", "h", vbTextCompare) = 1, "InStr compare modes"
Check InStr("abc", "") = 1 And InStr(2, "abc", "") = 2, "InStr of an empty text gives the start"
Check InStr(10, "abc", "a") = 0, "InStr from past the end"
Check InStrRev("a/b/c", "/") = 4 And InStrRev("a/b/c", "/", 3) = 2, "InStrRev"
Check InStrRev("ABA", "a", -1, vbTextCompare) = 3, "InStrRev text compare"

Check Replace("aaa", "a", "b") = "bbb", "Replace"
Check Replace("aaa", "a", "b", 1, 2) = "bba", "Replace with a count"
Check Replace("abcabc", "b", "X", 3) = "caXc", "Replace from a start returns the text from there"
Check Replace("AbAb", "a", "x", 1, -1, vbTextCompare) = "xbxb", "Replace text compare"
Check Replace("abc", "", "x") = "abc", "Replace of an empty text"

Dim parts
parts = Split("a,b,,c", ",")
Check UBound(parts) = 3 And parts(2) = "" And parts(3) = "c", "Split keeps empty parts"
parts = Split("a,b,c", ",", 2)
Check UBound(parts) = 1 And parts(1) = "b,c", "Split with a limit"
parts = Split("aXbxc", "x", -1, vbTextCompare)
Check UBound(parts) = 2, "Split text compare"
parts = Split("")
Check UBound(parts) = -1, "Split of an empty text is an empty array"
parts = Split("a b")
Check UBound(parts) = 1, "Split defaults to a blank"
Check Join(Array("a", "b", "c"), "-") = "a-b-c" And Join(Array("a", "b")) = "a b", "Join"
parts = Filter(Array("apple", "banana", "cherry"), "an")
Check UBound(parts) = 0 And parts(0) = "banana", "Filter"
parts = Filter(Array("apple", "banana", "cherry"), "an", False)
Check UBound(parts) = 1, "Filter excluding"
parts = Filter(Array("Apple", "apricot"), "AP", True, vbTextCompare)
Check UBound(parts) = 1, "Filter text compare"

Check LCase("AbC") = "abc" And UCase("aBc") = "ABC", "LCase and UCase"
Check LCase("ÄÖÜ") = "äöü" And UCase("é") = "É", "case of letters beyond ASCII"
Check Trim("  a b  ") = "a b" And LTrim("  a ") = "a " And RTrim(" a  ") = " a", "Trim family"
Check Trim(vbTab & "a") = vbTab & "a", "Trim removes only blanks"
Check Space(3) = "   " And Space(0) = "", "Space"
Check String(3, "ab") = "aaa" And String(2, 65) = "AA", "String"
Check StrComp("a", "b") = -1 And StrComp("b", "a") = 1 And StrComp("a", "a") = 0, "StrComp"
Check StrComp("A", "a") = -1 And StrComp("A", "a", vbTextCompare) = 0, "StrComp compare modes"
Check StrReverse("abc") = "cba" And StrReverse("") = "", "StrReverse"
Check Asc("A") = 65 And AscW("あ") = &H3042 And Asc("ABC") = 65, "Asc and AscW"
Check Chr(65) = "A" And ChrW(&H3042) = "あ" And Chr(13) & Chr(10) = vbCrLf, "Chr and ChrW"
' A lone lead byte of the code page gives what its conversion gives: U+30FB, code &H8145.
Check Chr(&h81) = ChrW(&H30FB) And Asc(Chr(&h81)) = &h8145 And AscW(Chr(&h81)) = &H30FB, "Chr(&h81) is U+30FB"
Check Chr(&h9F) = ChrW(&H30FB) And Chr(&hE0) = ChrW(&H30FB) And Chr(&hFC) = ChrW(&H30FB), "other lone lead bytes"
Check Chr(&h82A0) = "あ" And Asc("あ") = &h82A0 And Chr(&hB1) = ChrW(&HFF71), "a byte pair and a half-width kana"
Check Asc(ChrW(&H30FB)) = -32443 And Len(Chr(&h81)) = 1, "U+30FB reads back as &H8145"
Check vbTab = Chr(9) And vbLf = Chr(10) And vbCr = Chr(13) And vbNewLine = vbCrLf, "constants"
Check vbNullString = "" And Len(vbNullChar) = 1, "vbNullString and vbNullChar"

Check Escape("a b&c") = "a%20b%26c", "Escape"
Check Escape("@*_+-./") = "@*_+-./", "Escape leaves its safe characters"
Check Escape(ChrW(&H3042)) = "%u3042", "Escape of a wide character"
Check Unescape("a%20b%u3042") = "a b" & ChrW(&H3042), "Unescape"
Check Unescape("100%") = "100%", "Unescape keeps a lone percent"

On Error Resume Next
Dim s
s = Left("abc", -1)
Check Err.Number = 5, "a negative length raises 5"
Err.Clear
s = Asc("")
Check Err.Number = 5, "Asc of an empty text raises 5"
Err.Clear
On Error GoTo 0

' Building a long text.
s = ""
Dim i
For i = 1 To 1000
  s = s & "x"
Next
Check Len(s) = 1000, "concatenation in a loop"

' The byte functions see the UTF-16 units of a string, low byte first.
Check LenB("ab") = 4 And AscB("A") = 65, "LenB and AscB"
Check LeftB("abc", 2) = "a" And LeftB("abc", 4) = "ab", "LeftB takes whole units"
Check RightB("abc", 2) = "c" And RightB("abc", 100) = "abc", "RightB"
Check MidB("abcd", 3, 4) = "bc" And MidB("abcd", 5) = "cd", "MidB from a byte position"
Check MidB("abc", 2, 2) = ChrW(&H6200), "MidB off a unit boundary pairs the bytes it takes"
Check LenB(ChrB(65)) = 1 And Len(ChrB(65)) = 0 And AscB(ChrB(65)) = 65, "ChrB makes one byte"
Check LenB(LeftB("abc", 3)) = 3 And LenB(MidB("abc", 2, 3)) = 3 And LenB(RightB("abc", 1)) = 1, "byte cuts keep an odd length"
Check ChrB(65) & ChrB(0) = "A" And AscW(ChrB(&H41) & ChrB(&H42)) = &H4241, "odd bytes join across the &"
Check LenB(ChrB(1) & "ab") = 5 And MidB(ChrB(1) & "ab", 2) = "ab", "a text after an odd byte moves by one byte"
Check InStrB(ChrB(1) & "ab", "b") = 4, "InStrB counts the odd byte"
Check IsNull(LeftB(Null, 1)) And MidB("ab", 9) = "", "LeftB of Null, MidB past the end"
Check InStrB("abc", "c") = 5 And InStrB(2, "abab", "b") = 3 And InStrB("abc", "x") = 0, "InStrB"
Check InStrB("abc", MidB("abc", 2, 2)) = 2, "InStrB finds bytes off a unit boundary"

' Appending in place: a text onto itself, a variable holding text, a number and Null.
Dim grow, tail
grow = "ab" : grow = grow & grow
tail = "cd" : grow = grow & tail
Check grow = "ababcd" And tail = "cd", "s = s & s and s = s & t"
grow = grow & 1 & Null
Check grow = "ababcd1", "numbers and Null append as text and nothing"
