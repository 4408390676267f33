// The engine's UTF-8 and UTF-16 conversions, which every page text and script passes through.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "script/variant_convert.h"

namespace vendil {
namespace {

TEST(TextConversion, MixedTextRoundTripsUnitForUnit) {
  // ASCII, two- and three-byte characters and one outside the basic plane (a pair in UTF-16).
  const std::string utf8 = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80z";
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  EXPECT_EQ(utf16, (std::u16string{u'a', 0x00E9, 0x3042, 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
  EXPECT_EQ(Utf8ToUtf16(""), u"");
  EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(TextConversion, BadInputBecomesReplacementCharacters) {
  // A stray continuation byte, an overlong form, a cut sequence at the end, an encoded surrogate.
  EXPECT_EQ(Utf8ToUtf16("a\x80"
                        "b"),
            (std::u16string{u'a', 0xFFFD, u'b'}));
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("x\xE3\x81"), (std::u16string{u'x', 0xFFFD, 0xFFFD}));
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
  // Lone surrogates in UTF-16 come out as U+FFFD, never as invalid UTF-8.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'a', 0xDC00}),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D}), "\xEF\xBF\xBD");
}

TEST(TextConversion, AnyBytesGiveValidUtf8ThatRoundTrips) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 256);
    const std::string once = Utf16ToUtf8(Utf8ToUtf16(bytes));
    // Whatever came in, the result is stable: converting it again changes nothing.
    ASSERT_EQ(Utf16ToUtf8(Utf8ToUtf16(once)), once) << "round " << round;
    ASSERT_LE(Utf8ToUtf16(bytes).size(), bytes.size());
  }
}

}  // namespace
}  // namespace vendil
