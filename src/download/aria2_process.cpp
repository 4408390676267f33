// aria2c as a child process: spawned with posix_spawn and an argument vector, in a process
// group of its own (a Ctrl+C in the terminal is ours to handle, not aria2c's), with
// --stop-with-process so that it ends by itself should we die without ending it.
#include "download/aria2_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/json_rpc_post.h"
#include "platform/unique_fd.h"

extern char** environ;

namespace vendil {

namespace {

// A port on 127.0.0.1 that is free now; aria2c may lose it to another program before it
// binds, which Start meets by trying again.
int FreeLoopbackPort() {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) return 0;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return 0;
  socklen_t len = sizeof addr;
  if (::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
  return ntohs(addr.sin_port);
}

std::string RandomSecret() {
  unsigned char bytes[16] = {};
  UniqueFd fd(::open("/dev/urandom", O_RDONLY | O_CLOEXEC));
  size_t got = 0;
  while (fd.Valid() && got < sizeof bytes) {
    const ssize_t n = ::read(fd.Get(), bytes + got, sizeof bytes - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got < sizeof bytes) return "";
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += hex[b >> 4];
    out += hex[b & 15];
  }
  return out;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

class SpawnSetup {
 public:
  SpawnSetup() {
    ok_ = posix_spawn_file_actions_init(&actions_) == 0;
    ok_ = posix_spawnattr_init(&attr_) == 0 && ok_;
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attr_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  bool Prepare() {
    if (!ok_) return false;
    // No terminal input or output for aria2c: what it says comes over RPC.
    for (int fd : {0, 1, 2}) {
      const int flags = fd == 0 ? O_RDONLY : O_WRONLY;
      if (posix_spawn_file_actions_addopen(&actions_, fd, "/dev/null", flags, 0) != 0) return false;
    }
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    return posix_spawnattr_setpgroup(&attr_, 0) == 0 &&
           posix_spawnattr_setsigmask(&attr_, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attr_, &defaults) == 0 &&
           posix_spawnattr_setflags(
               &attr_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
  }
  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attr() const { return &attr_; }

 private:
  bool ok_ = false;
  posix_spawn_file_actions_t actions_{};
  posix_spawnattr_t attr_{};
};

}  // namespace

std::string FindAria2c() {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/aria2c";
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

Aria2Process::~Aria2Process() { End(); }

std::optional<std::string> Aria2Process::Start(const std::string& program,
                                               const std::vector<std::string>& extraOptions) {
  End();
  std::string lastError = "aria2c could not be started";
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto error = SpawnOnce(program, extraOptions);
    if (!error) return std::nullopt;
    lastError = *error;
  }
  return lastError;
}

std::optional<std::string> Aria2Process::SpawnOnce(const std::string& program,
                                                   const std::vector<std::string>& extraOptions) {
  port_ = FreeLoopbackPort();
  secret_ = RandomSecret();
  if (port_ == 0 || secret_.empty()) return std::string("no loopback port or random secret");
  rpcUrl_ = "http://127.0.0.1:" + std::to_string(port_) + "/jsonrpc";
  std::vector<std::string> args = {
      program,
      "--no-conf=true",
      "--enable-rpc=true",
      "--rpc-listen-all=false",
      "--rpc-listen-port=" + std::to_string(port_),
      "--rpc-secret=" + secret_,
      "--rpc-max-request-size=64M",
      "--stop-with-process=" + std::to_string(::getpid()),
      "--continue=true",
      "--quiet=true",
      "--console-log-level=error",
      "--summary-interval=0",
      // Every result stays listed, so a poll can read them by position.
      "--max-download-result=1000000",
  };
  for (const std::string& option : extraOptions) {
    if (option.rfind("--", 0) == 0 && option.find('=') != std::string::npos) args.push_back(option);
  }
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  SpawnSetup setup;
  if (!setup.Prepare()) return std::string("posix_spawn could not be prepared");
  pid_t pid = -1;
  const int rc =
      posix_spawn(&pid, program.c_str(), setup.Actions(), setup.Attr(), argv.data(), environ);
  if (rc != 0) return "aria2c: " + std::string(std::strerror(rc));
  pid_ = pid;
  // aria2c takes a few tens of milliseconds to listen; a child that has ended has lost its
  // port or refused an option.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return std::string("aria2c ended as it started");
    }
    std::string error;
    if (Call("aria2.getVersion", "", error)) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  End();
  return std::string("aria2c does not answer");
}

std::string Aria2Process::Envelope(const std::string& method, const std::string& params) const {
  std::string all = JsonQuote("token:" + secret_);
  if (!params.empty()) all += "," + params;
  return "{\"jsonrpc\":\"2.0\",\"id\":\"v\",\"method\":" + JsonQuote(method) + ",\"params\":[" +
         all + "]}";
}

std::optional<JsonValue> Aria2Process::Call(const std::string& method, const std::string& params,
                                            std::string& error) {
  if (pid_ <= 0) {
    error = "aria2c is not running";
    return std::nullopt;
  }
  std::string response;
  bool connected = false;
  if (!PostJsonRpc(rpcUrl_, Envelope(method, params), response, error, connected))
    return std::nullopt;
  auto reply = ParseJson(response);
  if (!reply) {
    error = "unreadable answer";
    return std::nullopt;
  }
  if (const JsonValue* fault = reply->Find("error")) {
    const JsonValue* message = fault->Find("message");
    error = message && message->kind == JsonValue::Kind::String ? message->text : "error";
    return std::nullopt;
  }
  const JsonValue* result = reply->Find("result");
  if (!result) {
    error = "answer without a result";
    return std::nullopt;
  }
  return *result;
}

std::optional<JsonValue> Aria2Process::Multicall(
    const std::vector<std::pair<std::string, std::string>>& calls, std::string& error) {
  std::string list;
  const std::string token = JsonQuote("token:" + secret_);
  for (const auto& [method, params] : calls) {
    if (!list.empty()) list += ',';
    list += "{\"methodName\":" + JsonQuote(method) + ",\"params\":[" + token +
            (params.empty() ? "" : "," + params) + "]}";
  }
  std::string response;
  bool connected = false;
  const std::string body =
      "{\"jsonrpc\":\"2.0\",\"id\":\"v\",\"method\":\"system.multicall\",\"params\":[[" + list +
      "]]}";
  if (pid_ <= 0) {
    error = "aria2c is not running";
    return std::nullopt;
  }
  if (!PostJsonRpc(rpcUrl_, body, response, error, connected)) return std::nullopt;
  auto reply = ParseJson(response);
  const JsonValue* result = reply ? reply->Find("result") : nullptr;
  if (!result || result->kind != JsonValue::Kind::Array) {
    error = "unreadable answer";
    return std::nullopt;
  }
  return *result;
}

bool Aria2Process::WaitForExit(int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (true) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno == ECHILD)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void Aria2Process::End() {
  if (pid_ <= 0) return;
  // SIGTERM is aria2c's orderly shutdown (the same as aria2.shutdown: control files of
  // unfinished files are written). An RPC shutdown keeps aria2c around for seconds, and
  // after SIGTERM it notices only on its next event: a call wakes it at once.
  ::kill(pid_, SIGTERM);
  std::string ignored;
  (void)Call("aria2.getVersion", "", ignored);
  if (!WaitForExit(5000)) {
    ::kill(pid_, SIGTERM);  // a second one ends it without the goodbyes
    if (!WaitForExit(2000)) {
      ::kill(pid_, SIGKILL);
      WaitForExit(5000);
    }
  }
  pid_ = -1;
}

}  // namespace vendil
