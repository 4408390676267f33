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

TEST(ParseInputTag, ReadsTheAttributesOfAReadableTag) {
  const struct {
    const char *tag, *type, *name, *value;
  } cases[] = {
      {"<input type=\"hidden\" name=\".tries\" value=\"1\">", "hidden", ".tries", "1"},
      // A bare value last in the tag runs up to the ">".
      {"<input type=hidden name=.done value=abc>", "hidden", ".done", "abc"},
      {"<input name=\"q\" value=\"a b=c\" >", "", "q", "a b=c"},
      {"<input name=x value=>", "", "x", ""},
      // Attribute names in any case, values as written.
      {"  <input TYPE=\"HIDDEN\" Name=\"A\" VALUE=\"Bc\">  trailing text", "HIDDEN", "A", "Bc"},
      {"<INPUT type=hidden>", "hidden", "", ""},
      {"<input\ttype=hidden\r\n\tname=\"n\"\tvalue=v >", "hidden", "n", "v"},
      // The later attribute wins; others are ignored.
      {"<input value=\"1\" id=\"x\" value=\"2\" size=4>", "", "", "2"},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(c.tag);
    EXPECT_TRUE(p.ok) << c.tag;
    EXPECT_EQ(p.type, c.type) << c.tag;
    EXPECT_EQ(p.name, c.name) << c.tag;
    EXPECT_EQ(p.value, c.value) << c.tag;
  }
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
