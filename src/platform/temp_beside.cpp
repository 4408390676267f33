// Locked temporary files, their clean-up after a killed writer, and SIGXFSZ held off while
// a file is written.
#include "platform/temp_beside.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

namespace vendil {

namespace {

constexpr char kTempMark[] = ".vendil-";
constexpr size_t kRandomLength = 6;  // the XXXXXX of mkstemp

std::string TempPrefix(const std::string& name) { return "." + name + kTempMark; }

bool IsTempName(const std::string& entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + kRandomLength || entry.compare(0, prefix.size(), prefix))
    return false;
  for (size_t i = prefix.size(); i < entry.size(); ++i) {
    const char c = entry[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

UniqueFd CreateLockedTemp(const std::string& folder, const std::string& name, std::string& temp) {
  // A clean-up running between the creation and the lock may take the new file away: then
  // the path no longer names it, and another is made.
  for (int attempt = 0; attempt < 8; ++attempt) {
    temp = folder + "/" + TempPrefix(name) + std::string(kRandomLength, 'X');
    UniqueFd fd(mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.Valid()) return fd;
    struct stat opened {
    }, named{};
    if (flock(fd.Get(), LOCK_EX | LOCK_NB) == 0 && fstat(fd.Get(), &opened) == 0 &&
        stat(temp.c_str(), &named) == 0 && SameFile(opened, named))
      return fd;
  }
  errno = EAGAIN;
  return UniqueFd();
}

void RemoveStaleTemps(const std::string& folder, const std::string& name) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return;
  const std::string prefix = TempPrefix(name);
  const int dirFd = dirfd(dir.get());
  while (const dirent* entry = readdir(dir.get())) {
    const std::string entryName = entry->d_name;
    if (!IsTempName(entryName, prefix)) continue;
    UniqueFd fd(openat(dirFd, entryName.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {
    }, named{};
    if (!fd.Valid() || fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_uid != geteuid())
      continue;
    // A writer that is alive holds its lock; one that was killed holds nothing.
    if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    if (fstatat(dirFd, entryName.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(opened, named))
      unlinkat(dirFd, entryName.c_str(), 0);
  }
}

FileSizeSignalBlock::FileSizeSignalBlock() {
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, SIGXFSZ);
  pthread_sigmask(SIG_BLOCK, &only, &previous_);
  sigset_t pending;
  sigpending(&pending);
  wasPending_ = sigismember(&pending, SIGXFSZ) == 1;
}

FileSizeSignalBlock::~FileSizeSignalBlock() {
  sigset_t pending;
  sigpending(&pending);
  if (!wasPending_ && sigismember(&pending, SIGXFSZ) == 1) {
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, SIGXFSZ);
    const timespec now{};
    sigtimedwait(&only, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace vendil
