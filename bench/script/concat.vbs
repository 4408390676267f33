' A 1 MiB string built by & in a loop, 16 characters at a time.
Dim i, s, piece
piece = "0123456789abcdef"
s = ""
For i = 1 To 65536
  s = s & piece
Next
WScript.Echo Len(s)
