// Files the program reads and rewrites whole: only regular files of a sane size are read or
// replaced; devices, FIFOs and folders are refused at once, never read or waited on.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_store.h"
#include "platform/unique_fd.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool HasTempFile(const std::string& folder) {
  const auto names = Entries(folder);
  return std::any_of(names.begin(), names.end(),
                     [](const std::string& n) { return n.find(".vendil-") != std::string::npos; });
}

TEST(FileAccess, OnlyRegularFilesOfASaneSizeAreRead) {
  TempFolder folder;
  const std::string fifo = folder.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteBytes(folder.File("small"), "12345");
  std::string bytes = "kept";
  std::string error;
  // A FIFO without a writer would block an ordinary open for ever; /dev/zero never ends.
  for (const std::string& path : {fifo, std::string("/dev/zero"), folder.Path()}) {
    EXPECT_EQ(KindOfFileToRead(path), FileKind::kNotRegular) << path;
    EXPECT_FALSE(ReadWholeFile(path, bytes, &error)) << path;
    EXPECT_NE(error.find("通常のファイルではありません。"), std::string::npos) << error;
  }
  EXPECT_EQ(bytes, "kept");
  EXPECT_EQ(KindOfFileToRead(folder.File("small"), 4), FileKind::kTooLarge);
  EXPECT_FALSE(ReadWholeFile(folder.File("small"), bytes, &error, 4));
  EXPECT_EQ(KindOfFileToRead(folder.File("small"), 5), FileKind::kRegular);
  ASSERT_TRUE(ReadWholeFile(folder.File("small"), bytes, &error, 5));
  EXPECT_EQ(bytes, "12345");
  EXPECT_EQ(KindOfFileToRead(folder.File("absent")), FileKind::kMissing);
  EXPECT_EQ(KindOfFileToRead(folder.File("small") + "/below"), FileKind::kMissing);
}

TEST(FileAccess, ASparseFileOverTheLimitIsRefusedUnread) {
  TempFolder folder;
  const std::string path = folder.File("huge.ini");
  WriteBytes(path, "[S]\r\nk=v\r\n");
  ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kMaxWholeFileBytes) + 1), 0);
  EXPECT_EQ(KindOfFileToRead(path), FileKind::kTooLarge);
  EXPECT_EQ(IniGetString(path, "S", "k"), std::nullopt);
  EXPECT_FALSE(IniWriteString(path, "S", "k", "w"));  // not taken for an empty file
}

TEST(FileAccess, SpecialFilesAreNeitherReadAsIniNorReplaced) {
  TempFolder folder;
  const std::string fifo = folder.File("settings.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(IniGetString(fifo, "General", "Url"), std::nullopt);
  EXPECT_EQ(IniGetInt("/dev/zero", "Options", "SearchLebel", 7), 7);
  EXPECT_FALSE(IniWriteString(fifo, "General", "Url", "x"));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(fifo, "x", &error));
  EXPECT_NE(error.find("通常のファイルではありません。"), std::string::npos) << error;
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));  // still the FIFO, not a file renamed over it
  // A link to a device is judged by what it names.
  ASSERT_EQ(symlink("/dev/null", folder.File("null.ini").c_str()), 0);
  EXPECT_FALSE(WriteFileAtomically(folder.File("null.ini"), "x", nullptr));
  ASSERT_EQ(lstat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(FileAccess, AReadOnlyFileIsLeftAsItWas) {
  TempFolder folder;
  const std::string path = folder.File("p.nlc");
  WriteBytes(path, "[General]\r\nUrl=old\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
  EXPECT_NE(error.find("アクセスが拒否されました。"), std::string::npos) << error;
  EXPECT_FALSE(IniWriteString(path, "General", "Url", "new"));
  EXPECT_EQ(IniGetString(path, "General", "Url"), "old");
  EXPECT_EQ(ReadBytes(path), "[General]\r\nUrl=old\r\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);
  // Writable again, it is written as before, its mode kept.
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  EXPECT_TRUE(IniWriteString(path, "General", "Url", "new"));
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(FileAccess, AFileSizeLimitIsAWriteErrorNotADeath) {
  TempFolder folder;
  const std::string path = folder.File("s.ini");
  WriteBytes(path, "[S]\r\nk=old\r\n");
  // In a child, with SIGXFSZ at its default action (which ends the process).
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_DFL);
    const rlimit small{4096, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool written = WriteFileAtomically(path, std::string(100000, 'x'), &error);
    // The signal must not be waiting to strike either once the write is over.
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    _exit(written ? 10 : error.empty() ? 30 : 20);  // 20: failed, and said why
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 20);
  // The old file is whole and no temporary file is left.
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=old\r\n");
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"s.ini"});
}

TEST(FileAccess, TempFilesOfAKilledWriterGoAtTheNextWriteAndNothingElseDoes) {
  TempFolder folder;
  const std::string path = folder.File("p.nlc");
  WriteBytes(path, "old");
  WriteBytes(folder.File(".p.nlc.vendil-AbC123"), "left by a killed writer");
  WriteBytes(folder.File(".p.nlc.backup"), "the user's");
  WriteBytes(folder.File(".q.nlc.vendil-AbC123"), "another file's");
  WriteBytes(folder.File(".p.nlc.vendil-Live00"), "being written");
  // A writer that is still alive holds its lock.
  const UniqueFd live(open(folder.File(".p.nlc.vendil-Live00").c_str(), O_RDONLY));
  ASSERT_EQ(flock(live.Get(), LOCK_EX), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "new", nullptr));
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(Entries(folder.Path()),
            (std::vector<std::string>{".p.nlc.backup", ".p.nlc.vendil-Live00",
                                      ".q.nlc.vendil-AbC123", "p.nlc"}));
}

TEST(FileAccess, AWriterKilledMidwayLeavesATempFileTheNextWriteRemoves) {
  TempFolder folder;
  const std::string path = folder.File("big.nlc");
  bool leftOne = false;
  for (int attempt = 0; attempt < 20 && !leftOne; ++attempt) {
    const pid_t pid = fork();
    if (pid == 0) {
      const std::string bytes(16 << 20, 'x');
      while (true) WriteFileAtomically(path, bytes, nullptr);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!HasTempFile(folder.Path()) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    leftOne = HasTempFile(folder.Path());
  }
  ASSERT_TRUE(leftOne) << "no write was caught midway";
  ASSERT_TRUE(WriteFileAtomically(path, "after", nullptr));
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"big.nlc"});
  EXPECT_EQ(ReadBytes(path), "after");
}

}  // namespace
}  // namespace vendil
