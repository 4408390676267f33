// Stop and the bound of one page against a server that streams without end: Stop ends the
// crawl while such a page arrives, a page longer than the bound is read that far and the
// crawl goes on, and a Stop pressed after the last wait of a crawl is not lost.
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "integration/crawl_fixture.h"
#include "net/fetch_page.h"

namespace vendil::test {
namespace {

class StopStream : public CrawlFixture {
 protected:
  // /endless/N streams a page that never ends, each block naming file N.zip and the next
  // endless page, so a crawl deep enough never ends by itself.
  void ServeEndless() {
    auto sent = sent_;
    site.Handle("/index.html", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Html(A("a.zip") + A("endless/1")), "text/html");
    });
    for (int n = 1; n <= 8; ++n) {
      const std::string path = "/endless/" + std::to_string(n);
      const std::string block =
          A(std::to_string(n) + ".zip") + A(std::to_string(n + 1)) + std::string(16 * 1024, ' ');
      site.Handle(path, [sent, block](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "text/html", [sent, block](size_t, httplib::DataSink& sink) {
              *sent += block.size();
              return sink.write(block.data(), block.size());  // false once the reader is gone
            });
      });
    }
  }
  // Shared with the server threads, which may outlive the test body.
  std::shared_ptr<std::atomic<size_t>> sent_ = std::make_shared<std::atomic<size_t>>(0);
};

TEST_F(StopStream, StopWhileAnEndlessPageStreamsEndsTheCrawlWithTheRowsSoFar) {
  ServeEndless();
  ui.OnYield([this] { return *sent_ > (size_t{4} << 20); }, [this] { form.m_blnStop = true; });
  EXPECT_FALSE(Crawl("/index.html", "100"));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  EXPECT_NE(RowFor("/a.zip"), nullptr);
  EXPECT_NE(RowFor("/endless/1"), nullptr);
}

TEST_F(StopStream, APageLongerThanTheBoundIsReadThatFarAndSaysSo) {
  form.Inet1.SetMaxBodyBytes(size_t{1} << 20);
  ServeEndless();
  // The endless pages cut at the bound still give their links; Stop ends the chain.
  ui.OnYield([this] { return RowFor("/endless/3") != nullptr; }, [this] { form.m_blnStop = true; });
  EXPECT_FALSE(Crawl("/index.html", "100"));
  const std::string cut = PageCutText(site.Url("/endless/1"), size_t{1} << 20);
  EXPECT_EQ(cut,
            "ページが大きすぎるため、先頭の 1 MiB だけを読みました: " + site.Url("/endless/1"));
  EXPECT_NE(std::find(ui.statuses.begin(), ui.statuses.end(), cut), ui.statuses.end());
  EXPECT_NE(RowFor("/endless/1.zip"), nullptr);
  EXPECT_NE(RowFor("/endless/2.zip"), nullptr);
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
}

TEST_F(StopStream, StopPressedAfterTheLastPageArrivedIsNotLost) {
  // One page of many links and nothing to follow: the crawl has no further wait in which a
  // Stop would be seen.
  std::string body;
  for (int i = 0; i < 20000; ++i) body += A("f" + std::to_string(i) + ".zip");
  site.Page("/index.html", Html(body));
  ui.OnYield([this] { return lastRun && !lastRun->m_strHtml.empty(); },
             [this] { form.m_blnStop = true; });
  EXPECT_FALSE(Crawl("/index.html", "0"));
  EXPECT_EQ(form.StatusText(), "キャンセルされました。");
  // Rows found before Stop stay; the rest of the page is not handled.
  EXPECT_LT(form.lvwUrls.Count(), 20000u);
}

TEST_F(StopStream, ALongShiftJisPageIsDecodedAsAWhole) {
  // Read in pieces between looks at Stop, the text still comes out as one decoding gives it.
  const std::string photo = "\x8e\xca\x90\x5e";  // "写真" in Shift_JIS
  std::string body = "<html><body>\n";
  while (body.size() < (size_t{3} << 20)) body += "<p>" + photo + " " + photo + "</p>\n";
  body += "<a href=\"last.zip\">" + photo + "</a></body></html>";
  site.Page("/index.html", body, "text/html; charset=Shift_JIS");
  ASSERT_TRUE(Crawl("/index.html", "0"));
  ASSERT_NE(RowFor("/last.zip"), nullptr);
  EXPECT_EQ(RowFor("/last.zip")->Title, "写真");
  EXPECT_NE(lastRun->m_strHtml.find("<p>写真 写真</p>\n<p>写真"), std::string::npos);
}

}  // namespace
}  // namespace vendil::test
