Class C
  Private x
  Public Property Get V
    V = x
  End Property
  Sub Class_Initialize: x = 1: End Sub
End Class
Set o = New C
On Error Resume Next
Err.Raise 5
If Err.Number <> 0 Then y = o.V Else y = 0
Select Case y
Case 1, 2: z = "a"
Case Else: z = Eval("1 + 2")
End Select
Execute "w = 3 & z"
