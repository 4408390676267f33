// The download job against a real aria2c and a loopback site: what reaches aria2c's
// command line, what a hostile URL can do, and that aria2c goes when the job ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "download/download_job.h"
#include "support/background_process.h"
#include "support/download_site.h"
#include "support/temp_folder.h"

namespace vendil::test {
namespace {

bool RunToEnd(DownloadJob& job) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (!job.Finished()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!job.Poll()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

PlannedFile File(size_t row, const std::string& url, const std::string& dir,
                 const std::string& out = "") {
  PlannedFile f;
  f.row = row;
  f.url = url;
  f.dir = dir;
  f.out = out;
  f.referer = "http://127.0.0.1/page.html";
  return f;
}

TEST(Aria2Engine, HostileUrlsNeitherBecomeOptionsNorLeaveTheSaveFolder) {
  if (FindAria2c().empty()) GTEST_SKIP() << "aria2c is not installed";
  DownloadSite site;
  site.ReleaseSlow();
  TempFolder folder;
  const std::string save = folder.File("save");
  const std::string evil = folder.File("evil");
  const std::vector<std::string> hostile = {
      "--dir=" + evil,
      "-d" + evil,
      site.server().Url("/files/f01.bin") + "\n--out=../evil.bin",
      site.server().Url("/files/f02.bin") + "\" --dir=" + evil + " \"",
      site.server().Url("/files/f03.bin") + "; touch " + evil,
      site.server().Url("/files/my file.bin"),
  };
  std::vector<PlannedFile> files;
  for (size_t i = 0; i < hostile.size(); ++i) files.push_back(File(i + 1, hostile[i], save));
  files.push_back(File(7, site.server().Url("/files/f04.bin"), save, "../../escape.bin"));

  DownloadJob job;
  ASSERT_FALSE(job.Start(FindAria2c(), files, "VendilTest/1.0"));
  const pid_t engine = job.EnginePid();
  const auto args = CommandLineOf(engine);
  ASSERT_FALSE(args.empty());
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    EXPECT_EQ(a.find(evil), std::string::npos) << a;
    EXPECT_EQ(a.find("127.0.0.1:" + std::to_string(site.server().Port())), std::string::npos) << a;
    EXPECT_EQ(a.rfind("--", 0), 0u) << "a bare argument reached aria2c: " << a;
  }
  ASSERT_TRUE(RunToEnd(job));
  EXPECT_EQ(job.ForRow(1)->state, RowDownloadState::Error);
  EXPECT_EQ(job.ForRow(2)->state, RowDownloadState::Error);
  EXPECT_EQ(job.ForRow(6)->state, RowDownloadState::Complete);
  job.End();
  EXPECT_FALSE(std::filesystem::exists(evil));
  EXPECT_FALSE(std::filesystem::exists(folder.File("evil.bin")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("escape.bin")));
  // Whatever aria2 made of the odd URLs stays inside the save folder.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
    const std::string p = entry.path().string();
    EXPECT_TRUE(p.rfind(save, 0) == 0 || p.find("/.bg-") != std::string::npos) << p;
  }
  EXPECT_EQ(ReadBytes(save + "/my file.bin"), site.Files().at("my file.bin"));
  EXPECT_TRUE(Aria2cOf(getpid()).empty());
}

TEST(Aria2Engine, EndingTheJobEndsAria2cAndAJobThatLostItFails) {
  if (FindAria2c().empty()) GTEST_SKIP() << "aria2c is not installed";
  DownloadSite site;  // the slow file stays held: the download cannot finish
  TempFolder folder;
  DownloadJob job;
  ASSERT_FALSE(
      job.Start(FindAria2c(), {File(1, site.server().Url("/files/slow.bin"), folder.Path())}, ""));
  const pid_t first = job.EnginePid();
  ASSERT_TRUE(site.WaitUntilSlowHeld(std::chrono::seconds(60)));
  job.End();
  EXPECT_TRUE(Aria2cOf(getpid()).empty());
  EXPECT_NE(kill(first, 0), 0);
  // Polling an engine that is gone: the file counts as failed, not as running forever.
  EXPECT_FALSE(job.Poll());
  EXPECT_TRUE(job.Finished());
  EXPECT_EQ(job.ForRow(1)->state, RowDownloadState::Error);
}

}  // namespace
}  // namespace vendil::test
