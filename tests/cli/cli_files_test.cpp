// vendil-cli and the files it is given: settings files, profiles and list files that are
// devices, FIFOs, folders, oversized or read-only, each refused with a clear message and a
// non-zero exit instead of a hang, an abort or a silent no-op.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::CliResult;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class IntegrationCliFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    program = test::CopyOfCli(dir.Path());
    site.Page("/index.html", "<a href=\"a.zip\">A</a><a href=\"b.txt\">B</a>");
  }
  CliResult Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), program);
    return test::RunProcess(args, dir.Path(), input, std::chrono::seconds(30));
  }
  std::string Settings() const { return dir.File("vendil.ini"); }

  TempFolder dir;
  test::HttpTestServer site;
  std::string program;
};

TEST_F(IntegrationCliFiles, SettingsThatAreNoRegularFileAreRefusedAtOnce) {
  const std::string fifo = dir.File("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& settings : {std::string("/dev/zero"), fifo, dir.Path()}) {
    const CliResult r = Run({"search", "--settings", settings, site.Url("/index.html")});
    EXPECT_FALSE(r.timedOut) << settings;
    EXPECT_EQ(r.status, 2) << settings << r.err;
    EXPECT_NE(r.err.find("cannot read the settings file " + settings + ": not a regular file"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(site.TimesRequested("/index.html"), 0);
}

TEST_F(IntegrationCliFiles, ASettingsFileThatIsAFolderIsNeitherReadNorSavedSilently) {
  ASSERT_EQ(mkdir(Settings().c_str(), 0700), 0);
  const CliResult r = Run({"search", "--save-settings", site.Url("/index.html")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find(Settings() + ": not a regular file"), std::string::npos) << r.err;
  EXPECT_EQ(site.TimesRequested("/index.html"), 0);
}

TEST_F(IntegrationCliFiles, ProfilesAndListsThatCannotBeReadExitOne) {
  const CliResult device = Run({"check", "/dev/zero"});
  EXPECT_FALSE(device.timedOut);
  EXPECT_EQ(device.status, 1) << device.err;
  EXPECT_NE(device.err.find("通常のファイルではないため読み込めません。"), std::string::npos)
      << device.err;

  // A list too big to read is said so as any file that cannot be read:
  // IntegrationNewLinksList.ABigListIsRunAndOneTooBigOrNotThereIsSaidSo.
  const CliResult folder = Run({"check-list", dir.Path()});
  EXPECT_EQ(folder.status, 1) << folder.err;
}

TEST_F(IntegrationCliFiles, ReadOnlySettingsProfilesAndExportsAreNotReplaced) {
  const std::string settings = "[General]\r\nMask=*.txt\r\n";
  WriteBytes(Settings(), settings);
  ASSERT_EQ(chmod(Settings().c_str(), 0444), 0);
  const CliResult search = Run({"search", "--save-settings", site.Url("/index.html")});
  EXPECT_EQ(search.status, 1) << search.err;
  EXPECT_NE(search.out.find("\n1\tb.txt"), std::string::npos) << search.out;  // it ran
  EXPECT_NE(search.err.find("ファイル\"" + Settings() + "\"に保存できませんでした。"),
            std::string::npos)
      << search.err;
  EXPECT_EQ(ReadBytes(Settings()), settings);

  const std::string profile = dir.File("p.nlc");
  ASSERT_EQ(Run({"create", profile, "--url", site.Url("/index.html")}).status, 0);
  const std::string created = ReadBytes(profile);
  ASSERT_EQ(chmod(profile.c_str(), 0444), 0);
  const CliResult create = Run({"create", profile, "--url", site.Url("/other.html")});
  EXPECT_EQ(create.status, 1) << create.err;
  EXPECT_NE(create.err.find("に保存できませんでした。"), std::string::npos) << create.err;
  const CliResult check = Run({"check", profile});
  EXPECT_EQ(check.status, 1) << check.err;
  EXPECT_NE(check.err.find("を更新できませんでした。"), std::string::npos) << check.err;
  EXPECT_EQ(ReadBytes(profile), created);

  WriteBytes(dir.File("list.txt"), "older\r\n");
  ASSERT_EQ(chmod(dir.File("list.txt").c_str(), 0444), 0);
  const CliResult exported =
      Run({"search", site.Url("/index.html"), "--export", "text:" + dir.File("list.txt")});
  EXPECT_EQ(exported.status, 1) << exported.err;
  EXPECT_EQ(ReadBytes(dir.File("list.txt")), "older\r\n");
}

}  // namespace
}  // namespace vendil
