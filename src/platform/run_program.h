// Runs another program from an argument vector (never through a shell) and waits for it,
// bounded in time; and looks for a running program of the user by its name.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vendil {

struct ProgramRun {
  bool started = false;
  int startError = 0;  // errno when it could not be started (ENOENT: not on PATH)
  bool exited = false;
  int exitStatus = -1;  // when exited normally
  bool timedOut = false;
  std::string output;  // what it wrote on stdout (bounded)
};

enum class OnTimeout {
  Kill,   // a helper that hangs is ended; its stdout is captured
  Leave,  // a program that may stay (a manager that started itself) keeps running; its
          // stdout goes to /dev/null, as nobody will read it any more
};

// Runs argv[0], looked up on PATH, with stdin from /dev/null and stderr discarded. Arguments are
// passed as they are, one each; one holding a NUL byte cannot be passed, so nothing is started
// then.
ProgramRun RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                      OnTimeout onTimeout);

// Whether a process of this user runs a program of this name (its command name, as the
// kernel keeps it: at most 15 bytes).
bool IsProgramRunning(const std::string& name);

// Whether `name` is an executable file in one of PATH's folders.
bool IsOnPath(const std::string& name);

}  // namespace vendil
