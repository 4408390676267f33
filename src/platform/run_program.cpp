// Child programs over posix_spawn with a pipe for stdout; the wait watches the pipe and a
// process descriptor, so it ends as soon as the child does, without polling.
#include "platform/run_program.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include "platform/unique_fd.h"

extern char** environ;

namespace vendil {

namespace {

constexpr size_t kMaxOutput = 1024 * 1024;

class SpawnActions {
 public:
  SpawnActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  bool Ok() const { return ok_; }
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_{};
  bool ok_ = false;
};

// Collects the exit of a child nobody waits for any more, so it leaves no zombie.
void ReapLater(pid_t pid) {
  std::thread([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

int WaitExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                      OnTimeout onTimeout) {
  ProgramRun run;
  if (argv.empty()) return run;
  for (const auto& a : argv) {
    if (a.find('\0') != std::string::npos) {
      run.startError = EINVAL;
      return run;
    }
  }
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    run.startError = errno;
    return run;
  }
  UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
  SpawnActions actions;
  if (!actions.Ok()) return run;
  posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
  if (onTimeout == OnTimeout::Kill) {
    posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), 1);
  } else {
    posix_spawn_file_actions_addopen(actions.Get(), 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(actions.Get(), 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = argv;
  std::vector<char*> cargs;
  for (auto& a : args) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, cargs[0], actions.Get(), nullptr, cargs.data(), environ);
  writeEnd.Reset();
  if (rc != 0) {
    run.startError = rc;
    return run;
  }
  run.started = true;
  UniqueFd pidFd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool pipeOpen = onTimeout == OnTimeout::Kill;
  if (!pipeOpen) readEnd.Reset();
  int status = -1;
  bool childDone = false;
  while (!childDone) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    if (!pidFd.Valid() && !pipeOpen) {
      // Nothing to wait on (a kernel before 5.3 has no process descriptors): ask every
      // few milliseconds instead.
      if (waitpid(pid, &status, WNOHANG) == pid) break;
      poll(nullptr, 0, static_cast<int>(std::min<long long>(10, left.count())));
      continue;
    }
    pollfd p[2] = {{pipeOpen ? readEnd.Get() : -1, POLLIN, 0}, {pidFd.Get(), POLLIN, 0}};
    const int n = poll(p, 2, static_cast<int>(left.count()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (p[0].revents) {
      char buffer[4096];
      const ssize_t got = read(readEnd.Get(), buffer, sizeof buffer);
      if (got > 0 && run.output.size() < kMaxOutput) {
        run.output.append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) {
        pipeOpen = false;
      }
    }
    if (p[1].revents) childDone = true;  // its process descriptor is readable once it ended
  }
  if (status < 0 && !childDone) {
    run.timedOut = true;
    if (onTimeout == OnTimeout::Kill) {
      kill(pid, SIGKILL);
      WaitExit(pid);
    } else {
      ReapLater(pid);
    }
    return run;
  }
  if (status < 0) status = WaitExit(pid);
  if (status >= 0 && WIFEXITED(status)) {
    run.exited = true;
    run.exitStatus = WEXITSTATUS(status);
  }
  return run;
}

bool IsProgramRunning(const std::string& name) {
  const std::string wanted = name.substr(0, 15);
  std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
  if (!proc) return false;
  const uid_t me = getuid();
  while (dirent* entry = readdir(proc.get())) {
    const std::string pidText = entry->d_name;
    if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string dir = "/proc/" + pidText;
    struct stat st {};
    if (stat(dir.c_str(), &st) != 0 || st.st_uid != me) continue;
    std::ifstream comm(dir + "/comm");
    std::string line;
    if (std::getline(comm, line) && line == wanted) return true;
  }
  return false;
}

bool IsOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return false;
  const char* path = std::getenv("PATH");
  if (!path) return false;
  const std::string all = path;
  size_t start = 0;
  while (start <= all.size()) {
    size_t end = all.find(':', start);
    if (end == std::string::npos) end = all.size();
    const std::string dir = end > start ? all.substr(start, end - start) : ".";
    if (access((dir + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace vendil
