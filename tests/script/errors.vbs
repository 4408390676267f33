' Run-time errors: numbers and messages, On Error Resume Next, Err.Raise and Clear,
' and errors that cross procedures.
Option Explicit

Dim x
On Error Resume Next
x = 1 / 0
Check Err.Number = 11 And Err.Description = "Division by zero", "division by zero is 11"
Check Err.Source = "Microsoft VBScript runtime error", "the source of a run-time error"
Err.Clear
Check Err.Number = 0 And Err.Description = "" , "Err.Clear"
x = "abc" + 1
Check Err.Number = 13 And Err.Description = "Type mismatch", "13 Type mismatch"
Err.Clear
Dim arr(1)
x = arr(5)
Check Err.Number = 9 And Err.Description = "Subscript out of range", "9 Subscript out of range"
Err.Clear
x = 5
x.Member = 1
Check Err.Number = 424 And Err.Description = "Object required", "424 Object required"
Err.Clear
x = CInt(40000)
Check Err.Number = 6 And Err.Description = "Overflow", "6 Overflow"
Err.Clear
x = Mid("abc", 0)
Check Err.Number = 5 And Err.Description = "Invalid procedure call or argument", "5 invalid argument"
Err.Clear
x = 5 \ 0
Check Err.Number = 11, "integer division by zero"
Err.Clear
x = UnknownFunction(1)
Check Err.Number = 500 Or Err.Number = 13, "an undefined name"
Err.Clear

' Resume Next goes on with the next statement.
Dim trace
trace = ""
trace = trace & "a"
x = 1 / 0
trace = trace & "b"
Check trace = "ab", "the statement after the error runs"
Err.Clear

' Err.Raise.
Err.Raise 1234, "MySource", "my description"
Check Err.Number = 1234 And Err.Source = "MySource" And Err.Description = "my description", "Err.Raise with all parts"
Err.Clear
Err.Raise 9
Check Err.Number = 9 And Err.Description = "Subscript out of range", "Err.Raise of a known number fills its message"
Err.Clear
Err.Raise vbObjectError + 1
Check Err.Number = vbObjectError + 1, "vbObjectError numbers"
Err.Clear
' A system HRESULT is the run-time error it stands for.
Err.Raise &H8007000E&
Check Err.Number = 7 And Err.Description = "Out of memory", "Err.Raise &H8007000E& is 7 Out of memory"
Err.Clear
Err.Raise &H80070057
Check Err.Number = 5 And Err.Description = "Invalid procedure call or argument", "E_INVALIDARG is 5"
Err.Clear
Err.Raise &H80020005
Check Err.Number = 13, "DISP_E_TYPEMISMATCH is 13"
Err.Clear
Err.Raise &H800A000D
Check Err.Number = 13 And Err.Description = "Type mismatch", "&H800A000D, the language's own 13, is 13"
Err.Clear
Err.Raise &H800A01B6
Check Err.Number = 438, "&H800A01B6 is 438"
Err.Clear
Err.Raise &H8007000E&, "Src", "mine"
Check Err.Number = 7 And Err.Source = "Src" And Err.Description = "mine", "a mapped number keeps the texts given"
Err.Clear
Err.Raise &H80004005
Check Err.Number = &H80004005, "E_FAIL stays as it is"
Err.Clear
Err.Raise vbObjectError + 513
Check Err.Number = vbObjectError + 513 And Err.Number = &H80040201, "vbObjectError + 513 stays"
Err.Clear
Err.Raise &HFFFF
Check Err.Number = -1, "Err.Raise &HFFFF is -1"
Err.Clear
Err.Raise 65535
Check Err.Number = 65535, "Err.Raise 65535"
Err.Clear
Err.Raise 65536
Check Err.Number = 5, "Err.Raise 65536 is 5"
Err.Clear

' An error in a called procedure stops it and returns to the handler of the caller.
Dim reached
Sub Failing()
  reached = "before"
  x = 1 / 0
  reached = "after"
End Sub
Failing
Check reached = "before" And Err.Number = 11, "an error leaves the procedure without its own handler"
Err.Clear
Function Guarded()
  On Error Resume Next
  x = 1 / 0
  Guarded = Err.Number
End Function
Check Guarded() = 11, "a procedure's own Resume Next"
Err.Clear

' On Error GoTo 0 turns a procedure's handler off: the error goes to the caller's.
Function RaisesWithoutHandler()
  On Error GoTo 0
  x = 1 / 0
  RaisesWithoutHandler = "kept going"
End Function
x = RaisesWithoutHandler()
Check Err.Number = 11 And x <> "kept going", "On Error GoTo 0 stops at the error"
Err.Clear
On Error GoTo 0
Check Err.Number = 0, "Err is clear at the end"
