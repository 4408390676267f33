' Fixed and dynamic arrays, several dimensions, ReDim Preserve, Erase and value copies.
Option Explicit

Dim a(3), i
Check UBound(a) = 3 And LBound(a) = 0, "Dim a(3) has four elements from 0"
Check IsEmpty(a(2)), "elements start Empty"
For i = 0 To 3
  a(i) = i * i
Next
Check a(3) = 9, "element assignment"

Dim m(2, 4)
Check UBound(m, 1) = 2 And UBound(m, 2) = 4, "UBound of each dimension"
m(1, 3) = "x"
Check m(1, 3) = "x" And IsEmpty(m(3 - 2, 2)), "two-dimensional indexing"
Dim cube(1, 1, 1)
cube(1, 0, 1) = 5
Check cube(1, 0, 1) = 5 And UBound(cube, 3) = 1, "three dimensions"

' Dynamic arrays.
Dim d()
ReDim d(2)
d(0) = "a" : d(1) = "b" : d(2) = "c"
ReDim Preserve d(4)
Check UBound(d) = 4 And d(1) = "b" And IsEmpty(d(4)), "ReDim Preserve keeps values"
ReDim Preserve d(1)
Check UBound(d) = 1 And d(1) = "b", "ReDim Preserve can shrink"
ReDim d(3)
Check IsEmpty(d(0)), "ReDim without Preserve clears"
Dim grid
ReDim grid(1, 2)
grid(1, 2) = "corner"
ReDim Preserve grid(1, 5)
Check grid(1, 2) = "corner" And UBound(grid, 2) = 5, "ReDim Preserve of the last dimension"
Dim v
v = 7
ReDim v(2)
Check IsArray(v) And UBound(v) = 2, "ReDim turns a plain variable into an array"

' ReDim of a fixed array is 10; ReDim Preserve reads its new sizes first.
Dim fixedArr(2)
On Error Resume Next
ReDim Preserve fixedArr("abc")
Check Err.Number = 13 And UBound(fixedArr) = 2, "ReDim Preserve f(""abc"") of a fixed array is 13"
Err.Clear
ReDim Preserve fixedArr(5)
Check Err.Number = 10 And UBound(fixedArr) = 2, "ReDim Preserve f(5) of a fixed array is 10"
Err.Clear
ReDim fixedArr(5)
Check Err.Number = 10 And UBound(fixedArr) = 2, "ReDim f(5) of a fixed array is 10"
Err.Clear
ReDim Preserve fixedArr("2")
Check Err.Number = 10, "ReDim Preserve f(""2"") of a fixed array is 10"
Err.Clear
Dim dynArr()
ReDim Preserve dynArr("abc")
Check Err.Number = 13, "ReDim Preserve d(""abc"") of a dynamic array is 13"
Err.Clear
ReDim Preserve dynArr("3")
Check Err.Number = 0 And UBound(dynArr) = 3, "ReDim Preserve d(""3"") reads the text as a size"
On Error GoTo 0

' ReDim run by Execute inside a procedure resizes the global array.
Dim globalArr()
ReDim globalArr(1)
Sub ResizeByExecute()
  Execute "ReDim globalArr(4)"
End Sub
Sub GrowByExecute()
  Execute "ReDim Preserve globalArr(6)"
End Sub
ResizeByExecute
Check UBound(globalArr) = 4, "Execute ""ReDim g(4)"" in a procedure resizes the global"
globalArr(4) = "kept"
GrowByExecute
Check UBound(globalArr) = 6 And globalArr(4) = "kept", "Execute ""ReDim Preserve g(6)"" in a procedure"
Function LocalByExecute()
  Dim localArr()
  Execute "ReDim localArr(2)"
  LocalByExecute = UBound(localArr)
End Function
Check LocalByExecute() = 2 And UBound(globalArr) = 6, "Execute ReDim of a local array stays local"
Function NewByExecute()
  Execute "ReDim brandNew(3) : brandNew(3) = 7"
  NewByExecute = Eval("brandNew(3)")
End Function
Check NewByExecute() = 7 And IsEmpty(Eval("brandNew")), "Execute ReDim of an unknown name makes a local"

' Erase.
a(0) = 1
Erase a
Check UBound(a) = 3 And IsEmpty(a(0)), "Erase of a fixed array clears its elements"
Erase d
On Error Resume Next
i = UBound(d)
Check Err.Number = 9, "Erase of a dynamic array frees it"
On Error GoTo 0

' Array(), copies and bounds.
Dim b, c
b = Array(1, "two", 3.5)
Check IsArray(b) And UBound(b) = 2 And b(1) = "two", "Array() builds a Variant array"
Check TypeName(b) = "Variant()" And VarType(b) = 8204, "type of an array"
c = b
c(0) = 99
Check b(0) = 1, "assigning an array copies it"
b = Array()
Check UBound(b) = -1, "Array() with no arguments is empty"
Dim nested
nested = Array(Array(1, 2), Array(3, 4))
Check nested(1)(0) = 3, "arrays of arrays"

Dim sum, item
sum = 0
For Each item In m
  If Not IsEmpty(item) Then sum = sum + 1
Next
Check sum = 1, "For Each visits every element of a 2-D array"
sum = 0
For Each item In Array(1, 2, 3)
  item = item * 10
  sum = sum + item
Next
Check sum = 60, "For Each gives copies"

On Error Resume Next
i = a(4)
Check Err.Number = 9, "index past the bound raises 9"
Err.Clear
i = a(-1)
Check Err.Number = 9, "negative index raises 9"
Err.Clear
i = m(1)
Check Err.Number = 9, "wrong number of indexes raises 9"
Err.Clear
ReDim Preserve grid(3, 5)
Check Err.Number = 9, "ReDim Preserve may not change the first dimension"
On Error GoTo 0
