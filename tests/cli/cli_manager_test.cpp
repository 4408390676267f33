// vendil-cli --send to the running managers after a real search of a loopback site: a
// Click'n'Load listener, a uget-gtk on PATH and a KGet service on a private bus, all
// stand-ins that record what they receive; and exit 1 with the reason when one is missing.
#include <gtest/gtest.h>

#include "cli/options.cpp"  // NOLINT(bugprone-suspicious-include)
#include "export/json_value.h"
#include "support/child_process.h"
#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

using test::CliResult;

class CliManagerTest : public ::testing::Test {
 protected:
  CliManagerTest() {
    site.Page("/list.html",
              "<a href=\"%E6%97%A5%E6%9C%AC%20a.zip\">A</a><a href=\"b.zip\">B</a>"
              "<a href=\"c.txt\">C</a>",
              "text/html; charset=UTF-8");
    cnl.Page("/jdcheck.js", "jdownloader=true;", "text/javascript");
    cnl.Page("/flash/add", "success", "text/plain");
  }
  CliResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), {std::string(VENDIL_BIN_DIR) + "/vendil-cli", "search", "--depth",
                               "0", "--mask", "*.zip", "--save-folder", "/dl/保存"});
    args.push_back(site.Url("/list.html"));
    return test::RunProcess(args, temp.Path());
  }

  test::TempFolder temp;
  test::HttpTestServer site;
  test::HttpTestServer cnl;
};

TEST_F(CliManagerTest, EachManagerGetsTheCheckedRowsWithPageAndFolder) {
  test::UGetStandIn uget(temp.Path());
  test::PrivateSessionBus bus;
  ASSERT_TRUE(bus.Ready());
  std::optional<test::KGetStandIn> kget;
  std::vector<std::string> sends = {"--send",    "clicknload", "--cnl-url",
                                    cnl.Url(""), "--send",     "uget"};
  if (test::KGetStandIn::Available()) {
    kget.emplace(temp.File("kget.log"));
    ASSERT_TRUE(kget->Ready());
    sends.insert(sends.end(), {"--send", "kget"});
  }
  const CliResult r = Run(sends);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string a = site.Url("/%E6%97%A5%E6%9C%AC%20a.zip"), b = site.Url("/b.zip");
  const std::string page = site.Url("/list.html");

  const auto posts = cnl.Requests();
  ASSERT_EQ(posts.size(), 1u);  // the look for the listener is the window's, not the send's
  httplib::Params fields;
  httplib::detail::parse_query_text(posts[0].body, fields);
  EXPECT_EQ(fields.find("urls")->second, a + "\r\n" + b);  // the fields: ClickNLoadTest

  using Args = std::vector<std::string>;
  EXPECT_EQ(
      uget.Calls(),
      (std::vector<Args>{{"--quiet", "--folder=/dl/保存", "--http-referer=" + page, "--", a},
                         {"--quiet", "--folder=/dl/保存", "--http-referer=" + page, "--", b}}));
  if (kget) {
    const auto calls = kget->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "[\"addTransfer\"," + JsonQuote(a) + ",\"/dl/保存\",true]");
    EXPECT_EQ(calls[1], "[\"addTransfer\"," + JsonQuote(b) + ",\"/dl/保存\",true]");
  }
  // One line per manager; stdout stays the list.
  size_t told = 0;
  for (size_t at = 0; (at = r.err.find("2 個のURLを送りました。", at)) != std::string::npos; ++at)
    ++told;
  EXPECT_EQ(told, kget ? 3u : 2u) << r.err;
  EXPECT_NE(r.out.find(b), std::string::npos);
}

TEST_F(CliManagerTest, AManagerThatIsNotThereGivesExitOneAndTheReason) {
  test::TempFolder emptyPath;
  test::PrivateSessionBus bus;  // a bus without KGet on it
  const std::string path = std::getenv("PATH");
  // dbus-send stays reachable; uget-gtk is nowhere.
  setenv("PATH", "/usr/bin:/bin", 1);
  const CliResult r = Run({"--send", "clicknload", "--cnl-url", "http://127.0.0.1:1", "--send",
                           "uget", "--send", "kget"});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Click'n'Loadが起動していません。"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("uGetが見つかりません。"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("KGetが起動していません。"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("個のURLを送りました。"), std::string::npos) << r.err;
}

TEST(CliManagerOptions, TargetsAndAddressesAreReadAndChecked) {
  auto parsed = cli::ParseCommandLine({"search", "--send", "clicknload", "--send=uget", "--rpc-url",
                                       "http://127.0.0.1:7/jsonrpc", "--rpc-secret-file", "s.txt",
                                       "--cnl-url=http://127.0.0.1:8", "http://127.0.0.1:9/"});
  ASSERT_TRUE(std::holds_alternative<cli::Options>(parsed));
  const auto& o = std::get<cli::Options>(parsed);
  EXPECT_EQ(o.sends, (std::vector<std::string>{"clicknload", "uget"}));
  EXPECT_EQ(o.rpcUrl, "http://127.0.0.1:7/jsonrpc");
  EXPECT_EQ(o.rpcSecretFile, "s.txt");
  EXPECT_EQ(o.cnlUrl, "http://127.0.0.1:8");
  EXPECT_EQ(std::get<std::string>(cli::ParseCommandLine({"search", "--send", "wget", "u"})),
            "unknown send target wget");
  EXPECT_EQ(std::get<std::string>(cli::ParseCommandLine({"search", "u", "--cnl-url"})),
            "option --cnl-url needs a value");
}

}  // namespace
}  // namespace vendil
