// The Internet options as the HTTP control applies them: a manual proxy (with its user and
// password), the environment's proxy, no proxy at all even when the environment names one,
// a proxy that refuses the connection, and time-outs and retries taken from the options.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "net/fetch_page.h"
#include "net/raw_tcp_server.h"
#include "state/search_run.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/loopback_proxy.h"

namespace vendil {
namespace {

using test::FakeUi;
using test::HttpTestServer;
using test::LoopbackProxy;

// Sets an environment variable for its lifetime, then puts back what was there.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~EnvironmentVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class InternetOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { server.Page("/page.html", "through"); }
  bool Fetch() { return FetchPage(run, server.Url("/page.html"), "", ""); }
  std::string ProxyAddress() const { return "http://127.0.0.1:" + std::to_string(proxy.Port()); }

  HttpTestServer server;
  LoopbackProxy proxy;
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  // The environment names the proxy for every host, whatever a test's machine had set.
  EnvironmentVariable httpProxy{"http_proxy", ProxyAddress()};
  EnvironmentVariable noProxy{"no_proxy", ""};
  EnvironmentVariable upperNoProxy{"NO_PROXY", ""};
};

TEST_F(InternetOptionsTest, EachProxyModeDecidesTheWayARequestTakes) {
  InternetOptions options;
  options.proxyMode = InternetOptions::ProxyMode::Environment;
  form.Inet1.SetOptions(options);
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(run.m_strHtml, "through");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].requestLine, "GET " + server.Url("/page.html") + " HTTP/1.1");

  options.proxyMode = InternetOptions::ProxyMode::None;
  form.Inet1.SetOptions(options);
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(proxy.Requests().size(), 1u);  // straight to the server
  EXPECT_EQ(server.Requests().size(), 2u);

  // Manual: this proxy, with its user and password, for every host.
  LoopbackProxy manual;
  options.proxyMode = InternetOptions::ProxyMode::Manual;
  options.proxyHost = "127.0.0.1";
  options.proxyPort = manual.Port();
  options.proxyUser = "user";
  options.proxyPassword = "pa:ss";
  form.Inet1.SetOptions(options);
  ASSERT_TRUE(Fetch());
  EXPECT_EQ(run.m_strHtml, "through");
  EXPECT_EQ(proxy.Requests().size(), 1u);
  ASSERT_EQ(manual.Requests().size(), 1u);
  EXPECT_EQ(manual.Requests()[0].proxyAuthorization, "Basic dXNlcjpwYTpzcw==");
}

TEST_F(InternetOptionsTest, ProxyThatRefusesGivesTheUsualFailureText) {
  InternetOptions options;
  options.proxyMode = InternetOptions::ProxyMode::Manual;
  options.proxyHost = "127.0.0.1";
  options.proxyPort = test::RawTcpServer([](int) { return test::RawReply{}; }).Port();  // closed
  form.Inet1.SetOptions(options);
  EXPECT_FALSE(Fetch());
  EXPECT_TRUE(server.Requests().empty());
  const std::string refused = "ErrorCode: " + std::to_string(CURLE_COULDNT_CONNECT) + " : ";
  ASSERT_GE(ui.statuses.size(), 3u);
  EXPECT_EQ(ui.statuses[1].rfind(refused, 0), 0u) << ui.statuses[1];
  EXPECT_EQ(form.StatusText(), "Retry:" + server.Url("/page.html"));
}

TEST(InternetOptionsTimeouts, TimeOutsAndRetriesComeFromTheOptions) {
  test::RawTcpServer dropping([](int) { return test::RawReply{}; });
  FakeUi ui;
  Form1 form{ui};
  SearchRun run{form};
  InternetOptions options;
  options.retries = 1;
  options.connectTimeoutSeconds = 7;
  options.totalTimeoutSeconds = 0;  // no limit
  form.Inet1.SetOptions(options);
  EXPECT_EQ(form.Inet1.ConnectTimeoutMs(), 7000);
  EXPECT_EQ(form.Inet1.TotalTimeoutMs(), 0);
  EXPECT_FALSE(FetchPage(run, dropping.Url("/"), "", ""));
  EXPECT_EQ(dropping.Connections(), 2);
}

}  // namespace
}  // namespace vendil
