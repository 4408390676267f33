' Calls, indexes and assignments through objects, arrays and fields, with the errors the
' language raises for the wrong ones.
Class Holder
  Public scalar, list, inner
  Private Sub Class_Initialize()
    scalar = 5
    list = Array(1, 2, 3)
  End Sub
  Public Default Function Pick(i)
    Pick = "picked " & i
  End Function
End Class

Class NoArgDefault
  Public Default Property Get Value()
    Value = "default"
  End Property
End Class

Dim h, r, arr, num
Set h = New Holder
arr = Array(10, 20)
num = 7

' Indexing mistakes.
On Error Resume Next
r = h.scalar(0)
Check Err.Number = 438, "obj.scalar(0) is 438"
Err.Clear
r = h.scalar()
Check Err.Number = 5, "obj.p() on a field without arguments is 5"
Err.Clear
r = num()
Check Err.Number = 13, "n() on a number is 13"
Err.Clear
r = arr()
Check Err.Number = 9, "arr() is 9"
Err.Clear
r = Empty
r = h.list()
Check Err.Number = 5 And IsEmpty(r), "obj.arr() on a field that holds an array is 5"
Err.Clear
h.scalar(0) = 6
Check Err.Number = 438 And h.scalar = 5, "obj.scalar(0) = v on a field that holds no array is 438"
Err.Clear
h.inner(1) = 2
Check Err.Number = 438 And IsEmpty(h.inner), "obj.f(1) = v on an Empty field is 438"
Err.Clear
h.list(1) = 22
Check Err.Number = 0 And h.list(1) = 22, "obj.arr(1) = v stores into the field's array"
h.list(1) = 2
h.list(7) = 1
Check Err.Number = 9, "obj.arr(7) = v past its end is 9"
Err.Clear
Set h.inner = CreateObject("Scripting.Dictionary")
h.inner("k") = 3
Check Err.Number = 0 And h.inner("k") = 3, "obj.f(key) = v on a Dictionary field sets its item"
Err.Clear
Set h.inner = Nothing
h.inner(0) = 1
Check Err.Number <> 0, "obj.f(0) = v on a field holding Nothing is an error"
Err.Clear
Dim nested
nested = Array(Nothing, 1, Array(0, 0))
nested(0)(0) = 5
Check Err.Number = 13, "x(0)(0) = v when x(0) is Nothing is 13"
Err.Clear
nested(1)(0) = 5
Check Err.Number = 13, "x(1)(0) = v when x(1) is a number is 13"
Err.Clear
nested(2)(1) = 5
Check Err.Number = 0 And nested(2)(1) = 5, "x(2)(1) = v into a nested array"
r = nested(0)(0)
Check Err.Number = 91, "reading x(0)(0) when x(0) is Nothing is 91"
Err.Clear
On Error GoTo 0
Check h.list(1) = 2 And h(4) = "picked 4", "fields that hold arrays and default members still index"
Dim d
Set d = New NoArgDefault
Check d() = "default", "obj() calls the default member"

' A bare name as a statement.
Dim calls
calls = 0
Class Counter
  Public Default Sub Bump()
    calls = calls + 1
  End Sub
End Class
Dim c
Set c = New Counter
c
Call c
Check calls = 2, "an object alone as a statement calls its default member"
On Error Resume Next
num
Check Err.Number = 13, "a number alone as a statement is 13"
Err.Clear
notDefinedAnywhere
Check Err.Number = 13, "an unknown name alone as a statement is 13"
Err.Clear
On Error GoTo 0

' GetRef results are called through parentheses, Call and bare names.
Sub Work()
  calls = calls + 10
End Sub
Dim ref
Set ref = GetRef("Work")
Call ref()
ref
Check calls = 22, "Call r() and r call a Sub held by GetRef"
On Error Resume Next
Set ref = GetRef(123)
Check Err.Number = 13, "GetRef(123) is 13"
Err.Clear
On Error GoTo 0

' Nested arrays are assigned in place.
Dim nest
nest = Array(Array(1, 2), Array(3, 4))
nest(0)(1) = 5
Check nest(0)(1) = 5 And nest(1)(0) = 3, "x(0)(1) = 5"
Set nest(1)(0) = h
Check nest(1)(0).scalar = 5, "Set x(1)(0) = object"
Dim flat
flat = Array(1, 2)
On Error Resume Next
flat(0)(1) = 5
Check Err.Number = 13, "x(0)(1) where x(0) holds no array is 13"
Err.Clear
On Error GoTo 0
Sub Grow(v)
  v = v * 10
End Sub
Grow nest(0)(0)
Check nest(0)(0) = 10, "a nested element passes ByRef"
Sub Replace0(v)
  nest = 0
End Sub
On Error Resume Next
Replace0 nest(0)(0)
Check Err.Number = 10 And IsArray(nest), "an array whose element is passed ByRef cannot be replaced"
Err.Clear
On Error GoTo 0

' ReDim inside a method resizes the class field.
Class Store
  Public items()
  Public fixedItems(2)
  Public Sub Resize(n)
    ReDim items(n)
  End Sub
  Public Sub ResizeFixed()
    ReDim fixedItems(5)
  End Sub
End Class
Dim st
Set st = New Store
st.Resize 4
Check UBound(st.items) = 4, "ReDim field(n) in a method resizes the field"
On Error Resume Next
st.ResizeFixed
Check Err.Number = 10 And UBound(st.fixedItems) = 2, "ReDim of a fixed-size field is 10"
Err.Clear
Dim fixedArr(2)
ReDim fixedArr("abc")
Check Err.Number = 10, "ReDim of a fixed array is 10 before its sizes are read"
Err.Clear
On Error GoTo 0
Dim globalList()
Sub GrowGlobal()
  ReDim globalList(3)
End Sub
GrowGlobal
Check UBound(globalList) = 3, "ReDim in a Sub resizes the global array of that name"

' Property Let receives an object as the object; Set needs a Property Set.
Class Keeper
  Public got
  Public Property Let Item(v)
    got = TypeName(v)
  End Property
End Class
Dim k
Set k = New Keeper
k.Item = h
Check k.got = "Holder", "Property Let receives an object argument"
On Error Resume Next
Set k.Item = h
Check Err.Number = 438, "Set on a Let-only property is 438"
Err.Clear
On Error GoTo 0

' A script class named like a built-in object does not hide it.
Class RegExp
  Public Pattern
End Class
Dim re
Set re = New RegExp
re.Pattern = "b+"
Check re.Replace("abbbc", "-") = "a-c", "New RegExp is the built-in one"

' New of a name never declared.
On Error Resume Next
Set r = New NeverDeclared
Check Err.Number = 500, "New on an undeclared name is 500"
Err.Clear
r = Nothing.Anything
Check Err.Number = 424, "Nothing.Prop is 424"
Err.Clear
On Error GoTo 0

' An index whose reading puts something else in the array's variable is 13, not a crash.
Dim shifting(3)
Function Shift()
  shifting = 5
  Shift = 1
End Function
On Error Resume Next
r = shifting(Shift())
Check Err.Number = 13, "reading an element of an array that an index replaced is 13"
Err.Clear
shifting = Array(1, 2)
shifting(Shift()) = 7
Check Err.Number = 13 And shifting = 5, "storing into an array that an index replaced is 13"
Err.Clear
On Error GoTo 0

' A ByRef element out of range leaves the array free to be resized afterwards.
Dim resizable()
ReDim resizable(2)
Sub TakesByRef(v)
  v = 1
End Sub
On Error Resume Next
TakesByRef resizable(5)
Check Err.Number = 9, "an element out of range passed ByRef is 9"
Err.Clear
On Error GoTo 0
Sub ResizesWhileHeld(v)
  ReDim resizable(9)
  v = 2
End Sub
On Error Resume Next
ResizesWhileHeld resizable(1)
Check Err.Number = 10 And UBound(resizable) = 2, "a later ByRef element still locks it"
Err.Clear
On Error GoTo 0
ReDim resizable(4)
Check UBound(resizable) = 4, "and the array is not left locked"
