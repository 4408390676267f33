// Child processes, the private session bus and the manager stand-ins of the tests.
#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace vendil::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv, bool withStdin, bool quiet) {
  int out[2], in[2] = {-1, -1};
  if (pipe2(out, O_CLOEXEC) != 0) return;
  if (withStdin && pipe2(in, O_CLOEXEC) != 0) {
    close(out[0]);
    close(out[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (withStdin) {
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  } else {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  if (quiet) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = argv;
  std::vector<char*> cargs;
  for (auto& a : args) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  if (posix_spawnp(&pid_, cargs[0], &actions, nullptr, cargs.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  out_ = out[0];
  if (withStdin) {
    close(in[0]);
    in_ = in[1];
  }
}

ChildProcess::~ChildProcess() {
  CloseStdin();
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    Wait();
  }
  if (out_ >= 0) close(out_);
}

std::optional<std::string> ChildProcess::ReadLine() {
  for (;;) {
    if (const size_t nl = buffer_.find('\n'); nl != std::string::npos) {
      std::string line = buffer_.substr(0, nl);
      buffer_.erase(0, nl + 1);
      return line;
    }
    char chunk[512];
    const ssize_t n = out_ >= 0 ? read(out_, chunk, sizeof chunk) : 0;
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

void ChildProcess::CloseStdin() {
  if (in_ >= 0) close(in_);
  in_ = -1;
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

PrivateSessionBus::PrivateSessionBus()
    : daemon_({"dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf", "--nofork",
               "--nopidfile", "--print-address=1"},
              false, true) {
  if (const char* old = std::getenv("DBUS_SESSION_BUS_ADDRESS")) previous_ = old;
  // The daemon prints its address once it listens.
  if (auto line = daemon_.ReadLine()) address_ = *line;
  if (!address_.empty()) setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

PrivateSessionBus::~PrivateSessionBus() {
  if (previous_) {
    setenv("DBUS_SESSION_BUS_ADDRESS", previous_->c_str(), 1);
  } else {
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
}

bool KGetStandIn::Available() {
  return access((std::string(VENDIL_BIN_DIR) + "/kget_stand_in").c_str(), X_OK) == 0;
}

KGetStandIn::KGetStandIn(const std::string& recordFile)
    : record_(recordFile), process_({std::string(VENDIL_BIN_DIR) + "/kget_stand_in", recordFile}) {
  // It prints "ready" once the service name is its own on the bus.
  const auto line = process_.ReadLine();
  ready_ = line && *line == "ready";
}

std::vector<std::string> KGetStandIn::Calls() const {
  std::vector<std::string> calls;
  std::ifstream in(record_);
  for (std::string line; std::getline(in, line);) calls.push_back(line);
  return calls;
}

UGetStandIn::UGetStandIn(const std::string& folder)
    : folder_(folder), record_(folder + "/uget-calls") {
  std::filesystem::copy_file(std::string(VENDIL_SOURCE_DIR) + "/tests/standins/uget-gtk",
                             folder_ + "/uget-gtk",
                             std::filesystem::copy_options::overwrite_existing);
  const char* path = std::getenv("PATH");
  previousPath_ = path ? path : "";
  setenv("PATH", (folder_ + ":" + previousPath_).c_str(), 1);
  setenv("UGET_RECORD", record_.c_str(), 1);
  unsetenv("UGET_FAIL");
}

UGetStandIn::~UGetStandIn() {
  setenv("PATH", previousPath_.c_str(), 1);
  unsetenv("UGET_RECORD");
  unsetenv("UGET_FAIL");
}

void UGetStandIn::FailOn(const std::string& argument) { setenv("UGET_FAIL", argument.c_str(), 1); }

std::vector<std::vector<std::string>> UGetStandIn::Calls() const {
  std::ifstream in(record_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t nul; (nul = bytes.find('\0', start)) != std::string::npos; start = nul + 1)
    fields.push_back(bytes.substr(start, nul - start));
  std::vector<std::vector<std::string>> calls;
  for (size_t i = 0; i < fields.size();) {
    const size_t count = std::strtoul(fields[i].c_str(), nullptr, 10);
    calls.emplace_back(
        fields.begin() + static_cast<std::ptrdiff_t>(i + 1),
        fields.begin() + static_cast<std::ptrdiff_t>(std::min(fields.size(), i + 1 + count)));
    i += 1 + count;
  }
  return calls;
}

}  // namespace vendil::test
