// vendil-cli run as a child process for tests: its own copy of the program in a folder of
// its own (so the settings file beside it is the test's), stdin from a text, stdout and
// stderr captured, and a watchdog that kills a run that hangs.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vendil::test {

struct CliResult {
  int status = -1;  // the exit status; 128 + the signal when one ended it
  bool timedOut = false;
  std::string out, err;
};

// Runs `argv` (argv[0] the program) with `input` on stdin; the captured output goes through
// files in `folder`. After `timeout` the child is killed and `timedOut` set. `whileRunning`
// is called with the child's id once it has started (to signal it, say).
CliResult RunProcess(const std::vector<std::string>& argv, const std::string& folder,
                     const std::string& input = "",
                     std::chrono::milliseconds timeout = std::chrono::seconds(60),
                     const std::function<void(pid_t)>& whileRunning = {});

// In a child just forked: stdin, stdout and stderr from and to these files (stdin may be
// "/dev/null"), `environment` entries ("NAME=value") added, then `argv` run; never returns.
[[noreturn]] void ExecWithFiles(const std::vector<std::string>& argv, const std::string& in,
                                const std::string& out, const std::string& err,
                                const std::vector<std::string>& environment = {});

// A copy of the built vendil-cli in `folder`; its settings file is `folder`/vendil.ini.
std::string CopyOfCli(const std::string& folder);

}  // namespace vendil::test
