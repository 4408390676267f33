// Reading input tags: quoted and bare values, letter case, line breaks and tabs, later
// attributes overwriting earlier ones, and the texts that are not readable tags.
#include "briefcase/input_tag.h"

#include <gtest/gtest.h>

#include <string>

namespace vendil {
namespace {

struct Parsed {
  bool ok;
  std::string type, name, value;
};

Parsed Parse(const std::string& tag) {
  Parsed p;
  p.ok = ParseInputTag(tag, p.type, p.name, p.value);
  return p;
}

TEST(ParseInputTag, ReadsQuotedAndBareValues) {
  Parsed p = Parse("<input type=\"hidden\" name=\".tries\" value=\"1\">");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.type, "hidden");
  EXPECT_EQ(p.name, ".tries");
  EXPECT_EQ(p.value, "1");

  // A bare value last in the tag runs up to the ">".
  p = Parse("<input type=hidden name=.done value=abc>");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.type, "hidden");
  EXPECT_EQ(p.name, ".done");
  EXPECT_EQ(p.value, "abc");

  // A quoted value may hold blanks and "=".
  p = Parse("<input name=\"q\" value=\"a b=c\" >");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.value, "a b=c");

  // An empty bare value at the end.
  p = Parse("<input name=x value=>");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.value, "");
}

TEST(ParseInputTag, AttributeNamesInAnyCaseValuesAsWritten) {
  Parsed p = Parse("  <input TYPE=\"HIDDEN\" Name=\"A\" VALUE=\"Bc\">  trailing text");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.type, "HIDDEN");
  EXPECT_EQ(p.name, "A");
  EXPECT_EQ(p.value, "Bc");
  // The tag name itself is recognised in any case too.
  EXPECT_TRUE(Parse("<INPUT type=hidden>").ok);
}

TEST(ParseInputTag, LineBreaksAndTabsSeparateAttributes) {
  Parsed p = Parse("<input\ttype=hidden\r\n\tname=\"n\"\tvalue=v >");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.type, "hidden");
  EXPECT_EQ(p.name, "n");
  EXPECT_EQ(p.value, "v");
}

TEST(ParseInputTag, LaterAttributeWinsOthersIgnored) {
  Parsed p = Parse("<input value=\"1\" id=\"x\" value=\"2\" size=4>");
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.value, "2");
  EXPECT_EQ(p.name, "");
}

TEST(ParseInputTag, RejectsWhatIsNotAReadableInputTag) {
  EXPECT_FALSE(Parse("<input type=hidden").ok);   // no ">"
  EXPECT_FALSE(Parse("<select name=x>").ok);      // another tag
  EXPECT_FALSE(Parse("<inputx name=x>").ok);      // no blank after the name
  EXPECT_FALSE(Parse("<input name>").ok);         // attribute without "="
  EXPECT_FALSE(Parse("<input name=\"open>").ok);  // quote never closed
  EXPECT_FALSE(Parse("").ok);
  // What was read before the fault is kept, and outputs are cleared on entry.
  std::string type = "old", name = "old", value = "old";
  EXPECT_FALSE(ParseInputTag("<input name=a value=\"b>", type, name, value));
  EXPECT_EQ(type, "");
  EXPECT_EQ(name, "a");
  EXPECT_EQ(value, "");
}

TEST(ParseInputTag, LongRunsOfBareAttributesStayLinear) {
  std::string tag = "<input";
  for (int i = 0; i < 200000; ++i) tag += " a=b";
  tag += ">";
  Parsed p = Parse(tag);
  EXPECT_TRUE(p.ok);
}

}  // namespace
}  // namespace vendil
