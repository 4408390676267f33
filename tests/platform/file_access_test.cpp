// Files the program reads and rewrites whole: only regular files of a sane size are read or
// replaced; devices, FIFOs and folders are refused at once, never read or waited on.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "platform/ini_store.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

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
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
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
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
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
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
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

}  // namespace
}  // namespace vendil
