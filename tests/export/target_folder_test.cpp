// The row target folder in the cases the golden files do not show, and URL clean-up.
#include <gtest/gtest.h>

#include "export/file_text.h"
#include "export/target_folder.h"

namespace vendil {
namespace {

TEST(RowTargetFolder, BackslashIsEnsuredOnlyWhereAFolderOrFileNameFollows) {
  auto folder = [](const std::string& f, const std::string& dl, const std::string& save,
                   bool option, bool grx) {
    LinkRow r;
    r.Folder = f;
    r.DownloadFolder = dl;
    return RowTargetFolder(r, save, option, grx);
  };
  EXPECT_EQ(folder("a\\", "", "C:\\dl", true, false), "C:\\dl\\a\\");
  EXPECT_EQ(folder("a\\", "", "C:\\dl\\", true, false), "C:\\dl\\a\\");
  EXPECT_EQ(folder("a\\", "D:\\x", "C:\\dl", true, false), "D:\\x\\a\\");
  EXPECT_EQ(folder("a\\", "", "", true, false), "\\a\\");
  EXPECT_EQ(folder("a\\", "", "", false, false), "");
  EXPECT_EQ(folder("", "", "", false, true), "\\");
  EXPECT_EQ(folder("a", "", "C:\\dl", true, true), "C:\\dl\\a\\");  // no glued file name
}

TEST(ListFileText, UrlsArePercentEncodedOnlyWhereCp932FallsShort) {
  EXPECT_EQ(UrlForAnsiFile("http://h/日本語/ｶﾅ?x=1"), "http://h/日本語/ｶﾅ?x=1");
  EXPECT_EQ(UrlForAnsiFile("http://h/한"), "http://h/%ED%95%9C");
  EXPECT_EQ(UrlForAnsiFile("http://h/\xFF\x80z"), "http://h/%FF%80z");
  EXPECT_EQ(UrlForAnsiFile("a\tb\r\nc"), "a%09b%0D%0Ac");
  EXPECT_EQ(FieldForListFile("a\tb\r\nc한"), "a b  c한");
}

}  // namespace
}  // namespace vendil
