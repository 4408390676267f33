// Scripting.Dictionary: keys by value, order, compare modes and the errors scripts rely on.
#include <gtest/gtest.h>

#include <vector>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {
namespace {

class DictionaryTest : public ::testing::Test {
 protected:
  Variant Get(std::u16string_view name, std::vector<Variant> args = {}) {
    return dictionary->Get(name, args);
  }
  void Let(std::u16string_view name, std::vector<Variant> args, const Variant& value) {
    dictionary->Let(name, args, value);
  }
  template <typename F>
  int32_t ErrorOf(F action) {
    try {
      action();
    } catch (const ScriptError& error) {
      return error.number;
    }
    return 0;
  }
  std::vector<std::u16string> Keys() {
    std::vector<std::u16string> keys;
    const Variant array = Get(u"Keys");
    for (const Variant& key : array.ArrayValue().Elements()) keys.push_back(ToString(key));
    return keys;
  }

  std::shared_ptr<ScriptObject> dictionary = CreateDictionary();
};

Variant S(std::u16string_view text) { return Variant::String(text); }

TEST_F(DictionaryTest, KeysCompareByValueNotSubtype) {
  Get(u"Add", {Variant::Integer(1), S(u"one")});
  EXPECT_TRUE(ToBool(Get(u"Exists", {Variant::Long(1)})));
  EXPECT_TRUE(ToBool(Get(u"Exists", {Variant::Double(1.0)})));
  EXPECT_FALSE(ToBool(Get(u"Exists", {S(u"1")})));
  Get(u"Add", {S(u"1"), S(u"text")});
  EXPECT_EQ(ToLong(Get(u"Count")), 2);
  EXPECT_EQ(ErrorOf([&] { Get(u"Add", {Variant::Double(1), Variant()}); }), 457);
  EXPECT_EQ(ErrorOf([&] { Get(u"Add", {Variant::ArrayOf({}), Variant()}); }), 13);
}

// Reading and writing items, Keys in order, Remove and RemoveAll: dictionary.vbs.
TEST_F(DictionaryTest, AKeyRemovedAndAddedAgainGoesToTheEnd) {
  Get(u"Add", {S(u"b"), Variant::Long(1)});
  Get(u"Add", {S(u"a"), Variant::Long(2)});
  Let(u"", {S(u"c")}, Variant::Long(3));
  Get(u"Remove", {S(u"a")});
  Get(u"Add", {S(u"a"), Variant()});
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"b", u"c", u"a"}));
  EXPECT_EQ(dictionary->Enumerate().size(), 3u);
}

TEST_F(DictionaryTest, KeyRenamesInPlace) {
  Get(u"Add", {S(u"x"), Variant::Long(1)});
  Get(u"Add", {S(u"y"), Variant::Long(2)});
  Let(u"Key", {S(u"x")}, S(u"z"));
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"z", u"y"}));
  EXPECT_EQ(ToLong(Get(u"Item", {S(u"z")})), 1);
  EXPECT_EQ(ErrorOf([&] { Let(u"Key", {S(u"z")}, S(u"y")); }), 457);
  EXPECT_EQ(ErrorOf([&] { Let(u"Key", {S(u"gone")}, S(u"w")); }), 32811);
}

TEST_F(DictionaryTest, TextCompareFoldsKeysAndIsFixedOnceFilled) {
  Let(u"CompareMode", {}, Variant::Long(1));
  Get(u"Add", {S(u"Key"), Variant::Long(1)});
  EXPECT_FALSE(ToBool(Get(u"Exists", {S(u"Kéy")})));
  EXPECT_EQ(ErrorOf([&] { Get(u"Add", {S(u"kEY"), Variant()}); }), 457);
  EXPECT_EQ(Keys(), (std::vector<std::u16string>{u"Key"}));
  EXPECT_EQ(ErrorOf([&] { Let(u"CompareMode", {}, Variant::Long(0)); }), 5);
  EXPECT_EQ(ErrorOf([&] { Get(u"NoSuchMember"); }), 438);
}

TEST_F(DictionaryTest, ObjectKeysAreByIdentity) {
  auto other = CreateDictionary();
  Get(u"Add", {Variant::Object(other), S(u"o")});
  EXPECT_TRUE(ToBool(Get(u"Exists", {Variant::Object(other)})));
  EXPECT_FALSE(ToBool(Get(u"Exists", {Variant::Object(CreateDictionary())})));
}

}  // namespace
}  // namespace vendil
