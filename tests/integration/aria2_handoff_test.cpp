// The aria2 hand-off against a real aria2c on loopback: its queue is paused, so nothing is
// downloaded; what arrived is read back over the same JSON-RPC interface.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "commands/save_commands.h"
#include "commands/send_aria2.h"
#include "download/handoff_aria2.h"
#include "export/json_value.h"
#include "platform/json_rpc_post.h"
#include "settings/c_ini.h"
#include "state/form1.h"
#include "support/cli_process.h"
#include "support/fake_ui.h"
#include "support/http_test_server.h"
#include "support/loopback_listener.h"
#include "support/temp_folder.h"

extern char** environ;

namespace vendil::test {
namespace {

const char* const kSecret = "vendil-test-secret";

// A loopback port that takes connections and never answers: a download from it stays
// active, so with one download at a time everything added behind it waits.
class SilentServer : public LoopbackListener {
 public:
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(Port()); }
};

int FreeLoopbackPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

// One aria2c process for one test, ended when the test ends.
class Aria2Process {
 public:
  Aria2Process(const std::filesystem::path& dir, const std::string& inputFile = "") {
    port_ = FreeLoopbackPort();
    std::vector<std::string> args = {"aria2c",
                                     "--no-conf",
                                     "--enable-rpc",
                                     "--rpc-listen-all=false",
                                     "--rpc-listen-port=" + std::to_string(port_),
                                     "--rpc-secret=" + std::string(kSecret),
                                     "--dir=" + dir.string(),
                                     "--pause=true",
                                     "--max-concurrent-downloads=1",
                                     "--quiet=true",
                                     "--disable-ipv6=true"};
    if (!inputFile.empty()) {
      args.push_back("--input-file=" + inputFile);
      args.push_back("--deferred-input=false");
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawnp(&pid_, "aria2c", nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  // aria2 takes seconds to wind down after a shutdown call; it has nothing to save here,
  // so after a short grace it is ended outright.
  ~Aria2Process() {
    if (pid_ <= 0) return;
    Call("aria2.forceShutdown", "");
    for (int i = 0; i < 10; ++i) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  Aria2Process(const Aria2Process&) = delete;
  Aria2Process& operator=(const Aria2Process&) = delete;

  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/jsonrpc"; }

  // A call with the token; `params` are the JSON texts after it, comma-separated.
  std::optional<JsonValue> Call(const std::string& method, const std::string& params) {
    std::string body = "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"" + method + "\",\"params\":[" +
                       JsonQuote(std::string("token:") + kSecret) +
                       (params.empty() ? "" : "," + params) + "]}";
    std::string response, error;
    bool connected = false;
    if (!PostJsonRpc(Url(), body, response, error, connected)) return std::nullopt;
    auto v = ParseJson(response);
    if (!v || !v->Find("result")) return std::nullopt;
    return *v->Find("result");
  }

  // Waits until the RPC interface answers (aria2c takes a moment to listen).
  bool WaitUntilReady() {
    if (pid_ <= 0) return false;
    for (int i = 0; i < 200; ++i) {
      if (Call("aria2.getVersion", "")) return true;
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }

  struct Entry {
    std::string uri, dir, referer, out;
  };
  std::vector<Entry> Waiting() {
    std::vector<Entry> entries;
    auto list = Call("aria2.tellWaiting", "0,100");
    if (!list) return entries;
    for (const auto& item : list->items) {
      Entry e;
      e.dir = item.Find("dir") ? item.Find("dir")->text : "";
      const JsonValue* files = item.Find("files");
      if (files && !files->items.empty()) {
        const JsonValue* uris = files->items[0].Find("uris");
        if (uris && !uris->items.empty()) e.uri = uris->items[0].Find("uri")->text;
      }
      if (auto options = Call("aria2.getOption", JsonQuote(item.Find("gid")->text))) {
        if (const JsonValue* r = options->Find("referer")) e.referer = r->text;
        if (const JsonValue* o = options->Find("out")) e.out = o->text;
      }
      entries.push_back(e);
    }
    return entries;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

class IntegrationAria2 : public ::testing::Test {
 protected:
  IntegrationAria2() : form(ui) {
    form.settingsFile = (dir / "vendil.ini").string();
    form.mnuOption_UseBriefcaseDirectory.SetChecked(true);
    // Every URL is on loopback, so nothing ever leaves the machine.
    Add(true, "a.zip", silent.Base() + "/a.zip", silent.Base() + "/list.html", "sub\\inner\\", "");
    Add(false, "b.zip", silent.Base() + "/b.zip", "", "", "");
    Add(true, "c.zip", silent.Base() + "/日本/c.zip", "", "", (dir / "own").string());
  }

  void Add(bool checked, const std::string& name, const std::string& url,
           const std::string& referer, const std::string& folder, const std::string& dl) {
    form.lvwUrls.AddLink(name, url, referer, "", folder, dl, 1);
    form.lvwUrls.SetChecked(form.lvwUrls.Count(), checked);
  }

  void ExpectTheCheckedRowsArrived(Aria2Process& aria2) {
    const auto waiting = aria2.Waiting();
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].uri, silent.Base() + "/a.zip");
    EXPECT_EQ(waiting[0].dir, (dir / "save").string() + "/sub/inner/");
    EXPECT_EQ(waiting[0].referer, silent.Base() + "/list.html");
    // aria2 keeps the URI as it normalises it: the Japanese path arrives percent-encoded.
    EXPECT_EQ(waiting[1].uri, silent.Base() + "/%E6%97%A5%E6%9C%AC/c.zip");
    EXPECT_EQ(waiting[1].dir, (dir / "own").string() + "/");
    EXPECT_EQ(waiting[1].referer, "");
  }

  SilentServer silent;
  FakeUi ui;
  Form1 form;
  TempFolder temp;
  std::filesystem::path dir{temp.Path()};
};

TEST_F(IntegrationAria2, SendAddsEveryCheckedRowWithFolderAndReferer) {
  Aria2Process aria2(dir);
  ASSERT_TRUE(aria2.WaitUntilReady());
  // The RPC interface starts what it is given: one download that never ends comes first.
  ASSERT_TRUE(aria2.Call("aria2.addUri", "[" + JsonQuote(silent.Base() + "/blocker") + "]"));
  cIni ini;
  ini.FileName(form.settingsFile);
  ini.Section("aria2");
  ini.SetString("RpcUrl", aria2.Url());
  ini.SetString("Secret", "wrong");
  EXPECT_EQ(
      SendToAria2(form, (dir / "save").string(), Aria2EndpointFromSettings(form.settingsFile)),
      HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("aria2への送信に失敗しました。", 0), 0u);
  EXPECT_NE(ui.messages[0].text.find("シークレット"), std::string::npos) << ui.messages[0].text;
  EXPECT_TRUE(aria2.Waiting().empty());

  ini.SetString("Secret", kSecret);
  SendToAria2(form, (dir / "save").string());
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, "2 個のURLを送りました。");
  EXPECT_EQ(ui.messages[1].style, vb::OKOnly | vb::Information);
  ExpectTheCheckedRowsArrived(aria2);
  EXPECT_EQ(aria2.Waiting()[0].out, "a.zip");
}

TEST_F(IntegrationAria2, ARowAria2RefusesIsCountedOut) {
  Aria2Process aria2(dir);
  ASSERT_TRUE(aria2.WaitUntilReady());
  ASSERT_TRUE(aria2.Call("aria2.addUri", "[" + JsonQuote(silent.Base() + "/blocker") + "]"));
  Add(true, "x", "mailto:someone@127.0.0.1", "", "", "");  // nothing aria2 can download
  const Aria2Endpoint endpoint{aria2.Url(), kSecret};
  EXPECT_EQ(SendToAria2(form, (dir / "save").string(), endpoint), HandOffResult::Failed);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "aria2への送信に失敗しました。\r\n3 個のうち 2 個のURLを送りました。残りの 1 "
            "個はaria2が受け付けませんでした。\r\nNo URI to download.");
  EXPECT_EQ(aria2.Waiting().size(), 2u);
  // Found at its address, with the right secret or a wrong one.
  EXPECT_EQ(FindAria2(endpoint), aria2.Url());
  EXPECT_EQ(FindAria2({aria2.Url(), "wrong"}), aria2.Url());
  EXPECT_FALSE(FindAria2({silent.Base() + "/jsonrpc", ""}));  // answers nothing in time
}

TEST_F(IntegrationAria2, CommandLineSendsWithTheSecretFromAFile) {
  Aria2Process aria2(dir);
  ASSERT_TRUE(aria2.WaitUntilReady());
  ASSERT_TRUE(aria2.Call("aria2.addUri", "[" + JsonQuote(silent.Base() + "/blocker") + "]"));
  HttpTestServer site;
  site.Page("/index.html", "<a href=\"a.zip\">A</a><a href=\"b%20c.zip\">B</a><a href=x.txt>X</a>",
            "text/html");
  const std::string secretFile = (dir / "secret").string();
  std::ofstream(secretFile) << "wrong\n";
  auto run = [&] {
    return RunProcess(
        {std::string(VENDIL_BIN_DIR) + "/vendil-cli", "search", "--depth", "0", "--mask", "*.zip",
         "--save-folder", (dir / "save").string(), "--send", "aria2", "--rpc-url", aria2.Url(),
         "--rpc-secret-file", secretFile, site.Url("/index.html")},
        dir.string());
  };
  CliResult r = run();
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("シークレット"), std::string::npos) << r.err;
  std::ofstream(secretFile) << kSecret << "\n";  // the line end is no part of the secret
  r = run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("2 個のURLを送りました。"), std::string::npos) << r.err;
  const auto waiting = aria2.Waiting();
  ASSERT_EQ(waiting.size(), 2u);
  EXPECT_EQ(waiting[0].uri, site.Url("/a.zip"));
  EXPECT_EQ(waiting[0].referer, site.Url("/index.html"));
  EXPECT_EQ(waiting[0].dir, (dir / "save").string());
  EXPECT_EQ(waiting[1].out, "b c.zip");
}

TEST_F(IntegrationAria2, ListFileIsReadByAria2) {
  const std::string list = (dir / "list.aria2").string();
  ASSERT_EQ(SaveListFile(form, ListFormat::Aria2, (dir / "save").string(), list, ""),
            HandOffResult::Done);
  Aria2Process aria2(dir, list);
  ASSERT_TRUE(aria2.WaitUntilReady());
  ExpectTheCheckedRowsArrived(aria2);
}

}  // namespace
}  // namespace vendil::test
