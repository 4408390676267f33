// Script files are CP932 as the system writes them, but editors save UTF-8 as well; both
// are accepted so that a script tried with `vendil-cli vbs` runs the same in a crawl.
#include "crawl/script_file.h"

#include <fstream>
#include <iterator>

#include "platform/codec.h"

namespace vendil {

namespace {

// The length of the well-formed UTF-8 sequence at `bytes[i]`, or 0 when none starts there
// (no overlong forms, surrogates or values past U+10FFFF).
size_t Utf8SequenceAt(std::string_view bytes, size_t i) {
  const auto c = static_cast<unsigned char>(bytes[i]);
  if (c < 0x80) return 1;
  size_t length;
  unsigned min;
  unsigned code;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2, min = 0x80, code = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3, min = 0x800, code = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4, min = 0x10000, code = c & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - i < length) return 0;
  for (size_t k = 1; k < length; ++k) {
    const auto t = static_cast<unsigned char>(bytes[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    code = (code << 6) | (t & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Text marked as UTF-8 by its byte-order mark: every byte that starts no well-formed
// sequence becomes U+FFFD, so the result is always well-formed.
std::string RepairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t length = Utf8SequenceAt(bytes, i);
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
    const size_t length = Utf8SequenceAt(bytes, i);
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
