// vendil-cli search run as a real process against a loopback site: what it prints, its
// exit statuses, the settings file and its overrides, and Ctrl+C.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/raw_tcp_server.h"
#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/loopback_proxy.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

namespace fs = std::filesystem;
using test::HttpTestServer;
using RunResult = test::CliResult;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

class IntegrationCliSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    site.Page("/index.html",
              "<html><body><a href=\"sub/page.html\">sub</a>"
              "<a href=\"a.zip\">Archive\t\"A\"\nnew</a><a href=\"b.lzh\">B</a></body></html>");
    site.Page("/sub/page.html", "<a href=\"c.zip\">C</a>");
  }

  // Runs vendil-cli with `args`; `whileRunning` is called once the process has started.
  RunResult Run(const std::vector<std::string>& args,
                const std::function<void(pid_t)>& whileRunning = {}) {
    std::vector<std::string> argv = {std::string(VENDIL_BIN_DIR) + "/vendil-cli"};
    argv.insert(argv.end(), args.begin(), args.end());
    return test::RunProcess(argv, temp.Path(), "", std::chrono::seconds(60), whileRunning);
  }

  HttpTestServer site;
  test::TempFolder temp;
  fs::path dir{temp.Path()};
};

TEST_F(IntegrationCliSearch, PrintsRowsAsTsvAndTheStatusLast) {
  RunResult r = Run({"search", "--depth", "1", "--mask", "*.zip", site.Url("/index.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = Lines(r.out);
  ASSERT_EQ(rows.size(), 4u) << r.out;
  EXPECT_EQ(rows[1], "1\ta.zip\t" + site.Url("/a.zip") + "\t" + site.Url("/index.html") +
                         "\tArchive \"A\"new\t\t\t0");
  EXPECT_EQ(rows[0].substr(0, 2), "0\t");
  EXPECT_EQ(rows[3], "1\tc.zip\t" + site.Url("/sub/c.zip") + "\t" + site.Url("/sub/page.html") +
                         "\tC\t\t\t1");
  const auto err = Lines(r.err);
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.back(), "2/4 個のリンクが見つかりました。");
}

TEST_F(IntegrationCliSearch, TsvCellsNeverHoldTabsOrLineBreaks) {
  site.Page("/t.html", "<a href=\"t.zip\">one\ttwo\r\nthree</a><a href=\"u.zip\">plain</a>");
  RunResult r = Run({"search", "--mask", "*.zip", site.Url("/t.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = Lines(r.out);
  ASSERT_EQ(rows.size(), 2u) << r.out;
  for (const auto& row : rows) EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 7) << row;
  EXPECT_NE(rows[0].find("one two"), std::string::npos) << rows[0];
}

TEST_F(IntegrationCliSearch, PrintsJsonWithEscapedText) {
  site.Page("/q.html", "<a href=\"x.zip\">say \"hi\" \\ there</a>");
  RunResult r = Run({"search", "--format", "json", "--mask", "*.zip", site.Url("/q.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"checked\": true"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Title\": \"say \\\"hi\\\" \\\\ there\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Depth\": \"0\""), std::string::npos);
  EXPECT_EQ(r.out.front(), '[');
  RunResult empty = Run({"search", "--format", "json", site.Url("/missing.html")});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "[]\n");
}

TEST_F(IntegrationCliSearch, CommandLineOverridesTheSettingsFile) {
  const fs::path ini = dir / "search.nlc";
  std::ofstream(ini) << "[General]\r\nMask=*.lzh\r\n[Options]\r\nSearchLebel=1\r\n";
  RunResult r = Run({"search", "--settings", ini.string(), site.Url("/index.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.err).back(), "1/4 個のリンクが見つかりました。");
  r = Run({"search", "--settings", ini.string(), "--mask", "*.zip", "--depth", "0",
           site.Url("/index.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.err).back(), "1/3 個のリンクが見つかりました。");
}

TEST_F(IntegrationCliSearch, UnreachableStartPageIsNoEmptyPage) {
  test::RawTcpServer dead([](int) { return test::RawReply{}; });  // closes every connection
  RunResult r = Run({"search", dead.Url("/index.html")});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_TRUE(r.out.empty());
  auto err = Lines(r.err);
  ASSERT_GE(err.size(), 1u) << r.err;
  EXPECT_EQ(err.back(), "ページの取得に失敗しました。");
  EXPECT_EQ(r.err.find("0/0 個のリンクが見つかりました。"), std::string::npos) << r.err;

  // Several URLs: the others are searched and printed; the log line of the dead one tells.
  r = Run({"search", dead.Url("/index.html"), site.Url("/sub/page.html")});
  EXPECT_EQ(r.status, 3) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 1u) << r.out;
  err = Lines(r.err);
  EXPECT_NE(std::find(err.begin(), err.end(), ">ページの取得に失敗しました。"), err.end()) << r.err;

  // A start page that is read but holds no links is an empty page, as before.
  site.Page("/empty.html", "<p>nothing</p>");
  r = Run({"search", site.Url("/empty.html")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("ページの取得に失敗しました。"), std::string::npos) << r.err;
}

TEST_F(IntegrationCliSearch, ProxyFromTheSettingsFileOrTheCommandLine) {
  test::LoopbackProxy fromFile, fromLine;
  const fs::path ini = dir / "net.ini";
  std::ofstream(ini) << "[Internet]\r\nProxyMode=2\r\nProxyHost=127.0.0.1\r\nProxyPort="
                     << fromFile.Port() << "\r\n";
  RunResult r = Run({"search", "--settings", ini.string(), site.Url("/sub/page.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fromFile.Requests().size(), 1u);

  r = Run({"search", "--settings", ini.string(), "--proxy",
           "http://u:p@127.0.0.1:" + std::to_string(fromLine.Port()), site.Url("/sub/page.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(fromFile.Requests().size(), 1u);
  ASSERT_EQ(fromLine.Requests().size(), 1u);
  EXPECT_EQ(fromLine.Requests()[0].proxyAuthorization, "Basic dTpw");

  r = Run({"search", "--settings", ini.string(), "--proxy", "none", site.Url("/sub/page.html")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 1u);
  EXPECT_EQ(fromFile.Requests().size() + fromLine.Requests().size(), 2u);
}

TEST_F(IntegrationCliSearch, BadArgumentsExitTwoWithUsage) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"search"},
           {"search", "--tags", "abc", site.Url("/index.html")},
           {"search", "--settings", (dir / "none.ini").string(), site.Url("/index.html")},
           {"search", "--format", "xml", site.Url("/index.html")},
           {"search", "--connections", "0", site.Url("/index.html")},
           {"search", "--delay", "-1", site.Url("/index.html")},
           {"search", "--proxy", "http://127.0.0.1:99999", site.Url("/index.html")}}) {
    RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

TEST_F(IntegrationCliSearch, ConnectToSendsAHostNameToTheLoopbackServer) {
  const std::string port = std::to_string(site.Port());
  RunResult r = Run({"search", "--connect-to", "files.example:" + port + ":127.0.0.1:" + port,
                     "--mask", "*.zip", "http://files.example:" + port + "/index.html"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("http://files.example:" + port + "/a.zip"), std::string::npos) << r.out;
}

TEST_F(IntegrationCliSearch, OneCtrlCStopsACrawlHeldByAServerThatNeverAnswers) {
  test::RawTcpServer silent([](int) { return test::RawReply{"", true}; });
  site.Page("/stall.html", "<a href=\"a.zip\">A</a><a href=\"" + silent.Url("/never.html") +
                               "\">never</a><a href=\"b.zip\">B</a>");
  RunResult r = Run({"search", "--depth", "1", site.Url("/stall.html")}, [&](pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (silent.Connections() == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
  });
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 3u) << r.out;  // every row found is printed
  EXPECT_EQ(Lines(r.err).back(), "キャンセルされました。");
  EXPECT_EQ(r.err.find("interrupted"), std::string::npos) << r.err;  // the first Ctrl+C did it
  EXPECT_EQ(silent.Connections(), 1);
}

TEST_F(IntegrationCliSearch, OneCtrlCStopsACrawlOfPagesThatStreamWithoutEnd) {
  // Every endless page names the next, so the crawl never ends by itself; the signal comes
  // while a page streams as fast as the loopback carries it.
  auto sent = std::make_shared<std::atomic<size_t>>(0);
  site.Page("/index.html", "<a href=\"a.zip\">A</a><a href=\"endless/1\">E</a>");
  for (int n = 1; n <= 8; ++n) {
    const std::string block =
        "<a href=\"" + std::to_string(n + 1) + "\">next</a>" + std::string(32 * 1024, ' ');
    site.Handle("/endless/" + std::to_string(n), [sent, block](const httplib::Request&,
                                                               httplib::Response& res) {
      res.set_chunked_content_provider("text/html", [sent, block](size_t, httplib::DataSink& sink) {
        *sent += block.size();
        return sink.write(block.data(), block.size());
      });
    });
  }
  RunResult r = Run({"search", "--depth", "100", site.Url("/index.html")}, [&](pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (*sent < (size_t{8} << 20) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(pid, SIGINT);
  });
  EXPECT_EQ(r.status, 1) << r.err;
  const auto rows = Lines(r.out);
  ASSERT_GE(rows.size(), 2u) << r.out;  // the start page's rows at least
  EXPECT_EQ(Lines(r.err).back(), "キャンセルされました。");
  EXPECT_EQ(r.err.find("interrupted"), std::string::npos) << r.err;  // the first Ctrl+C did it
}

}  // namespace
}  // namespace vendil
