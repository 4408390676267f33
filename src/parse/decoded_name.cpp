// Percent-decoding of file names taken from URLs, kept only when it gives sound text.
#include "parse/decoded_name.h"

#include <cstdint>
#include <string_view>

namespace vendil {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    size_t length = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > s.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

// A decoded name must not become a path or carry bytes that break a record or a terminal.
bool IsPlainName(std::string_view s) {
  if (s.empty() || s == "." || s == "..") return false;
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '/' || c == '\\') return false;
  }
  return true;
}

}  // namespace

std::string DecodedFileName(const std::string& name) {
  if (name.find('%') == std::string::npos) return name;
  std::string decoded;
  decoded.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '%') {
      decoded.push_back(name[i]);
      continue;
    }
    if (i + 2 >= name.size()) return name;
    const int high = HexValue(name[i + 1]);
    const int low = HexValue(name[i + 2]);
    if (high < 0 || low < 0) return name;
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  if (!IsValidUtf8(decoded) || !IsPlainName(decoded)) return name;
  return decoded;
}

}  // namespace vendil
