// The INI store: lookups as the private-profile functions make them, files that are not
// valid INI, line-preserving writes, and atomic replacement of the file.
#include "platform/ini_store.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Get(const IniDocument& d, const char* section, const char* key) {
  return d.Value(section, key).value_or("<none>");
}

// Runs `write` with the process's file size limit at `bytes`, so the write itself fails
// (for root too); SIGXFSZ is ignored meanwhile so the failure comes back as an error.
template <class Write>
bool WithFileSizeLimit(rlim_t bytes, Write write) {
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = write();
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  return written;
}

TEST(IniLookup, TrimsUnquotesAndIgnoresCase) {
  auto d = IniDocument::Parse(
      "[General]\r\n  Url =  http://a/  \r\nQ=\"  spaced  \"\r\nS='x'\r\nHalf=\"x\r\n"
      "NoEquals\r\nEmpty=\r\n[\x82\x60]\nk=full\n");
  EXPECT_EQ(Get(d, "general", "URL"), "http://a/");
  EXPECT_EQ(Get(d, "General", "Q"), "  spaced  ");
  EXPECT_EQ(Get(d, "General", "S"), "x");
  EXPECT_EQ(Get(d, "General", "Half"), "\"x");
  EXPECT_EQ(Get(d, "General", "NoEquals"), "<none>");
  EXPECT_EQ(Get(d, "General", "Empty"), "");
  EXPECT_EQ(Get(d, "General", "Missing"), "<none>");
  EXPECT_EQ(Get(d, "\xEF\xBD\x81", "K"), "full");  // full-width A found as a
  EXPECT_EQ(Get(d, "Other", "Url"), "<none>");
}

TEST(IniLookup, FirstOfDuplicatesWins) {
  auto d = IniDocument::Parse("[S]\na=1\na=2\n[s]\na=3\nb=4\n");
  EXPECT_EQ(Get(d, "S", "a"), "1");
  EXPECT_EQ(Get(d, "S", "b"), "<none>");
  EXPECT_EQ(d.SectionNames(), std::vector<std::string>({"S"}));
  EXPECT_EQ(*d.SectionLines("S"), std::vector<std::string>({"a=1", "a=2"}));
}

TEST(IniLookup, SectionLinesSkipCommentsAndBlanksButKeepText) {
  auto d = IniDocument::Parse("top=ignored\n[L]\n; note\n\n  >a = b  \n>\nplain\n[M]\n");
  EXPECT_EQ(*d.SectionLines("L"), std::vector<std::string>({">a = b  ", ">", "plain"}));
  EXPECT_TRUE(d.SectionLines("M")->empty());
  EXPECT_FALSE(d.SectionLines("missing"));
  EXPECT_EQ(d.SectionNames(), std::vector<std::string>({"L", "M"}));
}

TEST(IniLookup, ProfileIntegersReadAsWindowsReadsThem) {
  EXPECT_EQ(ParseProfileInt("42", 7), 42);
  EXPECT_EQ(ParseProfileInt("-5", 7), -5);
  EXPECT_EQ(ParseProfileInt("+12abc", 7), 12);
  EXPECT_EQ(ParseProfileInt("  3 4", 7), 3);
  EXPECT_EQ(ParseProfileInt("abc", 7), 0);
  EXPECT_EQ(ParseProfileInt("-", 7), 0);
  EXPECT_EQ(ParseProfileInt("", 7), 7);
  EXPECT_EQ(ParseProfileInt("4294967295", 7), -1);  // wraps as a 32-bit number
  EXPECT_EQ(ParseProfileInt("0x10", 7), 0);
}

TEST(IniJunk, FilesThatAreNotIniReadWithoutHarm) {
  EXPECT_TRUE(IniDocument::Parse("").SectionNames().empty());
  auto binary = IniDocument::Parse(std::string("\0\xFF[\x81]\0\x80=\x01\n[a]\0k=v\0", 18));
  EXPECT_EQ(Get(binary, "a", "k"), "v");
  auto bom = IniDocument::Parse("\xEF\xBB\xBF[General]\r\nName=\xE6\xBC\xA2\r\n");
  EXPECT_EQ(Get(bom, "General", "Name"), "\xE6\xBC\xA2");  // a UTF-8 file stays UTF-8
  auto lines = IniDocument::Parse("no sections at all\nx=1\n[unclosed\ny=2");
  EXPECT_TRUE(lines.SectionNames().empty());
  EXPECT_EQ(Get(lines, "", "x"), "<none>");
}

TEST(IniWrite, TouchesOnlyTheLinesItChanges) {
  const std::string before =
      "; kept\n[A]\r\nx = 1 \r\n\r\n[B]\nk=old\nz=\x95\x5C\n[C]\r\nc=3";  // mixed line ends
  auto d = IniDocument::Parse(before);
  ASSERT_TRUE(d.SetValue("b", "K", "new"));
  EXPECT_EQ(d.Serialize(), "; kept\n[A]\r\nx = 1 \r\n\r\n[B]\nk=new\nz=\x95\x5C\n[C]\r\nc=3");
  ASSERT_TRUE(d.SetValue("A", "y", "\xE6\xBC\xA2"));  // a new key goes after the last entry
  ASSERT_TRUE(d.SetValue("C", "d", "4"));             // the last line gets its line end
  ASSERT_TRUE(d.SetValue("New", "n", "1"));
  EXPECT_EQ(d.Serialize(),
            "; kept\n[A]\r\nx = 1 \r\ny=\x8A\xBF\r\n\r\n[B]\nk=new\nz=\x95\x5C\n[C]\r\nc=3\r\n"
            "d=4\r\n[New]\r\nn=1\r\n");
}

TEST(IniWrite, DeletesAndReplacesSections) {
  auto d = IniDocument::Parse("[A]\na=1\nb=2\n\n[B]\nx=1\n[a]\nhidden=1\n");
  d.DeleteKey("A", "A");
  EXPECT_EQ(Get(d, "A", "a"), "<none>");
  EXPECT_EQ(Get(d, "A", "b"), "2");
  ASSERT_TRUE(d.ReplaceSection("a", {"p=1", "", "q"}));
  EXPECT_EQ(*d.SectionLines("A"), std::vector<std::string>({"p=1", "q"}));
  EXPECT_EQ(Get(d, "B", "x"), "1");
  d.DeleteSection("A");  // the hidden duplicate goes as well
  EXPECT_FALSE(d.SectionLines("A"));
  EXPECT_EQ(d.Serialize(), "[B]\nx=1\n");
  ASSERT_TRUE(d.ReplaceSection("Empty", {}));
  EXPECT_TRUE(d.SectionLines("Empty")->empty());
}

TEST(IniWrite, RefusesTextThatWouldBreakTheFile) {
  auto d = IniDocument::Parse("[S]\na=1\n");
  EXPECT_FALSE(d.SetValue("S", "a", "x\r\n[SignIn]\r\nPassword=p"));
  EXPECT_FALSE(d.SetValue("S", "k=v", "1"));
  EXPECT_FALSE(d.SetValue("S", ";comment", "1"));
  EXPECT_FALSE(d.SetValue("S\n", "a", "1"));
  EXPECT_FALSE(d.ReplaceSection("S", {"ok=1", "[Other]"}));
  EXPECT_FALSE(d.ReplaceSection("S", {"a\nb"}));
  EXPECT_EQ(d.Serialize(), "[S]\na=1\n");
}

TEST(IniFile, CreatesOwnerOnlyCp932FilesAndKeepsPermissions) {
  TempFolder folder;
  const std::string path = folder.File("new.ini");
  EXPECT_EQ(IniGetString(path, "S", "k"), std::nullopt);
  EXPECT_TRUE(IniDeleteKey(path, "S", "k"));
  EXPECT_NE(access(path.c_str(), F_OK), 0);  // nothing to delete creates no file
  ASSERT_TRUE(IniWriteString(path, "S", "k", "\xEF\xBD\x9E"));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=\x81\x60\r\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(IniWriteSection(path, "T", {"a=1"}));
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(IniGetInt(path, "T", "A", 9), 1);
  EXPECT_EQ(IniSectionNames(path), std::vector<std::string>({"S", "T"}));
}

TEST(IniFile, AFileThatHoldsAPasswordIsForItsOwnerOnly) {
  TempFolder folder;
  const std::string path = folder.File("vendil.ini");
  auto mode = [&path] {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
  };
  WriteBytes(path, "[General]\r\nUrl=x\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  ASSERT_TRUE(IniWriteString(path, "SignIn", "ID", "me"));
  EXPECT_EQ(mode(), 0664u);  // an ID alone is no secret
  ASSERT_TRUE(IniWriteString(path, "SignIn", "Password", ""));
  EXPECT_EQ(mode(), 0664u);
  ASSERT_TRUE(IniWriteString(path, "SignIn", "Password", "secret"));
  EXPECT_EQ(mode(), 0600u);
  // A password already on file with its mode opened again: the next write, even one that
  // changes nothing, closes it.
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  ASSERT_TRUE(IniWriteString(path, "General", "Url", "x"));
  EXPECT_EQ(mode(), 0600u);
  EXPECT_EQ(IniGetString(path, "signin", "password"), "secret");
}

TEST(IniFile, KeptParseNeverHidesAChangeOrAFailedWrite) {
  // The store keeps the last file parsed; another program's change made at once, of the
  // same size, must still be read, and a write that fails must not be read back.
  TempFolder folder;
  const std::string path = folder.File("p.ini");
  ASSERT_TRUE(IniWriteString(path, "S", "k", "one"));
  EXPECT_EQ(IniGetString(path, "S", "k"), "one");
  WriteBytes(path, "[S]\r\nk=two\r\n");
  EXPECT_EQ(IniGetString(path, "S", "k"), "two");
  ASSERT_TRUE(IniWriteString(path, "S", "k", "six"));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=six\r\n");
  EXPECT_EQ(IniGetString(path, "S", "k"), "six");

  const bool written =
      WithFileSizeLimit(16, [&] { return IniWriteString(path, "S", "k", std::string(100, 'x')); });
  EXPECT_FALSE(written);
  EXPECT_EQ(IniGetString(path, "S", "k"), "six");
  EXPECT_FALSE(IniWriteString(path, "S", "k", "bad\nline"));
  EXPECT_EQ(IniGetString(path, "S", "k"), "six");
  EXPECT_EQ(IniGetString(folder.File("other.ini"), "S", "k"), std::nullopt);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempFolder folder;
  const std::string path = folder.File("s.ini");
  WriteBytes(path, "[S]\r\nk=old\r\n");
  ASSERT_EQ(chmod(folder.Path().c_str(), 0500), 0);
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(path, "new", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(IniWriteString(path, "S", "k", "new"));
  ASSERT_EQ(chmod(folder.Path().c_str(), 0700), 0);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=old\r\n");
  EXPECT_EQ(std::filesystem::directory_iterator(folder.Path())->path().string(), path);
}

TEST(AtomicFile, AnUnreadableFileIsNeverReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempFolder folder;
  const std::string path = folder.File("s.ini");
  WriteBytes(path, "[S]\nk=1\nother=2\n");
  ASSERT_EQ(chmod(path.c_str(), 0200), 0);
  EXPECT_FALSE(IniWriteString(path, "S", "k", "2"));
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(ReadBytes(path), "[S]\nk=1\nother=2\n");
}

TEST(AtomicFile, WritesThroughASymbolicLink) {
  TempFolder folder;
  WriteBytes(folder.File("real.ini"), "old");
  ASSERT_EQ(symlink("real.ini", folder.File("link.ini").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(folder.File("link.ini"), "new", nullptr));
  EXPECT_EQ(ReadBytes(folder.File("real.ini")), "new");
  struct stat info {};
  ASSERT_EQ(lstat(folder.File("link.ini").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

}  // namespace
}  // namespace vendil
