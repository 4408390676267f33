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

class CliFiles : public ::testing::Test {
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

TEST_F(CliFiles, SettingsThatAreNoRegularFileAreRefusedAtOnce) {
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

TEST_F(CliFiles, ASettingsFileThatIsAFolderIsNeitherReadNorSavedSilently) {
  ASSERT_EQ(mkdir(Settings().c_str(), 0700), 0);
  const CliResult r = Run({"search", "--save-settings", site.Url("/index.html")});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find(Settings() + ": not a regular file"), std::string::npos) << r.err;
  EXPECT_EQ(site.TimesRequested("/index.html"), 0);
}

TEST_F(CliFiles, ProfilesAndListsThatCannotBeReadExitOne) {
  const CliResult device = Run({"check", "/dev/zero"});
  EXPECT_FALSE(device.timedOut);
  EXPECT_EQ(device.status, 1) << device.err;
  EXPECT_NE(device.err.find("通常のファイルではないため読み込めません。"), std::string::npos)
      << device.err;

  WriteBytes(dir.File("huge.txt"), "/dev/null\r\n");
  ASSERT_EQ(truncate(dir.File("huge.txt").c_str(), off_t{300} << 20), 0);
  const CliResult huge = Run({"check-list", dir.File("huge.txt")});
  EXPECT_EQ(huge.status, 1) << huge.err;
  EXPECT_NE(huge.err.find("ファイルが大きすぎるため読み込めません。"), std::string::npos)
      << huge.err;

  const CliResult folder = Run({"check-list", dir.Path()});
  EXPECT_EQ(folder.status, 1) << folder.err;
}

}  // namespace
}  // namespace vendil
