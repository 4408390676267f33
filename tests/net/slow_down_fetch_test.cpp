// The page fetcher and servers that ask it to slow down: 429 and 503 waited out as
// Retry-After says (seconds or a date) or 2 s without it, tried again at most twice, then
// failed; recognised whatever the body's type; Stop ends the wait at once.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "net/fetch_page.h"
#include "net/raw_tcp_server.h"
#include "net/slow_down_retries.h"
#include "state/search_run.h"
#include "support/fake_ui.h"

namespace vendil {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;
using test::RawReply;
using test::RawTcpServer;

std::string Answer(const std::string& status, const std::string& retryAfter,
                   const std::string& body = "<html>busy</html>",
                   const std::string& type = "text/html") {
  std::string reply = "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\n";
  if (!retryAfter.empty()) reply += "Retry-After: " + retryAfter + "\r\n";
  return reply + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}
const std::string kTooMany = "429 Too Many Requests";
const std::string kUnavailable = "503 Service Unavailable";

std::string ImfDate(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
  return text;
}

// One search's fetch of one page, with the moments the program started each request.
class SlowDownFetch : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Inet1.SetTimeouts(5, 10);
    form.Inet1.OnTransferStarted(
        [this](const std::string&, Clock::time_point at) { starts.push_back(at); });
    run.m_strHtml = "previous page";
  }
  std::string WaitText(const RawTcpServer& server, int secondsShown) const {
    return SlowDownWaitText(HttpControl::ServerKey(server.Url("/")),
                            std::chrono::seconds(secondsShown));
  }

  test::FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  std::vector<Clock::time_point> starts;
};

TEST_F(SlowDownFetch, RetryAfterSecondsIsWaitedOutAndThePageRead) {
  RawTcpServer server([](int n) {
    return RawReply{n == 0 ? Answer(kTooMany, "1") : Answer("200 OK", "", "<p>page</p>")};
  });
  const std::string url = server.Url("/page.html");
  ASSERT_TRUE(FetchPage(run, url, "", ""));
  EXPECT_EQ(run.m_strHtml, "<p>page</p>");
  EXPECT_EQ(server.Connections(), 2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_GE(starts[1] - starts[0], seconds(1));
  const std::string getting = "Getting " + url + "...";
  EXPECT_EQ(ui.statuses, (std::vector<std::string>{getting, WaitText(server, 1), getting}));
}

TEST_F(SlowDownFetch, RetryAfterDatesPastAndComingAreBothRead) {
  // An unreadable value would allow one retry only: the third answer shows both were read.
  std::mutex mutex;
  std::chrono::system_clock::time_point asked{}, third{};
  RawTcpServer server([&](int n) {
    std::lock_guard<std::mutex> lock(mutex);
    const auto now = std::chrono::system_clock::now();
    if (n == 0) return RawReply{Answer(kTooMany, "Thu, 01 Jan 2015 00:00:00 GMT")};
    if (n == 1) {
      asked = std::chrono::floor<seconds>(now) + seconds(2);
      return RawReply{Answer(kTooMany, ImfDate(asked))};
    }
    third = now;
    return RawReply{Answer("200 OK", "", "<p>page</p>")};
  });
  ASSERT_TRUE(FetchPage(run, server.Url("/"), "", ""));
  EXPECT_EQ(server.Connections(), 3);
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_GE(third, asked);  // not asked again before the date named
}

TEST_F(SlowDownFetch, UnavailableWithoutRetryAfterIsWaitedTwoSecondsOnceThenFails) {
  RawTcpServer server([](int) { return RawReply{Answer(kUnavailable, "")}; });
  EXPECT_FALSE(FetchPage(run, server.Url("/"), "", ""));
  EXPECT_EQ(server.Connections(), 2);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_GE(starts[1] - starts[0], seconds(2));
  EXPECT_EQ(run.m_strHtml, "previous page");  // its text body is not read as a page
}

TEST_F(SlowDownFetch, ThirdTooManyRequestsFailsThePageWhateverItsBody) {
  // A body of a type the filter refuses does not hide the status.
  RawTcpServer server(
      [](int) { return RawReply{Answer(kTooMany, "0", "{}", "application/octet-stream")}; });
  EXPECT_FALSE(FetchPage(run, server.Url("/"), "", ""));
  EXPECT_EQ(server.Connections(), 3);
  EXPECT_EQ(run.m_strHtml, "previous page");
  EXPECT_TRUE(run.throttle.OneAtATime(HttpControl::ServerKey(server.Url("/"))));

  // Also when the retries for errors are set to none.
  InternetOptions options = form.Inet1.Options();
  options.retries = 0;
  form.Inet1.SetOptions(options);
  SearchRun next{form};
  EXPECT_FALSE(FetchPage(next, server.Url("/"), "", ""));
  EXPECT_EQ(server.Connections(), 6);
}

TEST_F(SlowDownFetch, StopEndsALongWaitAtOnce) {
  RawTcpServer server([](int) { return RawReply{Answer(kTooMany, "100")}; });
  Clock::time_point stopped{};
  ui.OnYield([&] { return form.StatusText() == WaitText(server, 100); },
             [&] {
               stopped = Clock::now();
               form.m_blnStop = true;
             });
  EXPECT_FALSE(FetchPage(run, server.Url("/"), "", ""));
  const Clock::time_point returned = Clock::now();
  ASSERT_NE(stopped, Clock::time_point{});
  EXPECT_LT(returned - stopped, seconds(5));  // the wait was 100 s
  EXPECT_EQ(server.Connections(), 1);
}

}  // namespace
}  // namespace vendil
