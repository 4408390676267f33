' On Error Resume Next and an error in the header of a block statement: the language goes on
' with the next statement, which is the first one inside the block.
Dim ran, n, zero
zero = 0

On Error Resume Next
ran = ""
If 1 / zero Then ran = ran & "then" Else ran = ran & "else"
Err.Clear
ran = ""
If False Then
  ran = "first"
ElseIf CInt("x") Then
  ran = "elseif"
Else
  ran = "else"
End If
Err.Clear

n = 0
Do While 1 / zero
  n = n + 1
  If n = 3 Then Exit Do
Loop
Err.Clear
n = 0
Do
  n = n + 1
Loop Until 1 / zero
Err.Clear
n = 0
Dim limit
limit = "x"
While n < CLng(limit)
  n = n + 1
  If n = 2 Then limit = 0
Wend
Err.Clear

ran = ""
Select Case 1 / zero
  Case 5
    ran = "first case"
  Case Else
    ran = "else"
End Select
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
Err.Clear

Dim withRan
With CreateObject("No.Such.Thing")
  withRan = True
  .Anything = 1
End With
Err.Clear

n = 0
Dim item
For Each item In 42
  n = n + 1
Next
Err.Clear

n = 0
Dim i
For i = 1 To "ten"
  n = n + 1
Next
Err.Clear
On Error GoTo 0

' Without On Error the header error goes up as usual.
Sub Plain()
  If 1 / zero Then ran = "never"
End Sub
ran = ""
On Error Resume Next
Plain
On Error GoTo 0
