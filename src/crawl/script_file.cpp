// Script files are CP932 as the system writes them, but editors save UTF-8 as well; both
// are accepted so that a script tried with `vendil-cli vbs` runs the same in a crawl.
#include "crawl/script_file.h"

#include <fstream>
#include <iterator>

#include "platform/codec.h"

namespace vendil {

namespace {

// Text marked as UTF-8 by its byte-order mark: every byte that starts no well-formed
// sequence becomes U+FFFD, so the result is always well-formed.
std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out.append(bytes.substr(i, length));
      i += length;
    }
  }
  return out;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t length = Utf8SequenceLength(bytes, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string ScriptBytesToText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return RepairUtf8(bytes.substr(3));
  if (IsWellFormedUtf8(bytes)) return std::string(bytes);
  return AnsiToUtf8(bytes);
}

std::optional<std::string> ReadScriptFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<unsigned long long>(size) > kMaxScriptFileBytes) return std::nullopt;
  in.seekg(0, std::ios::beg);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (size > 0 && !in.read(bytes.data(), size)) return std::nullopt;
  return ScriptBytesToText(bytes);
}

}  // namespace vendil
