' Sub and Function: ByRef by default, ByVal, parentheses that copy, return values, recursion.
Option Explicit

Sub Bump(v)
  v = v + 1
End Sub
Sub BumpByVal(ByVal v)
  v = v + 1
End Sub
Sub BumpByRef(ByRef v)
  v = v + 1
End Sub
Sub Both(a, b)
  a = a + 1
  b = b + 1
End Sub

Dim x
x = 1
Bump x
Check x = 2, "arguments are ByRef by default"
BumpByVal x
Check x = 2, "ByVal works on a copy"
BumpByRef x
Check x = 3, "explicit ByRef"
Call Bump(x)
Check x = 4, "Call passes ByRef"
Bump (x)
Check x = 4, "an argument in its own parentheses is passed as a copy"
Bump x + 0
Check x = 4, "an expression is passed as a copy"
Both x, x
Check x = 6, "one variable passed twice ByRef"

Dim arr(2)
arr(1) = 10
Bump arr(1)
Check arr(1) = 11, "an array element is passed ByRef"
Sub Fill(a)
  a(0) = "filled"
End Sub
Fill arr
Check arr(0) = "filled", "an array is passed ByRef"

' Functions.
Function Twice(v)
  Twice = v * 2
End Function
Function NoResult()
End Function
Function Early(v)
  Early = "early"
  If v Then Exit Function
  Early = "late"
End Function
Check Twice(21) = 42, "the result is the function's name"
Check IsEmpty(NoResult()), "a function that sets nothing gives Empty"
Check Early(True) = "early" And Early(False) = "late", "Exit Function keeps the result so far"
Function Fact(n)
  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
Check Fact(10) = 3628800, "recursion"
Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function
Check Fib(15) = 610, "double recursion"
Function MakeList()
  MakeList = Array(1, 2, 3)
End Function
Check UBound(MakeList()) = 2 And MakeList()(2) = 3, "a function returning an array"
Twice 5
Check True, "a function may be called as a statement"

' Scope.
Dim g
g = "global"
Sub Shadow()
  Dim g
  g = "local"
End Sub
Sub SetGlobal()
  g = "changed"
End Sub
Shadow
Check g = "global", "a local Dim shadows the global"
SetGlobal
Check g = "changed", "a procedure sees the globals"
Function Counter()
  Dim c
  c = c + 1
  Counter = c
End Function
Check Counter() = 1 And Counter() = 1, "locals start Empty on every call"

' Exit Sub and calling before the definition.
Dim trace
Sub Stops()
  trace = "a"
  Exit Sub
  trace = "b"
End Sub
Stops
Check trace = "a", "Exit Sub"
Check Later() = "later", "procedures can be called before they are written"
Function Later()
  Later = "later"
End Function

' GetRef: a procedure passed around as an object and called through it.
Function Twice(n)
  Twice = n * 2
End Function
Sub Collect(v)
  trace = trace & v
End Sub
Function ApplyTo(f, v)
  ApplyTo = f(v)
End Function
Dim ref
Set ref = GetRef("Twice")
Check ApplyTo(ref, 21) = 42, "a Function called through GetRef"
Check TypeName(ref) = "Object", "GetRef gives an object"
trace = ""
Set ref = GetRef("Collect")
ref "x"
Check trace = "x", "a Sub called through GetRef"
Sub Bump(ByRef n)
  n = n + 1
End Sub
Sub BumpCopy(ByVal n)
  n = n + 1
End Sub
Dim bumped
bumped = 1
Set ref = GetRef("Bump")
ref bumped
Call ref(bumped)
Check bumped = 3, "a ByRef parameter reached through GetRef changes the caller's variable"
Set ref = GetRef("BumpCopy")
ref bumped
Check bumped = 3, "a ByVal parameter reached through GetRef does not"
On Error Resume Next
Set ref = GetRef("NoSuchProcedure")
Check Err.Number = 5, "GetRef of an unknown name is an invalid call"
Err.Clear
On Error GoTo 0
