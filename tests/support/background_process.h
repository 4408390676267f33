// A child process that runs while the test goes on (vendil-cli interrupted with Ctrl+C, a
// window process closed mid-download), and the aria2c processes a program of ours started.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace vendil::test {

class BackgroundProcess {
 public:
  // Starts `argv` with stdout and stderr to files in `folder` and stdin from the file
  // `input`; `environment` entries ("NAME=value") are set on top of ours.
  BackgroundProcess(const std::vector<std::string>& argv, const std::string& folder,
                    const std::vector<std::string>& environment = {},
                    const std::string& input = "/dev/null");
  ~BackgroundProcess();  // kills a child still running
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  pid_t Pid() const { return pid_; }
  void Signal(int signal);
  // The exit status (128 + signal when a signal ended it), or -1 when `timeout` passed.
  int Wait(std::chrono::milliseconds timeout);
  std::string Out() const;
  std::string Err() const;

 private:
  pid_t pid_ = -1;
  std::string out_, err_;
};

// The aria2c processes started with --stop-with-process=`owner`.
std::vector<pid_t> Aria2cOf(pid_t owner);
// The arguments of a running process, from /proc.
std::vector<std::string> CommandLineOf(pid_t pid);

}  // namespace vendil::test
