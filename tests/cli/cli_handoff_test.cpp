// vendil-cli's --export and --send after a real search of a loopback site: the files and the
// recorded calls they leave, and exit 1 with the message on stderr when one fails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "integration/site_server.h"
#include "platform/codec.h"

namespace vendil {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class IntegrationCliHandOff : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("vendil-cli-handoff-" + std::to_string(getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    site.Page("/index.html", "<a href=\"a.zip\">書庫A</a><a href=\"b.txt\">B</a>",
              "text/html; charset=UTF-8");
    settings = dir / "run.ini";
    std::ofstream(settings) << "[General]\r\nMask=*.zip\r\n[Automation]\r\nRecordFile=calls.log"
                               "\r\nIrvineQueueFolder=/trash\r\n";
  }
  void TearDown() override { fs::remove_all(dir); }

  struct Result {
    int status = -1;
    std::string err;
  };
  Result Run(std::vector<std::string> args) {
    args.insert(args.begin(), {std::string(VENDIL_BIN_DIR) + "/vendil-cli", "search", "--depth",
                               "0", "--settings", settings.string()});
    args.push_back(site.Url("/index.html"));
    const fs::path errPath = dir / "err.txt";
    pid_t pid = fork();
    if (pid == 0) {
      int in = open("/dev/null", O_RDONLY);
      int out = open("/dev/null", O_WRONLY);
      int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(in, 0);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<char*> cargs;
      for (auto& a : args) cargs.push_back(a.data());
      cargs.push_back(nullptr);
      execv(cargs[0], cargs.data());
      _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), ReadAll(errPath)};
  }

  test::SiteServer site;
  fs::path dir, settings;
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
