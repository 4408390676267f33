' Conversion, rounding, math and type-test functions, and how numbers print.
Option Explicit

' Banker's rounding in CInt, CLng and Round.
Check CInt(2.5) = 2 And CInt(3.5) = 4 And CInt(-2.5) = -2 And CInt(2.51) = 3, "CInt rounds halves to even"
Check CLng(1.5) = 2 And CLng(0.5) = 0 And TypeName(CLng(1)) = "Long", "CLng"
Check Round(2.5) = 2 And Round(3.5) = 4 And Round(-1.5) = -2, "Round to even"
Check Round(1.2345, 2) = 1.23 And Round(1.5678, 1) = 1.6, "Round to places"
Check CByte(255) = 255 And TypeName(CByte(1)) = "Byte", "CByte"
Check CCur(1.23456) = 1.2346 And TypeName(CCur(1)) = "Currency", "CCur keeps four places"
Check CSng(1.5) = 1.5 And TypeName(CSng(1)) = "Single", "CSng"
Check CDbl("1.5") = 1.5 And CDbl("  2 ") = 2 And CDbl("1e3") = 1000, "CDbl of text"
Check CInt("&HFF") = 255, "a hexadecimal text converts"
Check Int(-1.5) = -2 And Fix(-1.5) = -1 And Int(1.9) = 1 And Fix(1.9) = 1, "Int and Fix"
Check Abs(-3) = 3 And Abs(2.5) = 2.5 And Sgn(-7) = -1 And Sgn(0) = 0 And Sgn(0.1) = 1, "Abs and Sgn"
Check Sqr(16) = 4 And Sqr(2) > 1.414 And Sqr(2) < 1.415, "Sqr"
Check Hex(255) = "FF" And Hex(-1) = "FFFF" And Hex(65536) = "10000" And Hex(0) = "0", "Hex"
Check Hex(-65536) = "FFFF0000", "Hex of a negative Long"
Check Oct(8) = "10" And Oct(-1) = "177777", "Oct"

' Booleans.
Check CBool(0) = False And CBool(5) And CBool(-1), "CBool of numbers"
Check CBool("True") And Not CBool("false") And CBool("1"), "CBool of text"
Check CStr(True) = "True" And CStr(False) = "False", "CStr of Booleans"

' How numbers print.
Check CStr(1.5) = "1.5" And CStr(-0.25) = "-0.25" And CStr(100) = "100", "plain numbers"
Check CStr(0.1 + 0.2) = "0.3", "Doubles print with 15 significant digits"
Check CStr(1 / 3) = "0.333333333333333", "a repeating fraction"
Check CStr(1E+20) = "1E+20" And CStr(1.5E-10) = "1.5E-10", "large and small numbers use E notation"
Check CStr(123456789012345) = "123456789012345", "15 digits print whole"
Check CStr(0.0001) = "0.0001" And CStr(0.00001) = "1E-05", "where E notation starts"
Check CStr(CCur(2.5)) = "2.5", "Currency prints without trailing zeros"
Check CStr(Empty) = "" And 1.5 & "" = "1.5", "Empty and concatenation"

' Errors of conversion.
Dim x
On Error Resume Next
x = CInt(32768)
Check Err.Number = 6, "CInt overflow raises 6"
Err.Clear
x = CByte(256)
Check Err.Number = 6, "CByte overflow raises 6"
Err.Clear
x = CByte(-1)
Check Err.Number = 6, "a negative Byte raises 6"
Err.Clear
x = CInt("abc")
Check Err.Number = 13, "CInt of a word raises 13"
Err.Clear
x = CStr(Null)
Check Err.Number = 94 And Err.Description = "Invalid use of Null", "CStr of Null raises 94"
Err.Clear
x = Sqr(-1)
Check Err.Number = 5, "Sqr of a negative raises 5"
Err.Clear
On Error GoTo 0

' Type tests.
Dim e, o, arr(1)
Set o = Nothing
Check IsEmpty(e) And Not IsEmpty(0) And Not IsEmpty(""), "IsEmpty"
Check IsNull(Null) And Not IsNull(e), "IsNull"
Check IsNumeric("12") And IsNumeric("1e3") And IsNumeric(" 3 ") And IsNumeric(-4.5), "IsNumeric true"
Check Not IsNumeric("abc") And Not IsNumeric("") And Not IsNumeric(Null), "IsNumeric false"
Check IsNumeric(e), "Empty counts as numeric"
Check IsObject(o) And Not IsObject(1), "IsObject"
Check IsArray(arr) And Not IsArray("a"), "IsArray"
Check IsDate("2020-01-02") And IsDate(#1/2/2020#) And Not IsDate("nope"), "IsDate"

Check TypeName(e) = "Empty" And TypeName(Null) = "Null" And TypeName(o) = "Nothing", "TypeName of the empty kinds"
Check TypeName(True) = "Boolean" And TypeName(1) = "Integer" And TypeName(100000) = "Long", "TypeName of whole numbers"
Check TypeName(1.5) = "Double" And TypeName("s") = "String" And TypeName(#1/1/2000#) = "Date", "TypeName of others"
Check VarType(e) = vbEmpty And VarType(Null) = vbNull And VarType(1) = vbInteger, "VarType 0 1 2"
Check VarType(100000) = vbLong And VarType(CSng(1)) = vbSingle And VarType(1.5) = vbDouble, "VarType 3 4 5"
Check VarType(CCur(1)) = vbCurrency And VarType(Now) = vbDate And VarType("") = vbString, "VarType 6 7 8"
Check VarType(o) = vbObject And VarType(True) = vbBoolean And VarType(CByte(1)) = vbByte, "VarType 9 11 17"
Check vbEmpty = 0 And vbString = 8 And vbBoolean = 11 And vbByte = 17 And vbArray = 8192, "the VarType constants"

' Random numbers stay in [0, 1) and a negative seed repeats.
Dim r, i, ok
Randomize
ok = True
For i = 1 To 1000
  r = Rnd
  If r < 0 Or r >= 1 Then ok = False
Next
Check ok, "Rnd stays in [0, 1)"
Check Rnd(-5) = Rnd(-5), "Rnd of a negative number repeats"
r = Rnd
Check Rnd(0) = r, "Rnd(0) repeats the last number"

' FormatNumber.
Check FormatNumber(1234.5) = "1,234.50", "FormatNumber groups and keeps two places"
Check FormatNumber(1234.567, 1) = "1,234.6" And FormatNumber(-3, 0) = "-3", "FormatNumber places"
Check FormatNumber(0.25, 2, False) = ".25", "FormatNumber without the leading zero"
Check FormatNumber(1234, 0, True, False, False) = "1234", "FormatNumber without grouping"

' Colour numbers and the engine's own name.
Check RGB(1, 2, 3) = 1 + 2 * 256 + 3 * 65536 And RGB(300, 0, 0) = 255, "RGB"
Check ScriptEngine = "VBScript" And ScriptEngineMajorVersion >= 5, "ScriptEngine"

' GetLocale and SetLocale.
Check GetLocale() = 1041, "the locale starts Japanese"
Dim oldLocale
oldLocale = SetLocale("en-us")
Check oldLocale = 1041 And GetLocale() = 1033, "SetLocale gives the locale it replaced"
Check SetLocale(oldLocale) = 1033 And GetLocale() = 1041, "and puts a saved one back"
On Error Resume Next
SetLocale "xx-nowhere"
Check Err.Number = 447 And GetLocale() = 1041, "an unknown locale is error 447 and changes nothing"
On Error GoTo 0
