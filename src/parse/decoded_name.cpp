// Percent-decoding of file names taken from URLs, kept only when it gives sound text.
#include "parse/decoded_name.h"

#include "parse/mod_string.h"
#include "platform/codec.h"

#include <string_view>

namespace vendil {
namespace {

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

std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigitValue(text[i + 1]);
    const int low = HexDigitValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    decoded.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return decoded;
}

std::string DecodedFileName(const std::string& name) {
  if (name.find('%') == std::string::npos) return name;
  const std::optional<std::string> decoded = PercentDecoded(name);
  if (!decoded || !IsValidUtf8(*decoded) || !IsPlainName(*decoded)) return name;
  return *decoded;
}

}  // namespace vendil
