// Temporary files beside a file that is rewritten whole. Each is named ".NAME.vendil-XXXXXX"
// and locked (flock) by its writer for as long as it is in use; the lock dies with the
// process, so a later write of the same file can tell a file left by a killed writer from
// one still being written, and remove it.
#pragma once

#include <signal.h>

#include <string>

#include "platform/unique_fd.h"

namespace vendil {

// Creates and locks a new temporary file for the file `name` in `folder`; `temp` receives
// its path. An invalid descriptor (errno set) when none can be created.
UniqueFd CreateLockedTemp(const std::string& folder, const std::string& name, std::string& temp);

// Removes the temporary files of `name` in `folder` that no live writer holds, and only
// ours: regular files of this user named as CreateLockedTemp names them.
void RemoveStaleTemps(const std::string& folder, const std::string& name);

// While it lives, a file size limit makes a write of this thread fail with EFBIG instead of
// killing the process with SIGXFSZ; a signal raised meanwhile is taken away before the
// thread's signal mask is restored.
class FileSizeSignalBlock {
 public:
  FileSizeSignalBlock();
  ~FileSizeSignalBlock();
  FileSizeSignalBlock(const FileSizeSignalBlock&) = delete;
  FileSizeSignalBlock& operator=(const FileSizeSignalBlock&) = delete;

 private:
  sigset_t previous_;
  bool wasPending_ = false;
};

}  // namespace vendil
