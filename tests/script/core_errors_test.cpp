// Whole scripts through the Engine: compile errors stop everything before it runs, run-time
// errors carry their place, and On Error works across procedure calls.
#include "core_support.h"

namespace vendil::test {
namespace {

using CompileErrors = CoreScriptTest;

TEST_F(CompileErrors, ASyntaxErrorAnywhereMeansNothingRuns) {
  struct Case {
    std::u16string code;
    int32_t number;
    int line;
    int column;
    std::string lineText;
  };
  const std::vector<Case> cases = {
      {u"Note 1\nx = (1 + 2\nNote 2", 1006, 2, 11, "x = (1 + 2"},
      {u"Note 1\r\nIf x Then\r\n  Note 2\r\n", 1012, 4, 1, ""},
      {u"Note 1\nSelect Case x\nCase 1 To 3\nEnd Select", 1025, 3, 8, "Case 1 To 3"},
      {u"Note 1\nSelect Case x\nCase Is > 3\nEnd Select", 1023, 3, 6, "Case Is > 3"},
      {u"Note 1\nSub A()\nEnd Function", 1016, 3, 5, "End Function"},
      {u"Note 1\nx = \"open", 1033, 2, 5, "x = \"open"},
      {u"Sub S()\n  Note 1\nEnd Sub\nS\nDim a, a", 1041, 5, 8, "Dim a, a"},
      // A procedure inside a loop is not in the loop; one inside a procedure is refused.
      {u"Note 1\nFor i = 1 To 2\nSub A()\nExit For\nEnd Sub\nNext", 1039, 4, 1, "Exit For"},
      {u"Note 1\nSub A()\n If 1 Then\n  Sub B()\n  End Sub\n End If\nEnd Sub", 1024, 4, 3,
       "  Sub B()"},
      {u"Note 1\nx = 1 =< 2 => 3 >< \n", 1023, 2, 20, "x = 1 =< 2 => 3 >< "},
      {u"Note 1\nDim [a b], if", 1010, 2, 12, "Dim [a b], if"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.code));
    notes.clear();
    std::optional<ScriptErrorInfo> error = Run(c.code);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, c.number);
    EXPECT_EQ(Utf8(error->source), Utf8(kCompileErrorSource));
    EXPECT_EQ(error->line, c.line);
    EXPECT_EQ(error->column, c.column);
    EXPECT_EQ(Utf8(error->lineText), c.lineText);
    EXPECT_FALSE(error->description.empty());
    EXPECT_TRUE(notes.empty()) << "a statement ran before the compile error was reported";
  }
}

TEST_F(CompileErrors, ACallWithAParenthesisedFirstArgumentIsNoAssignment) {
  ASSERT_FALSE(
      Run(u"Two (1 < 2) = True, 5\n"
          u"Sub Two(a, b)\nNote a & \"/\" & b\nEnd Sub\n"
          u"Two (1) + 1, 3\nTwo (2), (4)\n"));
  EXPECT_EQ(notes, (std::vector<std::string>{"True/5", "2/3", "2/4"}));
  // Without a comma it stays an assignment to an element.
  ASSERT_FALSE(Run(u"Dim arr(2)\narr (1) = 7\nv = arr(1)"));
  EXPECT_EQ(Text(u"v"), "7");
}

using RuntimeErrors = CoreScriptTest;

TEST_F(RuntimeErrors, CarryNumberPlaceAndLineTextAndKeepWhatRanBefore) {
  std::optional<ScriptErrorInfo> error = Run(u"x = 1\r\n  y = x / 0\r\nx = 2");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 11);
  EXPECT_EQ(Utf8(error->description), "Division by zero");
  EXPECT_EQ(Utf8(error->source), Utf8(kRuntimeErrorSource));
  EXPECT_EQ(error->line, 2);
  EXPECT_EQ(error->column, 3);
  EXPECT_EQ(Utf8(error->lineText), "  y = x / 0");
  EXPECT_EQ(Text(u"x"), "1");

  error = Run(u"Sub Inner()\n  Dim a(1)\n  a(5) = 1\nEnd Sub\nInner");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 9);
  EXPECT_EQ(error->line, 3) << "the place is where the error happened, not the call";
  EXPECT_EQ(Utf8(error->lineText), "  a(5) = 1");

  error = Run(u"Option Explicit\nDim known\nknown = 1\nunknown = 2");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 500);
  EXPECT_EQ(error->line, 4);
}

TEST_F(RuntimeErrors, ErrRaiseReachesTheHostWithItsOwnSourceAndDescription) {
  std::optional<ScriptErrorInfo> error =
      Run(u"Err.Raise vbObjectError + 12, \"Mine\", \"my own failure\"");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, static_cast<int32_t>(0x80040000u + 12));
  EXPECT_EQ(Utf8(error->source), "Mine");
  EXPECT_EQ(Utf8(error->description), "my own failure");
  EXPECT_EQ(error->line, 1);
}

using OnError = CoreScriptTest;

TEST_F(OnError, ACalleesResumeNextEndsWithTheCall) {
  std::optional<ScriptErrorInfo> error =
      Run(u"Sub Tolerant()\n  On Error Resume Next\n  x = 1 / 0\n  Note Err.Number\nEnd Sub\n"
          u"Tolerant\nNote \"back\"\ny = 1 / 0\nNote \"not reached\"");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 11);
  EXPECT_EQ(error->line, 8);
  EXPECT_EQ(notes, (std::vector<std::string>{"11", "back"}));
}

TEST_F(OnError, GoToZeroRaisesAgainAndClearForgetsTheError) {
  std::optional<ScriptErrorInfo> error =
      Run(u"On Error Resume Next\nx = CInt(\"a\")\nNote Err.Number\nErr.Clear\n"
          u"Note Err.Number\nOn Error GoTo 0\nx = CInt(\"b\")\nNote \"not reached\"");
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->number, 13);
  EXPECT_EQ(error->line, 7);
  EXPECT_EQ(notes, (std::vector<std::string>{"13", "0"}));
}

TEST_F(OnError, AFunctionFailingInsideAnExpressionLeavesTheTargetUnchanged) {
  ASSERT_FALSE(
      Run(u"Function Bad()\n  Bad = 1\n  Err.Raise 5\nEnd Function\n"
          u"On Error Resume Next\nv = \"kept\"\nv = Bad() + 1\nNote v & \" \" & Err.Number"));
  EXPECT_EQ(notes, (std::vector<std::string>{"kept 5"}));
}

}  // namespace
}  // namespace vendil::test
