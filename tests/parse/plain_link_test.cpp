// The quick readings of a page's links against the full one: ResolvePlainLink beside
// ParseWebUrl, and LinkResolver beside CombineUrl, over links that sit on the edge of what
// the quick reading takes, each against bases of several shapes. No expected URL is
// written here: both readings must give the same bytes, and the quick one must take the
// plain links it was made for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "parse/mod_url.h"
#include "parse/web_url.h"

namespace vendil {
namespace {

const std::vector<std::string> kBases = {
    "http://example.org/foo/bar.html",
    "http://example.org",
    "https://User:Pw@Example.ORG:8443/a/b/?q=1#frag",
    "http://example.org:80/dir/",
    "ftp://files.example/pub/x/",
    "http://[::1]:8080/%2e%2e/a;b/c",
    "http://example.org/\xe6\x97\xa5\xe6\x9c\xac/page",
    "HTTP://EXAMPLE.org/Up/Case",
    " \thttp://example.org/a b/\n",
    "http://",           // a web base that does not parse
    "mailto:x@example",  // no web base
    "about:blank",
    "",
};

const std::vector<std::string> kLinks = {
    // What the quick reading is for.
    "file.zip",
    "dl/file1.zip",
    "/m/f0000000.zip",
    "a/b/c/",
    "/",
    "x?y=1&z=2",
    "/p?q/../r",
    "\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab.zip",
    ".htaccess",
    "...",
    "a..b/..c",
    "~user/",
    "a;b=c/d,e",
    "name@host",
    "a/%41%2e/b",
    "%zz",
    "%",
    "%2",
    "100%25",
    // Dot segments, plain and encoded, also above the root.
    ".",
    "..",
    "./",
    "../",
    "./a",
    "../a",
    "a/./b",
    "a/../b",
    "a/..",
    "a/.",
    "../../../../x",
    "/..",
    "/../x",
    "/./x",
    "%2e",
    "%2E%2e/x",
    ".%2e/",
    "%2e./a",
    "a/%2e%2E",
    "..%2f",
    ".../x",
    "x/./../y/.",
    "/a/b/../../..",
    // Other shapes of relative links.
    "",
    " ",
    "?",
    "?q",
    "?q#f",
    "#",
    "#f",
    "#f?g",
    "a#f",
    "a?b#c",
    "?a b",
    "a b",
    "//host",
    "//host/p",
    "///x",
    "//h:8080/../y",
    "\\",
    "\\x",
    "a\\b",
    "\\\\h\\s",
    "/\\h",
    // White space and controls of the page source.
    "\ta.zip",
    "a.zip\n",
    "a\tb",
    "a\nb",
    "a\rb",
    " a ",
    std::string("a\0b", 3),
    "a\x7f",
    "a\x01",
    "a\"b",
    "a<b>",
    "a`b",
    "a{b}",
    "a^b",
    "a|b",
    "?a'b",
    "?a\"b",
    "?a<b",
    "?`",
    // Schemes, in any case, with and without a host, and ports.
    "javascript:void(0)",
    "JavaScript:x",
    "mailto:a@b",
    "data:text/plain,x",
    "http:",
    "http:x",
    "HTTP:x",
    "https:x",
    "http://Other.Example:80/a",
    "https://h:443/",
    "http://h:0x/",
    "http://h:65536/",
    "ftp://h/a/../b",
    "ws://h/x",
    "a:b",
    "a1+-.:x",
    "1a:b",
    "c:\\dir\\f",
    "x:/y",
    ":x",
    "/x:y",
    "?x:y",
};

TEST(PlainLinkReading, AgreesWithTheFullReadingOfWebUrls) {
  int taken = 0;
  for (const std::string& baseText : kBases) {
    const std::optional<WebUrl> base = ParseWebUrl(baseText, nullptr);
    if (!base) continue;
    const PlainLinkBase plain(*base);
    for (const std::string& link : kLinks) {
      SCOPED_TRACE("base: " + baseText + "  link: " + link);
      std::string quick = "left from the link before";
      if (!ResolvePlainLink(plain, link, quick)) {
        EXPECT_EQ(quick, "left from the link before");
        continue;
      }
      ++taken;
      const std::optional<WebUrl> full = ParseWebUrl(link, &*base);
      ASSERT_TRUE(full.has_value());
      EXPECT_EQ(quick, full->Href());
    }
  }
  // The quick reading does take the links it was made for.
  EXPECT_GT(taken, 150);
}

TEST(PlainLinkReading, PageResolverGivesWhatCombineUrlGives) {
  for (const std::string& baseText : kBases) {
    const LinkResolver resolver(baseText);
    std::string out = "left from the link before";
    for (const std::string& link : kLinks) {
      SCOPED_TRACE("base: " + baseText + "  link: " + link);
      const std::string combined = CombineUrl(baseText, link);
      // `out` carries the link before's URL in: each link is resolved alone.
      if (resolver.Resolve(link, out)) {
        EXPECT_EQ(out, combined);
      } else {
        EXPECT_EQ(combined, "");
      }
    }
  }
}

TEST(PlainLinkReading, OverlongResultsAreRefusedByBothPaths) {
  const std::string base = "http://example.org/" + std::string(2000, 'd') + "/p.html";
  const LinkResolver resolver(base);
  for (const size_t length : {20u, 28u, 29u, 30u, 60u}) {
    const std::string link(length, 'f');
    std::string out;
    const bool found = resolver.Resolve(link, out);
    EXPECT_EQ(found ? out : std::string(), CombineUrl(base, link)) << length;
  }
  // Just below and just above the bound, so both outcomes are seen.
  std::string out;
  EXPECT_TRUE(resolver.Resolve(std::string(20, 'f'), out));
  EXPECT_FALSE(resolver.Resolve(std::string(60, 'f'), out));
}

}  // namespace
}  // namespace vendil
