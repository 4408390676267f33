' Classes: members, properties, Initialize and Terminate, Me, references and defaults.
Option Explicit

Dim log
log = ""

Class Account
  Private m_balance
  Public Owner
  Private Sub Class_Initialize()
    m_balance = 0
    log = log & "init;"
  End Sub
  Private Sub Class_Terminate()
    log = log & "term;"
  End Sub
  Public Property Get Balance()
    Balance = m_balance
  End Property
  Public Property Let Balance(value)
    If value < 0 Then Err.Raise 5, "Account", "negative"
    m_balance = value
  End Property
  Public Sub Deposit(amount)
    m_balance = m_balance + amount
  End Sub
  Public Function Describe()
    Describe = Owner & ":" & Balance
  End Function
  Public Function Self()
    Set Self = Me
  End Function
End Class

Dim acc
Set acc = New Account
Check log = "init;", "Class_Initialize runs at New"
Check acc.Balance = 0 And IsEmpty(acc.Owner), "fields start as Initialize leaves them"
acc.Owner = "ann"
acc.Deposit 5
acc.Balance = acc.Balance + 10
Check acc.Balance = 15, "Property Get and Let"
Check acc.Describe() = "ann:15", "a method calls a property without Me"
Check acc.Self() Is acc, "Me is the object itself"
Check TypeName(acc) = "Account" And IsObject(acc), "TypeName of an object is its class"

Dim other
Set other = acc
other.Deposit 1
Check acc.Balance = 16, "objects are shared by reference"
Set acc = Nothing
Check log = "init;", "Terminate waits for the last reference"
Set other = Nothing
Check log = "init;term;", "Class_Terminate runs when the last reference goes"

Sub Scoped()
  Dim t
  Set t = New Account
End Sub
log = ""
Scoped
Check log = "init;term;", "a local object ends with its procedure"

On Error Resume Next
Set acc = New Account
acc.m_balance = 5
Check Err.Number = 438, "a private member is not visible outside"
Err.Clear
acc.Balance = -1
Check Err.Number = 5 And Err.Description = "negative", "an error raised in a Property Let"
Err.Clear
acc.NoSuchMethod
Check Err.Number = 438, "an unknown member raises 438"
Err.Clear
Dim notObject
notObject = 1
notObject.Foo = 2
Check Err.Number = 424, "a member of a non-object raises 424"
On Error GoTo 0

' Property Set and objects held by objects.
Class Node
  Public Value
  Private m_next
  Public Property Get NextNode()
    Set NextNode = m_next
  End Property
  Public Property Set NextNode(n)
    Set m_next = n
  End Property
End Class
Dim n1, n2
Set n1 = New Node : n1.Value = 1
Set n2 = New Node : n2.Value = 2
Set n1.NextNode = n2
Check n1.NextNode.Value = 2, "Property Set and a chain of members"

' A default member.
Class Wrapper
  Private m_items
  Private Sub Class_Initialize()
    m_items = Array("zero", "one")
  End Sub
  Public Default Function Item(i)
    Item = m_items(i)
  End Function
End Class
Dim w
Set w = New Wrapper
Check w(1) = "one" And w.Item(0) = "zero", "a default function is called by the object's name"

' Objects in arrays.
Dim list(2), k
For k = 0 To 2
  Set list(k) = New Node
  list(k).Value = k * 10
Next
Check list(2).Value = 20, "objects in an array"

' Private is private to the class: another instance of the same class reaches it.
Class Money
  Private m_cents
  Public Sub Init(c)
    m_cents = c
  End Sub
  Public Function SameAs(other)
    SameAs = (other.m_cents = m_cents)
  End Function
End Class
Dim m1, m2, m3
Set m1 = New Money : m1.Init 5
Set m2 = New Money : m2.Init 5
Set m3 = New Money : m3.Init 7
Check m1.SameAs(m2) And Not m1.SameAs(m3), "a method reads Private members of another instance"
On Error Resume Next
Dim peek
peek = m1.m_cents
Check Err.Number = 438, "Private members stay hidden from code outside the class"
Err.Clear
On Error GoTo 0
