' RegExp: Test, Execute with Matches, Match and SubMatches, Replace, and the options.
Option Explicit

Dim re, ms, m, s
Set re = New RegExp
re.Pattern = "\d+"
Check re.Test("abc 123") And Not re.Test("abc"), "Test"
Check re.Global = False And re.IgnoreCase = False And re.MultiLine = False, "options start off"

Set ms = re.Execute("a1 b22 c333")
Check ms.Count = 1 And ms(0).Value = "1", "without Global only the first match"
re.Global = True
Set ms = re.Execute("a1 b22 c333")
Check ms.Count = 3, "Global finds every match"
Check ms.Item(1).Value = "22" And ms(1).FirstIndex = 4 And ms(1).Length = 2, "Match Value, FirstIndex from 0, Length"
Check ms(2) = "333", "Value is the default member of a match"
s = ""
For Each m In ms
  s = s & m.Value & ";"
Next
Check s = "1;22;333;", "For Each over the matches"
Set ms = re.Execute("none here")
Check ms.Count = 0, "no match gives an empty collection"

' Groups.
re.Pattern = "(\w+)@(\w+)\.com"
Set ms = re.Execute("mail ann@example.com and bob@test.com")
Check ms.Count = 2 And ms(0).SubMatches.Count = 2, "SubMatches count the groups"
Check ms(0).SubMatches(0) = "ann" And ms(1).SubMatches.Item(1) = "test", "SubMatches values"
s = ""
For Each m In ms(1).SubMatches
  s = s & m & ","
Next
Check s = "bob,test,", "For Each over SubMatches"
re.Pattern = "a(x)?b"
Set ms = re.Execute("ab")
Check ms(0).SubMatches(0) = "" Or IsEmpty(ms(0).SubMatches(0)), "a group that took no part"

' Options.
re.Pattern = "^b"
re.MultiLine = False
Check Not re.Test("a" & vbLf & "b"), "^ is the start of the text"
re.MultiLine = True
Check re.Test("a" & vbLf & "b"), "MultiLine makes ^ a line start"
re.MultiLine = False

' Replace.
re.Pattern = "(\w+) (\w+)"
re.Global = False
Check re.Replace("one two three four", "$2 $1") = "two one three four", "Replace with groups, first only"
re.Global = True
Check re.Replace("one two three four", "$2 $1") = "two one four three", "Replace every match"
re.Pattern = "o"
Check re.Replace("foo", "0") = "f00", "Replace with plain text"
re.Pattern = "x"
Check re.Replace("abc", "y") = "abc", "Replace without a match"

' Patterns over page text, wide characters and positions.
re.Pattern = "href=""([^""]+)"""
re.IgnoreCase = True
Set ms = re.Execute("<a HREF=""a.zip"">A</a><a href=""b.zip"">B</a>")
Check ms.Count = 2 And ms(1).SubMatches(0) = "b.zip", "links in a page"
re.Pattern = "う"
Set ms = re.Execute("あいう")
Check ms(0).FirstIndex = 2, "FirstIndex counts characters"
re.Pattern = "\bcat\b"
Check re.Test("a cat sat") And Not re.Test("concatenate"), "word boundaries"
re.Pattern = "<.+?>"
Set ms = re.Execute("<a><b>")
Check ms(0).Value = "<a>", "lazy quantifiers"
re.Pattern = "foo(?=bar)"
Check re.Test("foobar") And Not re.Test("foobaz"), "lookahead"

