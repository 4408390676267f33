// Reading a number the way Val does: the depth field of the crawl.
#include "crawl/depth_value.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace vendil {

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The characters of `text` without the ones Val ignores.
std::string WithoutSkipped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (!IsSkipped(c)) out.push_back(c);
  }
  return out;
}

double RadixValue(const std::string& s, size_t start, int radix) {
  uint64_t value = 0;
  size_t digits = 0;
  for (size_t i = start; i < s.size(); ++i) {
    int d = -1;
    char c = s[i];
    if (c >= '0' && c <= '9') d = c - '0';
    if (radix == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (radix == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= radix) break;
    value = (value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d)) & 0xFFFFFFFFu;
    ++digits;
  }
  if (digits == 0) return 0;
  // Like Val: a value that fits 16 bits reads as a signed 16-bit number, else as 32 bits.
  if (value <= 0xFFFF) return static_cast<double>(static_cast<int16_t>(value));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

double ValOfText(const std::string& text) {
  const std::string s = WithoutSkipped(text);
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return RadixValue(s, 2, 16);
    if (s[1] == 'O' || s[1] == 'o') return RadixValue(s, 2, 8);
    return 0;
  }
  // Take the longest prefix shaped like [sign] digits [. digits] [E|D [sign] digits].
  size_t i = 0;
  std::string number;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) number.push_back(s[i++]);
  size_t mantissaDigits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    number.push_back(s[i++]);
    ++mantissaDigits;
  }
  if (i < s.size() && s[i] == '.') {
    number.push_back(s[i++]);
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      number.push_back(s[i++]);
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent.push_back(s[j++]);
    size_t expDigits = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      exponent.push_back(s[j++]);
      ++expDigits;
    }
    if (expDigits > 0) number += exponent;
  }
  double value = std::strtod(number.c_str(), nullptr);
  if (!std::isfinite(value))
    value = value < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  return value;
}

int32_t DepthLimitFromText(const std::string& text) {
  const double value = std::nearbyint(ValOfText(text));  // default rounding: half to even
  if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace vendil
