// Comparisons without regard to case, by Unicode folding, on any bytes.
#include "platform/casefold.h"

#include <gtest/gtest.h>

namespace vendil {
namespace {

TEST(CaseFold, FoldsBeyondAscii) {
  EXPECT_TRUE(EqualsNoCase("\xEF\xBC\xA1", "\xEF\xBD\x81"));  // full-width A and a
  EXPECT_TRUE(EqualsNoCase("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"));
  EXPECT_TRUE(EqualsNoCase("\xCE\xA3", "\xCF\x83"));  // Greek sigma
  EXPECT_FALSE(EqualsNoCase("abc", "abd"));
  EXPECT_TRUE(StartsWithNoCase("HTTP://x", "http:"));
  EXPECT_TRUE(EndsWithNoCase("FILE.ZIP", ".zip"));
  EXPECT_FALSE(EndsWithNoCase("zip", "a.zip"));
  EXPECT_EQ(UpperAscii("a\xC3\xA9z"), "A\xC3\xA9Z");
}

TEST(CaseFold, FindGivesBytePositionsInTheOriginalText) {
  EXPECT_EQ(FindNoCase("abcABC", "bc"), 2u);
  EXPECT_EQ(FindNoCase("abcABC", "bc", 3), 5u);
  EXPECT_EQ(FindNoCase("abc", "x"), 0u);
  EXPECT_EQ(FindNoCase("abc", "", 2), 2u);
  EXPECT_EQ(FindNoCase("abc", "a", 9), 0u);
  // The Kelvin sign folds to a one-byte k: positions after it still count original bytes.
  EXPECT_EQ(FindNoCase("\xE2\x84\xAAxYz", "yz"), 5u);
  EXPECT_EQ(FindNoCase("\xE6\xBC\xA2\xEF\xBC\xA1", "\xEF\xBD\x81"), 4u);
}

TEST(CaseFold, InvalidUtf8IsComparedAsItsBytes) {
  const std::string junk = "\xFF\xC3(\x80zZ";
  EXPECT_EQ(FoldCase(junk), "\xFF\xC3(\x80zz");
  EXPECT_EQ(FindNoCase(junk, "ZZ"), 5u);
  EXPECT_TRUE(ContainsNoCase(junk, "\xC3("));
  EXPECT_TRUE(
      EqualsNoCase("\xFE"
                   "A",
                   "\xFE"
                   "a"));
}

}  // namespace
}  // namespace vendil
