' Source forms the language accepts that look unusual: they compile and mean what they say.

' & before a name starting with h or o joins texts; it is a number only when a digit of its
' radix follows, and the number ends at the first character that is none.
Dim hi, o, oops, h, hx
hi = "there" : o = "!" : oops = 1 : h = "H" : hx = "X"
Check "x" &hi = "xthere", "&hi is & then the name hi"
Check "x" &o = "x!", "&o is & then the name o"
Check "x" &oops = "x1", "&oops is & then a name"
Check "x" &h = "xH" And "x" &hx = "xX", "&h alone and &hx are & then a name"
Check "x" &o8 = "x", "&o8 is & then the name o8 (8 is no octal digit)"
Check &h41 = 65 And "x" & &h41 = "x65", "&h41 is still a number"

' A hex or octal literal ends where its digits end, so a keyword may follow it directly.
Dim lit, litSum
Check (&h01or&h02) = 3, "(&h01or&h02) is &h01 Or &h02"
Check &h1mod 2 = 1 And &HFmod 4 = 3, "&h1mod 2 is &h1 Mod 2"
Check (&o7or 1) = 7 And (&o17xor 1) = 14, "&o7or 1 and &o17xor 1"
Check (&hFF&and &h0F) = 15, "&hFF& then And"
Check (&h3imp 0) = -4 And (&o3eqv 3) = -1, "&h3imp and &o3eqv"
lit = 0
If &h7then lit = 7
Check lit = 7, "If &h7then"
If &o7then lit = 8 Else lit = 0
Check lit = 8, "If &o7then ... Else"
litSum = 0
For lit = &h1to &h3step 1
  litSum = litSum + lit
Next
Check litSum = 6, "For ... = &h1to &h3step 1"
Check &h10< &h11 And &o10=8, "an operator right after the digits"
Check Abs(-&h1F) = 31 And Eval("&h1Fmod 7") = 3, "in Eval too"
On Error Resume Next
Dim hello
hello = "world"
Err.Clear
Execute "lit = ""x"" &hello"
Check Err.Number <> 0, "&hello is the number &he and then the name llo: a compilation error"
Err.Clear
Execute "lit = &h1g"
Check Err.Number <> 0, "&h1g: a number followed by a name"
On Error GoTo 0

' A decimal literal followed by a keyword.
Check 10mod 3 = 1 And (6and 3) = 2 And (4or 1) = 5, "10mod 3, 6and 3, 4or 1"
lit = 0
If 1then lit = 1
Check lit = 1, "If 1then"
litSum = 0
For lit = 1to 4step 2
  litSum = litSum + lit
Next
Check litSum = 4, "For ... = 1to 4step 2"
Check 1.5mod 1 = 0 And 2e1mod 7 = 6, "a decimal point or an exponent, then Mod"

' The comparison spellings => =< and ><.
Check 3 => 2 And 2 =< 3 And 3 >< 2, "=> =< >< compare"
Check Not (2 => 3) And Not (3 =< 2) And Not (3 >< 3), "=> =< >< are false when they should be"

' Names in brackets may spell keywords.
Dim [dim], [if], [end]
[if] = 1 : [dim] = 2 : [end] = [if] + [dim]
Check [end] = 3, "bracketed keywords are variables"
Check [If] = 1, "a bracketed name ignores case like any name"
Function [Select](v)
  [Select] = v * 2
End Function
Check [select](4) = 8, "a function may be named by a bracketed keyword"

' One-line If with Else and a closing End If.
Dim r
If True Then r = 1 Else r = 2 End If
Check r = 1, "one-line If ... Else ... End If, true"
If False Then r = 1 Else r = 2 End If
Check r = 2, "one-line If ... Else ... End If, false"
If True Then r = 3 End If
Check r = 3, "one-line If ... End If"

' A statement may share a Case label's line without a colon.
Dim picked
Select Case 1
  Case 1  picked = 200
  Case 2  picked = 300
End Select
Check picked = 200, "Case 1  x = 200"
Select Case 2
  Case 1 picked = 1
  Case 2 picked = 2 : picked = picked * 10
End Select
Check picked = 20, "the rest of the label's line is its block"

' A Sub or Function inside an If is defined with the program, whether the If runs or not.
Check Hoisted(2) = 4, "a function defined inside an If can be called before it"
If False Then
  Function Hoisted(n)
    Hoisted = n * 2
  End Function
  Sub HoistedSub()
    picked = "sub"
  End Sub
End If
HoistedSub
Check picked = "sub", "a Sub defined inside an If that never ran"

' A Sub or Function on one line, inside an If block or at the top.
Dim oneLiner
If True Then
  Sub OneLineSub() oneLiner = 5 End Sub
  Function OneLineFunction(a) OneLineFunction = a * 2 End Function
End If
OneLineSub
Check oneLiner = 5 And OneLineFunction(4) = 8, "Sub P() x = 5 End Sub and a one-line Function inside an If"
Sub TopOneLine(v) oneLiner = v End Sub
TopOneLine 9
Check oneLiner = 9, "a one-line Sub at the top"
Function OneLineTwo() OneLineTwo = 1 : OneLineTwo = OneLineTwo + 1 End Function
Check OneLineTwo() = 2, "two statements in a one-line Function"
Sub EmptyOneLine() End Sub
EmptyOneLine
Check True, "Sub P() End Sub"
Class OneLineMembers
  Public Function Twice(n) Twice = n * 2 End Function
  Public Property Get Seven() Seven = 7 End Property
End Class
Check (New OneLineMembers).Twice(3) = 6 And (New OneLineMembers).Seven = 7, "one-line methods and properties of a class"

' A call without Call whose first argument begins with a parenthesis and goes on after it.
Sub TakesTwo(a, b)
  got = a & "|" & b
End Sub
TakesTwo (New OneLineMembers).Seven, "x"
Check got = "7|x", "Sub (obj).Member, x"
TakesTwo (New OneLineMembers).Twice(2) + 1, "y"
Check got = "5|y", "Sub (obj).Method(2) + 1, y"
TakesTwo (2) * 3, (4)
Check got = "6|4", "Sub (2) * 3, (4)"
Check (New OneLineMembers).Seven = 7, "Check (obj).Member = v, text"
Dim holderDict
Set holderDict = CreateObject("Scripting.Dictionary")
holderDict.Add "k", New RemBox
holderDict("k").rem = 5
Check holderDict("k").rem = 5, "d(k).member = v still assigns"
holderDict ("k").rem = 6
Check holderDict("k").rem = 6, "d (k).member = v still assigns"

' Calls through parenthesised callees.
Class Caller
  Public Hits
  Public Sub S()
    Hits = Hits + 1
    callCount = callCount + 1
  End Sub
End Class
Dim callCount, got
callCount = 0
Call (New Caller).S()
Check callCount = 1, "Call (New C).S()"
Sub Takes(v)
  got = v
End Sub
call (((Takes))) (7)
Check got = 7, "call (((f))) (x) passes x"
(Takes)(8)
Check got = 8, "(f)(x) passes x"
Function Twice(v)
  Twice = v * 2
End Function
got = (Twice)(5)
Check got = 10, "(f)(x) in an expression"

' Contextual words are names wherever they are not keywords.
Dim property, step
property = 1 : step = 2
Check property + step = 3, "Property and Step as variables"
Dim total, k
total = 0
For k = 1 To 6 Step step
  total = total + k
Next
Check total = 9, "Step as a variable in a For's Step"
Class Words
  Public Property
  Public Step
  Public Function Preserve()
    Preserve = "p"
  End Function
  Public Property Get Explicit()
    Explicit = Property & Step
  End Property
End Class
Dim w
Set w = New Words
w.Property = "a" : w.Step = "b"
Check w.Explicit = "ab" And w.Preserve() = "p", "contextual words as fields and members"

' A member named rem is not a comment.
Dim remHolder
Set remHolder = New RemBox
remHolder.rem = 5
Check remHolder.rem = 5, "obj.rem is a member"
Class RemBox
  Public [rem]
End Class

' Class endings that share a line.
Class OneLine
  Public x End Class
Class EndsTogether
  Public Function F()
    F = 1
  End Function End Class
Dim ol
Set ol = New OneLine
ol.x = 3
Check ol.x = 3 And (New EndsTogether).F() = 1, "End Class on the line of a field or End Function"

' .member outside a With compiles and raises 505 only when it runs.
On Error Resume Next
If False Then .Nowhere = 1
Check Err.Number = 0, ".member in a branch never taken is no error"
.Nowhere = 1
Check Err.Number = 505, ".member outside With raises 505"
On Error GoTo 0

' Stop is a statement that does nothing without a debugger.
Stop
If True Then Stop
Check True, "Stop runs on"
