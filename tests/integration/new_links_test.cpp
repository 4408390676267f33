// Whole new-links checks against a loopback site whose pages change between runs: what is
// new, what the profile keeps, and the list runs over several profiles.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <set>

#include "commands/new_links.h"
#include "newlinks/search_profile.h"
#include "platform/atomic_file.h"
#include "platform/date_text.h"
#include "settings/c_ini.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::HttpTestServer;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Urls = std::vector<std::string>;

constexpr char kNotAProfile[] = "これは「新しいリンクのチェック」ファイルではありません。";

class NewLinksFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.settingsFile = dir.File("vendil.ini");
  }
  // A page of the site linking to `files` (relative names).
  void Links(const std::string& path, const Urls& files) {
    std::string html = "<html><body>";
    for (const std::string& f : files) html += "<a href=\"" + f + "\">" + f + "</a>";
    site.Page(path, html + "</body></html>", "text/html; charset=utf-8");
  }
  // A profile searching one page of the site, its save folder named after it.
  std::string Profile(const std::string& name, const std::string& page,
                      const std::string& mask = "*.zip") {
    form.txtUrl.SetText(site.Url(page));
    form.txtMask.SetText(mask);
    form.txtDepth.SetText("0");
    form.txtSaveFolder.SetText("/dl/" + name + "/");
    EXPECT_TRUE(SaveProfile(form, dir.File(name), false));
    return dir.File(name);
  }
  static Urls Stored(const std::string& profile) {
    cIni ini;
    ini.FileName(profile);
    ini.Section("Links");
    Urls lines;
    ini.GetAllKey(lines);
    return lines;
  }
  Urls Listed() const {
    Urls urls;
    for (size_t i = 1; i <= form.lvwUrls.Count(); ++i) urls.push_back(form.lvwUrls.Row(i).Tag);
    return urls;
  }
  Urls SiteUrls(const Urls& files) const {
    Urls urls;
    for (const std::string& f : files) urls.push_back(site.Url("/" + f));
    return urls;
  }

  TempFolder dir;
  HttpTestServer site;
  FakeUi ui;
  Form1 form{ui};
};

class IntegrationNewLinksCheck : public NewLinksFixture {};
class IntegrationNewLinksList : public NewLinksFixture {};

TEST_F(IntegrationNewLinksCheck, FirstCheckFindsAllThenTheSameSiteGivesNothingNew) {
  Links("/index.html", {"a.zip", "b.zip", "c.txt"});
  const std::string profile = Profile("site.nlc", "/index.html");
  ui.fileAnswers.push_back(profile);
  EXPECT_TRUE(StartNewLinks(form));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "2/3 個の新しいリンクを見つけました。");
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly);
  EXPECT_EQ(Listed(), SiteUrls({"a.zip", "b.zip", "c.txt"}));
  EXPECT_EQ(Stored(profile), SiteUrls({"a.zip", "b.zip", "c.txt"}));
  const std::string bytes = ReadBytes(profile);
  EXPECT_NE(bytes.find("[Links]\r\n" + site.Url("/a.zip") + "\r\n"), std::string::npos) << bytes;

  // The list of the first check is cleared; nothing new is found, the links are rewritten.
  cIni ini;
  ini.FileName(profile);
  ini.Section("Links");
  ini.SetAllKey(site.Url("/c.txt") + '\0' + site.Url("/b.zip") + '\0' + site.Url("/a.zip") + '\0' +
                '\0');
  EXPECT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kDone);
  EXPECT_EQ(form.lvwUrls.Count(), 0u);
  EXPECT_EQ(ui.messages.back().text, "0/0 個の新しいリンクを見つけました。");
  EXPECT_EQ(Stored(profile), SiteUrls({"a.zip", "b.zip", "c.txt"}));  // in list order
}

TEST_F(IntegrationNewLinksCheck, ALinkThatDisappearsAndReturnsIsNewAgain) {
  Links("/index.html", {"a.zip", "b.zip"});
  const std::string profile = Profile("site.nlc", "/index.html");
  ASSERT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kDone);
  Links("/index.html", {"a.zip"});
  ASSERT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kDone);
  EXPECT_EQ(form.StatusText(), "0/0 個の新しいリンクを見つけました。");
  EXPECT_EQ(Stored(profile), SiteUrls({"a.zip"}));
  Links("/index.html", {"a.zip", "b.zip", "d.txt"});
  ASSERT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kDone);
  EXPECT_EQ(form.StatusText(), "1/2 個の新しいリンクを見つけました。");
  EXPECT_EQ(Listed(), SiteUrls({"b.zip", "d.txt"}));
  EXPECT_TRUE(form.lvwUrls.Checked(1));
}

TEST_F(IntegrationNewLinksCheck, TheCheckDateIsWrittenAsAGeneralDate) {
  Links("/index.html", {"a.zip"});
  const std::string profile = Profile("site.nlc", "/index.html");
  const std::time_t before = std::time(nullptr);
  ASSERT_TRUE(RunNewLinksCheck(form, profile));
  const std::time_t after = std::time(nullptr);
  std::set<std::string> possible;
  for (std::time_t t = before; t <= after; ++t) possible.insert(GeneralDateText(t));
  cIni ini;
  ini.FileName(profile);
  ini.Section("Version");
  EXPECT_TRUE(possible.count(ini.GetString("LastCheckedDate"))) << ini.GetString("LastCheckedDate");
  EXPECT_EQ(ini.GetString("Major"), "1");
}

TEST_F(IntegrationNewLinksCheck, FailedChecksLeaveTheProfileAsItWas) {
  Links("/index.html", {"a.zip"});
  const std::string profile = Profile("site.nlc", "/index.html");
  cIni ini;
  ini.FileName(profile);
  ini.Section("Links");
  ini.SetAllKey(std::string("http://old.example/x.zip") + '\0' + '\0');
  const std::string original = ReadBytes(profile);

  site.Page("/index.html", "<html><body>no links</body></html>");
  EXPECT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kNothingFound);
  EXPECT_EQ(ui.messages.back().text, kNoLinksFoundText);
  EXPECT_EQ(ReadBytes(profile), original);

  // A site that cannot be reached: the crawl adds nothing.
  std::string closed;
  {
    HttpTestServer gone;
    closed = gone.Url("/index.html");
  }
  ini.Section("General");
  ini.SetString("Url", closed);
  const std::string unreachable = ReadBytes(profile);
  EXPECT_TRUE(CheckNewLinksFile(form, profile) == NewLinksResult::kSearchFailed);
  EXPECT_EQ(ui.messages.back().text, "ページの取得に失敗しました。");
  EXPECT_EQ(ReadBytes(profile), unreachable);

  WriteBytes(dir.File("plain.nlc"), "[General]\r\nUrl=" + site.Url("/index.html") + "\r\n");
  EXPECT_TRUE(CheckNewLinksFile(form, dir.File("plain.nlc")) == NewLinksResult::kNotAProfile);
  EXPECT_EQ(ui.messages.back().text, dir.File("plain.nlc") + "\r\n\r\n" + kNotAProfile);
  EXPECT_EQ(site.TimesRequested("/index.html"), 1);  // the plain file was never searched
}

TEST_F(IntegrationNewLinksCheck, AProfileThatCannotBeUpdatedIsNotReportedAsDone) {
  std::filesystem::create_directory(dir.File("sub"));
  Links("/index.html", {"a.zip"});
  form.txtUrl.SetText(site.Url("/index.html"));
  ASSERT_TRUE(SaveProfile(form, dir.File("sub/p.nlc"), false));
  // While the search runs, the profile's folder goes away and a file takes its name.
  ui.OnYield([&] { return site.TimesRequested("/index.html") > 0; },
             [&] {
               std::filesystem::rename(dir.File("sub"), dir.File("moved"));
               WriteBytes(dir.File("sub"), "a file");
             });
  EXPECT_TRUE(CheckNewLinksFile(form, dir.File("sub/p.nlc")) == NewLinksResult::kNotSaved);
  EXPECT_EQ(form.StatusText(), "1/1 個の新しいリンクを見つけました。\r\nファイル\"" +
                                   dir.File("sub/p.nlc") + "\"を更新できませんでした。");
  EXPECT_EQ(form.lvwUrls.Count(), 1u);  // the new links are still listed
  EXPECT_TRUE(Stored(dir.File("moved/p.nlc")).empty());
}

TEST_F(IntegrationNewLinksCheck, UrlsThatCp932CannotHoldAreStoredWorkingAndKnownAgain) {
  Links("/index.html", {"파일.zip", "a.zip"});
  const std::string profile = Profile("site.nlc", "/index.html");
  ASSERT_TRUE(RunNewLinksCheck(form, profile));
  const Urls stored = Stored(profile);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0], site.Url("/%ED%8C%8C%EC%9D%BC.zip"));
  form.lvwUrls.Clear();
  ASSERT_TRUE(RunNewLinksCheck(form, profile));
  EXPECT_EQ(form.StatusText(), "0/0 個の新しいリンクを見つけました。");
}

TEST_F(IntegrationNewLinksCheck, CreateAsksInTheLastFolderAndKeepsTheStoredLinks) {
  cIni settings;
  settings.FileName(form.settingsFile);
  settings.Section("General");
  settings.SetString("NewLinksFolder", dir.Path() + "/");
  const std::string profile = dir.File("made.nlc");
  WriteBytes(profile,
             "[Version]\r\nMajor=1\r\nLastCheckedDate=2026/01/02 3:04:05\r\n"
             "[Links]\r\nhttp://kept.example/a.zip\r\n");
  form.txtUrl.SetText("http://example.test/");
  ui.fileAnswers.push_back(profile);
  CreateNewLinksFile(form);
  ASSERT_EQ(ui.fileDialogs.size(), 1u);
  const FileDialogRequest& asked = ui.fileDialogs[0];
  EXPECT_TRUE(asked.save);
  EXPECT_TRUE(asked.overwritePrompt);
  EXPECT_EQ(asked.defaultExt, ".nlc");
  EXPECT_EQ(asked.fileName, "new.nlc");
  EXPECT_EQ(asked.initialDir, dir.Path() + "/");
  EXPECT_EQ(asked.filter, kNewLinksProfileFilter);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "ファイル\"" + profile + "\"に保存されました。");
  EXPECT_EQ(Stored(profile), Urls{"http://kept.example/a.zip"});
  cIni saved;
  saved.FileName(profile);
  saved.Section("Version");
  EXPECT_EQ(saved.GetString("LastCheckedDate"), "2026/01/02 3:04:05");
  saved.Section("General");
  EXPECT_EQ(saved.GetString("Url"), "http://example.test/");

  // A cancelled dialog does nothing; a file that cannot be written is not called saved.
  CreateNewLinksFile(form);
  EXPECT_EQ(ui.messages.size(), 1u);
  ui.fileAnswers.push_back(profile + "/inside.nlc");
  CreateNewLinksFile(form);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "ファイル\"" + profile + "/inside.nlc\"に保存できませんでした。");
}

TEST_F(IntegrationNewLinksCheck, OpenDialogsRememberTheFolderChosen) {
  TempFolder other;
  Links("/index.html", {"a.zip"});
  const std::string profile = Profile("site.nlc", "/index.html");
  ui.fileAnswers.push_back(profile);
  StartNewLinks(form);
  ui.fileAnswers.push_back(other.File("list.txt"));
  StartNewLinksList(form);
  ASSERT_EQ(ui.fileDialogs.size(), 2u);
  EXPECT_FALSE(ui.fileDialogs[0].save);
  EXPECT_TRUE(ui.fileDialogs[0].fileMustExist);
  EXPECT_EQ(ui.fileDialogs[0].initialDir, "");
  EXPECT_EQ(ui.fileDialogs[1].initialDir, dir.Path() + "/");
  EXPECT_EQ(ui.fileDialogs[1].defaultExt, ".txt");
  EXPECT_EQ(ui.fileDialogs[1].fileName, "list.txt");
  EXPECT_EQ(ui.fileDialogs[1].filter, kNewLinksListFilter);
  cIni settings;
  settings.FileName(form.settingsFile);
  settings.Section("General");
  EXPECT_EQ(settings.GetString("NewLinksFolder"), other.Path() + "/");
  EXPECT_FALSE(StartNewLinks(form));  // cancelled
  EXPECT_EQ(ui.fileDialogs.size(), 3u);
}

TEST_F(IntegrationNewLinksList, ProfilesShareOneListAndADuplicateIsNeitherCountedNorStored) {
  Links("/one.html", {"a.zip", "b.zip"});
  Links("/two.html", {"b.zip", "c.zip"});
  const std::string one = Profile("one.nlc", "/one.html");
  const std::string two = Profile("two.nlc", "/two.html");
  WriteBytes(dir.File("list.txt"), "  " + one + " \r\n\r\nnote: not a file\r\n" +
                                       dir.File("missing.nlc") + "\r\n" + two + "\r\n");
  ui.fileAnswers.push_back(dir.File("list.txt"));
  StartNewLinksList(form);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], one + "\r\n>2/2 個の新しいリンクを見つけました。\r\n" + two +
                            "\r\n>1/1 個の新しいリンクを見つけました。\r\n");
  EXPECT_EQ(Listed(), SiteUrls({"a.zip", "b.zip", "c.zip"}));
  EXPECT_EQ(Stored(two), SiteUrls({"c.zip"}));
  // Rows of a list run carry their profile's save folder.
  EXPECT_EQ(form.lvwUrls.Row(1).DownloadFolder, "/dl/one.nlc/");
  EXPECT_EQ(form.lvwUrls.Row(3).DownloadFolder, "/dl/two.nlc/");
  EXPECT_FALSE(form.m_blnMultiCheck);
}

TEST_F(IntegrationNewLinksList, AListThatNamesNoFileIsSaidSoAndRunsNothing) {
  form.lvwUrls.AddLink("x.zip", "http://old.example/x.zip", "", "", "", "", 0);
  // One line in the old CR-only form, a note, a blank line and a missing file.
  WriteBytes(dir.File("list.txt"), dir.File("gone.nlc") + "\r" + dir.File("gone.nlc") +
                                       "\r\nnotes\r\n\r\n" + dir.File("missing.nlc"));
  EXPECT_FALSE(CheckNewLinksList(form, dir.File("list.txt")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            dir.File("list.txt") + "\r\n\r\nこのリストに書かれたファイルは一つも見つかりません。");
  EXPECT_TRUE(ui.logs.empty());
  EXPECT_EQ(form.lvwUrls.Count(), 1u);  // nothing ran, so nothing was cleared
}

TEST_F(IntegrationNewLinksList, StopEndsTheRunAfterTheCurrentProfileAndShowsTheLog) {
  for (const char* page : {"/one.html", "/two.html", "/three.html"}) Links(page, {"a.zip"});
  const std::string one = Profile("one.nlc", "/one.html");
  const std::string two = Profile("two.nlc", "/two.html");
  const std::string three = Profile("three.nlc", "/three.html");
  WriteBytes(dir.File("list.txt"), one + "\r\n" + two + "\r\n" + three);
  ui.OnYield([&] { return site.TimesRequested("/two.html") > 0; }, [&] { form.m_blnStop = true; });
  ASSERT_TRUE(CheckNewLinksList(form, dir.File("list.txt")));
  EXPECT_EQ(site.TimesRequested("/three.html"), 0);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], one + "\r\n>1/1 個の新しいリンクを見つけました。\r\n" + two +
                            "\r\n>キャンセルされました。\r\n");
  EXPECT_TRUE(Stored(two).empty());  // a stopped check leaves its profile alone
  EXPECT_FALSE(form.m_blnMultiCheck);
}

TEST_F(IntegrationNewLinksList, AStopLeftOverFromBeforeDoesNotEndTheRun) {
  Links("/one.html", {"a.zip"});
  const std::string one = Profile("one.nlc", "/one.html");
  WriteBytes(dir.File("plain.nlc"), "[General]\r\n");
  WriteBytes(dir.File("list.txt"), dir.File("plain.nlc") + "\r\n" + one);
  form.m_blnStop = true;  // pressed while nothing ran
  ASSERT_TRUE(CheckNewLinksList(form, dir.File("list.txt")));
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], dir.File("plain.nlc") + "\r\n>" + dir.File("plain.nlc") + "\r\n\r\n" +
                            kNotAProfile + "\r\n" + one +
                            "\r\n>1/1 個の新しいリンクを見つけました。\r\n");
}

TEST_F(IntegrationNewLinksList, AFileThatIsNoTextIsNoList) {
  WriteBytes(dir.File("list.bin"), std::string("\x7f"
                                               "ELF\0\0\1",
                                               7));
  EXPECT_FALSE(CheckNewLinksList(form, dir.File("list.bin")));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            dir.File("list.bin") +
                "\r\n\r\nこのファイルは「新しいリンクのチェック」リストではありません。");
  EXPECT_TRUE(ui.logs.empty());
}

TEST_F(IntegrationNewLinksList, DevicesFifosAndFoldersInAListAreErrorsAndTheRunGoesOn) {
  Links("/one.html", {"a.zip"});
  const std::string one = Profile("one.nlc", "/one.html");
  const std::string fifo = dir.File("fifo.nlc");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteBytes(dir.File("list.txt"), "/dev/zero\r\n" + fifo + "\r\n" + dir.Path() + "\r\n" + one);
  ASSERT_TRUE(CheckNewLinksList(form, dir.File("list.txt")));
  ASSERT_EQ(ui.logs.size(), 1u);
  const std::string notRegular = "\r\n\r\n通常のファイルではないため読み込めません。\r\n";
  EXPECT_EQ(ui.logs[0], "/dev/zero\r\n>/dev/zero" + notRegular + fifo + "\r\n>" + fifo +
                            notRegular + dir.Path() + "\r\n>" + dir.Path() + notRegular + one +
                            "\r\n>1/1 個の新しいリンクを見つけました。\r\n");
  EXPECT_EQ(Stored(one), SiteUrls({"a.zip"}));
}

TEST_F(IntegrationNewLinksList, ABigListIsRunAndOneTooBigOrNotThereIsSaidSo) {
  Links("/one.html", {"a.zip"});
  const std::string one = Profile("one.nlc", "/one.html");
  // 80 MB of lines that name nothing after the one profile.
  std::string big = one + "\r\n";
  const std::string junk = std::string(999, 'x') + "\r\n";
  big.reserve(big.size() + 80000 * junk.size());
  for (int i = 0; i < 80000; ++i) big += junk;
  WriteBytes(dir.File("big.txt"), big);
  big = std::string();
  ASSERT_TRUE(CheckNewLinksList(form, dir.File("big.txt")));
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], one + "\r\n>1/1 個の新しいリンクを見つけました。\r\n");

  WriteBytes(dir.File("huge.txt"), one + "\r\n");
  ASSERT_EQ(truncate(dir.File("huge.txt").c_str(), static_cast<off_t>(kMaxWholeFileBytes) + 1), 0);
  EXPECT_FALSE(CheckNewLinksList(form, dir.File("huge.txt")));
  EXPECT_FALSE(CheckNewLinksList(form, dir.File("absent.txt")));
  EXPECT_FALSE(CheckNewLinksList(form, "/dev/zero"));
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].text,
            dir.File("huge.txt") + "\r\n\r\nファイルが大きすぎるため読み込めません。");
  EXPECT_EQ(ui.messages[1].text, dir.File("absent.txt") + "\r\n\r\nファイルが見つかりません。");
  EXPECT_EQ(ui.messages[2].text, "/dev/zero\r\n\r\n通常のファイルではないため読み込めません。");
  EXPECT_EQ(ui.logs.size(), 1u);
}

}  // namespace
}  // namespace vendil
