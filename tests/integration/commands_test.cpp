// Start and the several-URLs command over real crawls of a loopback site.
#include <gtest/gtest.h>

#include "commands/main_commands.h"
#include "integration/site_server.h"
#include "support/fake_ui.h"
#include "support/loopback_proxy.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::SiteServer;

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
  SiteServer site;
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
  const std::string https = "HTTPS://127.0.0.1:" + std::to_string(site.port()) + "/two.html";
  ui.multiUrlAnswers.push_back("  " + site.Url("/one.html") + "  \r\nskip me\r\n" + https + "\r\n" +
                               "HTTP://127.0.0.1:" + std::to_string(site.port()) + "/three.html");
  SearchSeveralUrls(form);
  ASSERT_EQ(ui.logs.size(), 1u);
  const std::string& log = ui.logs[0];
  EXPECT_EQ(log.find(site.Url("/one.html") + "\r\n>1/1 個のリンクが見つかりました。\r\n"), 0u);
  EXPECT_NE(log.find(https + "\r\n>"), std::string::npos);
  EXPECT_EQ(log.find("skip me"), std::string::npos);
  EXPECT_EQ(form.lvwUrls.Count(), 2u);  // one.html.zip and three.html.zip gather in one list
  EXPECT_EQ(form.txtUrl.Text(), "HTTP://127.0.0.1:" + std::to_string(site.port()) + "/three.html");
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

}  // namespace
}  // namespace vendil
