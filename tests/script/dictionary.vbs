' Scripting.Dictionary: keys, items, order, compare modes, and its errors.
Option Explicit

Dim d, k, s
Set d = CreateObject("Scripting.Dictionary")
Check TypeName(d) = "Dictionary" And d.Count = 0, "a new dictionary is empty"
d.Add "a", 1
d.Add "b", "two"
d.Add 3, "three"
Check d.Count = 3 And d("a") = 1 And d.Item("b") = "two" And d(3) = "three", "Add and Item"
Check d.Exists("a") And Not d.Exists("A") And Not d.Exists("z"), "Exists compares with case"
Check Not d.Exists("3") And d.Exists(3), "a number key and a text key differ"
d("a") = 10
d("new") = "added"
Check d("a") = 10 And d.Count = 4, "assigning to Item replaces or adds"
Check IsEmpty(d("missing")) And d.Exists("missing"), "reading a missing key adds it"
d.Remove "missing"
Check Not d.Exists("missing") And d.Count = 4, "Remove"

Dim keys, items
keys = d.Keys
items = d.Items
Check UBound(keys) = 3 And keys(0) = "a" And keys(3) = "new", "Keys in insertion order"
Check items(1) = "two", "Items in insertion order"
s = ""
For Each k In d
  s = s & k & ";"
Next
Check s = "a;b;3;new;", "For Each gives the keys"
d.Key("b") = "bee"
Check d.Exists("bee") And Not d.Exists("b") And d("bee") = "two", "Key renames a key"

Dim o
Set o = CreateObject("Scripting.Dictionary")
Set d("obj") = o
Check d("obj") Is o, "objects as items"
d.RemoveAll
Check d.Count = 0 And UBound(d.Keys) = -1, "RemoveAll"

' Text compare mode.
Set d = CreateObject("Scripting.Dictionary")
d.CompareMode = vbTextCompare
d.Add "Key", 1
Check d.Exists("KEY") And d("key") = 1, "CompareMode text ignores case"
Check d.CompareMode = 1, "CompareMode reads back"

On Error Resume Next
d.Remove "absent"
Check Err.Number = 32811, "removing an absent key raises 32811"
Err.Clear
Set o = CreateObject("No.Such.Component")
Check Err.Number = 429 And Err.Description = "ActiveX component can't create object", "an unknown component raises 429"
Err.Clear
On Error GoTo 0

' Counting words, as a script over a page might.
Dim words, w
Set d = CreateObject("Scripting.Dictionary")
words = Split("b a b c b a", " ")
For Each w In words
  d(w) = d(w) + 1
Next
Check d("b") = 3 And d("a") = 2 And d("c") = 1 And d.Keys()(0) = "b", "counting with a dictionary"
