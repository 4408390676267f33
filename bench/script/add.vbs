' Ten million integer additions in a loop.
Dim i, s
s = 0
For i = 1 To 10000000
  s = s + i
Next
WScript.Echo s
