// cRegistory over its file store in a temporary folder.
#include "platform/c_registory.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vendil {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { cRegistory::SetStoreFolder(folder_.File("registry")); }
  void TearDown() override { cRegistory::SetStoreFolder(""); }
  static cRegistory At(const std::string& subKey, int32_t root = kHkeyCurrentUser) {
    cRegistory reg;
    reg.RegKey(root);
    reg.SubKey(subKey);
    return reg;
  }
  test::TempFolder folder_;
};

TEST_F(RegistryTest, AFreshObjectWorksInTheRootOfTheCurrentUser) {
  cRegistory reg;
  EXPECT_EQ(reg.RegKey(), kHkeyCurrentUser);
  EXPECT_TRUE(reg.IsThereKey());
  ASSERT_TRUE(reg.SetDWORD("Left", 1200));
  EXPECT_EQ(reg.GetDWORD("left"), 1200);
  EXPECT_EQ(At("", kHkeyLocalMachine).GetDWORD("Left", 7), 7);  // another root, another file
  EXPECT_FALSE(At("", 12345).SetDWORD("x", 1));                 // not a root key
  EXPECT_FALSE(At("", 12345).IsThereKey());
}

TEST_F(RegistryTest, StringsAndTheirLimits) {
  cRegistory reg = At("Software\\Vendil");
  EXPECT_EQ(reg.GetString("Missing", "dflt"), "dflt");
  ASSERT_TRUE(reg.SetString("Name", "\xE6\xBC\xA2\xE5\xAD\x97"));
  EXPECT_EQ(reg.GetString("NAME"), "\xE6\xBC\xA2\xE5\xAD\x97");
  ASSERT_TRUE(reg.SetString("", "default value"));
  EXPECT_EQ(reg.GetString(""), "default value");
  ASSERT_TRUE(reg.SetString("Long", std::string(5000, 'x')));
  EXPECT_EQ(reg.GetString("Long", "dflt"), "dflt");
  ASSERT_TRUE(reg.SetString("Full", std::string(4096, 'x')));  // no room for the terminator
  EXPECT_EQ(reg.GetString("Full", "dflt"), "dflt");
  ASSERT_TRUE(reg.SetString("Fits", std::string(4095, 'x')));
  EXPECT_EQ(reg.GetString("Fits").size(), 4095u);
  ASSERT_TRUE(reg.SetString("ab", "ab"));
  EXPECT_EQ(reg.GetDWORD("ab"), 0x6261);  // the type is not checked
  ASSERT_TRUE(reg.SetString("Five", "abcde"));
  EXPECT_EQ(reg.GetDWORD("Five", -1), -1);  // longer than four bytes
}

TEST_F(RegistryTest, DwordAndBinaryValues) {
  cRegistory reg = At("A\\B\\C");
  EXPECT_FALSE(reg.IsThereKey());
  ASSERT_TRUE(reg.SetDWORD("n", -2));
  EXPECT_TRUE(At("a").IsThereKey());
  EXPECT_TRUE(At("A\\b").IsThereKey());
  EXPECT_EQ(reg.GetDWORD("N"), -2);
  std::vector<uint8_t> bytes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  ASSERT_TRUE(reg.SetBinary("bin", bytes, 10));
  std::vector<uint8_t> got = {99};
  EXPECT_EQ(reg.GetBinary("bin", got), 10);
  EXPECT_EQ(got, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10));
  EXPECT_EQ(reg.GetBinary("absent", got), 0);
  EXPECT_TRUE(got.empty());
  got = {99};
  EXPECT_EQ(At("Nowhere").GetBinary("bin", got), 0);
  EXPECT_EQ(got, std::vector<uint8_t>({99}));
  EXPECT_FALSE(reg.SetBinary("bin", bytes, 13));
  EXPECT_FALSE(reg.SetBinary("bin", {}, 0));
}

TEST_F(RegistryTest, EnumerationAndDeletion) {
  cRegistory reg = At("Software");
  std::vector<std::string> names = {"keep"};
  EXPECT_EQ(reg.EnumValueName(names), 0);
  EXPECT_EQ(names, std::vector<std::string>({"keep"}));
  ASSERT_TRUE(reg.SetString("one", "1"));
  ASSERT_TRUE(reg.SetDWORD("two", 2));
  ASSERT_TRUE(reg.SetString(std::string(80, 'n'), "too long a name"));
  ASSERT_TRUE(reg.SetString("three", "3"));
  EXPECT_EQ(reg.EnumValueName(names), 2);  // the long name ends the enumeration
  EXPECT_EQ(names, std::vector<std::string>({"one", "two"}));
  ASSERT_TRUE(reg.DeleteValueName(std::string(80, 'N')));
  EXPECT_EQ(reg.EnumValueName(names), 3);
  EXPECT_FALSE(reg.DeleteValueName("absent"));

  ASSERT_TRUE(At("Software\\b\\deep").SetDWORD("x", 1));
  ASSERT_TRUE(At("Software\\A").SetDWORD("x", 1));
  EXPECT_EQ(reg.EnumSubKey(names), 2);
  EXPECT_EQ(names, std::vector<std::string>({"A", "b"}));
  EXPECT_FALSE(reg.DeleteSubKey("B"));  // it still has a subkey
  EXPECT_TRUE(reg.DeleteSubKey("b\\deep"));
  EXPECT_TRUE(reg.DeleteSubKey("B"));
  EXPECT_FALSE(reg.DeleteSubKey(""));
  EXPECT_FALSE(At("Software\\b").IsThereKey());
  EXPECT_EQ(reg.EnumSubKey(names), 1);
}

TEST_F(RegistryTest, TheStoreSurvivesItsOwnFileAndJunk) {
  ASSERT_TRUE(At("K").SetString("v", "a b\r\nc"));
  EXPECT_EQ(At("k").GetString("V"), "a b\r\nc");
  test::WriteBytes(folder_.File("registry/HKEY_USERS"), "junk\nK zz\nV 1 - 6162\nK 6b\nV x y\n");
  EXPECT_TRUE(At("k", kHkeyUsers).IsThereKey());
  EXPECT_EQ(At("", kHkeyUsers).GetString("", "d"), "d");
}

}  // namespace
}  // namespace vendil
