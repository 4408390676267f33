// vendil-cli's --export and --send after a real search of a loopback site: the files and the
// recorded calls they leave, and exit 1 with the message on stderr when one fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "support/cli_process.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace vendil {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) { return test::ReadBytes(p.string()); }

class IntegrationCliHandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    site.Page("/index.html", "<a href=\"a.zip\">書庫A</a><a href=\"b.txt\">B</a>",
              "text/html; charset=UTF-8");
    std::ofstream(settings) << "[General]\r\nMask=*.zip\r\n[Automation]\r\nRecordFile=calls.log"
                               "\r\nIrvineQueueFolder=/trash\r\n";
  }

  using Result = test::CliResult;
  Result Run(std::vector<std::string> args) {
    args.insert(args.begin(), {std::string(VENDIL_BIN_DIR) + "/vendil-cli", "search", "--depth",
                               "0", "--settings", settings.string()});
    args.push_back(site.Url("/index.html"));
    return test::RunProcess(args, temp.Path());
  }

  test::HttpTestServer site;
  test::TempFolder temp;
  fs::path dir{temp.Path()}, settings{dir / "run.ini"};
};

TEST_F(IntegrationCliHandOff, ExportsAndSendsTheCheckedRows) {
  const fs::path txt = dir / "list.txt", wrg = dir / "list.wrg";
  Result r = Run({"--save-folder", "C:\\dl", "--export", "text:" + txt.string(), "--export",
                  "wrg:" + wrg.string(), "--send", "irvine", "--send", "flashget"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string a = site.Url("/a.zip");
  EXPECT_EQ(ReadAll(txt), a + "\r\n");
  EXPECT_EQ(AnsiToUtf8(ReadAll(wrg)), ";\r\nInfo=書庫A\r\nRefererStr=" + site.Url("/index.html") +
                                          "\r\nStoreIn=C:\\dl\r\nAdvanced=0\r\nUrl=" + a + "\r\n");
  EXPECT_NE(r.err.find(txt.string() + "\r\nに保存しました。"), std::string::npos) << r.err;
  const std::string calls = AnsiToUtf8(ReadAll(dir / "calls.log"));
  EXPECT_NE(calls.find("Irvine.Api#1 Let CurrentQueueFolder = \"/Default\""), std::string::npos)
      << calls;
  EXPECT_NE(calls.find("Irvine.Api#1 Call AddIRI(\"Url=" + a +
                       "\\r\\nComment=書庫A\\r\\n"
                       "Folder=C:\\\\dl\\r\\n"),
            std::string::npos)
      << calls;
  EXPECT_NE(
      calls.find("AddUrlList([\"" + site.Url("/index.html") + "\", \"" + a + "\", \"書庫A\"])"),
      std::string::npos)
      << calls;
}

TEST_F(IntegrationCliHandOff, AFailureGivesExitOneAndTheMessage) {
  Result r = Run({"--export", "iri:" + (dir / "missing" / "x.iri").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ファイルを保存できません。"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("に保存しました。"), std::string::npos) << r.err;
  std::ofstream(settings) << "[General]\r\nMask=*.zip\r\n";  // no record file: no managers
  r = Run({"--send", "reget", "--export", "grx:" + (dir / "ok.grx").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ReGet(ClickCatcher)が正常にインストールされていません。"),
            std::string::npos)
      << r.err;
  EXPECT_TRUE(fs::exists(dir / "ok.grx"));  // the other hand-offs still run
}

}  // namespace
}  // namespace vendil
