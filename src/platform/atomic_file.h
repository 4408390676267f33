// Writing a whole file so that a crash never leaves half of it: a temporary file beside it,
// flushed, then renamed over the old one.
#pragma once

#include <string>
#include <string_view>

namespace vendil {

// Replaces `path` with `bytes`. On failure returns false with the system's error text in
// `error` and leaves any older file in place. `mode` applies when the file is created.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                         unsigned mode = 0644);
// The whole file, or false with the system's error text.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error = nullptr);

}  // namespace vendil
