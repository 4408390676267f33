// Whole-file writes through a temporary file in the same folder, flushed and renamed, and
// whole-file reads.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/error_text.h"
#include "platform/temp_beside.h"
#include "platform/unique_fd.h"

namespace vendil {

namespace {

bool Fail(std::string* error, const std::string& what, int err) {
  if (error != nullptr) *error = what + ": " + SystemErrorText(err);
  return false;
}

bool Fail(std::string* error, const std::string& what, const char* reason) {
  if (error != nullptr) *error = what + ": " + reason;
  return false;
}

constexpr char kNotRegularText[] = "通常のファイルではありません。";

// Opens `path` for a whole-file read. The path is looked at before it is opened, so a
// device is never opened at all; O_NONBLOCK keeps a FIFO put there in between from
// blocking the open, and what was opened is judged again. `err` receives the errno.
FileKind OpenToRead(const std::string& path, size_t maxBytes, UniqueFd& fd, int& err) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    err = errno;
    return err == ENOENT || err == ENOTDIR ? FileKind::kMissing : FileKind::kNoAccess;
  }
  if (!S_ISREG(info.st_mode)) return FileKind::kNotRegular;
  if (static_cast<uintmax_t>(info.st_size) > maxBytes) return FileKind::kTooLarge;
  fd = UniqueFd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.Valid()) {
    err = errno;
    return err == ENOENT ? FileKind::kMissing : FileKind::kNoAccess;
  }
  if (fstat(fd.Get(), &info) != 0) {
    err = errno;
    return FileKind::kNoAccess;
  }
  if (!S_ISREG(info.st_mode)) return FileKind::kNotRegular;
  if (static_cast<uintmax_t>(info.st_size) > maxBytes) return FileKind::kTooLarge;
  return FileKind::kRegular;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Whether the user may change an existing file. The rename would replace even a file its
// owner made read-only, and root may write anything: so the write bits decide for the
// owner and for root, the system for everybody else.
bool MayChange(const std::string& path, const struct stat& info) {
  if (info.st_uid == geteuid()) return (info.st_mode & S_IWUSR) != 0;
  if (geteuid() == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return access(path.c_str(), W_OK) == 0;
}

// The file a path finally names: a symbolic link is written through, not replaced.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         unsigned mode, unsigned modeMask) {
  if (path.empty()) return Fail(error, "ファイル名がありません", ENOENT);
  const std::string target = ResolveTarget(path);
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return Fail(error, target, EISDIR);
    // A device or FIFO renamed away would be lost, and writing into one is no file write.
    if (!S_ISREG(existing.st_mode)) return Fail(error, target, kNotRegularText);
    if (!MayChange(target, existing)) return Fail(error, target, EACCES);
    mode = existing.st_mode & 07777;
  }
  mode &= modeMask;
  const std::string folder = FolderOf(target);
  std::string name =
      target.substr(target.rfind('/') == std::string::npos ? 0 : target.rfind('/') + 1);
  // What a killed earlier write of this file left behind goes first.
  RemoveStaleTemps(folder, name);
  std::string temp;
  UniqueFd fd = CreateLockedTemp(folder, name, temp);
  if (!fd.Valid()) return Fail(error, target, errno);
  auto removeTemp = [&temp] { unlink(temp.c_str()); };
  if (fchmod(fd.Get(), mode) != 0) {
    int err = errno;
    removeTemp();
    return Fail(error, temp, err);
  }
  {
    const FileSizeSignalBlock sizeLimitIsAnError;
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t written = write(fd.Get(), data, left);
      if (written < 0) {
        if (errno == EINTR) continue;
        int err = errno;
        removeTemp();
        return Fail(error, temp, err);
      }
      data += written;
      left -= static_cast<size_t>(written);
    }
  }
  if (fsync(fd.Get()) != 0) {
    int err = errno;
    removeTemp();
    return Fail(error, temp, err);
  }
  // The temporary file stays locked until it has its final name, so that no clean-up takes
  // it for one left behind.
  if (rename(temp.c_str(), target.c_str()) != 0) {
    int err = errno;
    removeTemp();
    return Fail(error, target, err);
  }
  fd.Close();
  // The rename itself is durable only once the folder is flushed; a failure here does not
  // undo a write that has already taken place.
  UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Valid()) fsync(dir.Get());
  return true;
}

bool LimitToOwner(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if ((info.st_mode & 077) == 0) return true;
  return chmod(path.c_str(), info.st_mode & 07700) == 0;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error,
                   size_t maxBytes) {
  UniqueFd fd;
  int err = 0;
  switch (OpenToRead(path, maxBytes, fd, err)) {
    case FileKind::kRegular:
      break;
    case FileKind::kNotRegular:
      return Fail(error, path, kNotRegularText);
    case FileKind::kTooLarge:
      return Fail(error, path, EFBIG);
    case FileKind::kMissing:
    case FileKind::kNoAccess:
      return Fail(error, path, err);
  }
  std::string content;
  char buffer[65536];
  while (true) {
    ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Fail(error, path, errno);
    }
    if (got == 0) break;
    // The file may grow while it is read: the limit holds for what is read, too.
    if (content.size() + static_cast<size_t>(got) > maxBytes) return Fail(error, path, EFBIG);
    content.append(buffer, static_cast<size_t>(got));
  }
  bytes = std::move(content);
  return true;
}

FileKind KindOfFileToRead(const std::string& path, size_t maxBytes) {
  UniqueFd fd;
  int err = 0;
  return OpenToRead(path, maxBytes, fd, err);
}

}  // namespace vendil
