// Links read as browsers read them: each row is a link as written on a page, the URL the
// row then carries, and the URL the request line carries. Groups follow the forms pages
// hold: backslashes, stray white space, scheme-relative forms, dot segments, hosts, the
// characters encoded on the wire, Japanese pages, and links no browser follows.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "parse/mod_url.h"
#include "parse/request_url.h"

namespace vendil {
namespace {

const char kBase[] = "http://example.org/foo/bar.html";

struct Row {
  Row(std::string l, std::string r, std::string q = {})
      : link(std::move(l)), resolved(std::move(r)), request(std::move(q)) {}
  std::string link;
  std::string resolved;  // empty: the link is not followed and gives no row
  std::string request;   // empty: the same as `resolved`
};

void CheckRows(const std::vector<Row>& rows, const std::string& base = kBase,
               const std::string& charset = "") {
  for (const Row& row : rows) {
    SCOPED_TRACE("link: " + row.link + "  base: " + base);
    const std::string resolved = CombineUrl(base, row.link);
    EXPECT_EQ(resolved, row.resolved);
    if (resolved.empty()) continue;
    EXPECT_EQ(RequestUrl(resolved, charset), row.request.empty() ? row.resolved : row.request);
    // What was read once reads the same again, against any base.
    EXPECT_EQ(CombineUrl("http://elsewhere.test/x/y", resolved), resolved);
  }
}

TEST(WebUrlResolution, BackslashesAreSlashes) {
  CheckRows({
      {"\\x.zip", "http://example.org/x.zip"},
      {"sub\\file.zip", "http://example.org/foo/sub/file.zip"},
      {"\\\\server\\share\\a.zip", "http://server/share/a.zip"},
      {"/\\/\\//host/../path", "http://host/path"},
      {"http:\\\\Host\\a\\b", "http://host/a/b"},
      {"..\\..\\up.html", "http://example.org/up.html"},
      // In the query and fragment a backslash is no separator.
      {"a?x=\\y#\\z", "http://example.org/foo/a?x=\\y#\\z"},
  });
}

TEST(WebUrlResolution, WhiteSpaceAndControlsOfTheSource) {
  CheckRows({
      {"\n  my file.zip \r\n", "http://example.org/foo/my%20file.zip"},
      {"a\tb\nc\r.zip", "http://example.org/foo/abc.zip"},
      {std::string("\0\x01 x.zip \x1f", 9), "http://example.org/foo/x.zip"},
      {std::string("a\0b\x7f", 4), "http://example.org/foo/a%00b%7F"},
      {"ht\ntp://ho\tst/p", "http://host/p"},
      {"?q=a b", "http://example.org/foo/bar.html?q=a%20b"},
  });
}

TEST(WebUrlResolution, SchemeWithoutSlashesIsRelativeToAPageOfThatScheme) {
  CheckRows({
      {"http:foo.com", "http://example.org/foo/foo.com"},
      {"http:/foo", "http://example.org/foo"},
      {"http:", "http://example.org/foo/bar.html"},
      {"HTTP:?q", "http://example.org/foo/bar.html?q"},
      {"https:/x", "https://x/"},
      {"https:x/y", "https://x/y"},
      {"ftp:host/f.zip", "ftp://host/f.zip"},
      {"///host/path", "http://host/path"},
      {"//host", "http://host/"},
      {"////host//a", "http://host//a"},
      {"https:////h/p", "https://h/p"},
  });
  CheckRows({{"https:x.html", "https://s.example/d/x.html"}}, "https://s.example/d/p.html");
}

TEST(WebUrlResolution, DotSegmentsIncludingEncodedOnes) {
  CheckRows({
      {"./a", "http://example.org/foo/a"},
      {"%2e/a", "http://example.org/foo/a"},
      {".%2E/a", "http://example.org/a"},
      {"%2e%2e/%2E%2e/%2e./b", "http://example.org/b"},
      {"/a/%2e%2E", "http://example.org/"},
      {"/a/b/..", "http://example.org/a/"},
      {"/a/.", "http://example.org/a/"},
      {"../../../../x", "http://example.org/x"},
      {"//other/../../x", "http://other/x"},
      {"//other/..", "http://other/"},
      // Not dot segments: kept.
      {"..a/%2e%2f/.x", "http://example.org/foo/..a/%2e%2f/.x"},
      {"a?b/../c", "http://example.org/foo/a?b/../c"},
  });
}

TEST(WebUrlResolution, HostsInTheirCanonicalForm) {
  CheckRows({
      {"http://EXAMPLE.Com/", "http://example.com/"},
      {"http://ＥＸＡＭＰＬＥ．com/", "http://example.com/"},
      {"http://日本語.jp/a", "http://xn--wgv71a119e.jp/a"},
      {"http://%45x%61mple.com/", "http://example.com/"},
      {"http://0x7f.1/", "http://127.0.0.1/"},
      {"http://2130706433/", "http://127.0.0.1/"},
      {"http://0177.0.0.01/", "http://127.0.0.1/"},
      {"http://127.0.0.1./", "http://127.0.0.1/"},
      {"http://192.168.257/", "http://192.168.1.1/"},
      {"http://[0:0:0::1]/", "http://[::1]/"},
      {"http://[::ffff:127.0.0.1]/", "http://[::ffff:7f00:1]/"},
      {"http://[1:0:0:2::3:0]/", "http://[1::2:0:0:3:0]/"},
      {"http://h:80/", "http://h/"},
      {"https://h:443/x", "https://h/x"},
      {"http://h:0080/x", "http://h/x"},
      {"http://h:443/", "http://h:443/"},
      {"http://h:/", "http://h/"},
      {"http://user:pass@H:8080/", "http://user:pass@h:8080/"},
  });
}

TEST(WebUrlResolution, EncodeSetsOfEachPart) {
  CheckRows({
      {"/a b\"<>`{}^|'", "http://example.org/a%20b%22%3C%3E%60%7B%7D%5E|'"},
      {"/p?a b\"<>'`{}", "http://example.org/p?a%20b%22%3C%3E%27`{}"},
      {"/p#a b\"<>`'", "http://example.org/p#a%20b%22%3C%3E%60'"},
      {"http://us er:p@ss@h/", "http://us%20er:p%40ss@h/"},
      {"http://a:b:c@h/", "http://a:b%3Ac@h/"},
      {"/already%20encoded%2F?x=%27", "http://example.org/already%20encoded%2F?x=%27"},
      {"/%zz%", "http://example.org/%zz%"},
  });
}

TEST(WebUrlResolution, JapanesePathsAndQueriesOfShiftJisAndEucJpPages) {
  const std::vector<Row> utf8 = {
      {"/写真/一覧.html?q=写真", "http://example.org/写真/一覧.html?q=写真",
       "http://example.org/%E5%86%99%E7%9C%9F/%E4%B8%80%E8%A6%A7.html?q=%E5%86%99%E7%9C%9F"},
  };
  CheckRows(utf8);
  CheckRows({{"写真.zip?検索=日本 語", "http://example.org/foo/写真.zip?検索=日本%20語",
              "http://example.org/foo/%E5%86%99%E7%9C%9F.zip?%8C%9F%8D%F5=%93%FA%96%7B%20%8C%EA"},
             {"\\画像\\?q=😀", "http://example.org/画像/?q=😀",
              "http://example.org/%E7%94%BB%E5%83%8F/?q=%26%23128512%3B"}},
            kBase, "Shift_JIS");
  CheckRows({{"写真.zip?q=写真", "http://example.org/foo/写真.zip?q=写真",
              "http://example.org/foo/%E5%86%99%E7%9C%9F.zip?q=%BC%CC%BF%BF"}},
            kBase, "EUC-JP");
  // A Japanese host goes in its ASCII form, on the row and on the wire.
  CheckRows({{"//写真.jp/写真", "http://xn--g7qs82g.jp/写真",
              "http://xn--g7qs82g.jp/%E5%86%99%E7%9C%9F"}});
}

TEST(WebUrlResolution, LinksNoBrowserFollowsGiveNoRow) {
  CheckRows({
      {"http://a b/", ""},
      {"http://[::1", ""},
      {"http://[::1]x/", ""},
      {"http://h:65536/", ""},
      {"http://h:99999999999999999999/", ""},
      {"http://h:8x/", ""},
      {"http://", ""},
      {"http:///", ""},
      {"//", ""},
      {"http://@/", ""},
      {"http://user@/x", ""},
      {"http://a<b/", ""},
      {"http://a%20b/", ""},
      {"http://%zz/", ""},
      {"http://999.1.1.1/", ""},
      {"http://1.2.3.4.5/", ""},
      {"http://0x100000000/", ""},
      {"http://xn--a.xn--nxa/", ""},
      {"http://[1:2:3:4:5:6:7:8:9]/", ""},
  });
}

TEST(WebUrlResolution, OtherSchemesAreKeptAsWritten) {
  CheckRows({
      {"mailto:a@b.example", "mailto:a@b.example"},
      {"javascript:open('../x')", "javascript:open('../x')"},
  });
  // A page whose URL no browser reads resolves nothing.
  EXPECT_EQ(CombineUrl("http://a b/", "x.html"), "");
}

TEST(WebUrlRules, ServerAndFolderInCanonicalForm) {
  EXPECT_EQ(CanonicalHost("http://EXAMPLE.org:80/a"), "example.org");
  EXPECT_EQ(CanonicalHost("http://0x7f.0.0.1/"), CanonicalHost("http://127.0.0.1:8080/"));
  EXPECT_EQ(CanonicalHost("http://日本語.jp/"), CanonicalHost("http://XN--WGV71A119E.jp/"));
  EXPECT_NE(CanonicalHost("http://a.example/"), CanonicalHost("http://b.example/"));
  EXPECT_EQ(CanonicalDirectory("http://h/a/./b/../c\\d.html"), "/a/c/");
  EXPECT_EQ(CanonicalDirectory("http://h/写真/x.html"),
            CanonicalDirectory("http://h/%E5%86%99%E7%9C%9F/y"));
  EXPECT_EQ(CanonicalDirectory("http://h/a/b.cgi?path=/x/y"), "/a/b.cgi?path=/x/");
}

}  // namespace
}  // namespace vendil
