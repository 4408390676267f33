// URL components and link resolution, including the RFC 3986 example table.
#include "parse/mod_url.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vendil {
namespace {

TEST(ModUrlComponents, HostIsKeptAsWrittenWithoutUserInfoOrPort) {
  EXPECT_EQ(GetHostName("http://Example.COM/a"), "Example.COM");
  EXPECT_NE(GetHostName("http://Example.com/"), GetHostName("http://example.com/"));
  EXPECT_EQ(GetHostName("http://user:pw@host.example:8080/x?y#z"), "host.example");
  EXPECT_EQ(GetHostName("http://[::1]:8080/x"), "[::1]");
  EXPECT_EQ(GetHostName("relative/path.html"), "");
  EXPECT_EQ(GetHostName("mailto:someone@example.com"), "");
}

TEST(ModUrlComponents, PathKeepsQueryDropsFragmentAndDefaultsToSlash) {
  EXPECT_EQ(GetUrlPath("http://h/a/b.cgi?x=1#frag"), "/a/b.cgi?x=1");
  EXPECT_EQ(GetUrlPath("http://h"), "/");
  EXPECT_EQ(GetUrlPath("http://h#top"), "/");
  EXPECT_EQ(GetUrlPath("no scheme here"), "");
  EXPECT_EQ(UrlWithoutFragment("http://h/a.html?q=#x#y"), "http://h/a.html?q=");
  EXPECT_EQ(UrlWithoutFragment("http://h/a.html"), "http://h/a.html");
}

TEST(ModUrlComponents, FileNameIgnoresSlashesInTheQuery) {
  EXPECT_EQ(GetUrlFileName("http://h/"), "");
  EXPECT_EQ(GetUrlFileName("http://h/dir/"), "");
  EXPECT_EQ(GetUrlFileName("http://h/dir/file.zip?x=1"), "file.zip");
  EXPECT_EQ(GetUrlFileName("http://h/a/b.cgi?path=/x/y"), "b.cgi");
  EXPECT_EQ(GetUrlFileName("http://h/a/b.cgi#part/x"), "b.cgi");
}

TEST(ModUrlComponents, DirectoryUsesTheLastSlashOfTheWholePath) {
  EXPECT_EQ(GetUrlDirectory("http://h/a/b.cgi?path=/x/y"), "/a/b.cgi?path=/x/");
  EXPECT_EQ(GetUrlDirectory("http://h/a/b/page.html"), "/a/b/");
  EXPECT_EQ(GetUrlDirectory("http://h"), "/");
  EXPECT_EQ(GetUrlDirectory("not a url"), "/");
}

TEST(ModUrlCombine, Rfc3986NormalAndAbnormalExamples) {
  const std::string base = "http://a/b/c/d;p?q";
  const std::vector<std::pair<std::string, std::string>> table = {
      {"g:h", "g:h"},
      {"g", "http://a/b/c/g"},
      {"./g", "http://a/b/c/g"},
      {"g/", "http://a/b/c/g/"},
      {"/g", "http://a/g"},
      {"//g", "http://g/"},
      {"?y", "http://a/b/c/d;p?y"},
      {"g?y", "http://a/b/c/g?y"},
      {"#s", "http://a/b/c/d;p?q#s"},
      {"g#s", "http://a/b/c/g#s"},
      {"g?y#s", "http://a/b/c/g?y#s"},
      {";x", "http://a/b/c/;x"},
      {"g;x", "http://a/b/c/g;x"},
      {"g;x?y#s", "http://a/b/c/g;x?y#s"},
      {"", "http://a/b/c/d;p?q"},
      {".", "http://a/b/c/"},
      {"./", "http://a/b/c/"},
      {"..", "http://a/b/"},
      {"../", "http://a/b/"},
      {"../g", "http://a/b/g"},
      {"../..", "http://a/"},
      {"../../", "http://a/"},
      {"../../g", "http://a/g"},
      {"../../../g", "http://a/g"},
      {"../../../../g", "http://a/g"},
      {"/./g", "http://a/g"},
      {"/../g", "http://a/g"},
      {"g.", "http://a/b/c/g."},
      {".g", "http://a/b/c/.g"},
      {"g..", "http://a/b/c/g.."},
      {"..g", "http://a/b/c/..g"},
      {"./../g", "http://a/b/g"},
      {"./g/.", "http://a/b/c/g/"},
      {"g/./h", "http://a/b/c/g/h"},
      {"g/../h", "http://a/b/c/h"},
      {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
      {"g;x=1/../y", "http://a/b/c/y"},
      {"g?y/./x", "http://a/b/c/g?y/./x"},
      {"g?y/../x", "http://a/b/c/g?y/../x"},
      {"g#s/./x", "http://a/b/c/g#s/./x"},
      {"g#s/../x", "http://a/b/c/g#s/../x"},
      {"http:g", "http://a/b/c/g"},  // as browsers read it on an http page
  };
  for (const auto& [link, expected] : table) {
    EXPECT_EQ(CombineUrl(base, link), expected) << "link: " << link;
  }
}

TEST(ModUrlCombine, RelativeLinkReplacesTheBaseFileName) {
  EXPECT_EQ(CombineUrl("http://h/dir/page.html?x=1#top", "file.zip"), "http://h/dir/file.zip");
  EXPECT_EQ(CombineUrl("http://h", "file.zip"), "http://h/file.zip");
  // An absolute link needs no base. (Canonical hosts, white space, other schemes: web_url_test.)
  EXPECT_EQ(CombineUrl("", "http://Host.example/a/./b/../c.zip"), "http://host.example/a/c.zip");
}

TEST(ModUrlCombine, ControlCharactersInsideALinkArePercentEncoded) {
  EXPECT_EQ(CombineUrl("http://h/d/", std::string("a\0b\x01"
                                                  "c\x7f d\te",
                                                  10)),
            "http://h/d/a%00b%01c%7F%20de");
  EXPECT_EQ(CombineUrl("http://h/d/", std::string("\0\x01 x.zip \0", 10)), "http://h/d/x.zip");
  EXPECT_EQ(EncodeControlCharacters("ok%00"), "ok%00");
}

// The test reads 16 bytes at a time with an overlapping tail: a control character at any
// offset of any length must be seen, and the bytes around the range (0x20, 0x7E, 0x80, 0xFF)
// must not count.
TEST(ModUrlControls, FoundAtEveryOffsetAndOnlyThere) {
  for (size_t size = 0; size <= 40; ++size) {
    std::string text(size, 'a');
    for (const char plain : {' ', '~', '\x80', '\xff'}) {
      for (size_t at = 0; at < size; ++at) {
        std::string probe = text;
        probe[at] = plain;
        EXPECT_FALSE(HasControlCharacter(probe)) << size << " " << at;
      }
    }
    EXPECT_FALSE(HasControlCharacter(text));
    for (const char control : {'\0', '\x1f', '\t', '\x7f'}) {
      for (size_t at = 0; at < size; ++at) {
        std::string probe = text;
        probe[at] = control;
        EXPECT_TRUE(HasControlCharacter(probe)) << size << " " << at;
      }
    }
  }
}

TEST(ModUrlCombine, FailuresGiveEmptyText) {
  EXPECT_EQ(CombineUrl("", "relative.html"), "");
  EXPECT_EQ(CombineUrl("not a base", "relative.html"), "");
  EXPECT_EQ(CombineUrl("", ""), "");
  const std::string longPath(3000, 'x');
  EXPECT_EQ(CombineUrl("http://h/", longPath), "");
  EXPECT_FALSE(CombineUrl("http://h/", std::string(2000, 'x')).empty());
}

}  // namespace
}  // namespace vendil
