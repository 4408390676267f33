' Built-in functions, constants and the Err object at the edges: conversions of odd values,
' Null arguments, subtypes kept, and what Err.Raise keeps.
Option Explicit
Dim r

' Before any Rnd, Rnd(0) gives the number the starting seed stands for.
Check Rnd(0) = CSng(327680 / 16777216) And TypeName(Rnd(0)) = "Single", "the first Rnd(0)"

' Conversions.
Check CBool("#TRUE#") = True And CBool("#FALSE#") = False And CBool("#true#"), "CBool of #TRUE# and #FALSE#"
Check CByte(True) = 255 And TypeName(CByte(True)) = "Byte" And CByte(False) = 0, "CByte(True) is 255"
Check TypeName(Round(True)) = "Boolean" And Round(True) = True, "Round(True) stays a Boolean"

' Constants.
Check vbMsgBoxHelpButton = 16384 And vbMsgBoxSetForeground = 65536, "message box flags"
Check vbMsgBoxRight = 524288 And vbMsgBoxRtlReading = 1048576 And vbDatabaseCompare = 2, "more flags and compare modes"
Check VarType(vbMsgBoxHelpButton) = vbLong And TypeName(vbMsgBoxSetForeground) = "Long", "vbMsgBoxHelpButton and vbMsgBoxSetForeground are Long"
Check VarType(vbMsgBoxRight) = vbLong And VarType(vbMsgBoxRtlReading) = vbLong, "vbMsgBoxRight and vbMsgBoxRtlReading are Long"
Check VarType(vbOKOnly) = vbInteger And VarType(vbSystemModal) = vbInteger And VarType(vbRed) = vbLong, "button styles stay Integer, colours Long"
Check vbBlack = 0 And vbRed = 255 And vbGreen = 65280 And vbBlue = 16711680, "colours"
Check vbYellow = 65535 And vbMagenta = &HFF00FF And vbCyan = &HFFFF00 And vbWhite = &HFFFFFF, "more colours"
Check TypeName(vbRed) = "Long" And TypeName(vbBlack) = "Long", "colours are Long"

' Objects stand for their default values.
Class ArrayBox
  Public Default Property Get Items()
    Items = Array(1, 2, 3)
  End Property
End Class
Class NumberBox
  Public Default Property Get Value()
    Value = "42"
  End Property
End Class
Class Plain
  Public x
End Class
Dim ab
Set ab = New ArrayBox
Check UBound(ab) = 2 And LBound(ab) = 0, "UBound and LBound through a default member"
Check IsNumeric(New NumberBox), "IsNumeric of an object uses its default value"

' IsNumeric of an object with no default value is False, without error.
Class TextBox
  Public Default Function Text()
    Text = "abc"
  End Function
End Class
Class FailingDefault
  Public Default Property Get Value()
    Value = 1 / 0
  End Property
End Class
Dim isNumDict, isNumRe
Set isNumDict = CreateObject("Scripting.Dictionary")
isNumDict.Add "k", 1
Set isNumRe = New RegExp
Check Not IsNumeric(New Plain) And Err.Number = 0, "IsNumeric of a class without a default is False"
Check Not IsNumeric(isNumDict) And Err.Number = 0, "IsNumeric of a Dictionary is False"
Check Not IsNumeric(isNumRe) And Err.Number = 0, "IsNumeric of a RegExp is False"
Check Not IsNumeric(Nothing) And Not IsNumeric(New TextBox), "IsNumeric of Nothing and of a text default"
Check Not IsNumeric(New FailingDefault), "IsNumeric of a default that fails is False"
Check Not IsNumeric(Array(1)) And IsNumeric(CByte(1)) And IsNumeric(True) And IsNumeric(CCur(1)), "IsNumeric of an array, Byte, Boolean, Currency"
Check Not IsNumeric(isNumDict.Keys) And IsNumeric(isNumDict("k")), "IsNumeric of a Dictionary's keys and an item"
On Error Resume Next
Dim nothingThere
Set nothingThere = Nothing
r = UBound(nothingThere)
Check Err.Number = 91, "UBound(Nothing) is 91"
Err.Clear
r = UBound(New Plain)
Check Err.Number = 438, "UBound of an object without a default member is 438"
Err.Clear

' Null arguments that the functions refuse.
r = DateValue(Null)
Check Err.Number = 94, "DateValue(Null) is 94"
Err.Clear
r = TimeValue(Null)
Check Err.Number = 94, "TimeValue(Null) is 94"
Err.Clear
r = DateAdd("d", Null, Date)
Check Err.Number = 94, "DateAdd with a Null count is 94"
Err.Clear
r = MonthName(1, Null)
Check Err.Number = 94, "MonthName with a Null abbreviation is 94"
Err.Clear
r = Mid("abc", Null)
Check Err.Number = 94, "Mid with a Null start is 94"
Err.Clear
r = InStrRev("abc", "b", Null)
Check Err.Number = 94, "InStrRev with a Null start is 94"
Err.Clear
Check IsNull(DateAdd("d", 1, Null)) And IsNull(Mid(Null, 1)) And IsNull(InStr(Null, "a")), "Null texts and dates give Null"
Check IsNull(Weekday(Null)) And IsNull(Weekday(Null, 2)) And IsNull(Day(Null)), "a Null date gives Null"

' Null where a built-in needs a text or a list: 94, and the other arguments' checks first.
Dim nullCase, nullCases
nullCases = Array( _
  "InStrRev(Null, ""a"")", 94, "InStrRev(""abc"", Null)", 94, "InStrRev(Null, Null)", 94, _
  "Escape(Null)", 94, "Unescape(Null)", 94, _
  "Filter(Null, ""a"")", 94, "Filter(Array(""a""), Null)", 94, _
  "Join(Null)", 94, "Join(Null, "","")", 94, "Join(Array(1, 2), Null)", 94, _
  "Mid(""test"", 2, Null)", 94, "Mid(""test"", Null, 2)", 94, "Mid(Null, 2, Null)", 94, _
  "Join(Array(1, Null))", 13, "Join(Array(Null))", 13, "Join(""a"")", 13, "Join(5)", 13, _
  "Join(New Plain)", 438, "Join(Array(1, New Plain))", 438, "Filter(New Plain, ""a"")", 438, _
  "Weekday(Null, -1)", 5, "Weekday(Null, 8)", 5, "Weekday(Null, Null)", 94, "Weekday(Null, ""a"")", 13, _
  "MonthName(""a"", Null)", 94, "MonthName(""a"")", 13, "MonthName(13, Null)", 94, "MonthName(13)", 5, _
  "DateValue(44000)", 13, "DateValue(1.5)", 13, "DateValue(True)", 13, "DateValue(Null)", 94)
For nullCase = 0 To UBound(nullCases) Step 2
  Err.Clear
  r = Eval(nullCases(nullCase))
  Check Err.Number = nullCases(nullCase + 1), nullCases(nullCase) & " is " & nullCases(nullCase + 1) & ", not " & Err.Number
Next
Err.Clear
Check Join(Array(Empty, 2), "-") = "-2" And Join(Array()) = "" And Join(Array(1, "b", True)) = "1 b True", "Join of Empty, no items and mixed items"
Check DateValue("2020/6/18") = #6/18/2020# And DateValue(#6/18/2020 10:30#) = #6/18/2020#, "DateValue of a text and of a date"
Check Escape("a b") = "a%20b" And Unescape("a%20b") = "a b" And Escape("") = "", "Escape and Unescape of texts"
Check InStrRev("abcb", "b") = 4 And UBound(Filter(Array("ab", "c"), "a")) = 0, "InStrRev and Filter of texts"
Check MonthName(2, False) <> "" And Weekday(#1/1/2024#, 2) = 1, "MonthName and Weekday of good arguments"

' Byte strings and built-ins used where they give no value.
r = ChrB(256)
Check Err.Number = 6, "ChrB(256) is 6"
Err.Clear
Call CByte(1)
Check Err.Number = 458, "Call CByte(1) is 458"
Err.Clear
' So do the numeric and date conversions, after any error of the conversion itself.
Call CInt(1)
Check Err.Number = 458, "Call CInt(1) is 458"
Err.Clear
Call CCur(1)
Check Err.Number = 458, "Call CCur(1) is 458"
Err.Clear
Call CDate(1)
Check Err.Number = 458, "Call CDate(1) is 458"
Err.Clear
Call CDbl(1)
Check Err.Number = 458, "Call CDbl(1) is 458"
Err.Clear
Call CLng(1)
Check Err.Number = 458, "Call CLng(1) is 458"
Err.Clear
Call CSng(1)
Check Err.Number = 458, "Call CSng(1) is 458"
Err.Clear
CInt 2
Check Err.Number = 458, "CInt 2 as a statement is 458"
Err.Clear
Call CInt("a")
Check Err.Number = 13, "Call CInt(""a"") raises the conversion's 13 first"
Err.Clear
Call CLng(3000000000)
Check Err.Number = 6, "Call CLng(3000000000) raises the conversion's 6 first"
Err.Clear
Call CDate("x")
Check Err.Number = 13, "Call CDate(""x"") raises 13 first"
Err.Clear
Call CStr(1)
Call CBool(1)
Call Len("abc")
Call Abs(-1)
Check Err.Number = 0, "Call CStr, CBool, Len, Abs: their result is let go"
Err.Clear
r = Randomize(0)
Check Err.Number = 13, "Randomize has no value"
Err.Clear
On Error GoTo 0
Randomize 0
Call Randomize(1)
Check True, "Randomize runs as a statement"

' A Boolean replacement text is its number.
Dim re
Set re = New RegExp
re.Pattern = "x"
Check re.Replace("axb", True) = "a-1b" And re.Replace("axb", False) = "a0b", "RegExp.Replace(s, True) inserts -1"

' Err.Raise: numbers past 65535 are 5; what a second Raise leaves out it keeps from the first.
On Error Resume Next
Err.Raise &h10000&
Check Err.Number = 5, "Err.Raise &h10000& is 5"
Err.Clear
Err.Raise 1000, "MySource", "my text", "help.chm", 42
Check Err.Source = "MySource" And Err.Description = "my text", "Raise sets source and description"
Check Err.HelpFile = "help.chm" And Err.HelpContext = 42, "Raise sets the help file and context"
Err.Raise 1001
Check Err.Number = 1001 And Err.Source = "MySource" And Err.Description = "my text", "a second Raise keeps the texts"
Check Err.HelpFile = "help.chm" And Err.HelpContext = 42, "and the help file and context"
Err.Clear
Check Err.HelpFile = "" And Err.HelpContext = 0, "Clear forgets the help file"
Err.HelpFile = "other.chm"
Check Err.HelpFile = "other.chm", "HelpFile can be set"
Err.Clear
Err.Raise 1234
Check Err.Description = "Unknown runtime error" And Err.Source = "Microsoft VBScript runtime error", "after Clear, Raise uses the standard texts"
Err.Clear
On Error GoTo 0
