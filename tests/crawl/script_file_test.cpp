// Reading script files: UTF-8 with or without a byte-order mark, CP932 otherwise, and
// files that cannot be read.
#include <gtest/gtest.h>

#include "crawl/script_file.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

TEST(ScriptFileText, KeepsUtf8AndDecodesCp932) {
  const std::string utf8 = "MsgBox \"\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xAF\"";  // リンク
  EXPECT_EQ(ScriptBytesToText(utf8), utf8);
  EXPECT_EQ(ScriptBytesToText("\xEF\xBB\xBF" + utf8), utf8);
  // The same word saved by the system in its code page.
  EXPECT_EQ(ScriptBytesToText("MsgBox \"\x83\x8A\x83\x93\x83\x4E\""), utf8);
  EXPECT_EQ(ScriptBytesToText(""), "");
  EXPECT_EQ(ScriptBytesToText("\xEF\xBB\xBF"), "");
}

TEST(ScriptFileText, Utf8ValidatorRefusesForbiddenForms) {
  EXPECT_TRUE(IsWellFormedUtf8("\xF4\x8F\xBF\xBF"));   // U+10FFFF
  EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF"));      // overlong '/' in three bytes
  EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_FALSE(IsWellFormedUtf8("\xE3\x83"));          // cut short
}

// A byte-order mark followed by bytes that are not UTF-8 once gave text that was not
// well-formed either; each such byte now reads as U+FFFD and the rest is kept.
TEST(ScriptFileText, BadBytesAfterAByteOrderMarkBecomeReplacementCharacters) {
  const std::string text = ScriptBytesToText("\xEF\xBB\xBFx = \"\xB5\xED\xA0\x80\xE3\x83\xAA\"");
  EXPECT_EQ(text, "x = \"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xE3\x83\xAA\"");
  EXPECT_TRUE(IsWellFormedUtf8(text));
}

TEST(ScriptFileRead, ReadsWholeFilesAndRefusesMissingOrHugeOnes) {
  test::TempFolder folder;
  test::WriteBytes(folder.File("a.vbs"), "\xEF\xBB\xBFx = 1\r\ny = 2\r\n");
  EXPECT_EQ(ReadScriptFile(folder.File("a.vbs")), "x = 1\r\ny = 2\r\n");
  test::WriteBytes(folder.File("empty.vbs"), "");
  EXPECT_EQ(ReadScriptFile(folder.File("empty.vbs")), "");
  EXPECT_EQ(ReadScriptFile(folder.File("missing.vbs")), std::nullopt);
  EXPECT_EQ(ReadScriptFile(folder.Path()), std::nullopt);  // a folder is no script
  test::WriteBytes(folder.File("huge.vbs"), std::string(kMaxScriptFileBytes + 1, '\''));
  EXPECT_EQ(ReadScriptFile(folder.File("huge.vbs")), std::nullopt);
}

}  // namespace
}  // namespace vendil
