// Script files are CP932 as the system writes them, but editors save UTF-8 as well; both
// are accepted so that a script tried with `vendil-cli vbs` runs the same in a crawl.
#include "crawl/script_file.h"

#include <fstream>
#include <iterator>

#include "platform/codec.h"

namespace vendil {

bool IsWellFormedUtf8(std::string_view bytes) {
  size_t i = 0;
  const size_t n = bytes.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
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
      return false;
    }
    if (n - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::string ScriptBytesToText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  else if (!IsWellFormedUtf8(bytes))
    return AnsiToUtf8(bytes);
  // Well-formed UTF-8 (plain ASCII included) is kept; after a BOM, bad bytes are replaced.
  if (IsWellFormedUtf8(bytes)) return std::string(bytes);
  return DecodeCharset(bytes, "utf-8");
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
