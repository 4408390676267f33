// vendil-cli create, check and check-list run as real processes against a loopback site:
// the profile round trip, what is printed where, exit statuses and the hand-off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/c_ini.h"
#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::HttpTestServer;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

using CliRun = test::CliResult;

std::string LastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
  const size_t start = trimmed.find_last_of('\n');
  return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

class IntegrationNewLinksCli : public ::testing::Test {
 protected:
  void SetUp() override {
    site.Page("/index.html", "<a href=\"a.zip\">A</a><a href=\"b.txt\">B</a>");
  }
  CliRun Run(const std::vector<std::string>& args,
             const std::string& program = std::string(VENDIL_BIN_DIR) + "/vendil-cli") {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::RunProcess(argv, dir.Path());
  }
  std::string Create(const std::string& name, const std::string& page) {
    const std::string profile = dir.File(name);
    CliRun r = Run({"create", profile, "--url", site.Url(page), "--mask", "*.zip", "--depth", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LastLine(r.err), "ファイル\"" + profile + "\"に保存されました。");
    return profile;
  }

  TempFolder dir;
  HttpTestServer site;
};

TEST_F(IntegrationNewLinksCli, CreateThenCheckTwicePrintsTheNewRowsOnce) {
  const std::string profile = Create("site.nlc", "/index.html");
  cIni ini;
  ini.FileName(profile);
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Url"), site.Url("/index.html"));
  EXPECT_EQ(ini.GetString("Mask"), "*.zip");

  CliRun first = Run({"check", profile, "--export", "text:" + dir.File("new.txt")});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, "1\ta.zip\t" + site.Url("/a.zip") + "\t" + site.Url("/index.html") +
                           "\tA\t\t\t0\n0\tb.txt\t" + site.Url("/b.txt") + "\t" +
                           site.Url("/index.html") + "\tB\t\t\t0\n");
  EXPECT_EQ(LastLine(first.err), "1/2 個の新しいリンクを見つけました。");
  EXPECT_NE(ReadBytes(dir.File("new.txt")).find(site.Url("/a.zip")), std::string::npos);

  CliRun second = Run({"check", profile});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(LastLine(second.err), "0/0 個の新しいリンクを見つけました。");
}

TEST_F(IntegrationNewLinksCli, WithoutOptionsAProfileGetsTheFirstStartSettings) {
  const std::string profile = dir.File("plain.nlc");
  ASSERT_EQ(Run({"create", profile, "--url", site.Url("/index.html")}).status, 0);
  cIni ini;
  ini.FileName(profile);
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Mask"), "*");
  ini.Section("Options");
  EXPECT_EQ(ini.GetValue("SearchTags", -1), 1);
  const CliRun check = Run({"check", profile});
  EXPECT_EQ(LastLine(check.err), "2/2 個の新しいリンクを見つけました。");
}

TEST_F(IntegrationNewLinksCli, AFileThatIsNoProfileExitsOne) {
  WriteBytes(dir.File("plain.nlc"), "[General]\r\nUrl=" + site.Url("/index.html") + "\r\n");
  CliRun r = Run({"check", dir.File("plain.nlc")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(dir.File("plain.nlc") +
                       "\r\n\r\nこれは「新しいリンクのチェック」ファイルではありません。"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(site.TimesRequested("/index.html"), 0);
}

TEST_F(IntegrationNewLinksCli, CheckListPrintsTheLogOnStderrAndTheRowsOnStdout) {
  site.Page("/two.html", "<a href=\"a.zip\">A</a><a href=\"c.zip\">C</a>");
  const std::string one = Create("one.nlc", "/index.html");
  const std::string two = Create("two.nlc", "/two.html");
  WriteBytes(dir.File("list.txt"), one + "\r\n " + two + " \r\n");
  CliRun r = Run({"check-list", dir.File("list.txt"), "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find(one + "\n>1/2 個の新しいリンクを見つけました。\n" + two +
                       "\n>1/1 個の新しいリンクを見つけました。\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("\"Url\": \"" + site.Url("/c.zip") + "\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.front(), '[');
}

TEST_F(IntegrationNewLinksCli, CreateRefusesHandOffsAndReportsAFileItCannotWrite) {
  CliRun handOff = Run({"create", dir.File("p.nlc"), "--url", site.Url("/"), "--send", "aria2"});
  EXPECT_EQ(handOff.status, 2);
  WriteBytes(dir.File("plain"), "x");
  CliRun unwritable = Run({"create", dir.File("plain") + "/p.nlc", "--url", site.Url("/")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(LastLine(unwritable.err),
            "ファイル\"" + dir.File("plain") + "/p.nlc\"に保存できませんでした。");
}

TEST_F(IntegrationNewLinksCli, CheckRefusesSearchOptionsAndNamesWhatItTakes) {
  const std::string profile = Create("site.nlc", "/index.html");
  const std::string before = ReadBytes(profile);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"check", profile, "--mask", "*.txt", "--save-folder", "/dl/"},
        {"check-list", dir.File("list.txt"), "--depth", "2"},
        {"check", profile, "--other-servers"}}) {
    const CliRun r = Run(args);
    EXPECT_EQ(r.status, 2) << args[2];
    EXPECT_NE(r.err.find("takes no " + args[2]), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("it takes --export, --send, --format"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_NE(Run({"check", profile, "--mask", "x", "--depth", "1"}).err.find("--mask --depth;"),
            std::string::npos);
  EXPECT_EQ(site.TimesRequested("/index.html"), 0);
  EXPECT_EQ(ReadBytes(profile), before);
  // The options a check does take are still taken.
  const CliRun ok =
      Run({"check", profile, "--format", "json", "--export", "text:" + dir.File("t")});
  EXPECT_EQ(ok.status, 0) << ok.err;
}

// A copy of the program in a folder of its own keeps its settings file there.
TEST_F(IntegrationNewLinksCli, OnlySaveSettingsReadsAndWritesTheSettingsFile) {
  const std::string program = test::CopyOfCli(dir.Path());
  const std::string settings = dir.File("vendil.ini");
  const std::string original = "[General]\r\nMask=*.txt\r\n[Window]\r\nLeft=77\r\n";
  WriteBytes(settings, original);

  CliRun plain = Run({"search", "--depth", "0", site.Url("/index.html")}, program);
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(LastLine(plain.err),
            "2/2 個のリンクが見つかりました。");  // the first-start mask *, not the file's
  EXPECT_EQ(ReadBytes(settings), original);

  CliRun saving =
      Run({"search", "--save-settings", "--depth", "0", site.Url("/index.html")}, program);
  ASSERT_EQ(saving.status, 0) << saving.err;
  EXPECT_EQ(LastLine(saving.err), "1/2 個のリンクが見つかりました。");  // *.txt from the file
  cIni ini;
  ini.FileName(settings);
  ini.Section("General");
  EXPECT_EQ(ini.GetString("Url"), site.Url("/index.html"));
  ini.Section("Window");
  EXPECT_EQ(ini.GetValue("Left"), 77);
}

}  // namespace
}  // namespace vendil
