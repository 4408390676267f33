' Source forms the language accepts that look unusual: they compile and mean what they say.

' & before a name starting with h or o joins texts; it is a number only when digits follow.
Dim hi, o, hello, oops
hi = "there" : o = "!" : hello = "world" : oops = 1

' The comparison spellings => =< and ><.

' Names in brackets may spell keywords.
Dim [dim], [if], [end]
[if] = 1 : [dim] = 2 : [end] = [if] + [dim]
Function [Select](v)
  [Select] = v * 2
End Function

' One-line If with Else and a closing End If.
Dim r
If True Then r = 1 Else r = 2 End If
If False Then r = 1 Else r = 2 End If
If True Then r = 3 End If

' A statement may share a Case label's line without a colon.
Dim picked
Select Case 1
  Case 1  picked = 200
  Case 2  picked = 300
End Select
Select Case 2
  Case 1 picked = 1
  Case 2 picked = 2 : picked = picked * 10
End Select

' A Sub or Function inside an If is defined with the program, whether the If runs or not.
If False Then
  Function Hoisted(n)
    Hoisted = n * 2
  End Function
  Sub HoistedSub()
    picked = "sub"
  End Sub
End If
HoistedSub

' Calls through parenthesised callees.
Class Caller
  Public Hits
  Public Sub S()
    Hits = Hits + 1
    callCount = callCount + 1
  End Sub
End Class
Dim callCount, got
callCount = 0
Call (New Caller).S()
Sub Takes(v)
  got = v
End Sub
call (((Takes))) (7)
(Takes)(8)
Function Twice(v)
  Twice = v * 2
End Function
got = (Twice)(5)

' Contextual words are names wherever they are not keywords.
Dim property, step
property = 1 : step = 2
Dim total, k
total = 0
For k = 1 To 6 Step step
  total = total + k
Next
Class Words
  Public Property
  Public Step
  Public Function Preserve()
    Preserve = "p"
  End Function
  Public Property Get Explicit()
    Explicit = Property & Step
  End Property
End Class
Dim w
Set w = New Words
w.Property = "a" : w.Step = "b"

' A member named rem is not a comment.
Dim remHolder
Set remHolder = New RemBox
remHolder.rem = 5
Class RemBox
  Public [rem]
End Class

' Class endings that share a line.
Class OneLine
  Public x End Class
Class EndsTogether
  Public Function F()
    F = 1
  End Function End Class
Dim ol
Set ol = New OneLine
ol.x = 3

' .member outside a With compiles and raises 505 only when it runs.
On Error Resume Next
If False Then .Nowhere = 1
.Nowhere = 1
On Error GoTo 0

' Stop is a statement that does nothing without a debugger.
Stop
If True Then Stop
