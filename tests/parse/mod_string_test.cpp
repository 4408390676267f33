// The text helpers: ranges by position, text between delimiters, searches and the tag
// remover used for link titles.
#include "parse/mod_string.h"

#include <gtest/gtest.h>

namespace vendil {
namespace {

TEST(ModStringMidRange, BoundsAndEmptyRanges) {
  EXPECT_EQ(MidRange("abcdef", 2, 4), "bcd");
  EXPECT_EQ(MidRange("abcdef", 3, 2), "");
  EXPECT_EQ(MidRange("abcdef", 0, 3), "");
  EXPECT_EQ(MidRange("abcdef", 3, 1), "");
  EXPECT_EQ(MidRange("abcdef", 5, 100), "ef");
  EXPECT_EQ(MidRange("abcdef", 7, 9), "");
}

TEST(ModStringGetBetween, FourModesAndTheAdvancedPosition) {
  const std::string text = "x<b>one</b><b>two</b>";
  int64_t position = 0;
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 0, position), "one");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 0, position), "two");
  EXPECT_EQ(position, 18);
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 0, position), "");
  EXPECT_EQ(position, 18);

  position = 1;
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 1, position), "<b>one");
  EXPECT_EQ(position, 8);
  position = 1;
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 2, position), "one</b>");
  EXPECT_EQ(position, 12);
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 3, position), "<b>two</b>");
  EXPECT_EQ(position, 22);

  position = 1;
  EXPECT_EQ(GetBetween(text, "<b>", "</b>", false, 4, position), "");
  EXPECT_EQ(position, 1);
}

TEST(ModStringGetBetween, EmptyOrMissingDelimiters) {
  int64_t position = 0;
  EXPECT_EQ(GetBetween("key=value", "=", "", false, 0, position), "value");
  EXPECT_EQ(position, 10);
  position = 3;
  EXPECT_EQ(GetBetween("a(b", "(", ")", false, 0, position), "");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(GetBetween("a(b)", "", ")", false, 0, position), "");
  EXPECT_EQ(position, 3);
}

TEST(ModStringGetBetween, BackwardTakesTheLastOpenBeforeTheClose) {
  int64_t position = 1;
  EXPECT_EQ(GetBetween("[a][b]c]", "[", "]", true, 0, position), "a");
  EXPECT_EQ(position, 3);
  position = 5;
  EXPECT_EQ(GetBetween("[a][b]c]", "[", "]", true, 3, position), "[b]");
  EXPECT_EQ(position, 7);
  // The open must end before the close: "ab" overlapping the close does not count.
  position = 1;
  EXPECT_EQ(GetBetween("xab", "ab", "b", true, 0, position), "");
}

TEST(ModStringSearch, FindFirstOfAndRemoveAll) {
  const std::vector<std::string> white = {" ", "\r", "\n", "\t"};
  EXPECT_EQ(FindFirstOf(1, "ab\tc d", white), 3);
  EXPECT_EQ(FindFirstOf(4, "ab\tc d", white), 5);
  EXPECT_EQ(FindFirstOf(7, "ab\tc d", white), 0);
  EXPECT_EQ(FindFirstOf(100, "ab c", white), 0);
  EXPECT_EQ(FindFirstOf(1, "abc", {"", "c"}), 3);
  EXPECT_EQ(RemoveAll("a\r\nb\r\nc", {"\r\n", "b"}), "ac");
  EXPECT_EQ(RemoveAll("aaaa", {"aa"}), "");
  EXPECT_EQ(RemoveAll("abc", {""}), "abc");
}

TEST(ModStringSplitTrim, SplitKeepsEmptyPiecesTrimTakesBlanksOnly) {
  EXPECT_TRUE(SplitText("", ";").empty());
  EXPECT_EQ(SplitText("*.zip;", ";"), (std::vector<std::string>{"*.zip", ""}));
  EXPECT_EQ(SplitText("a;;b", ";"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(TrimBlanks("  a b \t "), "a b \t");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(ModStringStripTags, RemovesTagsThenLineBreaksThenBlanks) {
  EXPECT_EQ(StripTags(" <b>Big</b>\r\n <img src=x>file ", true, true), "Big file");
  EXPECT_EQ(StripTags("a<b>c", false, false), "ac");
  EXPECT_EQ(StripTags("a < b", false, false), "a < b");
  EXPECT_EQ(StripTags("x>y<z", false, false), "x>y<z");
  EXPECT_EQ(StripTags("<<b>>", false, false), ">");
  EXPECT_EQ(StripTags(" a\r\n", true, false), " a");
}

TEST(ModStringStripTags, CharacterReferencesAreDecodedAfterTheTagsGo) {
  EXPECT_EQ(StripTags("Methods &amp; Slots", true, true), "Methods & Slots");
  EXPECT_EQ(StripTags("<b>&lt;b&gt;</b> &copy 2003&#33;", true, true), "<b> \u00A9 2003!");
  EXPECT_EQ(StripTags("a\r\nb\tc &amp;", false, false), "a\r\nb\tc &");
  EXPECT_EQ(StripTags(" one&#13;&#10;two &unknown; ", true, true), "onetwo &unknown;");
}

}  // namespace
}  // namespace vendil
