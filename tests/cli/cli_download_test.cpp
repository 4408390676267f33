// vendil-cli search … --download against a loopback site and the real aria2c: stdout as
// without it, one line per file on stderr, the files byte-equal in the save folder and
// nothing else there, exit 1 unless every file arrived, and Ctrl+C stopping aria2c while
// a second run resumes the partial file.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <set>

#include "download/aria2_process.h"
#include "support/background_process.h"
#include "support/cli_process.h"
#include "support/download_site.h"
#include "support/temp_folder.h"

namespace vendil::test {
namespace {

class CliDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    if (FindAria2c().empty()) GTEST_SKIP() << "aria2c is not installed";
    cli = CopyOfCli(folder.Path());
    save = folder.File("save");
  }

  std::vector<std::string> Args(const std::string& mask, bool download) {
    std::vector<std::string> a = {cli, "search", site.IndexUrl(), "--mask", mask, "--save-folder",
                                  save};
    if (download) a.push_back("--download");
    return a;
  }

  // Every file in the save folder, relative to it.
  std::set<std::string> SavedFiles() const {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(save, ec)) {
      if (e.is_regular_file()) names.insert(std::filesystem::relative(e.path(), save).string());
    }
    return names;
  }

  static size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }

  DownloadSite site;
  TempFolder folder;
  std::string cli, save;
};

TEST_F(CliDownload, EveryFileArrivesByteEqualWithItsRefererAndA404FailsTheRun) {
  site.ReleaseSlow();
  const CliResult plain = RunProcess(Args("*", false), folder.Path());
  ASSERT_EQ(plain.status, 0) << plain.err;
  site.server().ClearRequests();
  const CliResult run = RunProcess(Args("*", true), folder.Path(), "", std::chrono::minutes(3));
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.status, 1) << run.err;  // the 404 did not arrive
  EXPECT_EQ(run.out, plain.out);
  std::set<std::string> expected;
  for (const auto& [path, bytes] : site.Files()) {
    // A crawl's rows have no folder of their own: every file goes to the save folder.
    const std::string name = std::filesystem::path(path).filename().string();
    expected.insert(name);
    EXPECT_TRUE(ReadBytes(save + "/" + name) == bytes) << name;
    EXPECT_EQ(Count(run.err, "] 完了 " + save + "/" + name + " ("), 1u) << name << "\n" << run.err;
  }
  EXPECT_EQ(SavedFiles(), expected);  // no list, no control file, nothing for the 404
  EXPECT_EQ(Count(run.err, "] エラー "), 1u) << run.err;
  EXPECT_NE(run.err.find("missing.bin"), std::string::npos);
  EXPECT_NE(run.err.find("ファイルが見つかりません (404)"), std::string::npos);
  int fileRequests = 0;
  for (const RecordedRequest& r : site.server().Requests()) {
    if (r.path == "/files/index.html") continue;
    ++fileRequests;
    EXPECT_EQ(r.Header("Referer"), site.IndexUrl()) << r.path;
  }
  EXPECT_GE(fileRequests, static_cast<int>(site.Files().size()) + 1);
}

TEST_F(CliDownload, CtrlCStopsAria2cKeepsThePartialFileAndTheNextRunResumesIt) {
  BackgroundProcess first(Args("*/slow.bin;*/f01.bin", true), folder.Path());
  ASSERT_TRUE(site.WaitUntilSlowHeld(std::chrono::seconds(60)));
  // f01.bin is small: it ends before the slow file, so the stop finds only the slow one.
  const std::string done = save + "/f01.bin";
  for (int i = 0; i < 6000 && !(ReadBytes(done) == site.Files().at("f01.bin")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(Aria2cOf(first.Pid()).size(), 1u);
  const pid_t cliPid = first.Pid();
  first.Signal(SIGINT);
  ASSERT_EQ(first.Wait(std::chrono::seconds(60)), 1) << first.Err();
  EXPECT_TRUE(Aria2cOf(cliPid).empty()) << "aria2c outlived vendil-cli";
  EXPECT_NE(first.Err().find("中止 " + save + "/slow.bin"), std::string::npos) << first.Err();
  const auto partial = std::filesystem::file_size(save + "/slow.bin");
  EXPECT_LT(partial, site.SlowBytes().size());
  EXPECT_TRUE(std::filesystem::exists(save + "/slow.bin.aria2"));

  site.ReleaseSlow();
  site.server().ClearRequests();
  const CliResult second = RunProcess(Args("*/slow.bin;*/f01.bin", true), folder.Path());
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_TRUE(ReadBytes(save + "/slow.bin") == site.SlowBytes());
  EXPECT_EQ(SavedFiles(), (std::set<std::string>{"f01.bin", "slow.bin"}));
  bool resumed = false;
  for (const RecordedRequest& r : site.server().Requests()) {
    if (r.path == "/files/slow.bin" && r.Header("Range").rfind("bytes=", 0) == 0 &&
        r.Header("Range") != "bytes=0-")
      resumed = true;
  }
  EXPECT_TRUE(resumed) << "the second run did not ask for the rest of the file";
}

TEST_F(CliDownload, WithoutAria2cOrAWritableFolderOneMessageAndNothingFetched) {
  site.ReleaseSlow();
  BackgroundProcess noEngine(Args("*/f0*.bin", true), folder.Path(),
                             {"PATH=" + folder.File("none")});
  EXPECT_EQ(noEngine.Wait(std::chrono::seconds(60)), 1);
  EXPECT_NE(noEngine.Err().find("パッケージ aria2"), std::string::npos) << noEngine.Err();
  EXPECT_NE(noEngine.Out().find("f01.bin"), std::string::npos);  // the rows are printed
  EXPECT_EQ(site.server().TimesRequested("/files/f01.bin"), 0);

  WriteBytes(folder.File("plain-file"), "x");
  save = folder.File("plain-file") + "/sub";
  const CliResult blocked = RunProcess(Args("*/f0*.bin", true), folder.Path());
  EXPECT_EQ(blocked.status, 1);
  EXPECT_NE(blocked.err.find("保存先のフォルダを作れません"), std::string::npos) << blocked.err;
  EXPECT_EQ(site.server().TimesRequested("/files/f01.bin"), 0);
}

}  // namespace
}  // namespace vendil::test
