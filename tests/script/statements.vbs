' Control flow: If, Select Case, the loops and their exits, With, Const, separators.
Option Explicit

Dim i, n, s, x

' If in its one-line and block forms.
x = 0
If True Then x = 1 Else x = 2
Check x = 1, "one-line If takes Then"
If False Then x = 1 Else x = 2 : s = "both"
Check x = 2 And s = "both", "one-line Else runs every statement after it"
If False Then x = 3 : s = "no"
Check s = "both", "one-line Then runs none of its statements when false"
n = 5
If n < 3 Then
  s = "small"
ElseIf n < 10 Then
  s = "medium"
Else
  s = "large"
End If
Check s = "medium", "ElseIf"
If Null Then s = "null" Else s = "not"
Check s = "not", "Null counts as false in If"
If "True" Then s = "text" Else s = "no"
Check s = "text", "a text True counts as true"

' Select Case with lists and strings.
Function Kind(v)
  Select Case v
    Case 1, 2, 3
      Kind = "low"
    Case 4, n + 1
      Kind = "mid"
    Case Else
      Kind = "other"
  End Select
End Function
Function Letter(v)
  Select Case v
    Case "a", "b"
      Letter = "letter"
    Case Else
      Letter = "other"
  End Select
End Function
Check Kind(2) = "low" And Kind(6) = "mid" And Letter("b") = "letter", "Case lists"
Check Kind(99) = "other", "Case Else"
Check Letter("A") = "other", "Case compares text with case"
Check Kind("3") = "low", "a text meets a literal Case as a number"
On Error Resume Next
Kind "x"
Check Err.Number = 13, "a text that is no number against a literal number is error 13"
On Error GoTo 0
Select Case 1
  Case 1
    s = "first"
  Case 1
    s = "second"
End Select
Check s = "first", "only the first matching Case runs"

' The value of Select Case is never a literal of the comparison with a label: a number there
' meets a text label as text, and only a label written as a number reads a text as one.
Function PickOf(v)
  Select Case v
    Case "x"
      PickOf = "x"
    Case "3"
      PickOf = "text 3"
    Case 4
      PickOf = "four"
    Case Else
      PickOf = "else"
  End Select
End Function
Select Case 3
  Case "x"
    s = "first"
  Case 3
    s = "second"
End Select
Check s = "second", "Select Case 3: Case ""x"" is no error, Case 3 matches"
Select Case 3
  Case "03"
    s = "text"
  Case "3"
    s = "same text"
End Select
Check s = "same text", "Select Case 3 meets Case ""3"" as text"
Check PickOf(3) = "text 3" And PickOf(4) = "four" And PickOf("4") = "four", "a number value meets text labels as text, a text value meets a literal number as a number"
Check PickOf(CDbl(3)) = "text 3" And PickOf(2 + 1) = "text 3" And PickOf(-3) = "else", "any number as the value"
Dim three
three = 3
Select Case "3"
  Case three
    s = "variable"
  Case Else
    s = "else"
End Select
Check s = "variable", "a text value meets a variable label as text"
Select Case "03"
  Case three
    s = "variable"
  Case 3
    s = "literal"
End Select
Check s = "literal", """03"" differs from a variable 3 as text, equals a literal 3 as a number"
Select Case "abc"
  Case three, Len("ab"), -1
    s = "number"
  Case Else
    s = "no error"
End Select
Check s = "no error", "a text value against labels that are no literals: no error"

' For loops.
s = ""
For i = 1 To 3
  s = s & i
Next
Check s = "123" And i = 4, "For runs to the limit and leaves the counter past it"
s = ""
For i = 10 To 1 Step -3
  s = s & i & ","
Next
Check s = "10,7,4,1,", "negative Step"
s = ""
For i = 0 To 1 Step 0.5
  s = s & i & ";"
Next
Check s = "0;0.5;1;", "fractional Step"
n = 0
For i = 5 To 1
  n = n + 1
Next
Check n = 0, "a For whose start is past its end runs no pass"
n = 3 : s = ""
For i = 1 To n
  n = 10
  s = s & i
Next
Check s = "123", "the limit is taken once at the start"
For i = 1 To 100
  If i = 7 Then Exit For
Next
Check i = 7, "Exit For leaves the counter"
s = ""
For i = 1 To 5
  s = s & i
  If i = 2 Then i = 3.5
Next
Check s = "124.5" And i = 5.5, "a counter the body sets to a Double counts on from it"

Dim arr, item
arr = Array("a", "b", "c")
s = ""
For Each item In arr
  s = s & item
Next
Check s = "abc", "For Each over an array"

' Do and While loops in all their forms.
n = 0
Do While n < 5
  n = n + 1
Loop
Check n = 5, "Do While"
n = 0
Do Until n >= 3
  n = n + 1
Loop
Check n = 3, "Do Until"
n = 10
Do
  n = n + 1
Loop While n < 5
Check n = 11, "Do ... Loop While runs once"
n = 10
Do
  n = n + 1
Loop Until True
Check n = 11, "Do ... Loop Until"
n = 0
Do
  n = n + 1
  If n = 4 Then Exit Do
Loop
Check n = 4, "Exit Do leaves an endless loop"
n = 0
While n < 3
  n = n + 1
Wend
Check n = 3, "While ... Wend"
n = 0
For i = 1 To 3
  Do
    n = n + 1
    Exit Do
  Loop
Next
Check n = 3, "Exit Do leaves only the inner loop"

' With, Const, separators, continuation and comments.
Class Point
  Public X, Y
End Class
Dim p
Set p = New Point
With p
  .X = 3
  .Y = .X * 2
End With
Check p.X = 3 And p.Y = 6, "With sets and reads members"
Const LIMIT = 10, NAME = "ten"
Check LIMIT = 10 And NAME = "ten", "Const with several names"
n = 1 : n = n + 1 : n = n * 10
Check n = 20, "colon separates statements"
n = 1 + _
    2 + _
    3
Check n = 6, "line continuation"
Rem a comment line
n = 7 ' a trailing comment
Check n = 7, "comments"
s = "it's ""quoted"""
Check s = "it's " & Chr(34) & "quoted" & Chr(34), "doubled quotes in a string"
cAlL cHeCk(TRUE, "names are case-insensitive")

' The For Each variable is Empty after the loop runs to its end, not after Exit For.
Dim member
For Each member In Array(1, 2, 3)
Next
Check IsEmpty(member), "For Each leaves its variable Empty"
For Each member In Array(1, 2, 3)
  If member = 2 Then Exit For
Next
Check member = 2, "Exit For keeps the variable"

' Constants are known before their line and in branches that never run.
Check EarlyConst = 5, "a Const is known before its line"
Const EarlyConst = 5
If False Then
  Const HiddenConst = "hidden"
End If
Check HiddenConst = "hidden", "a Const in a branch never taken is known"
Function UsesLocalConst()
  UsesLocalConst = LocalConst * 2
  Const LocalConst = 21
End Function
Check UsesLocalConst() = 42, "a procedure's Const is known before its line"

' Stop is a statement under Option Explicit too, and does nothing without a debugger.
Dim afterStop
Stop
afterStop = True
Check afterStop, "Stop under Option Explicit"
