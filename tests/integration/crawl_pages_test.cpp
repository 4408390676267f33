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

}  // namespace
}  // namespace vendil
