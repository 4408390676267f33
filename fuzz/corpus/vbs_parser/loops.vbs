Dim a(3)
For i = 0 To 3: a(i) = i * 2: Next
Set re = New RegExp
re.Pattern = "a(b+)"
re.Global = True
For Each m In re.Execute("abbab")
  s = s & m.SubMatches(0)
Next
