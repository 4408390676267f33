// Whole crawls against a site served on loopback: depth, the rows, the URL filter,
// redirects and the follow rules they meet, failures, Stop, and the status texts. (Which
// tags each bit reads, and the follow rules alone: the parse and crawl-rule tests.)
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "crawl/crawl_links.h"
#include "integration/crawl_fixture.h"
#include "state/form1.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/search_once.h"

namespace vendil {
namespace {

using test::A;
using test::Html;

class IntegrationCrawl : public test::CrawlFixture {
 protected:
  // A chain index -> l1 -> l2 -> l3, each page with one zip of its own.
  void ServeChain() {
    site.Page("/index.html", Html(A("l1.html") + A("a0.zip")));
    site.Page("/l1.html", Html(A("l2.html") + A("a1.zip")));
    site.Page("/l2.html", Html(A("l3.html") + A("a2.zip")));
    site.Page("/l3.html", Html(A("a3.zip")));
  }
};

TEST_F(IntegrationCrawl, DepthLimitReadsLevelsUpToTheLimit) {
  ServeChain();
  struct Case {
    std::string depth;
    std::vector<std::string> zips;
  };
  const std::vector<Case> cases = {
      // How the field's text reads as a number: DepthValue.ReadsTheNumberAtTheStartOfTheText.
      {"0", {"/a0.zip"}},
      {"1", {"/a0.zip", "/a1.zip"}},
      {"1.5", {"/a0.zip", "/a1.zip", "/a2.zip"}},  // rounds to 2
      {" 3 ", {"/a0.zip", "/a1.zip", "/a2.zip", "/a3.zip"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("depth '" + c.depth + "'");
    form.lvwUrls.Clear();
    ASSERT_TRUE(Crawl("/index.html", c.depth));
    std::vector<std::string> zips;
    for (const auto& u : Urls()) {
      if (u.size() > 4 && u.substr(u.size() - 4) == ".zip") zips.push_back(u);
    }
    std::vector<std::string> expected;
    for (const auto& z : c.zips) expected.push_back(site.Url(z));
    EXPECT_EQ(zips, expected);
  }
}

TEST_F(IntegrationCrawl, RowsCarryDepthRefererTitleAndTheFinalCount) {
  ServeChain();
  site.Page("/l1.html", Html(A("l2.html") + A("a1.zip", " <b>One</b>\r\n file ") + A("x.txt")));
  ASSERT_TRUE(Crawl("/index.html", "1"));
  const LinkRow* a0 = RowFor("/a0.zip");
  const LinkRow* a1 = RowFor("/a1.zip");
  ASSERT_TRUE(a0 && a1);
  EXPECT_EQ(a0->Depth, "0");
  EXPECT_EQ(a1->Depth, "1");
  EXPECT_EQ(a0->Referer, site.Url("/index.html"));
  EXPECT_EQ(a1->Referer, site.Url("/l1.html"));
  EXPECT_EQ(a1->Title, "One file");
  EXPECT_EQ(a1->FileName, "a1.zip");
  EXPECT_TRUE(a1->DownloadFolder.empty());
  EXPECT_TRUE(a1->Checked);
  EXPECT_FALSE(RowFor("/x.txt")->Checked);
  // Rows: l1.html, a0.zip, l2.html, a1.zip, x.txt; the two zips match the mask.
  EXPECT_EQ(form.StatusText(), "2/5 個のリンクが見つかりました。");
}

TEST_F(IntegrationCrawl, FileNamesAreDecodedWhereThatGivesTextAndUrlsStayEncoded) {
  site.Page("/index.html", Html(A("with%20space.zip") + A("up%2F..%2Fx.zip")));
  ASSERT_TRUE(Crawl("/index.html", "0"));
  ASSERT_EQ(form.lvwUrls.Count(), 2u);
  EXPECT_EQ(RowFor("/with%20space.zip")->FileName, "with space.zip");
  // No longer one file name once decoded: shown as the URL has it (more in DecodedFileName).
  EXPECT_EQ(RowFor("/up%2F..%2Fx.zip")->FileName, "up%2F..%2Fx.zip");
}

TEST_F(IntegrationCrawl, EachPageIsRequestedWithItsOwnUrlAsReferer) {
  std::vector<std::string> referers;
  std::mutex m;
  site.Handle("/index.html", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(m);
    referers.push_back(req.get_header_value("Referer"));
    res.set_content(Html(A("l1.html")), "text/html");
  });
  site.Handle("/l1.html", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard<std::mutex> lock(m);
    referers.push_back(req.get_header_value("Referer"));
    EXPECT_EQ(req.get_header_value("User-Agent"), "Mozilla/4.0 (compatible; test)");
    res.set_content(Html(""), "text/html");
  });
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_EQ(referers, (std::vector<std::string>{site.Url("/index.html"), site.Url("/l1.html")}));
}

TEST_F(IntegrationCrawl, UrlFilterLimitsWhatIsFollowedNotWhatIsListed) {
  site.Page("/index.html", Html(A("a.html") + A("b.htm") + A("c.zip")));
  site.Page("/a.html", Html(A("deep.zip")));
  site.Page("/b.htm", Html(A("never.zip")));
  form.txtGetUrls.SetText("*.HTML");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_EQ(site.TimesRequested("/a.html"), 1);
  EXPECT_EQ(site.TimesRequested("/b.htm"), 0);
  EXPECT_EQ(site.TimesRequested("/c.zip"), 0);
  EXPECT_NE(RowFor("/c.zip"), nullptr);
  EXPECT_NE(RowFor("/b.htm"), nullptr);
  EXPECT_NE(RowFor("/deep.zip"), nullptr);
}

TEST_F(IntegrationCrawl, RedirectedPageResolvesAgainstTheUrlFinallyRead) {
  site.Handle("/old/start.html", [&](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(site.Url("/new/start.html"));
  });
  site.Page("/new/start.html", Html(A("file.zip")));
  ASSERT_TRUE(Crawl("/old/start.html", "0"));
  ASSERT_EQ(Urls(), std::vector<std::string>{site.Url("/new/file.zip")});
  EXPECT_EQ(form.lvwUrls.Row(1).Referer, site.Url("/old/start.html"));
}

TEST_F(IntegrationCrawl, RedirectsMetDuringTheCrawlObeyTheServerAndFolderRules) {
  test::HttpTestServer other;
  other.Page("/away.html", Html(A("away.zip")));
  const std::string otherPort = std::to_string(other.Port());
  form.Inet1.SetConnectTo({"other.test:" + otherPort + ":127.0.0.1:" + otherPort});
  auto redirect = [&](const std::string& from, const std::string& to) {
    site.Handle(from,
                [to](const httplib::Request&, httplib::Response& res) { res.set_redirect(to); });
  };
  site.Page("/dir/index.html", Html(A("off.html") + A("up.html") + A("in.html")));
  redirect("/dir/off.html", "http://other.test:" + otherPort + "/away.html");
  redirect("/dir/up.html", site.Url("/top.html"));
  redirect("/dir/in.html", site.Url("/dir/sub/in.html"));
  site.Page("/top.html", Html(A("top.zip")));
  site.Page("/dir/sub/in.html", Html(A("in.zip")));

  // Judged as links to the places they lead would be: not read, their links not listed,
  // and nothing at all sent to the other server or the upper folder.
  ASSERT_TRUE(Crawl("/dir/index.html", "1"));
  EXPECT_TRUE(Listed("/dir/sub/in.zip"));
  EXPECT_FALSE(Listed("/top.zip"));
  EXPECT_EQ(RowWithUrl("http://other.test:" + otherPort + "/away.zip"), nullptr);
  EXPECT_EQ(form.StatusText(), "1/4 個のリンクが見つかりました。");
  EXPECT_EQ(other.TimesRequested("/away.html"), 0);
  EXPECT_EQ(site.TimesRequested("/top.html"), 0);

  form.lvwUrls.Clear();
  form.mnuOption_DifferentServer.SetChecked(true);
  ASSERT_TRUE(Crawl("/dir/index.html", "1"));
  EXPECT_NE(RowWithUrl("http://other.test:" + otherPort + "/away.zip"), nullptr);
  EXPECT_FALSE(Listed("/top.zip"));

  form.lvwUrls.Clear();
  form.mnuOption_DifferentServer.SetChecked(false);
  form.mnuOption_ParentDirectory.SetChecked(true);
  ASSERT_TRUE(Crawl("/dir/index.html", "1"));
  EXPECT_TRUE(Listed("/top.zip"));
  EXPECT_EQ(RowWithUrl("http://other.test:" + otherPort + "/away.zip"), nullptr);
}

TEST_F(IntegrationCrawl, EveryHopOfARedirectChainIsJudgedBeforeItIsRequested) {
  test::HttpTestServer other;
  other.Page("/away.html", Html(A("away.zip")));
  const std::string otherPort = std::to_string(other.Port());
  form.Inet1.SetConnectTo({"other.test:" + otherPort + ":127.0.0.1:" + otherPort});
  auto redirect = [&](const std::string& from, const std::string& to) {
    site.Handle(from,
                [to](const httplib::Request&, httplib::Response& res) { res.set_redirect(to); });
  };
  // Two hops inside the folder, then one to the other server: the first two are made, the
  // third is refused before it is sent.
  site.Page("/dir/index.html", Html(A("a.html") + A("loop.html")));
  redirect("/dir/a.html", "b.html");
  redirect("/dir/b.html", "sub\\c.html");
  redirect("/dir/sub/c.html", "http://other.test:" + otherPort + "/away.html");
  // A chain that never ends stops after ten redirects.
  redirect("/dir/loop.html", "loop.html");
  ASSERT_TRUE(Crawl("/dir/index.html", "1"));
  EXPECT_EQ(site.TimesRequested("/dir/b.html"), 1);
  EXPECT_EQ(site.TimesRequested("/dir/sub/c.html"), 1);
  EXPECT_EQ(other.TimesRequested("/away.html"), 0);
  EXPECT_EQ(RowWithUrl("http://other.test:" + otherPort + "/away.zip"), nullptr);
  EXPECT_GE(site.TimesRequested("/dir/loop.html"), 11);
  EXPECT_LE(site.TimesRequested("/dir/loop.html"), 11 * 6);  // each attempt at most 11

  // The start page's own redirect is followed wherever it leads, and sets the base.
  form.lvwUrls.Clear();
  form.txtUrl.SetText(site.Url("/dir/index.html"));
  redirect("/start.html", "http://other.test:" + otherPort + "/away.html");
  form.txtUrl.SetText(site.Url("/start.html"));
  form.txtDepth.SetText("0");
  ASSERT_TRUE(test::CrawlOnce(form));
  EXPECT_EQ(Urls(), std::vector<std::string>{"http://other.test:" + otherPort + "/away.zip"});
}

TEST_F(IntegrationCrawl, LinksAreListedAndRequestedAsABrowserReadsThem) {
  site.Page("/d/index.html",
            Html(A("sub\\a.html") + A("%2e%2e/d/b.html") + A("http:c.html") +
                 A("HTTP://127.0.0.1:" + std::to_string(site.Port()) + "/d/./x/../q.html?a='1'") +
                 A("http://a b/bad.zip") + A("http://127.0.0.1:99999/bad.zip") +
                 A("  \t/d/sp ace.zip\n") +
                 A("http://0x7f.1:" + std::to_string(site.Port()) + "/d/v.html")));
  site.Page("/d/sub/a.html", Html(A("a.zip")));
  site.Page("/d/b.html", Html(A("b.zip")));
  site.Page("/d/c.html", Html(A("c.zip")));
  site.Page("/d/q.html", Html(A("q.zip")));
  site.Page("/d/v.html", Html(""));
  ASSERT_TRUE(Crawl("/d/index.html", "1"));
  const std::vector<std::string> expected = {
      site.Url("/d/sub/a.html"),   site.Url("/d/b.html"),
      site.Url("/d/c.html"),       site.Url("/d/q.html?a=%271%27"),
      site.Url("/d/sp%20ace.zip"), site.Url("/d/v.html"),
      site.Url("/d/sub/a.zip"),    site.Url("/d/b.zip"),
      site.Url("/d/c.zip"),        site.Url("/d/q.zip")};
  EXPECT_EQ(Urls(), expected);
  // Each page was requested once, by the path a browser sends.
  for (const char* path : {"/d/sub/a.html", "/d/b.html", "/d/c.html", "/d/q.html", "/d/v.html"})
    EXPECT_EQ(site.TimesRequested(path), 1) << path;
}

TEST_F(IntegrationCrawl, FailedStartPageEndsWithZeroCount) {
  form.txtContentType.SetText("text/plain");
  site.Page("/index.html", Html(A("a.zip")));
  EXPECT_TRUE(Crawl("/index.html", "3"));
  EXPECT_EQ(form.lvwUrls.Count(), 0u);
  EXPECT_EQ(form.StatusText(), "0/0 個のリンクが見つかりました。");
  bool sawFailure = false;
  for (const auto& s : ui.statuses) sawFailure |= s == "ページの取得に失敗しました。";
  EXPECT_TRUE(sawFailure);
}

TEST_F(IntegrationCrawl, StartUrlIsCleanedAndWrittenBack) {
  site.Page("/index.html", Html(A("a.zip")));
  form.txtUrl.SetText("  " + site.Url("/ind") + "\r\n" + "ex.html  ");
  form.txtDepth.SetText("0");
  ASSERT_TRUE(test::CrawlOnce(form));
  EXPECT_EQ(form.txtUrl.Text(), site.Url("/index.html"));
  EXPECT_EQ(form.lvwUrls.Count(), 1u);
}

TEST_F(IntegrationCrawl, StopDuringAFetchEndsAfterThatFetch) {
  ServeChain();
  site.Handle("/l1.html", [&](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    res.set_content(Html(A("l2.html") + A("a1.zip")), "text/html");
  });
  ui.OnYield([&] { return site.TimesRequested("/l1.html") > 0; }, [&] { form.m_blnStop = true; });
  EXPECT_FALSE(Crawl("/index.html", "3"));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  EXPECT_EQ(RowFor("/a1.zip"), nullptr);  // the stopped page's links are not handled
  EXPECT_NE(RowFor("/a0.zip"), nullptr);
  EXPECT_EQ(site.TimesRequested("/l2.html"), 0);
}

TEST_F(IntegrationCrawl, HugeBinaryLinkIsNotDownloaded) {
  // Shared with the server thread, which may still be in the provider after the test body
  // has returned.
  auto sent = std::make_shared<std::atomic<size_t>>(0);
  site.Handle("/big.zip", [sent](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(size_t{1} << 30, "application/zip",
                             [sent](size_t offset, size_t length, httplib::DataSink& sink) {
                               static const std::string block(64 * 1024, 'x');
                               const size_t n = std::min(length, block.size());
                               *sent += n;
                               (void)offset;
                               return sink.write(block.data(), n);
                             });
  });
  site.Page("/index.html", Html(A("big.zip")));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_LT(sent->load(), size_t{64} << 20);
  EXPECT_EQ(form.StatusText(), "1/1 個のリンクが見つかりました。");
}

TEST_F(IntegrationCrawl, MalformedAndEnormousPagesAreSurvived) {
  std::string junk;
  for (int i = 0; i < 200000; ++i) junk += "<a href=\"x" + std::to_string(i % 7) + ".zip\"<<>";
  site.Page("/junk.html", junk + "<a href='");
  site.Page("/index.html", Html(A("junk.html")));
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_GE(form.lvwUrls.Count(), 1u);
}

}  // namespace
}  // namespace vendil
