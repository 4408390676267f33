// Start and the several-URLs command over real crawls of a loopback site: one search at a
// time, an unreadable start page said as such, and the progress at the end.
#include <gtest/gtest.h>

#include <array>

#include "commands/main_commands.h"
#include "commands/new_links.h"
#include "commands/one_search.h"
#include "net/raw_tcp_server.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/loopback_proxy.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::HttpTestServer;

class IntegrationCrawlCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
    form.txtMask.SetText("*.zip");
    form.txtDepth.SetText("0");
    for (const char* name : {"/one.html", "/two.html", "/three.html"}) {
      site.Page(name, std::string("<a href=\"") + (name + 1) + ".zip\">f</a>");
    }
  }
  HttpTestServer site;
  FakeUi ui;
  Form1 form{ui};
};

TEST_F(IntegrationCrawlCommands, StartClearsTheListAndShowsTheStatus) {
  form.lvwUrls.AddLink("old.zip", "http://old/old.zip", "", "", "", "", 0);
  form.m_blnStop = true;
  form.m_blnMultiCheck = true;
  form.txtUrl.SetText(site.Url("/one.html"));
  StartSearch(form);
  ASSERT_EQ(form.lvwUrls.Count(), 1u);
  EXPECT_EQ(form.lvwUrls.Row(1).Url, site.Url("/one.html.zip"));
  EXPECT_TRUE(form.lvwUrls.Row(1).DownloadFolder.empty());  // the multi-check flag was cleared
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "1/1 個のリンクが見つかりました。");
  EXPECT_EQ(ui.messages[0].title, "Vendil");
  EXPECT_EQ(ui.messages[0].style, vb::OKOnly);
}

TEST_F(IntegrationCrawlCommands, SeveralUrlsTrimsLogsAndTakesHttpsLines) {
  // An https line is searched like an http one; here the loopback server speaks plain
  // HTTP, so its search fails, but it is searched and logged.
  const std::string https = "HTTPS://127.0.0.1:" + std::to_string(site.Port()) + "/two.html";
  ui.multiUrlAnswers.push_back("  " + site.Url("/one.html") + "  \r\nskip me\r\n" + https + "\r\n" +
                               "HTTP://127.0.0.1:" + std::to_string(site.Port()) + "/three.html");
  SearchSeveralUrls(form);
  ASSERT_EQ(ui.logs.size(), 1u);
  const std::string& log = ui.logs[0];
  EXPECT_EQ(log.find(site.Url("/one.html") + "\r\n>1/1 個のリンクが見つかりました。\r\n"), 0u);
  EXPECT_NE(log.find(https + "\r\n>"), std::string::npos);
  EXPECT_EQ(log.find("skip me"), std::string::npos);
  EXPECT_EQ(form.lvwUrls.Count(), 2u);  // one.html.zip and three.html.zip gather in one list
  EXPECT_EQ(form.txtUrl.Text(), "HTTP://127.0.0.1:" + std::to_string(site.Port()) + "/three.html");
}

TEST_F(IntegrationCrawlCommands, StopDuringTheSecondUrlLeavesTheThirdUnsearched) {
  ui.multiUrlAnswers.push_back(site.Url("/one.html") + "\r\n" + site.Url("/two.html") + "\r\n" +
                               site.Url("/three.html"));
  ui.OnYield([&] { return site.TimesRequested("/two.html") > 0; }, [&] { form.m_blnStop = true; });
  SearchSeveralUrls(form);
  EXPECT_EQ(site.TimesRequested("/three.html"), 0);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], site.Url("/one.html") + "\r\n>1/1 個のリンクが見つかりました。\r\n" +
                            site.Url("/two.html") + "\r\n>キャンセルされました。\r\n");
}

TEST_F(IntegrationCrawlCommands, InternetOptionsCountFromTheNextSearch) {
  test::LoopbackProxy proxy;
  form.internetOptions.proxyMode = InternetOptions::ProxyMode::Manual;
  form.internetOptions.proxyHost = "127.0.0.1";
  form.internetOptions.proxyPort = proxy.Port();
  form.txtUrl.SetText(site.Url("/one.html"));
  StartSearch(form);
  EXPECT_EQ(form.lvwUrls.Count(), 1u);
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "GET " + site.Url("/one.html") + " HTTP/1.1");

  form.internetOptions.proxyMode = InternetOptions::ProxyMode::None;
  StartSearch(form);
  EXPECT_EQ(form.lvwUrls.Count(), 1u);
  EXPECT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(site.TimesRequested("/one.html"), 2);
}

TEST_F(IntegrationCrawlCommands, ACommandThatWouldStartASecondSearchIsRefused) {
  form.txtUrl.SetText(site.Url("/one.html"));
  ui.multiUrlAnswers.push_back(site.Url("/two.html"));
  std::vector<std::string> statusWhenRefused;
  // While the first search waits for its page, every command that starts a search is tried.
  ui.OnYield([&] { return site.TimesRequested("/one.html") > 0; },
             [&] {
               StartSearch(form);
               statusWhenRefused.push_back(form.StatusText());
               SearchSeveralUrls(form);
               statusWhenRefused.push_back(form.StatusText());
               StartNewLinks(form);
               StartNewLinksList(form);
               statusWhenRefused.push_back(form.StatusText());
             });
  StartSearch(form);
  EXPECT_EQ(statusWhenRefused, std::vector<std::string>(3, kSearchRunningText));
  // None of them asked anything or searched: one finish box, with the first search's count.
  EXPECT_EQ(ui.multiUrlAnswers.size(), 1u);
  EXPECT_TRUE(ui.fileDialogs.empty());
  EXPECT_TRUE(ui.logs.empty());
  EXPECT_EQ(site.TimesRequested("/two.html"), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "1/1 個のリンクが見つかりました。");

  // Once it has ended, the next search runs.
  SearchSeveralUrls(form);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], site.Url("/two.html") + "\r\n>1/1 個のリンクが見つかりました。\r\n");
}

TEST_F(IntegrationCrawlCommands, AStartPageThatCannotBeReadIsSaidSo) {
  test::RawTcpServer dead([](int) { return test::RawReply{}; });  // closes every connection
  const std::string deadUrl = "http://127.0.0.1:" + std::to_string(dead.Port()) + "/index.html";
  for (const std::string& url :
       {deadUrl, std::string("javascript:alert(1)"), std::string("http://[invalid")}) {
    ui.messages.clear();
    form.txtUrl.SetText(url);
    StartSearch(form);
    ASSERT_EQ(ui.messages.size(), 1u) << url;
    EXPECT_EQ(ui.messages[0].text, "ページの取得に失敗しました。") << url;
    EXPECT_EQ(form.StatusText(), "ページの取得に失敗しました。") << url;
  }
  // In the log, for that URL only; the others count their links as before.
  ui.multiUrlAnswers.push_back(deadUrl + "\r\n" + site.Url("/one.html"));
  SearchSeveralUrls(form);
  ASSERT_EQ(ui.logs.size(), 1u);
  EXPECT_EQ(ui.logs[0], deadUrl + "\r\n>ページの取得に失敗しました。\r\n" + site.Url("/one.html") +
                            "\r\n>1/1 個のリンクが見つかりました。\r\n");
  // A page that is read but lists nothing is an empty page, not a failure.
  site.Page("/empty.html", "<p>nothing</p>");
  form.txtUrl.SetText(site.Url("/empty.html"));
  StartSearch(form);
  EXPECT_EQ(ui.messages.back().text, "0/0 個のリンクが見つかりました。");
}

// Records the progress the crawl reports.
class ProgressUi : public FakeUi {
 public:
  void Progress(int pagesRead, int pagesQueued, int rowsFound) override {
    reports.push_back({pagesRead, pagesQueued, rowsFound});
  }
  std::vector<std::array<int, 3>> reports;
};

TEST(IntegrationCrawlProgress, NothingIsLeftWhenASearchEnds) {
  HttpTestServer site;
  // Linked pages that fail or are refused by the content type (the last one queued) still
  // count as done.
  site.Page("/index.html",
            "<a href=\"ok.html\">1</a><a href=\"gone.html\">2</a><a href=\"data.bin\">3</a>");
  site.Page("/ok.html", "<a href=\"a.zip\">a</a>");
  site.Page("/data.bin", "xx", "application/octet-stream");
  ProgressUi ui;
  Form1 form(ui);
  form.userAgent = "User-Agent: Mozilla/4.0 (compatible; test)";
  form.txtDepth.SetText("1");
  form.txtContentType.SetText("text/html");
  form.txtUrl.SetText(site.Url("/index.html"));
  StartSearch(form);
  ASSERT_FALSE(ui.reports.empty());
  EXPECT_EQ(ui.reports.back()[1], 0);  // nothing left, though the last page was refused
  EXPECT_EQ(ui.reports.back()[2], static_cast<int>(form.lvwUrls.Count()));
  EXPECT_EQ(site.TimesRequested("/gone.html"), 1);
}

}  // namespace
}  // namespace vendil
