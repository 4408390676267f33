// Child processes that run beside the test, and finding the aria2c a program started.
#include "support/background_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "support/cli_process.h"
#include "support/temp_folder.h"

namespace vendil::test {

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv,
                                     const std::string& folder,
                                     const std::vector<std::string>& environment,
                                     const std::string& input)
    : out_(folder + "/.stdout"), err_(folder + "/.stderr") {
  pid_ = fork();
  if (pid_ == 0) ExecWithFiles(argv, input, out_, err_, environment);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void BackgroundProcess::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

int BackgroundProcess::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string BackgroundProcess::Out() const { return ReadBytes(out_); }
std::string BackgroundProcess::Err() const { return ReadBytes(err_); }

std::vector<std::string> CommandLineOf(pid_t pid) {
  const std::string bytes = ReadBytes("/proc/" + std::to_string(pid) + "/cmdline");
  std::vector<std::string> args;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\0', start);
    if (end == std::string::npos) end = bytes.size();
    args.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return args;
}

std::vector<pid_t> Aria2cOf(pid_t owner) {
  std::vector<pid_t> found;
  const std::string tie = "--stop-with-process=" + std::to_string(owner);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = std::atoi(name.c_str());
    const auto args = CommandLineOf(pid);
    if (args.empty() || args[0].find("aria2c") == std::string::npos) continue;
    for (const std::string& a : args) {
      if (a == tie) found.push_back(pid);
    }
  }
  return found;
}

}  // namespace vendil::test
