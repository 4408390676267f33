// The record of links a search did not read: every rule that drops a link, over a site built
// to meet each one; the bound; and which searches the window and the command line are shown.
#include <string>
#include <tuple>
#include <vector>

#include "commands/main_commands.h"
#include "integration/crawl_fixture.h"
#include "support/refusing_port.h"

namespace vendil::test {
namespace {

using Entry = std::tuple<std::string, std::string, std::string>;  // link, referer, reason

std::vector<Entry> Entries(const SkippedLinks& record) {
  std::vector<Entry> entries;
  for (size_t i = 0; i < record.Count(); ++i) {
    const SkippedLink e = record.At(i);
    entries.emplace_back(e.link, e.referer, SkipReasonWords(e));
  }
  return entries;
}

using SkippedLinksCrawl = CrawlFixture;

TEST_F(SkippedLinksCrawl, EveryRuleThatDropsALinkIsRecordedWithItsReferer) {
  RefusingPort refusing;
  const std::string dead = refusing.Url("/a/dead.html");
  const std::string otherServer = "http://localhost:" + std::to_string(site.Port()) + "/a/x.html";
  site.Page("/a/index.html",
            Html(A("page.html") + A("page.html#part") + A("notes.txt") + A("../up.html") +
                 A(otherServer) + A("file.zip") + A("move.html") + A(dead) + A("missing.html")));
  site.Page("/a/page.html", Html(A("deep.html#x") + A("index.html")));
  site.Page("/a/file.zip", "PK", "application/zip");
  site.Handle("/a/move.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/up/target.html");
  });
  form.txtGetUrls.SetText("*.html;*.zip");

  ASSERT_TRUE(Crawl("/a/index.html", "1"));
  const std::string index = site.Url("/a/index.html"), page = site.Url("/a/page.html");
  std::vector<Entry> entries = Entries(lastRun->skipped);
  // The error is the network library's text; that there is one is what counts.
  for (Entry& e : entries) {
    if (std::get<0>(e) == dead && std::get<2>(e).rfind("fetch-failed ", 0) == 0)
      std::get<2>(e) = "fetch-failed";
  }
  const std::vector<Entry> expected = {
      {page + "#part", index, "already-queued"},
      {site.Url("/a/notes.txt"), index, "url-filter"},
      {site.Url("/up.html"), index, "upper-folder"},
      {otherServer, index, "other-server"},
      {site.Url("/a/deep.html#x"), page, "depth"},
      {index, page, "depth"},
      {site.Url("/a/file.zip"), index, "content-type application/zip"},
      {site.Url("/a/move.html"), index, "redirect-refused " + site.Url("/up/target.html")},
      {dead, index, "fetch-failed"},
  };
  EXPECT_EQ(entries, expected);
  // A 404 with a body is a page: read, not recorded.
  EXPECT_EQ(site.TimesRequested("/a/missing.html"), 1);
  EXPECT_EQ(lastRun->skipped.NotKept(), 0u);
  EXPECT_EQ(SkipReasonText(lastRun->skipped.At(6)), "種類を除外 (application/zip)");
}

TEST_F(SkippedLinksCrawl, AStartPageThatCannotBeReadIsRecordedWithoutReferer) {
  RefusingPort refusing;
  form.txtUrl.SetText(refusing.Url("/"));
  SearchRun run(form);
  EXPECT_TRUE(CrawlLinks(run));
  ASSERT_EQ(run.skipped.Count(), 1u);
  EXPECT_EQ(run.skipped.At(0).link, form.txtUrl.Text());
  EXPECT_EQ(run.skipped.At(0).referer, "");
  EXPECT_EQ(run.skipped.At(0).reason, SkipReason::kFetchFailed);
  EXPECT_FALSE(run.skipped.At(0).detail.empty());
}

TEST_F(SkippedLinksCrawl, PastTheBoundOnlyACountIsKept) {
  std::string body;
  const size_t links = SkippedLinks::kDefaultBound + 7;
  body.reserve(links * 16);
  for (size_t i = 0; i < links; ++i) body += "<a href=f" + std::to_string(i) + ">";
  // A type the test server does not compress: compressing the page would take most of the
  // test's time.
  site.Page("/index.html", body, "application/octet-stream");
  form.txtContentType.SetText("application/octet-stream");
  ASSERT_TRUE(Crawl("/index.html", "0"));
  const SkippedLinks& record = lastRun->skipped;
  ASSERT_EQ(record.Count(), SkippedLinks::kDefaultBound);
  EXPECT_EQ(record.NotKept(), 7u);
  EXPECT_EQ(record.At(0).link, site.Url("/f0"));
  EXPECT_EQ(record.At(record.Count() - 1).link,
            site.Url("/f" + std::to_string(SkippedLinks::kDefaultBound - 1)));
  EXPECT_EQ(record.At(record.Count() - 1).referer, site.Url("/index.html"));
}

TEST(SkippedLinksRecord, AppendKeepsTheBoundAndEachEntrysReferer) {
  SkippedLinks first(3), second;
  first.Add("a", "p1", SkipReason::kDepth);
  first.Add("b", "p1", SkipReason::kUrlFilter);
  second.Add("c", "p2", SkipReason::kFetchFailed, "Timeout was reached");
  second.Add("d", "p2", SkipReason::kDepth);
  second.Add("e", "p3", SkipReason::kDepth);
  first.Append(second);
  EXPECT_EQ(first.Count(), 3u);
  EXPECT_EQ(first.NotKept(), 2u);
  EXPECT_EQ(first.At(1).referer, "p1");
  EXPECT_EQ(first.At(2).referer, "p2");
  EXPECT_EQ(SkipReasonWords(first.At(2)), "fetch-failed Timeout was reached");
  EXPECT_EQ(SkipReasonText(first.At(2)), "取得に失敗 (Timeout was reached)");
}

// The commands keep what their searches skipped: all URLs of one command, none of the last.
TEST_F(SkippedLinksCrawl, ACommandKeepsWhatItsSearchesSkippedUntilTheNextOne) {
  site.Page("/one.html", Html(A("x.zip")));
  site.Page("/two.html", Html(A("y.zip")));
  EXPECT_TRUE(form.skippedLinks->Empty());
  SearchUrlLines(form, site.Url("/one.html") + "\r\n" + site.Url("/two.html") + "\r\n");
  const auto several = form.skippedLinks;
  EXPECT_EQ(Entries(*several),
            (std::vector<Entry>{{site.Url("/x.zip"), site.Url("/one.html"), "depth"},
                                {site.Url("/y.zip"), site.Url("/two.html"), "depth"}}));
  form.txtUrl.SetText(site.Url("/two.html"));
  SearchTypedUrl(form);
  EXPECT_EQ(form.skippedLinks->Count(), 1u);
  EXPECT_EQ(several->Count(), 2u);  // one taken before is left as it was
}

}  // namespace
}  // namespace vendil::test
