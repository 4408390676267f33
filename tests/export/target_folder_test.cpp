// The row target folder for every combination the managers' files meet.
#include <gtest/gtest.h>

#include "export/file_text.h"
#include "export/target_folder.h"

namespace vendil {
namespace {

LinkRow Row(const std::string& folder, const std::string& downloadFolder) {
  LinkRow r;
  r.Folder = folder;
  r.DownloadFolder = downloadFolder;
  return r;
}

TEST(RowTargetFolder, OptionOnEnsuresTheBackslashAndAppendsTheFolder) {
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "C:\\dl\\", true), "C:\\dl\\a\\");
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "C:\\dl", true), "C:\\dl\\a\\");
  EXPECT_EQ(RowTargetFolder(Row("a\\", "D:\\x"), "C:\\dl", true), "D:\\x\\a\\");
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "", true), "\\a\\");
  EXPECT_EQ(RowTargetFolder(Row("music\\live\\", ""), "C:\\dl", true), "C:\\dl\\music\\live\\");
}

TEST(RowTargetFolder, OptionOffKeepsTheFolderAsTyped) {
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "C:\\dl", false), "C:\\dl");
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "", false), "");
  EXPECT_EQ(RowTargetFolder(Row("", "D:\\x"), "C:\\dl", false), "D:\\x");
  // The GetRight file always ends the folder with "\", the file name follows it.
  EXPECT_EQ(RowTargetFolder(Row("a\\", ""), "C:\\dl", false, true), "C:\\dl\\");
  EXPECT_EQ(RowTargetFolder(Row("", ""), "", false, true), "\\");
  EXPECT_EQ(RowTargetFolder(Row("a", ""), "C:\\dl", true, true), "C:\\dl\\a\\");
}

TEST(FileText, UrlsArePercentEncodedOnlyWhereCp932FallsShort) {
  EXPECT_EQ(UrlForAnsiFile("http://h/日本語/ｶﾅ?x=1"), "http://h/日本語/ｶﾅ?x=1");
  EXPECT_EQ(UrlForAnsiFile("http://h/한"), "http://h/%ED%95%9C");
  EXPECT_EQ(UrlForAnsiFile("http://h/\xFF\x80z"), "http://h/%FF%80z");
  EXPECT_EQ(UrlForAnsiFile("a\tb\r\nc"), "a%09b%0D%0Ac");
  EXPECT_EQ(FieldForListFile("a\tb\r\nc한"), "a b  c한");
}

}  // namespace
}  // namespace vendil
