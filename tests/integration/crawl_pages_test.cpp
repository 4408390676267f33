// Whole crawls of pages written as real sites write them: quoting and character references
// in links and titles, fragments, and pages that try to flood the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "integration/crawl_fixture.h"

namespace vendil {
namespace {

using test::A;
using test::Html;

class IntegrationCrawlPages : public test::CrawlFixture {};

TEST_F(IntegrationCrawlPages, QuotingAndReferencesGiveTheUrlsAndTitlesThePageShows) {
  site.Page("/docs/index.html",
            Html("<a href='about.html'>About</a>\n"
                 "<a href=\"man.cgi?section=5&amp;topic=mbox\">Methods &amp; Slots</a>\n"
                 "<a href= ' spaced.zip '>&lt;zip&gt; &#x263A;</a>\n"
                 "<img src=pic.gif?a=1&amp;b=2 alt='A &quot;pic&quot;'>"));
  site.Page("/docs/about.html", Html(A("deep.zip")));
  form.m_lngSearchTags = 9;
  ASSERT_TRUE(Crawl("/docs/index.html", "1"));
  EXPECT_EQ(Urls(),
            (std::vector<std::string>{
                site.Url("/docs/about.html"), site.Url("/docs/man.cgi?section=5&topic=mbox"),
                site.Url("/docs/spaced.zip"), site.Url("/docs/pic.gif?a=1&b=2"),
                site.Url("/docs/deep.zip")}));
  EXPECT_EQ(RowFor("/docs/man.cgi?section=5&topic=mbox")->Title, "Methods & Slots");
  EXPECT_EQ(RowFor("/docs/spaced.zip")->Title, "<zip> \u263A");
  EXPECT_EQ(RowFor("/docs/pic.gif?a=1&b=2")->Title, "A \"pic\"");
  EXPECT_EQ(site.TimesRequested("/docs/man.cgi"), 1);
}

TEST_F(IntegrationCrawlPages, FragmentsMakeNeitherRowsNorFetches) {
  site.Page("/d/index.html", Html(A("page.html#intro") + A("page.html#usage") + A("#top") +
                                  A("f.zip#x") + A("f.zip") + A("moved.html") + "<base href='" +
                                  site.Url("/d/sub/#frag") + "'>" + A("g.zip#y") + A("#z")));
  site.Page("/d/page.html", Html(A("index.html#again") + A("page.html#self")));
  site.Handle("/d/moved.html", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(site.Url("/d/new/target.html#sec"));
  });
  site.Page("/d/new/target.html", Html(A("t.zip#a") + A("t.zip#b")));
  ASSERT_TRUE(Crawl("/d/index.html", "2"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/d/page.html"), site.Url("/d/index.html"),
                                              site.Url("/d/f.zip"), site.Url("/d/moved.html"),
                                              site.Url("/d/sub/g.zip"), site.Url("/d/sub/"),
                                              site.Url("/d/new/t.zip")}));
  EXPECT_EQ(site.TimesRequested("/d/page.html"), 1);
  EXPECT_EQ(site.TimesRequested("/d/moved.html"), 1);
  EXPECT_EQ(site.TimesRequested("/d/new/target.html"), 1);
  // The start URL is no key of the queue: a link back to it reads it once more.
  EXPECT_EQ(site.TimesRequested("/d/index.html"), 2);
  EXPECT_EQ(RowFor("/d/new/t.zip")->Referer, site.Url("/d/moved.html"));
}

TEST_F(IntegrationCrawlPages, AUtf8PageWhoseMetaClaimsUtf16KeepsItsLinks) {
  site.Page("/index.html",
            "<html><head><meta charset=\"utf-16\"><meta charset=\"euc-jp\"></head><body>" +
                A("a.zip", "日本語の書庫") + "</body></html>");
  ASSERT_TRUE(Crawl("/index.html", "0"));
  ASSERT_EQ(Urls(), std::vector<std::string>{site.Url("/a.zip")});
  EXPECT_EQ(form.lvwUrls.Row(1).Title, "日本語の書庫");
}

TEST_F(IntegrationCrawlPages, ControlCharactersInLinksArePercentEncoded) {
  site.Page("/index.html", Html("<a href=\"a" + std::string(1, '\0') + "b.zip\">A" +
                                std::string(1, '\0') + "</a><a href='c\x01.zip'>C</a>"));
  ASSERT_TRUE(Crawl("/index.html", "0"));
  EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/a%00b.zip"), site.Url("/c%01.zip")}));
  EXPECT_EQ(form.lvwUrls.Row(1).FileName, "a%00b.zip");
  EXPECT_EQ(form.lvwUrls.Row(1).Title, "A ");
}

}  // namespace
}  // namespace vendil
