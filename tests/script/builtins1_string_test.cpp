// The string built-ins: positions, compare modes, Null, CP932 codes and their errors; the
// cases strings.vbs reads as a script are not read again here.
#include "builtins1_support.h"

namespace vendil::test {
namespace {

using StringBuiltins = BuiltinsTest;

TEST_F(StringBuiltins, SlicesOfNullAndAStartBeforeTheText) {
  EXPECT_TRUE(Call(u"Left", {Variant::Null(), I(2)}).IsNull());
  EXPECT_EQ(ErrorOf(u"Mid", {S(u"abc"), I(0)}), 5);
}

TEST_F(StringBuiltins, SearchesHonourStartAndCompareMode) {
  EXPECT_EQ(Number(u"InStr", {I(1), S(u"xＡb"), S(u"ａ"), I(1)}), 2);
  EXPECT_TRUE(Call(u"InStr", {S(u"a"), Variant::Null()}).IsNull());
  EXPECT_EQ(Number(u"InStrRev", {S(u"ab"), S(u"abc")}), 0);
  EXPECT_EQ(ErrorOf(u"InStrRev", {S(u"a"), S(u"a"), I(0)}), 5);
  EXPECT_EQ(ErrorOf(u"InStr", {I(1), S(u"a"), S(u"a"), I(2)}), 5);
}

TEST_F(StringBuiltins, ReplaceStartsAtStartAndStopsAtCount) {
  EXPECT_EQ(Text(u"Replace", {S(u"aa"), S(u"a"), S(u"aa")}), "aaaa");
  EXPECT_EQ(ErrorOf(u"Replace", {Variant::Null(), S(u"a"), S(u"b")}), 94);
}

TEST_F(StringBuiltins, SplitJoinAndFilter) {
  const Variant parts = Call(u"Split", {S(u"aXbxc"), S(u"x"), I(-1), I(1)});
  EXPECT_EQ(parts.ArrayValue().Size(), 3u);
  EXPECT_EQ(parts.ArrayValue().UpperBound(0), 2);
  EXPECT_EQ(Text(u"Join", {Variant::ArrayOf({S(u"a"), I(1), S(u"c")}), S(u"-")}), "a-1-c");
  EXPECT_EQ(ErrorOf(u"Join", {S(u"a")}), 13);
  const Variant fruit = Variant::ArrayOf({S(u"Apple"), S(u"banana"), S(u"apricot")});
  EXPECT_EQ(Call(u"Filter", {fruit, S(u"AP"), Variant::Boolean(true), I(1)}).ArrayValue().Size(),
            2u);
  EXPECT_EQ(Call(u"Filter", {fruit, S(u"an"), Variant::Boolean(false)}).ArrayValue().Size(), 2u);
}

TEST_F(StringBuiltins, CaseBlanksAndComparison) {
  EXPECT_EQ(Text(u"UCase", {S(u"éａ")}), "ÉＡ");
  EXPECT_EQ(Text(u"Trim", {S(u"\t a ")}), "\t a");
  EXPECT_EQ(ErrorOf(u"String", {I(3), S(u"")}), 5);
  EXPECT_TRUE(Call(u"StrComp", {Variant::Null(), S(u"a")}).IsNull());
  EXPECT_EQ(ErrorOf(u"Space", {I(-1)}), 5);
  EXPECT_EQ(ErrorOf(u"Space", {I(200'000'000)}), 7);
}

TEST_F(StringBuiltins, CharacterCodesUseTheJapaneseCodePage) {
  EXPECT_EQ(Number(u"Asc", {S(u"ｱ")}), 0xB1);
  EXPECT_EQ(Text(u"Chr", {I(-32096)}), "あ");
  EXPECT_EQ(ErrorOf(u"Chr", {I(70000)}), 5);
}

TEST_F(StringBuiltins, EscapeRoundTripsAndKeepsLonePercents) {
  EXPECT_EQ(Text(u"Escape", {S(u"a b&c@*_+-./")}), "a%20b%26c@*_+-./");
  EXPECT_EQ(Text(u"Escape", {S(u"\u3042\u00e9")}), "%u3042%E9");
  EXPECT_EQ(Text(u"Unescape", {S(u"%zz%u12")}), "%zz%u12");
  const std::u16string tricky = u"x%y \u00ff\u3042";
  EXPECT_EQ(ToString(Call(u"Unescape", {Call(u"Escape", {S(tricky)})})), tricky);
}

}  // namespace
}  // namespace vendil::test
