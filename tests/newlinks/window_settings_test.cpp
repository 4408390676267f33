// The settings file around the main window's life: read at load, written at unload, and a
// profile write that fails is reported as failed.
#include <gtest/gtest.h>

#include "commands/main_commands.h"
#include "newlinks/search_profile.h"
#include "settings/c_ini.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::TempFolder;
using test::WriteBytes;

TEST(WindowSettingsTest, LoadReadsTheSettingsFileAndUnloadWritesItBack) {
  TempFolder dir;
  FakeUi ui;
  {
    Form1 form(ui);
    form.settingsFile = dir.File("vendil.ini");
    WriteBytes(form.settingsFile,
               "[General]\r\nUrl=http://example.test/\r\nMask=*.lzh\r\nSaveFolder=/dl/\r\n"
               "[Options]\r\nSearchLebel=3\r\n[Window]\r\nLeft=120\r\nWidth=9000\r\n"
               "[SignIn]\r\nID=me\r\n");
    LoadMainWindow(form);
    EXPECT_EQ(form.txtUrl.Text(), "http://example.test/");
    EXPECT_EQ(form.txtMask.Text(), "*.lzh");
    EXPECT_EQ(form.txtDepth.Text(), "3");
    EXPECT_EQ(form.layout.Left, 120);
    EXPECT_EQ(form.layout.Width, 9000);
    form.txtMask.SetText("*.zip");
    form.columnWidths[6] = 777;
    UnloadMainWindow(form);
  }
  cIni ini;
  ini.FileName(dir.File("vendil.ini"));
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Mask"), "*.zip");
  EXPECT_EQ(ini.GetString("SaveFolder"), "/dl/");  // keys of other owners stay
  ini.Section("Window");
  EXPECT_EQ(ini.GetValue("Left"), 120);
  ini.Section("Column");
  EXPECT_EQ(ini.GetValue("Depth"), 777);
  ini.Section("SignIn");
  EXPECT_EQ(ini.GetString("ID"), "me");
}

TEST(WindowSettingsTest, LoadWithoutTheSettingsFileGivesTheFirstStartSettings) {
  TempFolder dir;
  FakeUi ui;
  Form1 form(ui);
  form.settingsFile = dir.File("vendil.ini");
  WriteBytes(form.settingsFile, "[General]\r\nMask=*.lzh\r\n[Options]\r\nSearchTags=9\r\n");
  form.m_lngSearchTags = 0;
  LoadMainWindow(form, false);
  EXPECT_EQ(form.txtMask.Text(), "*");  // every first-start value: SearchProfileTest
  EXPECT_EQ(form.m_lngSearchTags, 1);
}

TEST(WindowSettingsTest, SaveProfileReportsAFileThatCannotBeWritten) {
  TempFolder dir;
  FakeUi ui;
  Form1 form(ui);
  WriteBytes(dir.File("plain"), "not a folder");
  EXPECT_FALSE(SaveProfile(form, dir.File("plain") + "/p.nlc", false));
  EXPECT_TRUE(SaveProfile(form, dir.File("p.nlc"), false));
}

}  // namespace
}  // namespace vendil
