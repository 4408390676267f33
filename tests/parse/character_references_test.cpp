// Character references: named ones with and without ";", the attribute-value exception,
// numeric ones with HTML's fix-ups, and ampersands that start no reference.
#include "parse/character_references.h"

#include <gtest/gtest.h>

#include <string>

namespace vendil {
namespace {

std::string Text(const std::string& text) {
  return DecodeCharacterReferences(text, ReferenceContext::Text);
}
std::string Attr(const std::string& text) {
  return DecodeCharacterReferences(text, ReferenceContext::AttributeValue);
}

TEST(CharacterReferences, NamedReferencesTakeTheLongestNameOfTheTable) {
  EXPECT_EQ(Text("Methods &amp; Slots"), "Methods & Slots");
  EXPECT_EQ(Text("&lt;b&gt; &quot;q&quot; &apos;"), "<b> \"q\" '");
  EXPECT_EQ(Text("&notin; &notit; &not"), "\u2209 \u00ACit; \u00AC");
  EXPECT_EQ(Text("&CounterClockwiseContourIntegral;"), "\u2233");
  EXPECT_EQ(Text("&NotEqualTilde;"), "\u2242\u0338");
  EXPECT_EQ(Text("&AMP;&AMP&ampx"), "&&&x");
  // Names of the table are exact in letter case, and most need their ";".
  EXPECT_EQ(Text("&Amp; &hellip &unknown; &;& &&amp;"), "&Amp; &hellip &unknown; &;& &&");
}

TEST(CharacterReferences, AttributeValuesKeepALegacyNameBeforeEqualsOrALetter) {
  EXPECT_EQ(Attr("man.cgi?section=5&amp;topic=mbox"), "man.cgi?section=5&topic=mbox");
  EXPECT_EQ(Attr("?a=1&copy=2&reg3&amp=4"), "?a=1&copy=2&reg3&amp=4");
  EXPECT_EQ(Attr("?a=1&copy;=2&amp-3&lt"), "?a=1\u00A9=2&-3<");
  EXPECT_EQ(Text("?a=1&copy=2&reg3"), "?a=1\u00A9=2\u00AE3");
  EXPECT_EQ(Attr("mail&#64;host&#x2E;org"), "mail@host.org");
}

TEST(CharacterReferences, NumericReferencesAsHtmlReadsThem) {
  EXPECT_EQ(Text("&#64;&#64&#x40;&#X40&#12354;&#x1F600;"), "@@@@\u3042\U0001F600");
  EXPECT_EQ(Text("&#0;&#xD800;&#x110000;&#99999999999999999999;"), "\uFFFD\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Text("&#128;&#x9F;&#x81;"), "\u20AC\u0178\u0081");
  EXPECT_EQ(Text("&#;&#x;&#xG;&#-1;"), "&#;&#x;&#xG;&#-1;");
  EXPECT_EQ(Text("&#0049;2"), "12");
}

TEST(CharacterReferences, AmpersandFloodsDecodeToThemselves) {
  std::string flood;
  for (int i = 0; i < 5000; ++i) flood += "&" + std::string(i % 70, 'a') + "=";
  EXPECT_EQ(Attr(flood), flood);
  EXPECT_EQ(Text(flood), flood);
  EXPECT_EQ(Text(std::string(100000, '&')), std::string(100000, '&'));
}

}  // namespace
}  // namespace vendil
