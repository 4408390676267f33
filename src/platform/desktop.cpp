// Opening a URL with xdg-open, started from an argument vector (the URL never meets a shell).
#include "platform/desktop.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>
#include <vector>

extern char** environ;

namespace vendil {

bool OpenWithDesktop(const std::string& url) {
  if (url.empty() || url.find('\0') != std::string::npos) return false;
  std::string program = "xdg-open";
  std::string argument = url;
  std::vector<char*> argv = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
    return false;
  // Nobody waits for the handler, yet its exit must be collected so it leaves no zombie.
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

}  // namespace vendil
