// The HTTP transfer control against real loopback servers: requests as sent, polling that
// never blocks, headers and body, cookies, redirects, connect-to, the header gate, the body
// limit, time-outs and transport errors.
#include "platform/http_control.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "net/raw_tcp_server.h"
#include "support/http_test_server.h"
#include "support/refusing_port.h"

namespace vendil {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::HttpTestServer;
using test::RawReply;
using test::RawTcpServer;
using test::RefusingPort;

// Polls until the request ends; the longest single StillExecuting call goes to `slowest`.
void Wait(HttpControl& http, Clock::duration* slowest = nullptr, int* polls = nullptr) {
  const auto give_up = Clock::now() + 20s;
  for (;;) {
    const auto before = Clock::now();
    const bool running = http.StillExecuting();
    const auto took = Clock::now() - before;
    if (slowest != nullptr && took > *slowest) *slowest = took;
    if (polls != nullptr) ++*polls;
    if (!running) return;
    ASSERT_LT(Clock::now(), give_up) << "request never ended";
  }
}

bool Get(HttpControl& http, const std::string& url, const std::string& headers = "") {
  if (!http.Execute(url, "GET", "", headers)) return false;
  Wait(http);
  return true;
}

std::string ReadAll(HttpControl& http) {
  std::string all;
  for (std::string chunk = http.GetChunk(2048); !chunk.empty(); chunk = http.GetChunk(2048))
    all += chunk;
  return all;
}

class HttpControlTest : public ::testing::Test {
 protected:
  void SetUp() override { http.SetTimeouts(5, 10); }
  HttpTestServer server;
  HttpControl http;
};

TEST_F(HttpControlTest, GetAndPostSendTheirHeadersAndBody) {
  server.Page("/page", "hello");
  ASSERT_TRUE(Get(http, server.Url("/page?q=1"),
                  "User-Agent: Tester/1.0\r\nReferer: http://example.test/from\r\n"));
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(http.HttpStatus(), 200);
  EXPECT_EQ(ReadAll(http), "hello");

  ASSERT_TRUE(http.Execute(server.Url("/page"), "POST", "a=1&b=%E6",
                           "Content-Type: application/x-www-form-urlencoded\r\n"));
  Wait(http);
  EXPECT_EQ(ReadAll(http), "hello");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].target, "/page?q=1");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Tester/1.0");
  EXPECT_EQ(requests[0].Header("Referer"), "http://example.test/from");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].body, "a=1&b=%E6");
  EXPECT_EQ(requests[1].Header("Content-Type"), "application/x-www-form-urlencoded");
  // Both requests went over one kept-alive connection.
  EXPECT_EQ(requests[0].remotePort, requests[1].remotePort);
}

TEST_F(HttpControlTest, RefusesWhatIsNoWebRequest) {
  EXPECT_FALSE(http.Execute("file:///etc/passwd", "GET", "", ""));
  EXPECT_FALSE(http.Execute("ftp://127.0.0.1/x", "GET", "", ""));
  EXPECT_FALSE(http.Execute("not a url", "GET", "", ""));
  EXPECT_FALSE(http.Execute(server.Url("/"), "DELETE", "", ""));
  EXPECT_FALSE(http.StillExecuting());
  EXPECT_TRUE(server.Requests().empty());

  // A redirect to a local file is not followed either.
  server.Handle("/to-file", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("file:///etc/passwd");
  });
  ASSERT_TRUE(Get(http, server.Url("/to-file")));
  EXPECT_NE(http.ResponseCode(), 0);
  EXPECT_EQ(ReadAll(http), "");
}

TEST_F(HttpControlTest, PollingReturnsAtOnceWhileAServerDribbles) {
  // After each piece the server waits until a poll has returned while the body was still
  // coming: a poll that waited for the body would leave it waiting (until its long bound).
  std::mutex m;
  std::condition_variable returned;
  int pollsReturned = 0;
  bool stuck = false;
  server.Handle("/slow", [&](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider(
        "text/plain", [&, pieces = 0](size_t, httplib::DataSink& sink) mutable {
          if (pieces == 4) {
            sink.done();
            return true;
          }
          sink.write("piece", 5);
          std::unique_lock<std::mutex> lock(m);
          const int seen = pollsReturned;
          if (!returned.wait_for(lock, 20s, [&] { return pollsReturned > seen; })) stuck = true;
          ++pieces;
          return true;
        });
  });
  ASSERT_TRUE(http.Execute(server.Url("/slow"), "GET", "", ""));
  int polls = 0;
  while (http.StillExecuting()) {
    ++polls;
    {
      std::lock_guard<std::mutex> lock(m);
      ++pollsReturned;
    }
    returned.notify_all();
  }
  {
    std::lock_guard<std::mutex> lock(m);
    EXPECT_FALSE(stuck);
  }
  EXPECT_GE(polls, 4);
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(ReadAll(http), "piecepiecepiecepiece");
}

TEST_F(HttpControlTest, HeadersByAnyCaseAndBodyInChunks) {
  std::string body;
  for (int i = 0; body.size() < 10000; ++i) body += std::to_string(i) + ",";
  server.Handle("/data", [&body](const httplib::Request&, httplib::Response& res) {
    res.set_header("X-Custom-Thing", "some value");
    res.set_content(body, "text/plain; charset=utf-8");
  });
  ASSERT_TRUE(Get(http, server.Url("/data")));
  EXPECT_EQ(http.GetHeader("x-custom-thing"), "some value");
  EXPECT_EQ(http.GetHeader("CONTENT-TYPE"), "text/plain; charset=utf-8");
  EXPECT_EQ(http.GetHeader("X-Absent"), "");

  std::string read;
  std::vector<size_t> sizes;
  for (std::string chunk = http.GetChunk(2048); !chunk.empty(); chunk = http.GetChunk(2048)) {
    sizes.push_back(chunk.size());
    read += chunk;
  }
  EXPECT_EQ(read, body);
  ASSERT_EQ(sizes.size(), (body.size() + 2047) / 2048);
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 2048u);
  EXPECT_EQ(http.GetChunk(2048), "");  // stays at the end
}

TEST_F(HttpControlTest, CookiesLastForTheRunAndCrossRedirects) {
  server.Handle("/set", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "session=abc123; Path=/");
    res.set_content("ok", "text/plain");
  });
  server.Handle("/login", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "signed=yes; Path=/");
    res.set_redirect("/home");
  });
  server.Page("/check", "ok", "text/plain");
  server.Page("/home", "ok", "text/plain");

  ASSERT_TRUE(Get(http, server.Url("/check")));
  ASSERT_TRUE(Get(http, server.Url("/set")));
  ASSERT_TRUE(Get(http, server.Url("/check")));
  ASSERT_TRUE(Get(http, server.Url("/login")));
  ASSERT_TRUE(Get(http, server.Url("/check")));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_FALSE(requests[0].HasHeader("Cookie"));
  EXPECT_EQ(requests[2].Header("Cookie"), "session=abc123");
  EXPECT_EQ(requests[4].path, "/home");
  EXPECT_NE(requests[4].Header("Cookie").find("signed=yes"), std::string::npos);
  EXPECT_NE(requests[5].Header("Cookie").find("session=abc123"), std::string::npos);
  EXPECT_NE(requests[5].Header("Cookie").find("signed=yes"), std::string::npos);
}

TEST_F(HttpControlTest, RedirectsAreFollowedUpToTen) {
  // /r/N redirects to /r/N-1; /r/0 is the page.
  server.Handle("/r/*", [](const httplib::Request& req, httplib::Response& res) {
    const int n = std::stoi(req.path.substr(3));
    if (n == 0) {
      res.set_content("arrived", "text/html");
    } else {
      res.set_redirect("/r/" + std::to_string(n - 1));
    }
  });
  server.Handle("/loop",
                [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });

  ASSERT_TRUE(Get(http, server.Url("/r/10")));
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(http.HttpStatus(), 200);
  EXPECT_EQ(http.EffectiveUrl(), server.Url("/r/0"));
  EXPECT_EQ(ReadAll(http), "arrived");

  ASSERT_TRUE(Get(http, server.Url("/r/11")));
  EXPECT_EQ(http.ResponseCode(), CURLE_TOO_MANY_REDIRECTS);
  EXPECT_FALSE(http.ResponseInfo().empty());

  server.ClearRequests();
  ASSERT_TRUE(Get(http, server.Url("/loop")));
  EXPECT_EQ(http.ResponseCode(), CURLE_TOO_MANY_REDIRECTS);
  EXPECT_EQ(server.TimesRequested("/loop"), 11);  // the first request and 10 redirects
}

TEST_F(HttpControlTest, ConnectToSendsARealHostNameToLoopback) {
  server.Page("/x", "mapped");
  http.SetConnectTo({"files.vendil.test:80:" + server.HostPort()});
  ASSERT_TRUE(Get(http, "http://files.vendil.test/x"));
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(ReadAll(http), "mapped");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].Header("Host"), "files.vendil.test");
}

TEST_F(HttpControlTest, HeaderGateStopsARefusedBodyBeforeItIsRead) {
  std::atomic<size_t> sent{0};
  server.Handle("/big.bin", [&sent](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(size_t{1} << 30, "application/octet-stream",
                             [&sent](size_t, size_t length, httplib::DataSink& sink) {
                               static const std::string block(64 * 1024, 'x');
                               const size_t n = std::min(length, block.size());
                               sent += n;
                               return sink.write(block.data(), n);
                             });
  });
  server.Handle(
      "/go", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/big.bin"); });

  std::vector<std::string> seen;
  http.SetHeaderGate([&seen](const HttpControl& control) {
    seen.push_back(control.GetHeader("Content-Type"));
    return false;
  });
  const auto start = Clock::now();
  ASSERT_TRUE(Get(http, server.Url("/go")));
  EXPECT_LT(Clock::now() - start, 5s);
  // Asked once, for the final response, not for the redirect.
  EXPECT_EQ(seen, std::vector<std::string>{"application/octet-stream"});
  EXPECT_TRUE(http.HeadersComplete());
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(http.GetChunk(2048), "");
  EXPECT_LT(sent.load(), size_t{64} << 20);

  // An accepting gate lets the body through.
  server.Page("/page", "body");
  http.SetHeaderGate([](const HttpControl&) { return true; });
  ASSERT_TRUE(Get(http, server.Url("/page")));
  EXPECT_EQ(ReadAll(http), "body");
}

TEST_F(HttpControlTest, BodyBeyondTheLimitIsCutThere) {
  server.Page("/long", std::string(5000, 'a'), "text/plain");
  server.Page("/exact", std::string(1000, 'b'), "text/plain");
  http.SetMaxBodyBytes(1000);

  ASSERT_TRUE(Get(http, server.Url("/long")));
  EXPECT_TRUE(http.BodyCut());
  EXPECT_EQ(http.ResponseCode(), 0);
  EXPECT_EQ(ReadAll(http), std::string(1000, 'a'));

  ASSERT_TRUE(Get(http, server.Url("/exact")));
  EXPECT_FALSE(http.BodyCut());
  EXPECT_EQ(ReadAll(http), std::string(1000, 'b'));
}

TEST(HttpControlFailures, ServerThatNeverAnswersEndsAtTheTimeOut) {
  RawTcpServer silent([](int) { return RawReply{"", true}; });
  HttpControl http;
  http.SetTimeoutMilliseconds(2000, 300);
  const auto start = Clock::now();
  ASSERT_TRUE(Get(http, silent.Url("/never")));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 250ms);
  EXPECT_LT(took, 3s);
  EXPECT_EQ(http.ResponseCode(), CURLE_OPERATION_TIMEDOUT);
  EXPECT_FALSE(http.ResponseInfo().empty());
  EXPECT_FALSE(http.HeadersComplete());
}

TEST(HttpControlFailures, RefusedPortGivesAnErrorNumberAndText) {
  const RefusingPort port;
  HttpControl http;
  ASSERT_TRUE(Get(http, port.Url("/")));
  EXPECT_EQ(http.ResponseCode(), CURLE_COULDNT_CONNECT);
  EXPECT_FALSE(http.ResponseInfo().empty());
  EXPECT_EQ(http.HttpStatus(), 0);
  EXPECT_EQ(http.GetChunk(2048), "");
}

TEST(HttpControlFailures, CancelDropsARunningRequestAndTheNextOneWorks) {
  RawTcpServer silent([](int) { return RawReply{"", true}; });
  HttpTestServer server;
  server.Page("/after", "fine");
  HttpControl http;
  ASSERT_TRUE(http.Execute(silent.Url("/hang"), "GET", "", ""));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(http.StillExecuting());
  http.Cancel();
  EXPECT_FALSE(http.StillExecuting());
  EXPECT_EQ(http.ResponseCode(), 0);
  ASSERT_TRUE(Get(http, server.Url("/after")));
  EXPECT_EQ(ReadAll(http), "fine");
}

TEST(HttpControlTransfers, ServerKeysNameSchemeHostAndPort) {
  EXPECT_EQ(HttpControl::ServerKey("HTTP://Example.COM/a?b"), "http://example.com:80");
  EXPECT_EQ(HttpControl::ServerKey("https://h.test:8443/"), "https://h.test:8443");
  EXPECT_EQ(HttpControl::ServerKey("https://h.test/"), "https://h.test:443");
  EXPECT_EQ(HttpControl::ServerKey("ftp://h.test/file"), "");
  EXPECT_EQ(HttpControl::ServerKey("not a url"), "");
  // What a link may hold: a user and password, an address in brackets, odd ports.
  EXPECT_EQ(HttpControl::ServerKey("http://u:p@h.test:81/x"), "http://h.test:81");
  EXPECT_EQ(HttpControl::ServerKey("http://[::1]:8080/"), "http://[::1]:8080");
  EXPECT_EQ(HttpControl::ServerKey("http://[::1]/"), "http://[::1]:80");
  EXPECT_EQ(HttpControl::ServerKey("http://h.test:0080?q"), "http://h.test:80");
  EXPECT_EQ(HttpControl::ServerKey("http://h.test:8x/"), "");
  EXPECT_EQ(HttpControl::ServerKey("http:///path"), "");
}

TEST_F(HttpControlTest, TransfersFetchedAheadWaitWithinTheBudgetAndLoseNothing) {
  const std::string big(200 * 1024, 'b');
  server.Page("/one", "1" + big, "text/plain");
  server.Page("/two", "2" + big, "text/plain");
  const size_t budget = 64 * 1024;
  http.SetBackgroundBudget(budget);
  HttpRequest request;
  request.background = true;
  request.url = server.Url("/one");
  const TransferId one = http.Start(request);
  request.url = server.Url("/two");
  const TransferId two = http.Start(request);
  ASSERT_NE(one, 0u);
  ASSERT_NE(two, 0u);
  const std::string key = HttpControl::ServerKey(server.Url("/"));
  EXPECT_EQ(http.RunningFor(key), 2u);
  EXPECT_EQ(http.RunningInBackgroundFor(key), 2u);

  // Both wait once the budget is spent; neither can finish.
  for (int i = 0; i < 200 && http.BackgroundBytes() + 16 * 1024 < budget; ++i) http.Drive(5);
  for (int i = 0; i < 20; ++i) http.Drive(5);
  EXPECT_FALSE(http.Find(one)->Done());
  EXPECT_FALSE(http.Find(two)->Done());
  EXPECT_LE(http.PeakBackgroundBytes(), budget);

  // The one read now goes on; the other follows as the budget frees.
  http.MakeForeground(one);
  EXPECT_EQ(http.RunningInBackgroundFor(key), 1u);
  for (int i = 0; i < 2000 && !http.Find(one)->Done(); ++i) http.Drive(5);
  ASSERT_TRUE(http.Find(one)->Done());
  EXPECT_EQ(http.TakeBody(one), "1" + big);
  http.Drop(one);
  EXPECT_EQ(http.Find(one), nullptr);
  http.MakeForeground(two);
  for (int i = 0; i < 2000 && !http.Find(two)->Done(); ++i) http.Drive(5);
  ASSERT_TRUE(http.Find(two)->Done());
  EXPECT_EQ(http.TakeBody(two), "2" + big);
  EXPECT_EQ(http.BackgroundBytes(), 0u);
  EXPECT_LE(http.PeakBackgroundBytes(), budget);
}

}  // namespace
}  // namespace vendil
