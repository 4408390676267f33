' On Error Resume Next and an error in the header of a block statement: the language goes on
' with the next statement, which is the first one inside the block.
Dim ran, n, zero
zero = 0

On Error Resume Next
ran = ""
If 1 / zero Then ran = ran & "then" Else ran = ran & "else"
Check ran = "then" And Err.Number = 11, "an error in an If condition runs the Then part"
Err.Clear
ran = ""
If False Then
  ran = "first"
ElseIf CInt("x") Then
  ran = "elseif"
Else
  ran = "else"
End If
Check ran = "elseif" And Err.Number = 13, "an error in an ElseIf condition runs its block"
Err.Clear

n = 0
Do While 1 / zero
  n = n + 1
  If n = 3 Then Exit Do
Loop
Check n = 3 And Err.Number = 11, "an error in a Do While condition goes into the body each time"
Err.Clear
n = 0
Do
  n = n + 1
Loop Until 1 / zero
Check n = 1 And Err.Number = 11, "an error in a Loop Until condition leaves the loop"
Err.Clear
n = 0
Dim limit
limit = "x"
While n < CLng(limit)
  n = n + 1
  If n = 2 Then limit = 0
Wend
Check n = 2 And Err.Number = 13, "an error in a While condition goes into the body"
Err.Clear

ran = ""
Select Case 1 / zero
  Case 5
    ran = "first case"
  Case Else
    ran = "else"
End Select
Check ran = "" And Err.Number = 11, "an error in a Select Case subject runs no Case"
Err.Clear
Function Failing()
  Failing = 1 / zero
End Function
Function FailingList()
  Err.Raise 5
End Function
ran = "none"
Select Case Failing()
  Case 1
    ran = "first case"
  Case Else
    ran = "else"
End Select
Check ran = "none" And Err.Number = 11, "Select Case F() where F raises: no Case runs, not even Case Else"
Err.Clear
Select Case Failing()
  Case Else
    ran = "else only"
End Select
Check ran = "none" And Err.Number = 11, "... also when Case Else is the only one"
Err.Clear
ran = ""
Select Case Failing() + 1
  Case 1
    ran = "one"
End Select
ran = ran & "after"
Check ran = "after", "the statement after End Select runs next"
Err.Clear
ran = ""
Select Case 2
  Case 1
    ran = "one"
  Case 1 / zero
    ran = "failed case"
  Case 2
    ran = "two"
End Select
Check ran = "failed case", "an error in a Case value runs that Case"
Err.Clear

Dim withRan
With CreateObject("No.Such.Thing")
  withRan = True
  .Anything = 1
End With
Check withRan And Err.Number = 424, "an error in the With object runs the block; members then fail"
Err.Clear

n = 0
Dim item
For Each item In 42
  n = n + 1
Next
Check n = 1 And Err.Number = 451, "For Each over a number is 451 and the body runs once"
Err.Clear
n = 0
Dim seen
For Each item In FailingList()
  n = n + 1
  seen = Err.Number
Next
Check n = 1 And seen = 5 And Err.Number = 451, "For Each v In F() where F raises: the body runs once, then Next raises 451"
Err.Clear
n = 0
For Each item In Failing()
  n = n + 1
  If n = 1 Then Exit For
Next
Check n = 1 And Err.Number = 11, "Exit For from that one run leaves F's error"
Err.Clear
n = 0
For Each item In Array(1, 2)
  n = n + 1
Next
Check n = 2 And Err.Number = 0 And IsEmpty(item), "For Each over an array as usual"

n = 0
Dim i
For i = 1 To "ten"
  n = n + 1
Next
Check n = 1 And Err.Number = 92, "an error in a For bound leaves error 92"
Err.Clear
On Error GoTo 0

' Without On Error the header error goes up as usual.
Sub Plain()
  If 1 / zero Then ran = "never"
End Sub
ran = ""
On Error Resume Next
Plain
Check Err.Number = 11 And ran = "", "a procedure without a handler stops at its header"
On Error GoTo 0
