Function Twice(n)
  Twice = n * 2
End Function
Sub Report(msg)
  WScript.Echo "report " & msg
End Sub
Dim f : Set f = GetRef("Twice")
WScript.Echo f(21), TypeName(f)
Set g = GetRef("Report")
g "x"
Class Box
  Private secret
  Sub Init(v) : secret = v : End Sub
  Function SameAs(other) : SameAs = (other.secret = secret) : End Function
  Sub Class_Terminate() : WScript.Echo "terminate " & secret : End Sub
End Class
Set a = New Box : a.Init 1
Set b = New Box : b.Init 1
WScript.Echo a.SameAs(b)
On Error Resume Next
x = a.secret
WScript.Echo "outside: " & Err.Number
Err.Clear
Set h = GetRef("NoSuch")
WScript.Echo "getref missing: " & Err.Number
