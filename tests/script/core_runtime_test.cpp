// Whole scripts through the Engine: the host's Tick stops any script, deep recursion and
// huge values fail cleanly, compiled scripts run many times over living globals, and host
// objects and procedures are reached by name.
#include <malloc.h>

#include <chrono>
#include <map>

#include "core_support.h"
#include "script/script_object.h"

namespace vendil::test {
namespace {

using Safety = CoreScriptTest;

TEST_F(Safety, TickFalseEndsAScriptEvenPastOnErrorResumeNext) {
  const std::vector<std::u16string> loops = {
      u"On Error Resume Next\nDo\n  n = n + 1\nLoop",
      u"On Error Resume Next\nDo While True\nLoop",
      u"On Error Resume Next\nFor i = 1 To 2000000000\nNext",
      u"Sub Spin()\n  On Error Resume Next\n  While 1\n    x = 1 / 0\n  Wend\nEnd Sub\n"
      u"On Error Resume Next\nSpin\nNote \"after\"",
      u"On Error Resume Next\nDo\n  Execute \"n = n + 1\"\nLoop",
  };
  for (const std::u16string& code : loops) {
    SCOPED_TRACE(Utf8(code));
    host.ticks = 0;
    host.stopAfter = 50;
    notes.clear();
    std::optional<ScriptErrorInfo> error = Run(code);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->aborted);
    EXPECT_EQ(host.ticks, 51);
    EXPECT_TRUE(notes.empty());
  }
  // The engine is whole again for the next run.
  host.stopAfter = -1;
  EXPECT_FALSE(Run(u"Note \"runs\""));
  EXPECT_EQ(notes, std::vector<std::string>{"runs"});
}

TEST_F(Safety, HeavyStatementsBringTheNextTickNearer) {
  // Every statement makes a long text, by a built-in, by joining or by copying: Stop must not
  // wait for the hundreds of statements a light loop runs between two Ticks.
  const std::vector<std::u16string> loops = {
      u"Do\n  s = Space(5000000)\n  n = n + 1\nLoop",
      u"big = Space(2500000)\nDo\n  s = big & big\n  n = n + 1\nLoop",
      u"big = Space(5000000)\nDo\n  s = big\n  n = n + 1\nLoop",
  };
  for (const std::u16string& loop : loops) {
    SCOPED_TRACE(Utf8(loop));
    host.ticks = 0;
    host.stopAfter = 3;
    std::optional<ScriptErrorInfo> error = Run(u"n = 0\n" + loop);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->aborted);
    EXPECT_LT(std::stoi(Text(u"n")), 20);
  }
}

TEST_F(Safety, DeepRecursionRaisesOutOfStackSpace) {
  std::optional<ScriptErrorInfo> error =
      Run(u"Function Down(n)\n  Down = Down(n + 1)\nEnd Function\nx = Down(0)");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 28);
  EXPECT_EQ(Utf8(error->description), "Out of stack space");

  engine.SetMaxCallDepth(50);
  const std::u16string counted =
      u"Function Depth(n)\n  If n = 0 Then Depth = 0 Else Depth = 1 + Depth(n - 1)\nEnd Function\n";
  EXPECT_FALSE(Run(counted + u"a = Depth(45)"));
  EXPECT_EQ(Text(u"a"), "45");
  ASSERT_FALSE(Run(u"On Error Resume Next\nb = Depth(60)\nNote Err.Number"));
  EXPECT_EQ(notes, std::vector<std::string>{"28"});
  // A class method calling itself through another instance is stopped as well.
  error =
      Run(u"Class Node\n  Function Visit()\n    Set other = New Node\n    Visit = other.Visit()\n"
          u"  End Function\nEnd Class\nSet start = New Node\nstart.Visit");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 28);
}

TEST_F(Safety, TheValuesAnEngineHoldsStayWithinItsBudget) {
  engine.SetMaxHeldBytes(size_t{32} << 20);
  // Each way of holding more: strings kept in an array, copies of one string, arrays of
  // arrays, a flooded dictionary, objects, match lists. Each stops with 7 well before 1,000.
  const std::vector<std::u16string> floods = {
      u"For i = 0 To 999\n  a(i) = Space(500000)\nNext",
      u"s = Space(500000)\nFor i = 0 To 999\n  a(i) = s\nNext",
      u"For i = 0 To 999\n  ReDim x(50000)\n  a(i) = x\nNext",
      u"Set d = CreateObject(\"Scripting.Dictionary\")\n"
      u"For i = 0 To 999999\n  d.Add i, i\nNext",
      u"Class Node\n  Public Items(100)\nEnd Class\n"
      u"ReDim b(999999)\nFor i = 0 To 999999\n  Set b(i) = New Node\nNext",
      u"Set re = New RegExp\nre.Global = True\nre.Pattern = \".\"\nt = Space(100000)\n"
      u"For i = 0 To 999\n  Set a(i) = re.Execute(t)\nNext",
  };
  for (const std::u16string& flood : floods) {
    SCOPED_TRACE(Utf8(flood));
    std::optional<ScriptErrorInfo> error = Run(u"Dim a(999)\n" + flood);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 7);
    // What the failed run left is let go, and the budget is there again.
    ASSERT_FALSE(Run(u"Erase a\nb = Empty\nd = Empty\ns = Empty\nx = Empty\nt = Space(1000000)"));
  }
  // Values that go out of use as fast as they come never reach the budget.
  EXPECT_FALSE(Run(u"For i = 1 To 200\n  s = Space(1000000)\n  t = s & s\nNext"));
}

TEST_F(Safety, DeepChainsOfObjectsAndArraysEndWithoutDeepRecursion) {
  // A million objects, each holding an array that holds the one before: letting go of the
  // head must not take a native frame per link (it overflowed the stack).
  ASSERT_FALSE(
      Run(u"Class Link\n  Public Items\nEnd Class\nSet head = Nothing\n"
          u"For i = 1 To 1000000\n  Set node = New Link\n  node.Items = Array(head, i)\n"
          u"  Set head = node\nNext\nSet node = Nothing\nlast = head.Items(1)\n"
          u"Set head = Nothing\nNote \"freed \" & last"));
  EXPECT_EQ(notes, std::vector<std::string>{"freed 1000000"});
  // Arrays nested in arrays are copied level by level and stay whole.
  notes.clear();
  ASSERT_FALSE(
      Run(u"a = Array(0)\nFor i = 1 To 2000\n  a = Array(a, i)\nNext\nb = a\na = Empty\n"
          u"depth = 0\nDo While IsArray(b)\n  depth = depth + 1\n  b = b(0)\nLoop\nNote depth"));
  EXPECT_EQ(notes, std::vector<std::string>{"2001"});
}

TEST_F(Safety, AVeryLongExpressionRunsWithoutDeepRecursion) {
  // 100,000 operators in a row nest as deep as they are long: evaluated, compared, joined by
  // & and then freed with the program, none of which may take a native frame per operator.
  std::u16string sum = u"x = 1", text = u"s = \"\"", test = u"t = (1 = 1)";
  for (int i = 1; i < 100000; ++i) {
    sum += u" + 1";
    text += u" & \"a\"";
    test += u" And (1 = 1)";
  }
  ASSERT_FALSE(Run(sum + u"\n" + text + u"\n" + test + u"\nn = Len(s)"));
  EXPECT_EQ(Text(u"x"), "100000");
  EXPECT_EQ(Text(u"n"), "99999");
  EXPECT_EQ(Text(u"t"), "True");
  // Deep nesting by parentheses is refused at compile time instead.
  std::optional<ScriptErrorInfo> error =
      Run(u"y = " + std::u16string(5000, u'(') + u"1" + std::u16string(5000, u')'));
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 28);
}

TEST_F(Safety, AStringPast256MiBIsOutOfMemoryAndQuick) {
  const auto begun = std::chrono::steady_clock::now();
  std::optional<ScriptErrorInfo> error = Run(u"s = \"ab\"\nDo\n  s = s & s\n  n = n + 1\nLoop");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 7);
  EXPECT_EQ(Utf8(error->description), "Out of memory");
  EXPECT_EQ(error->line, 3);
  // 2 units doubled 26 times is 128 Mi units, 256 MiB: the next doubling is refused.
  EXPECT_EQ(Text(u"n"), "26");
  EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(30));

  ASSERT_FALSE(
      Run(u"s = Empty\nOn Error Resume Next\nt = \"kept\"\nt = String(200000000, \"x\")\n"
          u"Note Err.Number & \" \" & t\nErr.Clear\nReDim big(100000000)\n"
          u"Note Err.Number\nErr.Clear\nu = Split(Space(20000000))\nNote Err.Number"));
  EXPECT_EQ(notes, (std::vector<std::string>{"7 kept", "7", "7"}));
}

TEST_F(Safety, AHostMayLowerTheValueLimit) {
  engine.SetMaxValueBytes(size_t{1} << 20);
  ASSERT_FALSE(
      Run(u"On Error Resume Next\na = Space(400000)\nNote Err.Number\n"
          u"b = Space(600000)\nNote Err.Number\nErr.Clear\n"
          u"c = Replace(a, \" \", \"xy\")\nNote Err.Number\nErr.Clear\n"
          u"Set re = New RegExp\nre.Global = True\nre.Pattern = \"\"\n"
          u"Set m = re.Execute(a)\nNote Err.Number"));
  EXPECT_EQ(notes, (std::vector<std::string>{"0", "7", "7", "7"}));
}

TEST_F(Safety, EvalAndExecuteInALoopDoNotGrowTheHeap) {
  ASSERT_FALSE(Run(u"x = Eval(\"1\")\nExecute \"y = 1\""));
  const size_t before = mallinfo2().uordblks;
  if (before == 0) GTEST_SKIP() << "this allocator does not report its heap";
  // Each Eval and Execute compiles its text; kept, 20,000 of them held about 18 MB.
  ASSERT_FALSE(Run(u"For i = 1 To 20000\n  x = Eval(\"i + 1\")\n  Execute \"y = i\"\nNext"));
  const size_t after = mallinfo2().uordblks;
  EXPECT_LT(static_cast<double>(after) - static_cast<double>(before), 2.0 * 1024 * 1024);
  EXPECT_EQ(Text(u"x"), "20001");
  EXPECT_EQ(Text(u"y"), "20000");
  // What Execute defines stays callable after the text that defined it ran.
  ASSERT_FALSE(
      Run(u"Execute \"Function Made()\" & vbCrLf & \"Made = 7\" & vbCrLf & "
          u"\"End Function\"\nExecute \"Class Built : Public V : End Class\""));
  ASSERT_FALSE(Run(u"z = Made()\nSet b = New Built\nb.V = 3\nw = b.V"));
  EXPECT_EQ(Text(u"z"), "7");
  EXPECT_EQ(Text(u"w"), "3");
}

using CompileOnce = CoreScriptTest;

TEST_F(CompileOnce, RunsManyTimesWithTopLevelVariablesLivingOn) {
  Engine::CompileResult compiled = engine.Compile(
      u"count = count + 1\nlog = log & Twice(count)\n"
      u"Function Twice(n)\n  Twice = n * 2\nEnd Function");
  ASSERT_TRUE(compiled.script);
  ASSERT_FALSE(compiled.error);
  for (int i = 0; i < 3; ++i) ASSERT_FALSE(engine.Run(*compiled.script));
  EXPECT_EQ(Text(u"count"), "3");
  EXPECT_EQ(Text(u"log"), "246");
  // Other code in the same engine sees the globals and the procedures.
  ASSERT_FALSE(Run(u"Note Twice(count) + 1"));
  EXPECT_EQ(notes, std::vector<std::string>{"7"});
  std::variant<Variant, ScriptErrorInfo> value = engine.Eval(u"count * 10");
  ASSERT_TRUE(std::holds_alternative<Variant>(value));
  EXPECT_EQ(ToLong(std::get<Variant>(value)), 30);
}

TEST_F(CompileOnce, AFailedRunLeavesTheNextRunWhole) {
  Engine::CompileResult compiled =
      engine.Compile(u"runs = runs + 1\nIf runs = 2 Then x = 1 / 0\nNote runs");
  ASSERT_TRUE(compiled.script);
  EXPECT_FALSE(engine.Run(*compiled.script));
  std::optional<ScriptErrorInfo> error = engine.Run(*compiled.script);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 11);
  EXPECT_FALSE(engine.Run(*compiled.script));
  EXPECT_EQ(notes, (std::vector<std::string>{"1", "3"}));
}

TEST_F(CompileOnce, AScriptOfAnotherEngineIsRefused) {
  ScriptHost otherHost;
  Engine other(otherHost);
  Engine::CompileResult compiled = other.Compile(u"x = 1");
  ASSERT_TRUE(compiled.script);
  std::optional<ScriptErrorInfo> error = engine.Run(*compiled.script);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(Text(u"x"), "<none>");
}

// A host object with a property, a method, an indexed default member and For Each.
class Shelf : public ScriptObject {
 public:
  std::u16string TypeName() const override { return u"Shelf"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (EqualsNoCaseU16(name, u"Label")) return Variant::String(label);
    if (EqualsNoCaseU16(name, u"Add")) {
      CheckArgumentCount(args, 1, 1);
      items.push_back(ToString(args[0]));
      return Variant();
    }
    if (name.empty()) {
      CheckArgumentCount(args, 1, 1);
      const int32_t index = ToLong(args[0]);
      if (index < 1 || static_cast<size_t>(index) > items.size()) {
        RaiseScriptError(script_errors::kSubscriptOutOfRange);
      }
      return Variant::String(items[static_cast<size_t>(index - 1)]);
    }
    RaiseNoSuchMember(name);
  }
  void Let(std::u16string_view name, std::span<Variant>, const Variant& value) override {
    if (!EqualsNoCaseU16(name, u"Label")) RaiseNoSuchMember(name);
    label = ToString(value);
  }
  std::vector<Variant> Enumerate() override {
    std::vector<Variant> out;
    for (const auto& item : items) out.push_back(Variant::String(item));
    return out;
  }
  std::u16string label;
  std::vector<std::u16string> items;
};

using HostObjects = CoreScriptTest;

TEST_F(HostObjects, AreReachedByNameWithTheirMembers) {
  auto shelf = std::make_shared<Shelf>();
  engine.AddObject(u"Shelf", shelf);
  ASSERT_FALSE(
      Run(u"Shelf.Label = \"books\"\nShelf.Add \"a\"\nshelf.ADD 2\n"
          u"For Each item In Shelf\n  all = all & item\nNext\n"
          u"Note TypeName(Shelf) & \" \" & Shelf.Label & \" \" & all & \" \" & Shelf(2)\n"
          u"With Shelf\n  .Label = .Label & \"!\"\nEnd With"));
  EXPECT_EQ(notes, std::vector<std::string>{"Shelf books a2 2"});
  EXPECT_EQ(Utf8(shelf->label), "books!");

  std::optional<ScriptErrorInfo> error = Run(u"Shelf.Missing 1");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 438);
  error = Run(u"x = Shelf(9)");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 9);
  error = Run(u"Shelf.Add");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 450);
  error = Run(u"Note 1, 2");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 450);
}

TEST_F(HostObjects, AHostProcedureKnowsTheLineItWasCalledFrom) {
  std::vector<int> lines;
  engine.AddGlobalProcedure(u"Where", 0, 1, [&](std::span<Variant>) {
    lines.push_back(engine.CurrentLine());
    return Variant();
  });
  // The message is built at run time, as `Check cond, "x=" & x` does.
  ASSERT_FALSE(
      Run(u"x = 1\nWhere \"x=\" & x\nSub Inner()\n  Where\nEnd Sub\n\nInner\n"
          u"If True Then Where"));
  EXPECT_EQ(lines, (std::vector<int>{2, 4, 8}));
  EXPECT_EQ(engine.CurrentLine(), 0) << "no line once the script has ended";
}

}  // namespace
}  // namespace vendil::test

namespace vendil::test {
namespace {

TEST(ScriptEnd, ObjectsStillHeldAreTerminatedWhenTheEngineEnds) {
  ScriptHost host;
  std::vector<std::string> notes;
  {
    Engine engine(host);
    engine.AddGlobalProcedure(u"Note", 1, 1, [&notes](std::span<Variant> args) {
      notes.push_back(Utf16ToUtf8(ToString(args[0])));
      return Variant();
    });
    ASSERT_FALSE(
        engine.AddCode(u"Class Res\n  Public Name\n  Public Inner\n"
                       u"  Sub Class_Terminate()\n    Note \"end \" & Name\n  End Sub\nEnd Class\n"
                       u"Set kept = New Res\nkept.Name = \"outer\"\nSet kept.Inner = New Res\n"
                       u"kept.Inner.Name = \"inner\"\nSet gone = New Res\ngone.Name = \"early\"\n"
                       u"Set gone = Nothing\nNote \"script done\""));
    EXPECT_EQ(notes, (std::vector<std::string>{"end early", "script done"}));
  }
  EXPECT_EQ(notes,
            (std::vector<std::string>{"end early", "script done", "end outer", "end inner"}));
}

}  // namespace
}  // namespace vendil::test
