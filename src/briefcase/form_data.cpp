// Form encoding: letters, digits and "*-._" stay as they are, so ordinary hidden fields
// go out unchanged; a blank becomes "+", every other byte %XX.
#include "briefcase/form_data.h"

namespace vendil {

std::string FormUrlEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '*' || c == '-' || c == '.' || c == '_';
    if (plain) {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

void AppendFormField(std::string& data, const std::string& name, const std::string& value) {
  if (!data.empty()) data += '&';
  data += FormUrlEncode(name);
  data += '=';
  data += FormUrlEncode(value);
}

}  // namespace vendil
