// The list files byte for byte against golden files, and the commands around them: the
// empty list, nothing checked, a file that cannot be written, the save dialog.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "commands/save_commands.h"
#include "commands/send_commands.h"
#include "export/list_formats.h"
#include "export_fixture.h"
#include "platform/codec.h"
#include "settings/c_ini.h"

namespace vendil::test {
namespace {

const char* const kDate = "2003/08/01 12:34:56";

std::string GoldenPath(const std::string& name) {
  return std::string(VENDIL_SOURCE_DIR) + "/tests/export/golden/" + name;
}

struct GoldenCase {
  ListFormat format;
  const char* name;
};

const GoldenCase kGoldenCases[] = {
    {ListFormat::Text, "list.txt"}, {ListFormat::Iri, "list.iri"},
    {ListFormat::Irv, "list.irv"},  {ListFormat::Wrg, "list.wrg"},
    {ListFormat::Grx, "list.grx"},  {ListFormat::Aria2, "list.aria2"},
};

using ListFileTest = ExportTest;

// Option off with the save folder typed without its "\", option on with it: every format.
TEST_F(ListFileTest, EveryFormatMatchesItsGoldenFile) {
  AddGoldenRows();
  for (const bool option : {false, true}) {
    form.mnuOption_UseBriefcaseDirectory.SetChecked(option);
    const std::string folder = option ? "C:\\dl\\" : "C:\\dl";
    for (const auto& c : kGoldenCases) {
      const std::string golden = GoldenPath(std::string(option ? "on-" : "off-") + c.name);
      const std::string out = Path(c.name);
      ui.messages.clear();
      ASSERT_EQ(SaveListFile(form, c.format, folder, out, kDate), HandOffResult::Done);
      if (std::getenv("VENDIL_UPDATE_GOLDEN")) Write(golden, Read(out));
      EXPECT_EQ(Read(out), Read(golden)) << golden;
      ASSERT_EQ(ui.messages.size(), 1u);
      EXPECT_EQ(ui.messages[0].text, out + "\r\nに保存しました。");
      EXPECT_EQ(ui.messages[0].title, "Vendil");
      EXPECT_EQ(ui.messages[0].style, vb::OKOnly);
    }
  }
}

TEST_F(ListFileTest, NonAnsiCharactersKeepTheUrlWorking) {
  Add(true, "x", "http://example.com/한/x?a=b\r\nc", "http://example.com/😀", "t😀\r\nu", "", "");
  const std::string txt = ListFileBytes(ListFormat::Text, form.lvwUrls, "", false, "");
  EXPECT_EQ(txt, "http://example.com/%ED%95%9C/x?a=b%0D%0Ac\r\n");
  const std::string wrg = ListFileBytes(ListFormat::Wrg, form.lvwUrls, "", false, "");
  EXPECT_NE(wrg.find("Info=t?  u\r\n"), std::string::npos);
  EXPECT_NE(wrg.find("RefererStr=http://example.com/%F0%9F%98%80\r\n"), std::string::npos);
  // A file name CP932 cannot hold keeps its encoded form; one it can hold is written as is.
  Add(true, "한 x.zip", "http://example.com/y.zip", "", "", "", "");
  Add(true, "日本 x.zip", "http://example.com/z.zip", "", "", "", "");
  const std::string grx = ListFileBytes(ListFormat::Grx, form.lvwUrls, "C:\\dl", false, "");
  EXPECT_NE(grx.find("File: C:\\dl\\%ED%95%9C x.zip\r\n"), std::string::npos) << grx;
  EXPECT_NE(grx.find("File: C:\\dl\\" + Utf8ToAnsi("日本 x.zip") + "\r\n"), std::string::npos);
  form.lvwUrls.Remove(3);
  form.lvwUrls.Remove(2);
  // aria2 reads UTF-8: the characters stay, only line breaks are encoded.
  const std::string aria = ListFileBytes(ListFormat::Aria2, form.lvwUrls, "", false, "");
  EXPECT_EQ(aria, "http://example.com/한/x?a=b%0D%0Ac\n referer=http://example.com/😀\n");
}

TEST_F(ListFileTest, NothingCheckedWritesAnEmptyFile) {
  Add(false, "a", "http://example.com/a", "", "", "", "");
  const std::string out = Path("empty.iri");
  Write(out, "older");
  EXPECT_EQ(SaveListFile(form, ListFormat::Iri, "C:\\dl", out, kDate), HandOffResult::Done);
  EXPECT_TRUE(std::filesystem::exists(out));
  EXPECT_EQ(std::filesystem::file_size(out), 0u);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, out + "\r\nに保存しました。");
}

TEST_F(ListFileTest, EmptyListShowsNoDataAndAsksNothing) {
  for (auto f : {ListFormat::Text, ListFormat::Iri, ListFormat::Grx}) {
    EXPECT_EQ(SaveListFileAsk(form, f, "C:\\dl"), HandOffResult::NoData);
  }
  EXPECT_EQ(CopyUrls(form), HandOffResult::NoData);
  EXPECT_TRUE(ui.fileDialogs.empty());
  EXPECT_FALSE(ui.clipboard.has_value());
  ASSERT_EQ(ui.messages.size(), 4u);
  for (const auto& m : ui.messages) {
    EXPECT_EQ(m.text, "データがありません。");
    EXPECT_EQ(m.style, vb::OKOnly | vb::Exclamation);
  }
  EXPECT_EQ(SaveListFile(form, ListFormat::Wrg, "", Path("x.wrg"), ""), HandOffResult::NoData);
  EXPECT_FALSE(std::filesystem::exists(Path("x.wrg")));
}

TEST_F(ListFileTest, UnwritableFileShowsTheSystemErrorAndNoSuccess) {
  Add(true, "a", "http://example.com/a", "", "", "", "");
  const std::string missing = Path("no-such-folder/list.txt");
  EXPECT_EQ(SaveListFile(form, ListFormat::Text, "", missing, ""), HandOffResult::Failed);
  // A folder given as the file name: the folder and what is in it stay untouched.
  std::filesystem::create_directories(Path("taken"));
  Write(Path("taken/inside.txt"), "keep");
  EXPECT_EQ(SaveListFile(form, ListFormat::Iri, "", Path("taken"), kDate), HandOffResult::Failed);
  EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
  EXPECT_EQ(Read(Path("taken/inside.txt")), "keep");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text.rfind("ファイルを保存できません。\r\n" + missing + "\r\n", 0), 0u);
  EXPECT_GT(ui.messages[0].text.size(),
            std::string("ファイルを保存できません。\r\n" + missing + "\r\n").size());
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly | vb::Exclamation);
  EXPECT_EQ(ui.messages[1].text.rfind("ファイルを保存できません。\r\n" + Path("taken"), 0), 0u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left beside it
}

TEST_F(ListFileTest, SaveDialogOffersTheFormatAndRemembersTheFolder) {
  Add(true, "a", "http://example.com/a", "", "", "", "");
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("General");
  ini.SetString("SaveFolder", Path(""));
  ui.fileAnswers.push_back(std::nullopt);  // cancelled: nothing written, folder unchanged
  EXPECT_EQ(SaveListFileAsk(form, ListFormat::Grx, "C:\\dl"), HandOffResult::Cancelled);
  EXPECT_TRUE(ui.messages.empty());
  std::filesystem::create_directories(Path("out"));
  ui.fileAnswers.push_back(Path("out/chosen.grx"));
  SaveToGrx(form, "C:\\dl");
  ASSERT_EQ(ui.fileDialogs.size(), 2u);
  const FileDialogRequest& r = ui.fileDialogs[1];
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.title, "ファイルの保存");
  EXPECT_EQ(r.filter, "GetRight形式ファイル(*.grx)|*.grx|すべてのファイル(*.*)|*.*");
  EXPECT_EQ(r.defaultExt, ".grx");
  EXPECT_EQ(r.fileName, "yahoobc.grx");
  EXPECT_EQ(r.initialDir, Path(""));
  EXPECT_TRUE(r.overwritePrompt);
  EXPECT_EQ(Read(Path("out/chosen.grx")),
            "URL: http://example.com/a\r\nFile: C:\\dl\\a\r\nSourcePageURL: \r\nDesc: \r\n\r\n");
  EXPECT_EQ(ini.GetString("SaveFolder"), Path("out/"));
  // The text export offers its own name and filter.
  ui.fileAnswers.push_back(std::nullopt);
  SaveToText(form);
  EXPECT_EQ(ui.fileDialogs[2].fileName, "yahoobc.txt");
  EXPECT_EQ(ui.fileDialogs[2].filter, "テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*");
  EXPECT_EQ(ui.fileDialogs[2].initialDir, Path("out/"));

  // A save that fails (no such folder) is not where the next dialog opens.
  ui.fileAnswers.push_back(Path("nowhere/list.grx"));
  EXPECT_EQ(SaveListFileAsk(form, ListFormat::Grx, ""), HandOffResult::Failed);
  EXPECT_EQ(ini.GetString("SaveFolder"), Path("out/"));
}

TEST_F(ListFileTest, ClipboardHoldsTheCheckedUrls) {
  Add(true, "a", "http://example.com/한", "", "", "", "");
  Add(false, "b", "http://example.com/b", "", "", "", "");
  Add(true, "c", "http://example.com/c", "", "", "", "");
  EXPECT_EQ(CopyUrls(form), HandOffResult::Done);
  EXPECT_EQ(ui.clipboard, "http://example.com/한\r\nhttp://example.com/c\r\n");
  EXPECT_EQ(form.StatusText(), "2 個のURLをコピーしました。");
  form.lvwUrls.SetChecked(1, false);
  form.lvwUrls.SetChecked(3, false);
  CopyUrls(form);
  EXPECT_EQ(ui.clipboard, "");
  EXPECT_EQ(form.StatusText(), "0 個のURLをコピーしました。");
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vendil::test
