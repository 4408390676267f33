// The page fetcher over loopback: which charset decodes a body, characters across the
// 2048-byte chunk boundary, the content-type filter, retries with their status texts, and
// what a failed or refused fetch leaves behind.
#include "net/fetch_page.h"
#include "state/search_run.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "net/raw_tcp_server.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::HttpTestServer;
using test::RawReply;
using test::RawTcpServer;

// Japanese text and its bytes in each encoding: "日本" and "ソ表" (whose CP932 second bytes
// are "{" and "\", so a split character turns into wrong ASCII, not only U+FFFD).
const std::string kText = "日本ソ表";
const std::string kCp932 = "\x93\xfa\x96\x7b\x83\x5c\x95\x5c";
const std::string kEucJp = "\xc6\xfc\xcb\xdc\xa5\xbd\xc9\xbd";

// `text` placed so that its first byte is body byte `start` (0-based) of a page.
std::string PageWithTextAt(const std::string& text, size_t start, const std::string& head = "") {
  std::string page = "<html>" + head + "<body>";
  page.append(start - page.size(), 'a');
  return page + text + "</body></html>";
}

std::string HttpReply(const std::string& body, const std::string& contentType = "text/html") {
  std::string reply = "HTTP/1.1 200 OK\r\n";
  if (!contentType.empty()) reply += "Content-Type: " + contentType + "\r\n";
  return reply + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

class FetchPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Inet1.SetTimeouts(5, 10);
    run.m_lngSite = 1;
  }
  bool Fetch(const std::string& url) {
    return FetchPage(run, url, "User-Agent: Tester\r\nReferer: " + url + "\r\n", "");
  }
  bool FetchBody(const std::string& body, const std::string& contentType) {
    server.Page("/page.html", body, contentType);
    return Fetch(server.Url("/page.html"));
  }

  HttpTestServer server;
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
};

TEST_F(FetchPageTest, CharsetFromHeaderThenMetaThenSiteKind) {
  // Declared in the header.
  ASSERT_TRUE(FetchBody("<p>" + kText + "</p>", "text/html; charset=UTF-8"));
  EXPECT_EQ(run.m_strHtml, "<p>" + kText + "</p>");
  ASSERT_TRUE(FetchBody(kEucJp, "text/plain; charset=EUC-JP"));
  EXPECT_EQ(run.m_strHtml, kText);

  // The header wins over the page's own <meta>.
  const std::string sjisMeta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=Shift_JIS\">";
  ASSERT_TRUE(FetchBody(sjisMeta + kText, "text/html; charset=utf-8"));
  EXPECT_EQ(run.m_strHtml, sjisMeta + kText);

  // Declared only in the page.
  const std::string eucMeta =
      "<meta http-equiv=\"Content-Type\" content=\"text/html; "
      "charset=EUC-JP\">";
  ASSERT_TRUE(FetchBody(eucMeta + kEucJp, "text/html"));
  EXPECT_EQ(run.m_strHtml, eucMeta + kText);
  ASSERT_TRUE(FetchBody("<meta charset=\"utf-8\">" + kText, "text/html"));
  EXPECT_EQ(run.m_strHtml, "<meta charset=\"utf-8\">" + kText);

  // Nothing declared: the system code page, or EUC-JP while the Japanese briefcase site is read.
  ASSERT_TRUE(FetchBody(kCp932, "text/html"));
  EXPECT_EQ(run.m_strHtml, kText);
  run.m_lngSite = 2;
  ASSERT_TRUE(FetchBody(kEucJp, "text/html"));
  EXPECT_EQ(run.m_strHtml, kText);
  // A declared charset still counts on that site.
  ASSERT_TRUE(FetchBody(kCp932, "text/html; charset=Shift_JIS"));
  EXPECT_EQ(run.m_strHtml, kText);
}

TEST_F(FetchPageTest, CharacterAcrossTheChunkBoundaryArrivesWhole) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string contentType;
    int32_t site;
  };
  const std::vector<Case> cases = {
      {"CP932 by default", kCp932, "text/html", 1},
      {"CP932 declared", kCp932, "text/html; charset=Shift_JIS", 1},
      {"EUC-JP on the briefcase site", kEucJp, "text/html", 2},
      {"UTF-8 declared", kText, "text/html; charset=utf-8", 1},
  };
  for (const auto& c : cases) {
    // Each start puts the boundary after another byte of the first characters.
    for (size_t start : {2045u, 2046u, 2047u}) {
      SCOPED_TRACE(std::string(c.name) + ", text at byte " + std::to_string(start));
      run.m_lngSite = c.site;
      const std::string page = PageWithTextAt(c.bytes, start);
      ASSERT_GT(page.size(), 2048u);
      ASSERT_TRUE(FetchBody(page, c.contentType));
      EXPECT_EQ(run.m_strHtml, PageWithTextAt(kText, start));
    }
  }
}

TEST(FetchPageFilter, ContentTypeFilterRules) {
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  struct Case {
    std::string filter, contentType;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"", "text/html; charset=Shift_JIS", true},
      {"", "TEXT/PLAIN", true},
      {"", "application/xhtml+xml", false},
      {"", "application/octet-stream", false},
      {"", "", false},
      {"text/html", "text/html; charset=Shift_JIS", false},  // the whole value must match
      {"text/html*", "text/html; charset=Shift_JIS", true},
      {"TEXT/HTML", "text/html", true},
      {"text/*; image/*", "image/png", false},  // the second pattern begins with a blank
      {"text/*; image/*", " image/png", true},
      {"text/*;image/*", "image/png", true},
      {"text/*", "", false},
      {"[", "text/html", false},  // a malformed pattern refuses
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("filter '" + c.filter + "', type '" + c.contentType + "'");
    form.txtContentType.SetText(c.filter);
    EXPECT_EQ(IsContentTypeAccepted(run, c.contentType), c.accepted);
  }

  // While the crawl has prepared its list, the list decides, not the field.
  form.txtContentType.SetText("text/*");
  run.m_astrContentTypes = {"image/*"};
  run.m_blnContentTypesPrepared = true;
  EXPECT_TRUE(IsContentTypeAccepted(run, "image/png"));
  EXPECT_FALSE(IsContentTypeAccepted(run, "text/html"));
}

TEST_F(FetchPageTest, RefusedContentTypeEndsAtOnceWithoutRetry) {
  server.Page("/file.bin", "binary", "application/octet-stream");
  run.m_strHtml = "previous page";
  EXPECT_FALSE(Fetch(server.Url("/file.bin")));
  EXPECT_EQ(server.TimesRequested("/file.bin"), 1);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{"Getting " + server.Url("/file.bin") + "..."});
  EXPECT_EQ(run.m_strHtml, "previous page");

  form.txtContentType.SetText("text/html*");
  ASSERT_TRUE(FetchBody("page", "text/html; charset=utf-8"));
  form.txtContentType.SetText("text/html");
  EXPECT_FALSE(FetchBody("page", "text/html; charset=utf-8"));
}

TEST(FetchPageNoServer, ResponseWithoutContentTypeIsRefused) {
  RawTcpServer bare([](int) { return RawReply{HttpReply("hello", "")}; });
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  EXPECT_FALSE(FetchPage(run, bare.Url("/"), "", ""));
  EXPECT_EQ(bare.Connections(), 1);
}

TEST(FetchPageRetries, DroppedConnectionIsTriedFiveTimes) {
  RawTcpServer dropping([](int) { return RawReply{}; });
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  const std::string url = dropping.Url("/page.html");
  EXPECT_FALSE(FetchPage(run, url, "User-Agent: Tester\r\n", ""));
  EXPECT_EQ(dropping.Connections(), 5);

  ASSERT_EQ(ui.statuses.size(), 11u);
  EXPECT_EQ(ui.statuses[0], "Getting " + url + "...");  // once, not on every attempt
  const std::string error = "ErrorCode: " + std::to_string(CURLE_GOT_NOTHING) + " : ";
  for (size_t i = 1; i < ui.statuses.size(); i += 2) {
    EXPECT_EQ(ui.statuses[i].substr(0, error.size()), error);
    EXPECT_GT(ui.statuses[i].size(), error.size());  // the error text follows
    EXPECT_EQ(ui.statuses[i + 1], "Retry:" + url);
  }
  EXPECT_EQ(form.StatusText(), "Retry:" + url);
}

TEST(FetchPageRetries, SilentServerCostsOneTimeOutAndOneQuickRetry) {
  // Alone, and after an error that a retry may cure.
  for (const int dropsFirst : {0, 1}) {
    SCOPED_TRACE(dropsFirst ? "after a dropped connection" : "silent from the start");
    RawTcpServer silent([dropsFirst](int n) { return RawReply{"", n >= dropsFirst}; });
    FakeUi ui;
    Form1 form{ui};
    SearchRun run{form};
    form.Inet1.SetTimeoutMilliseconds(2000, 300);
    const std::string url = silent.Url("/page.html");
    EXPECT_FALSE(FetchPage(run, url, "", ""));
    EXPECT_EQ(silent.Connections(), dropsFirst + 2);
    const std::string timedOut = "ErrorCode: " + std::to_string(CURLE_OPERATION_TIMEDOUT) + " : ";
    int timeOuts = 0;
    for (const auto& status : ui.statuses) timeOuts += status.rfind(timedOut, 0) == 0;
    EXPECT_EQ(timeOuts, 2);
    EXPECT_EQ(form.StatusText(), "Retry:" + url);
  }
}

TEST(FetchPageRetries, ServerThatRecoversIsReadOnALaterAttempt) {
  RawTcpServer flaky([](int n) { return RawReply{n < 2 ? "" : HttpReply("<p>third</p>")}; });
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  const std::string url = flaky.Url("/page.html");
  ASSERT_TRUE(FetchPage(run, url, "", ""));
  EXPECT_EQ(run.m_strHtml, "<p>third</p>");
  EXPECT_EQ(flaky.Connections(), 3);
  int retries = 0;
  for (const auto& s : ui.statuses) retries += s == "Retry:" + url;
  EXPECT_EQ(retries, 2);
}

TEST(FetchPageRetries, BodyCutShortIsRetriedAndKeepsItsPartialText) {
  const std::string cut =
      "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100\r\n\r\n<p>partial";
  RawTcpServer cutting([&cut](int) { return RawReply{cut}; });
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  EXPECT_FALSE(FetchPage(run, cutting.Url("/"), "", ""));
  EXPECT_EQ(cutting.Connections(), 5);
  EXPECT_EQ(run.m_strHtml, "<p>partial");
  const std::string error = "ErrorCode: " + std::to_string(CURLE_PARTIAL_FILE) + " : ";
  ASSERT_GT(ui.statuses.size(), 1u);
  EXPECT_EQ(ui.statuses[1].substr(0, error.size()), error);
}

TEST_F(FetchPageTest, ErrorPageWithTextIsASuccess) {
  EXPECT_TRUE(Fetch(server.Url("/missing.html")));
  EXPECT_EQ(run.m_strHtml, "<html>not found</html>");
  EXPECT_EQ(form.StatusText(), "Getting " + server.Url("/missing.html") + "...");
}

TEST_F(FetchPageTest, PostShowsNoGettingTextAndSendsItsBody) {
  server.Page("/form", "done");
  ASSERT_TRUE(FetchPage(run, server.Url("/form"), "User-Agent: Tester\r\n", "name=value"));
  EXPECT_EQ(run.m_strHtml, "done");
  EXPECT_TRUE(ui.statuses.empty());
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].method, "POST");
  EXPECT_EQ(server.Requests()[0].body, "name=value");
  EXPECT_EQ(server.Requests()[0].Header("User-Agent"), "Tester");
}

TEST_F(FetchPageTest, RedirectLeavesTheUrlFinallyRead) {
  server.Handle("/old", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/new/page.html");
  });
  server.Page("/new/page.html", "moved");
  ASSERT_TRUE(Fetch(server.Url("/old")));
  EXPECT_EQ(run.m_strHtml, "moved");
  EXPECT_EQ(LastFetchedUrl(run), server.Url("/new/page.html"));
}

TEST_F(FetchPageTest, YieldsWhileWaiting) {
  // The server answers only once the fetch has let the event loop run eleven times while
  // it waited: a fetch that blocked would never see the answer (until the long bound).
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  server.Handle("/slow", [released](const httplib::Request&, httplib::Response& res) {
    released.wait_for(std::chrono::seconds(20));
    res.set_content(std::string(10000, 'z'), "text/plain");
  });
  bool sent = false;
  ui.everyYield = [&] {
    if (!sent && ui.yields > 10) {
      sent = true;
      release.set_value();
    }
  };
  ASSERT_TRUE(Fetch(server.Url("/slow")));
  EXPECT_TRUE(sent);
  EXPECT_EQ(run.m_strHtml, std::string(10000, 'z'));
  EXPECT_GT(ui.yields, 10);
}

// Servers that hold a fetch for as long as its time-out allows, each way.
TEST(FetchPageStop, StopEndsTheWaitOnAnyStalledServer) {
  const std::string head =
      "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 100\r\n\r\n";
  const std::vector<std::pair<const char*, RawReply>> servers = {
      {"accepts and never answers", RawReply{"", true}},
      {"sends the headers, then nothing", RawReply{head, true}},
      {"drips a byte a second", RawReply{head + std::string(100, 'x'), false, 1000}},
  };
  for (const auto& [name, reply] : servers) {
    SCOPED_TRACE(name);
    RawTcpServer stalled([reply = reply](int) { return reply; });
    FakeUi ui;
    Form1 form{ui};
    SearchRun run{form};
    form.Inet1.SetTimeouts(30, 30);
    run.m_strHtml = "previous page";
    ui.OnYield([&ui] { return ui.yields > 20; }, [&form] { form.m_blnStop = true; });
    const std::string url = stalled.Url("/page.html");
    EXPECT_FALSE(FetchPage(run, url, "", ""));
    // Given up at once: no retry, no error text, nothing read.
    EXPECT_EQ(stalled.Connections(), 1);
    EXPECT_EQ(ui.statuses, std::vector<std::string>{"Getting " + url + "..."});
    EXPECT_EQ(run.m_strHtml, "previous page");
    // The next fetch starts afresh once the flag is cleared.
    form.m_blnStop = false;
  }
}

TEST_F(FetchPageTest, StopBeforeTheFetchSendsNothing) {
  server.Page("/page.html", "page");
  form.m_blnStop = true;
  EXPECT_FALSE(Fetch(server.Url("/page.html")));
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(FetchPageTest, RequestThatCannotStartFailsWithoutRetry) {
  EXPECT_FALSE(Fetch("ftp://127.0.0.1/file.txt"));
  EXPECT_FALSE(Fetch("file:///etc/passwd"));
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_EQ(ui.statuses.size(), 2u);  // only the two "Getting" texts
}

}  // namespace
}  // namespace vendil
