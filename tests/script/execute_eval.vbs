' Execute, ExecuteGlobal and Eval: code built at run time, in the local or global scope.
Option Explicit

Dim x, y
x = 2
Check Eval("x * 3 + 1") = 7, "Eval of an expression sees the variables"
Check Eval("x = 2") = True, "= in Eval compares"
Execute "x = 5"
Check x = 5, "= in Execute assigns"
Execute "y = x + 1 : x = 0"
Check y = 6 And x = 0, "Execute runs several statements"
Execute "If y > 5 Then" & vbCrLf & "y = 100" & vbCrLf & "End If"
Check y = 100, "Execute of a block"

ExecuteGlobal "Function Square(n)" & vbCrLf & "Square = n * n" & vbCrLf & "End Function"
Check Square(4) = 16, "ExecuteGlobal defines a function"
ExecuteGlobal "Class Made" & vbCrLf & "Public V" & vbCrLf & "End Class"
Dim instance
Set instance = New Made
instance.V = 1
Check instance.V = 1, "ExecuteGlobal defines a class"

Function LocalScope()
  Dim inner
  inner = 1
  Execute "inner = inner + 41"
  LocalScope = inner
End Function
Check LocalScope() = 42, "Execute runs in the procedure's scope"
Function ReadsLocal()
  Dim v
  v = "local"
  ReadsLocal = Eval("v")
End Function
Check ReadsLocal() = "local", "Eval sees the procedure's variables"
Sub MakesGlobal()
  ExecuteGlobal "Dim madeGlobal : madeGlobal = ""yes"""
End Sub
MakesGlobal
Check Eval("madeGlobal") = "yes", "ExecuteGlobal inside a procedure makes a global"

' Errors in built code.
On Error Resume Next
y = 1
Execute "y = 2" & vbCrLf & "y = (3"
Check y = 1 And Err.Number <> 0, "nothing of a text with a syntax error runs"
Err.Clear
x = Eval("1 / 0")
Check Err.Number = 11, "a run-time error in Eval keeps its number"
Err.Clear
ExecuteGlobal "Class Twice" & vbCrLf & "End Class" & vbCrLf & "Dim twice"
Check Err.Number = 1041, "a variable named as a class of the same code is Name redefined"
Err.Clear
Dim Made
Check Err.Number = 1041, "Dim of a name ExecuteGlobal made a class is Name redefined"
Err.Clear
On Error GoTo 0

' What Eval and Execute take, and how their code fails.
Check IsNull(Eval(Null)), "Eval(Null) is Null"
On Error Resume Next
Execute 42
Check Err.Number = 13, "Execute of a number is 13"
Err.Clear
Const compileSource = "Microsoft VBScript compilation error"
Execute "x = (1"
Check Err.Number = 1006 And Err.Description = "Expected ')'" And Err.Source = compileSource, "an Execute compilation error keeps its number and source"
Err.Clear
x = Eval("1 +")
Check Err.Number = 1023 And Err.Source = compileSource, "an Eval compilation error keeps its number: 1023 Expected expression"
Err.Clear
Execute "r = 1e309"
Check Err.Number = 1031 And Err.Description = "Invalid number" And Err.Source = compileSource, "Execute ""r = 1e309"" is 1031 Invalid number"
Err.Clear
ExecuteGlobal "Sub ("
Check Err.Number = 1010 And Err.Source = compileSource, "an ExecuteGlobal compilation error: 1010 Expected identifier"
Err.Clear
x = Eval("""abc")
Check Err.Number = 1033 And Err.Source = compileSource, "an Eval unterminated string: 1033"
Err.Clear
Execute "If True Then" & vbCrLf & "x = 1"
Check Err.Number > 1000 And Err.Number < 1100 And Err.Source = compileSource, "an Execute block without its end: a compilation error"
Err.Clear
x = 0
Execute "x = 5 : x = 1e400"
Check Err.Number = 1031 And x = 0, "nothing runs before a compilation error"
Err.Clear
Check IsEmpty(Eval(Empty)) And Err.Number = 0, "Eval(Empty) is Empty"
Execute ""
Check Err.Number = 0, "Execute of an empty text does nothing"
Execute Empty
Check Err.Number = 13, "Execute(Empty) is 13"
Err.Clear
Err.Raise 1031
Check Err.Number = 1031 And Err.Source <> compileSource, "Err.Raise of a compilation number is a run-time error"
Err.Clear
ExecuteGlobal "Dim twiceArr()"
Check Err.Number = 0, "the first ExecuteGlobal Dim of an array"
ExecuteGlobal "Dim twiceArr()"
Check Err.Number = 13, "a second ExecuteGlobal Dim of the array is 13"
Err.Clear
On Error GoTo 0
Function DeclaresByExecute()
  Execute "Dim v"
  Execute "v = 12"
  DeclaresByExecute = Eval("v")
End Function
Check DeclaresByExecute() = 12, "Execute Dim inside a procedure declares the variable for it"
Check Eval("IsEmpty(v)"), "that variable is not a global"

' Under Option Explicit, a variable Execute declares in a procedure is the procedure's from then
' on: its own code reads and assigns it.
Function ReadsAfterExecuteDim()
  Execute "Dim v"
  v = 5
  v = v + 1
  ReadsAfterExecuteDim = v
End Function
Check ReadsAfterExecuteDim() = 6, "Execute ""Dim v"" then v = 5 in the procedure"
Function ExecuteDimAndSet()
  Execute "Dim w : w = 3"
  ExecuteDimAndSet = w * 2
End Function
Check ExecuteDimAndSet() = 6, "a value Execute put in its variable is read after it"
Sub SetsObjectAfterExecuteDim()
  Execute "Dim o"
  Set o = CreateObject("Scripting.Dictionary")
  o.Add "k", 1
  Check o.Count = 1, "Set to a variable Execute declared"
End Sub
SetsObjectAfterExecuteDim
Sub UndeclaredStillFails()
  On Error Resume Next
  notDeclaredAnywhere = 1
  Check Err.Number = 500, "a variable nobody declared is still 500 under Option Explicit"
End Sub
UndeclaredStillFails
Check Eval("IsEmpty(w)"), "the variables Execute declared in a procedure are not globals"
