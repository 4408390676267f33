// Whole crawls for the rarer settings: custom tags, the content-type filter, links sent in
// the page's charset, a server that never answers and one that stalls until Stop.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "crawl/crawl_links.h"
#include "integration/crawl_fixture.h"
#include "net/raw_tcp_server.h"
#include "platform/codec.h"
#include "state/form1.h"
#include "support/briefcase_stand_in.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/search_once.h"

namespace vendil {
namespace {

using test::A;

class IntegrationCrawlEdges : public test::CrawlFixture {
 protected:
  // Each crawl here starts from an empty list.
  bool Crawl(const std::string& path, const std::string& depth) {
    form.lvwUrls.Clear();
    return CrawlFixture::Crawl(path, depth);
  }
};

TEST_F(IntegrationCrawlEdges, CustomTagsAreReadOnlyWithTheirBit) {
  site.Page("/index.html", "<html><body><embed src=\"movie.zip\"><object data=\"obj.zip\">" +
                               A("plain.zip") + "</body></html>");
  form.m_strCustomTags = " EMBED SRC;object data ;; broken ";
  form.m_lngSearchTags = 1;
  ASSERT_TRUE(Crawl("/index.html", "0"));
  EXPECT_TRUE(Listed("/plain.zip"));
  EXPECT_FALSE(Listed("/movie.zip"));

  form.m_lngSearchTags = 1 | 32;
  ASSERT_TRUE(Crawl("/index.html", "0"));
  EXPECT_TRUE(Listed("/plain.zip"));
  EXPECT_TRUE(Listed("/movie.zip"));
  EXPECT_TRUE(Listed("/obj.zip"));
}

TEST_F(IntegrationCrawlEdges, ContentTypeFilterChoosesWhichPagesAreRead) {
  site.Page("/index.html", A("page.html") + A("notes.txt") + A("data.bin"));
  site.Page("/page.html", A("from-html.zip"));
  site.Page("/notes.txt", A("from-text.zip"), "text/plain");
  site.Page("/data.bin", A("from-binary.zip"), "application/octet-stream");

  // Which values the field accepts: FetchPageFilter.ContentTypeFilterRules.
  form.txtContentType.SetText("text/html*;application/*");
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_TRUE(Listed("/from-html.zip"));
  EXPECT_FALSE(Listed("/from-text.zip"));
  EXPECT_TRUE(Listed("/from-binary.zip"));
}

TEST_F(IntegrationCrawlEdges, NonAsciiLinksAreSentPercentEncodedInThePagesCharset) {
  test::HttpTestServer server;
  const std::string link = A("資料/一覧.html?q=検索");
  server.Page("/utf8.html", link, "text/html; charset=UTF-8");
  server.Page("/euc.html", test::Utf8ToEucJpForTest(link), "text/html; charset=EUC-JP");
  server.Page("/sjis.html", Utf8ToAnsi(link), "text/html");  // undeclared: the system code page
  const std::string path = "/%E8%B3%87%E6%96%99/%E4%B8%80%E8%A6%A7.html";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"/utf8.html", path + "?q=%E6%A4%9C%E7%B4%A2"},
      {"/euc.html", path + "?q=%B8%A1%BA%F7"},
      {"/sjis.html", path + "?q=%8C%9F%8D%F5"},
  };
  for (const auto& [page, target] : cases) {
    SCOPED_TRACE(page);
    server.ClearRequests();
    form.lvwUrls.Clear();
    form.txtUrl.SetText(server.Url(page));
    form.txtDepth.SetText("1");
    ASSERT_TRUE(test::CrawlOnce(form));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, target);
    // The list keeps the link as the page wrote it.
    EXPECT_NE(RowWithUrl(server.Url("/資料/一覧.html?q=検索")), nullptr);
  }
}

TEST_F(IntegrationCrawlEdges, ServerThatNeverAnswersIsGivenUpAndTheCrawlEnds) {
  site.Handle("/silent.html", [](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    res.set_content("<html></html>", "text/html");
  });
  site.Page("/index.html", A("silent.html") + A("after.html") + A("a.zip"));
  site.Page("/after.html", A("b.zip"));
  form.Inet1.SetTimeoutMilliseconds(200, 200);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Crawl("/index.html", "1"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  EXPECT_TRUE(Listed("/b.zip"));
  EXPECT_EQ(form.StatusText(), "2/4 個のリンクが見つかりました。");
}

TEST_F(IntegrationCrawlEdges, StopOnAStalledPageEndsTheCrawlAndKeepsItsRows) {
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n<a href=x.zip>";
  for (const test::RawReply& reply : {test::RawReply{"", true}, test::RawReply{head, true}}) {
    test::RawTcpServer stalled([reply](int) { return reply; });
    site.Page("/index.html", A("a.zip") + A(stalled.Url("/stalled.html")) + A("after.html"));
    site.Page("/after.html", A("b.zip"));
    ui.OnYield([&] { return stalled.Connections() > 0; }, [&] { form.m_blnStop = true; });
    EXPECT_FALSE(Crawl("/index.html", "1"));
    EXPECT_EQ(form.StatusText(), "キャンセルされました。");
    EXPECT_EQ(stalled.Connections(), 1);
    // Only the start page's rows: a page fetched ahead of the stop (after.html) adds none.
    EXPECT_EQ(Urls(), (std::vector<std::string>{site.Url("/a.zip"), stalled.Url("/stalled.html"),
                                                site.Url("/after.html")}));
  }
}

}  // namespace
}  // namespace vendil
