// RegExp objects driven through their object interface: options, matches and their
// positions, groups, Replace templates, errors and the bound on runaway patterns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {
namespace {

class RegExpTest : public ::testing::Test {
 protected:
  void Set(std::u16string_view name, Variant value) { re->Let(name, {}, value); }
  Variant Call(const std::shared_ptr<ScriptObject>& object, std::u16string_view name,
               std::vector<Variant> args = {}) {
    return object->Get(name, args);
  }
  Variant Call(std::u16string_view name, std::vector<Variant> args = {}) {
    return Call(re, name, std::move(args));
  }
  std::vector<Variant> Execute(std::u16string_view pattern, std::u16string subject) {
    Set(u"Pattern", Variant::String(pattern));
    return Call(u"Execute", {Variant::String(std::move(subject))}).ObjectValue()->Enumerate();
  }
  std::u16string Replace(std::u16string_view pattern, std::u16string subject,
                         std::u16string replacement) {
    Set(u"Pattern", Variant::String(pattern));
    return Call(u"Replace", {Variant::String(std::move(subject)), Variant::String(replacement)})
        .StringValue();
  }
  bool Test(std::u16string_view pattern, std::u16string subject) {
    Set(u"Pattern", Variant::String(pattern));
    return Call(u"Test", {Variant::String(std::move(subject))}).BoolValue();
  }
  std::u16string Value(const Variant& match) { return ToString(Call(match.ObjectValue(), u"")); }
  int32_t Long(const Variant& match, std::u16string_view name) {
    return Call(match.ObjectValue(), name).LongValue();
  }
  int32_t ErrorOf(auto&& action) {
    try {
      action();
    } catch (const ScriptError& error) {
      return error.number;
    }
    return 0;
  }

  std::shared_ptr<ScriptObject> re = CreateRegExp();
};

TEST_F(RegExpTest, ExecuteGivesPositionsInUtf16Units) {
  // (Global, Value, FirstIndex and Length on plain text: regexp.vbs.)
  Set(u"Global", Variant::Boolean(true));
  // A character outside the BMP is two units, as script positions count.
  auto matches = Execute(u"x", u"\U0001F600あx");
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(Long(matches[0], u"FirstIndex"), 3);
  // Empty matches advance one character, never splitting a surrogate pair.
  EXPECT_EQ(Execute(u"", u"\U0001F600").size(), 2u);
  matches = Execute(u"a*", u"baa");
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_EQ(Value(matches[1]), u"aa");
}

TEST_F(RegExpTest, CollectionsIndexFromZeroAndRejectOutOfRange) {
  Set(u"Pattern", Variant::String(std::u16string(u"(a)(x)?")));
  auto matches = Call(u"Execute", {Variant::String(std::u16string(u"ba"))}).ObjectValue();
  EXPECT_EQ(Call(matches, u"Count").LongValue(), 1);
  auto match = Call(matches, u"Item", {Variant::Long(0)}).ObjectValue();
  auto groups = Call(match, u"SubMatches").ObjectValue();
  EXPECT_EQ(Call(groups, u"Count").LongValue(), 2);
  EXPECT_EQ(ToString(Call(groups, u"", {Variant::Long(0)})), u"a");
  EXPECT_TRUE(Call(groups, u"Item", {Variant::Long(1)}).IsEmpty());
  EXPECT_EQ(groups->Enumerate().size(), 2u);
  // `m.SubMatches(0)`: arguments of the property index the collection it returns.
  EXPECT_EQ(ToString(Call(match, u"SubMatches", {Variant::Long(0)})), u"a");
  EXPECT_EQ(ErrorOf([&] { Call(matches, u"Item", {Variant::Long(1)}); }), 5);
  EXPECT_EQ(ErrorOf([&] { Call(groups, u"Item", {Variant::Long(-1)}); }), 5);
  EXPECT_EQ(ErrorOf([&] { Call(u"Nope"); }), 438);
  EXPECT_EQ(ErrorOf([&] { Call(u"Test"); }), 450);
  EXPECT_EQ(re->TypeName(), u"IRegExp2");
}

TEST_F(RegExpTest, SyntaxFollowsTheScriptDialect) {
  // $ is the very end unless MultiLine; ^ likewise.
  EXPECT_FALSE(Test(u"a$", u"a\n"));
  Set(u"MultiLine", Variant::Boolean(true));
  EXPECT_TRUE(Test(u"a$", u"a\nb"));
  Set(u"MultiLine", Variant::Boolean(false));
  // \d and \w are ASCII only; \u escapes; [^] is any character; unset back references match "".
  EXPECT_FALSE(Test(u"\\d", u"１２３"));
  EXPECT_FALSE(Test(u"\\w", u"あ"));
  EXPECT_TRUE(Test(u"\\u3042", u"xあ"));
  EXPECT_TRUE(Test(u"^[^]$", u"\n"));
  EXPECT_TRUE(Test(u"^(a)?\\1b$", u"b"));
  EXPECT_TRUE(Test(u"(?<=a)b", u"ab"));
  // IgnoreCase folds beyond ASCII and recompiles when it changes.
  EXPECT_FALSE(Test(u"ａ", u"Ａ"));
  Set(u"IgnoreCase", Variant::Boolean(true));
  EXPECT_TRUE(Test(u"ａ", u"Ａ"));
  EXPECT_TRUE(Test(u"HREF", u"<a href"));
  // Lone surrogates in the subject neither crash nor match a character.
  EXPECT_TRUE(Test(u"b", std::u16string(u"a") + char16_t(0xD800) + u"b"));
}

TEST_F(RegExpTest, ReplaceTemplates) {
  Set(u"Global", Variant::Boolean(true));  // "$2 $1" without and with it: regexp.vbs
  EXPECT_EQ(Replace(u"b", u"abc", u"[$&|$`|$'|$$]"), u"a[b|a|c|$]c");
  // $10 is group 10 only when it exists, else group 1 then "0"; unknown groups stay literal.
  EXPECT_EQ(Replace(u"(a)", u"a", u"$10$2$"), u"a0$2$");
  EXPECT_EQ(Replace(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"abcdefghij", u"$10$1"), u"ja");
  EXPECT_EQ(Replace(u"(x)?y", u"y", u"<$1>"), u"<>");
  EXPECT_EQ(Replace(u"", u"ab", u"-"), u"-a-b-");
}

TEST_F(RegExpTest, BadPatternsAndRunawayMatchesRaise) {
  // The error comes at use, like the original: setting the pattern is always allowed.
  Set(u"Pattern", Variant::String(std::u16string(u"(unclosed")));
  EXPECT_EQ(ErrorOf([&] { Call(u"Test", {Variant::String(std::u16string(u"x"))}); }), 5017);
  EXPECT_EQ(ErrorOf([&] { Test(u"[z-a]", u"x"); }), 5017);
  EXPECT_EQ(ErrorOf([&] { Call(u"Test", {Variant::Null()}); }), 94);
  const std::u16string subject(40, u'a');
  EXPECT_EQ(ErrorOf([&] { Test(u"^(a+)+$", subject + u"b"); }), 28);
}

}  // namespace
}  // namespace vendil
