// List files of profiles: read from CP932, split at CR LF only, and which lines name a file.
#include "newlinks/list_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::TempFolder;
using test::WriteBytes;

TEST(NewLinksListFile, ReadTextFileConvertsFromCp932AndGivesEmptyOnAnyError) {
  TempFolder dir;
  // "一覧" in CP932, then a path line.
  WriteBytes(dir.File("list.txt"), "\x88\xea\x97\x97\r\n/tmp/a.nlc\r\n");
  EXPECT_EQ(ReadTextFile(dir.File("list.txt")), "一覧\r\n/tmp/a.nlc\r\n");
  WriteBytes(dir.File("empty.txt"), "");
  EXPECT_EQ(ReadTextFile(dir.File("empty.txt")), "");
  EXPECT_EQ(ReadTextFile(dir.File("missing.txt")), "");
  EXPECT_EQ(ReadTextFile(dir.Path()), "");  // a folder is no text file
  EXPECT_EQ(ReadTextFile(""), "");
}

TEST(NewLinksListFile, FileExistsTakesFilesAndFoldersButNotEmptyOrMissingPaths) {
  TempFolder dir;
  WriteBytes(dir.File("a.nlc"), "x");
  EXPECT_TRUE(FileExists(dir.File("a.nlc")));
  EXPECT_TRUE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir.File("b.nlc")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(" " + dir.File("a.nlc")));  // trimming is the caller's business
}

TEST(NewLinksListFile, LinesSplitAtCrLfOrLfAloneAndBinaryTextIsNoList) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitListLines("a\r\nb\r\n"), (Lines{"a", "b", ""}));
  EXPECT_EQ(SplitListLines("a\nb\nc"), (Lines{"a", "b", "c"}));            // as Linux editors write
  EXPECT_EQ(SplitListLines("a\r\nb\nc\r\n"), (Lines{"a", "b", "c", ""}));  // mixed
  EXPECT_EQ(SplitListLines("a\rb"), (Lines{"a\rb"}));  // a CR alone ends no line
  EXPECT_EQ(SplitListLines("a\r\r\nb"), (Lines{"a\r", "b"}));
  EXPECT_EQ(SplitListLines(""), (Lines{}));
  EXPECT_EQ(SplitListLines(std::string("a\r\n\0b", 5)), std::nullopt);
}

}  // namespace
}  // namespace vendil
