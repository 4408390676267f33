' A 2 MB page with 10,000 links; a regular expression takes every href out of it.
Dim parts(9999), i, re, ms, m, total
For i = 0 To 9999
  parts(i) = "<p>" & Space(140) & "<a href=""http://example.com/files/file" & i & ".zip"">File " & i & "</a></p>"
Next
Dim page
page = Join(parts, vbLf)
Set re = New RegExp
re.Pattern = "<a\s+href=""([^""]*)"""
re.Global = True
re.IgnoreCase = True
Set ms = re.Execute(page)
total = 0
For Each m In ms
  total = total + Len(m.SubMatches(0))
Next
WScript.Echo Len(page) & " " & ms.Count & " " & total
