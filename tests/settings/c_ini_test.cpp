// cIni over real files: defaults, the buffer cut, blocks, multi-line texts, paths.
#include "settings/c_ini.h"

#include <gtest/gtest.h>

#include "platform/codec.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class CIniTest : public ::testing::Test {
 protected:
  cIni Ini(const char* section = "General") {
    cIni ini;
    ini.FileName(folder_.File("vendil.ini"));
    ini.Section(section);
    return ini;
  }
  TempFolder folder_;
};

TEST_F(CIniTest, ValuesAndDefaults) {
  cIni ini = Ini();
  EXPECT_EQ(ini.GetString("Missing", "dflt"), "dflt");
  EXPECT_EQ(ini.GetString("Missing", "trail  "), "trail");
  ASSERT_TRUE(ini.SetString("Empty", ""));
  EXPECT_EQ(ini.GetString("Empty", "dflt"), "dflt");
  ASSERT_TRUE(ini.SetString("Title", "\xE6\xBC\xA2\xE5\xAD\x97\xEF\xBD\xB1"));
  EXPECT_EQ(ini.GetString("title"), "\xE6\xBC\xA2\xE5\xAD\x97\xEF\xBD\xB1");
  ASSERT_TRUE(ini.SetValue("Depth", -5));
  EXPECT_EQ(ini.GetString("Depth"), "-5");
  EXPECT_EQ(ini.GetValue("Depth", 3), -5);
  EXPECT_EQ(ini.GetValue("Missing", 3), 3);
  ASSERT_TRUE(ini.DeleteKey("Depth"));
  EXPECT_EQ(ini.GetValue("Depth", 3), 3);
  EXPECT_EQ(ReadBytes(ini.FileName()), "[General]\r\nEmpty=\r\nTitle=\x8A\xBF\x8E\x9A\xB1\r\n");
}

TEST_F(CIniTest, ALongValueIsCutWithoutSplittingACharacter) {
  cIni ini = Ini();
  const std::string kanji = "\xE6\xBC\xA2";  // two bytes in CP932
  std::string value = "a";
  for (int i = 0; i < 20000; ++i) value += kanji;
  ASSERT_TRUE(ini.SetString("Long", value));
  std::string got = ini.GetString("Long");
  EXPECT_EQ(Utf8ToAnsi(got).size(), 32765u);  // 32766 would end in half a character
  EXPECT_EQ(got, value.substr(0, 1 + 16382 * 3));
}

TEST_F(CIniTest, WholeSectionsAreNeverCut) {
  cIni ini = Ini("Links");
  std::string block;
  for (int i = 0; i < 3000; ++i)
    block +=
        "Link" + std::to_string(i) + "=http://example.com/f" + std::to_string(i) + ".zip" + '\0';
  block += '\0';
  ASSERT_TRUE(ini.SetAllKey(block));
  std::vector<std::string> lines;
  EXPECT_EQ(ini.GetAllKey(lines), 3000);
  EXPECT_EQ(lines.back(), "Link2999=http://example.com/f2999.zip");
  EXPECT_EQ(ini.GetProfileSection("links"), block);
}

TEST_F(CIniTest, BlocksAndArrays) {
  cIni ini = Ini();
  std::vector<std::string> untouched = {"keep"};
  EXPECT_EQ(ini.GetAllKey(untouched), 0);
  EXPECT_EQ(ini.GetAllSection(untouched), 0);
  EXPECT_EQ(untouched, std::vector<std::string>({"keep"}));
  EXPECT_EQ(ini.GetProfileSection("General"), std::string(2, '\0'));

  ASSERT_TRUE(ini.SetAllKey(std::string("a=b=c\0plain\0\0ignored\0", 22)));
  std::vector<std::array<std::string, 2>> pairs;
  EXPECT_EQ(ini.GetAllKeyEx(pairs), 2);
  EXPECT_EQ(pairs[0], (std::array<std::string, 2>{"a", "b=c"}));
  EXPECT_EQ(pairs[1], (std::array<std::string, 2>{"plain", ""}));
  ASSERT_TRUE(Ini("Other").SetString("x", "1"));
  std::vector<std::string> names;
  EXPECT_EQ(ini.GetAllSection(names), 2);
  EXPECT_EQ(names, std::vector<std::string>({"General", "Other"}));

  ASSERT_TRUE(ini.SetAllKey(ini.GetProfileSection("Missing")));  // empties the section
  EXPECT_EQ(ini.GetAllKey(names), 0);
  ASSERT_TRUE(ini.DeleteSection());
  EXPECT_EQ(ini.GetAllSection(names), 1);
  EXPECT_EQ(names, std::vector<std::string>({"Other"}));
}

TEST_F(CIniTest, MultiLineTexts) {
  cIni ini = Ini();
  EXPECT_EQ(ini.GetMultiLine("Script", "none"), "none");
  EXPECT_FALSE(ini.SetMultiLine("Script", ""));
  const std::string text = "a\r\n\r\nb = c\r\n  [x]\r\n;not a comment\r\n";
  ASSERT_TRUE(ini.SetMultiLine("Script", text));
  EXPECT_EQ(ini.GetMultiLine("script"), text);
  EXPECT_FALSE(ini.SetMultiLine("Script", ""));
  EXPECT_EQ(ini.GetMultiLine("Script"), text);
  // Lone line feeds are line breaks too: nothing after them is lost.
  ASSERT_TRUE(ini.SetMultiLine("Unix", "one\ntwo"));
  EXPECT_EQ(ini.GetMultiLine("Unix"), "one\r\ntwo");
}

TEST_F(CIniTest, FlushAndEmptyNames) {
  cIni none;
  EXPECT_FALSE(none.Flush());
  EXPECT_FALSE(none.SetString("k", "v"));
  EXPECT_EQ(none.GetString("k", "d"), "d");
  EXPECT_TRUE(Ini().Flush());
}

TEST_F(CIniTest, JunkFileReadsAsWindowsWould) {
  WriteBytes(folder_.File("vendil.ini"), std::string("\xEF\xBB\xBF\0\xFF\xFE[General]\nk=1\n", 16));
  cIni ini = Ini();
  EXPECT_EQ(ini.GetValue("k", 7), 7);
  std::vector<std::string> names;
  EXPECT_EQ(ini.GetAllSection(names), 0);
  ASSERT_TRUE(ini.SetValue("k", 2));
  EXPECT_EQ(ini.GetValue("k", 7), 2);
}

TEST(SettingsPaths, ParentFolderAndSettingsFile) {
  EXPECT_EQ(GetParentFolder("C:\\data\\"), "C:\\data\\");
  EXPECT_EQ(GetParentFolder("/home/u/list.txt"), "/home/u/");
  EXPECT_EQ(GetParentFolder("a\\b/c"), "a\\b/");
  EXPECT_EQ(GetParentFolder("file.txt"), "");
  TempFolder folder;
  EXPECT_EQ(SettingsFilePath(folder.Path()), folder.Path() + "/vendil.ini");
  setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(folder.File("absent")), folder.File("config") + "/vendil/vendil.ini");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vendil
