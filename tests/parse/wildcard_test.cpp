// The wildcard matcher: each wildcard, lists and ranges, case folding, malformed patterns,
// pattern lists, and hostile patterns that must not take exponential time.
#include "parse/wildcard.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace vendil {
namespace {

// Each wildcard on ASCII is cross-checked against a plain matcher at the end of the file.
TEST(Wildcard, EachWildcardAgainstTheWholeValue) {
  EXPECT_EQ(WildcardMatch("*.zip", "http://h/a.zip"), true);
  EXPECT_EQ(WildcardMatch("*.zip", "http://h/a.zip.html"), false);
  EXPECT_EQ(WildcardMatch("", "x"), false);
}

TEST(Wildcard, QuestionMarkTakesAWholeCharacter) {
  EXPECT_EQ(WildcardMatch("?.txt", "あ.txt"), true);
  EXPECT_EQ(WildcardMatch("???.txt", "あ.txt"), false);
}

TEST(Wildcard, ListsRangesAndNegation) {
  EXPECT_EQ(WildcardMatch("[abc]x", "bx"), true);
  EXPECT_EQ(WildcardMatch("[abc]x", "dx"), false);
  EXPECT_EQ(WildcardMatch("file[0-9].zip", "file7.zip"), true);
  EXPECT_EQ(WildcardMatch("file[!0-9].zip", "file7.zip"), false);
  EXPECT_EQ(WildcardMatch("file[!0-9].zip", "fileA.zip"), true);
  EXPECT_EQ(WildcardMatch("[-a]", "-"), true);
  EXPECT_EQ(WildcardMatch("[a-]", "-"), true);
  EXPECT_EQ(WildcardMatch("[a!]", "!"), true);
  EXPECT_EQ(WildcardMatch("[*?#]", "*"), true);
  EXPECT_EQ(WildcardMatch("[*?#]", "x"), false);
  EXPECT_EQ(WildcardMatch("[[]", "["), true);
  EXPECT_EQ(WildcardMatch("a]", "a]"), true);
  // An empty list stands for no character at all; "[!]" takes any one.
  EXPECT_EQ(WildcardMatch("a[]b", "ab"), true);
  EXPECT_EQ(WildcardMatch("a[!]b", "axb"), true);
  EXPECT_EQ(WildcardMatch("a[!]b", "ab"), false);
}

TEST(Wildcard, LetterCaseDoesNotCountFullWidthIncluded) {
  EXPECT_EQ(WildcardMatch("*.ZIP", "http://h/a.zip"), true);
  EXPECT_EQ(WildcardMatch("[A-C]*", "beta"), true);
  EXPECT_EQ(WildcardMatch("ＡＢＣ*", "ａｂｃdef"), true);
}

TEST(Wildcard, MalformedPatterns) {
  EXPECT_EQ(WildcardMatch("[a", "a"), std::nullopt);
  EXPECT_EQ(WildcardMatch("*.zip[", "x.zip"), std::nullopt);
  EXPECT_EQ(WildcardMatch("[z-a]", "m"), std::nullopt);
}

TEST(Wildcard, PatternListsKeepEmptyPiecesAndStopAtAMalformedOne) {
  EXPECT_TRUE(SplitPatterns("").empty());
  const auto patterns = SplitPatterns("*.zip;");
  ASSERT_EQ(patterns.size(), 2u);
  EXPECT_EQ(MatchesAny(patterns, "http://h/a.zip"), true);
  EXPECT_EQ(MatchesAny(patterns, "http://h/a.lzh"), false);
  EXPECT_EQ(MatchesAny(patterns, ""), true);
  EXPECT_EQ(MatchesAny({}, "x"), false);
  EXPECT_EQ(MatchesAny({"*.zip", "[a", "*.lzh"}, "x.zip"), true);
  EXPECT_EQ(MatchesAny({"*.zip", "[a", "*.lzh"}, "x.lzh"), std::nullopt);
  // URLs of any length, around the length folded without a heap block.
  for (const size_t length : {511u, 512u, 513u, 5000u}) {
    const std::string url = "http://h/" + std::string(length - 13, 'D') + ".ZIP";
    EXPECT_EQ(MatchesAny(patterns, url), true) << length;
    EXPECT_EQ(MatchesAny({"*d.zi?"}, url), true) << length;
    EXPECT_EQ(MatchesAny({"*e.zip"}, url), false) << length;
  }
}

TEST(Wildcard, HostilePatternsStayPolynomial) {
  // Exponential backtracking would never finish these.
  std::string pattern;
  for (int i = 0; i < 30; ++i) pattern += "*a";
  pattern += "*b";
  const std::string value(10000, 'a');
  EXPECT_EQ(WildcardMatch(pattern, value), false);
  EXPECT_EQ(WildcardMatch(pattern, value + "b"), true);
  EXPECT_EQ(WildcardMatch(std::string(30, '*') + "x", std::string(10000, 'y')), false);
}

TEST(Wildcard, InvalidUtf8IsMatchedByteForByte) {
  EXPECT_EQ(WildcardMatch("?", std::string("\xff")), true);
  EXPECT_EQ(WildcardMatch("a*", std::string("a\xc3\x28\xff")), true);
  EXPECT_EQ(WildcardMatch(std::string("\xfe"), std::string("\xff")), false);
}

// A plain recursive matcher over ASCII, slow but obviously right, for the cross-check below.
bool ReferenceMatch(const std::string& p, size_t pi, const std::string& v, size_t vi) {
  if (pi == p.size()) return vi == v.size();
  const char c = p[pi];
  if (c == '*') {
    for (size_t k = vi; k <= v.size(); ++k) {
      if (ReferenceMatch(p, pi + 1, v, k)) return true;
    }
    return false;
  }
  if (vi == v.size()) return false;
  const char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(v[vi])));
  bool one = false;
  size_t next = pi + 1;
  if (c == '?') {
    one = true;
  } else if (c == '#') {
    one = ch >= '0' && ch <= '9';
  } else if (c == '[') {  // only "[ab]" occurs in the generated patterns
    one = ch == 'a' || ch == 'b';
    next = pi + 4;
  } else {
    one = ch == c;
  }
  return one && ReferenceMatch(p, next, v, vi + 1);
}

TEST(Wildcard, AgreesWithAPlainMatcherOnRandomPatterns) {
  // The matcher tests the part after the last star against the value's end first and stops
  // at that star; this checks it on every shape of star placement against a plain matcher.
  std::mt19937 random(20261207);
  const std::vector<std::string> pieces = {"a", "b", "1", "*", "?", "#", "[ab]", "**"};
  const std::string letters = "abAB1x";
  for (int round = 0; round < 20000; ++round) {
    std::string pattern;
    for (int k = random() % 6; k >= 0; --k) pattern += pieces[random() % pieces.size()];
    std::string value;
    for (int k = random() % 8; k > 0; --k) value += letters[random() % letters.size()];
    const bool expected = ReferenceMatch(pattern, 0, value, 0);
    ASSERT_EQ(WildcardMatch(pattern, value), expected) << pattern << " / " << value;
    ASSERT_EQ(PatternList({pattern}).MatchesAny(value), expected) << pattern << " / " << value;
  }
}

}  // namespace
}  // namespace vendil
