' Where variables live: undeclared names in procedures, and variables that Execute code
' declares inside a procedure. No Option Explicit here, so names may be used undeclared.

Dim shared
shared = "global"

Sub AssignsUndeclared()
  madeInSub = 5
  Check madeInSub = 5, "an undeclared name assigned in a procedure holds its value there"
End Sub
AssignsUndeclared
Check IsEmpty(madeInSub), "an undeclared name assigned in a procedure is its local"

Sub SetsShared()
  shared = "set in a procedure"
End Sub
SetsShared
Check shared = "set in a procedure", "a declared global is the global inside procedures"

Function ExecuteDeclares(n)
  Execute "Dim fromExecute : fromExecute = n * 2"
  Execute "undeclaredInExecute = fromExecute + 1"
  Check Eval("fromExecute") = n * 2, "Eval sees what Execute declared in the procedure"
  Execute "ExecuteDeclares = undeclaredInExecute"
End Function
Check ExecuteDeclares(10) = 21, "Execute code keeps its variables for the rest of the call"
Check IsEmpty(fromExecute) And IsEmpty(undeclaredInExecute), "they never become globals"

Function Recurse(depth)
  Execute "Dim mine : mine = depth"
  If depth < 3 Then Recurse = Recurse(depth + 1)
  Execute "Recurse = Recurse & mine"
End Function
Check Recurse(1) = "321", "each call has its own Execute variables"

Sub ExecuteSetsGlobal()
  Execute "shared = ""from Execute"""
End Sub
ExecuteSetsGlobal
Check shared = "from Execute", "Execute in a procedure reaches a declared global"

Sub ExecuteGlobalDeclares()
  ExecuteGlobal "madeByExecuteGlobal = 7"
End Sub
ExecuteGlobalDeclares
Check madeByExecuteGlobal = 7, "ExecuteGlobal in a procedure still makes globals"
