// Writing a whole file so that a crash never leaves half of it: a temporary file beside it,
// flushed, then renamed over the old one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vendil {

// The largest file read whole: settings, profiles and list files are far smaller, and a
// larger one (or a device that never ends) would only tie up memory.
inline constexpr size_t kMaxWholeFileBytes = size_t{256} << 20;

// What a path holds for a whole-file read.
enum class FileKind {
  kRegular,     // a regular file of at most the size asked
  kMissing,     // nothing at that path
  kNotRegular,  // a folder, device, FIFO or socket
  kTooLarge,    // a regular file over the size asked
  kNoAccess,    // there, but it cannot be opened for reading
};

// Replaces `path` with `bytes`. On failure returns false with the system's error text in
// `error` and leaves any older file in place. `mode` applies when the file is created, an
// existing file keeps its mode; either is cut down to the bits of `modeMask`. A path that
// names anything but a regular file is never replaced, nor a file the user may not write
// (its owner's write bit cleared counts, for root too).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         unsigned mode = 0644, unsigned modeMask = 07777);
// Takes every access by group and others away from an existing file (through a symbolic
// link, the file it names); false when that cannot be done.
bool LimitToOwner(const std::string& path);
// The whole of a regular file of at most `maxBytes`, or false with the system's error text.
// Folders, devices, FIFOs and sockets are refused without being read, and without waiting.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr,
                   size_t maxBytes = kMaxWholeFileBytes);
// What `path` holds, judged as ReadWholeFile judges it, without reading it.
FileKind KindOfFileToRead(const std::string& path, size_t maxBytes = kMaxWholeFileBytes);

}  // namespace vendil
