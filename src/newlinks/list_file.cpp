// Reading a list file of profiles: the text in CP932, its lines, and which lines name a file.
#include <sys/stat.h>

#include "newlinks/list_file.h"
#include "parse/mod_string.h"
#include "platform/atomic_file.h"
#include "platform/codec.h"

namespace vendil {

namespace {

// A list of profile paths is a few kilobytes; anything this large is not one, and reading it
// whole would only tie up memory.
constexpr size_t kMaxListFileBytes = size_t{64} << 20;

}  // namespace

std::string ReadTextFile(const std::string& strPath) {
  struct stat info {};
  if (strPath.empty() || ::stat(strPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<size_t>(info.st_size) > kMaxListFileBytes)
    return "";
  std::string bytes;
  if (!ReadWholeFile(strPath, bytes) || bytes.size() > kMaxListFileBytes) return "";
  return AnsiToUtf8(bytes);
}

bool FileExists(const std::string& strPath) {
  struct stat info {};
  return !strPath.empty() && ::stat(strPath.c_str(), &info) == 0;
}

std::optional<std::vector<std::string>> SplitListLines(const std::string& text) {
  // A NUL never occurs in a text file: this is some other kind of file.
  if (text.find('\0') != std::string::npos) return std::nullopt;
  return SplitText(text, "\r\n");
}

}  // namespace vendil
