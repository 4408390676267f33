// Host parsing for web URLs: percent-decoding, the domain's ASCII form, the forbidden
// characters, the IPv4 number forms and the IPv6 text forms with their canonical writing.
#include "parse/url_host.h"

#include <array>
#include <cstdint>

#include "parse/mod_string.h"
#include "platform/idna.h"

namespace vendil {
namespace {

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
        HexDigitValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool IsForbiddenDomainByte(unsigned char c) {
  if (c <= 0x20 || c == 0x7F) return true;
  switch (c) {
    case '#':
    case '%':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '@':
    case '[':
    case '\\':
    case ']':
    case '^':
    case '|':
      return true;
    default:
      return false;
  }
}

// One part of an IPv4 address: decimal, "0x" hexadecimal or "0" octal. Values past 2^32
// are kept at 2^32 + 1, which no address takes, so they are refused as too large.
std::optional<uint64_t> Ipv4Number(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int radix = 10;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    radix = 16;
  } else if (text.size() >= 2 && text[0] == '0') {
    text.remove_prefix(1);
    radix = 8;
  }
  uint64_t value = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || digit >= radix) return std::nullopt;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    if (value > (uint64_t{1} << 32)) value = (uint64_t{1} << 32) + 1;
  }
  return value;
}

std::array<std::string_view, 5> SplitDots(std::string_view text, size_t& count, bool& tooMany) {
  std::array<std::string_view, 5> parts{};
  count = 0;
  tooMany = false;
  size_t start = 0;
  for (;;) {
    const size_t dot = text.find('.', start);
    const std::string_view part =
        text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (count == parts.size()) {
      tooMany = true;
      return parts;
    }
    parts[count++] = part;
    if (dot == std::string_view::npos) return parts;
    start = dot + 1;
  }
}

// A domain whose last label is a number is read as an IPv4 address.
bool EndsInANumber(std::string_view domain) {
  if (domain.ends_with('.')) {
    domain.remove_suffix(1);
    if (domain.empty()) return false;
  }
  const size_t dot = domain.rfind('.');
  const std::string_view last = dot == std::string_view::npos ? domain : domain.substr(dot + 1);
  if (last.empty()) return false;
  bool digits = true;
  for (const char c : last) digits = digits && c >= '0' && c <= '9';
  if (digits) return true;
  return last.size() >= 2 && last[0] == '0' && (last[1] == 'x' || last[1] == 'X') &&
         Ipv4Number(last).has_value();
}

std::optional<std::string> ParseIpv4(std::string_view text) {
  if (text.ends_with('.') && text.size() > 1) text.remove_suffix(1);
  size_t count = 0;
  bool tooMany = false;
  const auto parts = SplitDots(text, count, tooMany);
  if (tooMany || count > 4) return std::nullopt;
  std::array<uint64_t, 4> numbers{};
  for (size_t i = 0; i < count; ++i) {
    const auto n = Ipv4Number(parts[i]);
    if (!n) return std::nullopt;
    numbers[i] = *n;
  }
  for (size_t i = 0; i + 1 < count; ++i) {
    if (numbers[i] > 255) return std::nullopt;
  }
  if (numbers[count - 1] >= (uint64_t{1} << (8 * (5 - count)))) return std::nullopt;
  uint64_t address = numbers[count - 1];
  for (size_t i = 0; i + 1 < count; ++i) address += numbers[i] << (8 * (3 - i));
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) {
    out += std::to_string((address >> shift) & 0xFF);
    if (shift > 0) out += '.';
  }
  return out;
}

std::optional<std::array<uint16_t, 8>> ParseIpv6(std::string_view in) {
  std::array<uint16_t, 8> address{};
  size_t piece = 0;
  std::optional<size_t> compress;
  size_t p = 0;
  auto at = [&in](size_t i) -> int {
    return i < in.size() ? static_cast<unsigned char>(in[i]) : -1;
  };
  if (at(p) == ':') {
    if (at(p + 1) != ':') return std::nullopt;
    p += 2;
    compress = ++piece;
  }
  while (at(p) != -1) {
    if (piece == 8) return std::nullopt;
    if (at(p) == ':') {
      if (compress) return std::nullopt;
      ++p;
      compress = ++piece;
      continue;
    }
    unsigned value = 0;
    size_t length = 0;
    while (length < 4 && at(p) != -1 && HexDigitValue(static_cast<char>(at(p))) >= 0) {
      value = value * 16 + static_cast<unsigned>(HexDigitValue(static_cast<char>(at(p))));
      ++p;
      ++length;
    }
    if (at(p) == '.') {
      if (length == 0) return std::nullopt;
      p -= length;
      if (piece > 6) return std::nullopt;
      size_t numbersSeen = 0;
      while (at(p) != -1) {
        int ipv4Piece = -1;
        if (numbersSeen > 0) {
          if (at(p) == '.' && numbersSeen < 4) {
            ++p;
          } else {
            return std::nullopt;
          }
        }
        if (at(p) < '0' || at(p) > '9') return std::nullopt;
        while (at(p) >= '0' && at(p) <= '9') {
          const int number = at(p) - '0';
          if (ipv4Piece == -1) {
            ipv4Piece = number;
          } else if (ipv4Piece == 0) {
            return std::nullopt;
          } else {
            ipv4Piece = ipv4Piece * 10 + number;
          }
          if (ipv4Piece > 255) return std::nullopt;
          ++p;
        }
        address[piece] = static_cast<uint16_t>(address[piece] * 0x100 + ipv4Piece);
        ++numbersSeen;
        if (numbersSeen == 2 || numbersSeen == 4) ++piece;
      }
      if (numbersSeen != 4) return std::nullopt;
      break;
    }
    if (at(p) == ':') {
      ++p;
      if (at(p) == -1) return std::nullopt;
    } else if (at(p) != -1) {
      return std::nullopt;
    }
    address[piece++] = static_cast<uint16_t>(value);
  }
  if (compress) {
    size_t swaps = piece - *compress;
    piece = 7;
    while (piece != 0 && swaps > 0) {
      std::swap(address[piece], address[*compress + swaps - 1]);
      --piece;
      --swaps;
    }
  } else if (piece != 8) {
    return std::nullopt;
  }
  return address;
}

std::string SerializeIpv6(const std::array<uint16_t, 8>& address) {
  // The first longest run of two or more zero pieces is written as "::".
  size_t bestStart = 8, bestLength = 1;
  for (size_t i = 0; i < 8;) {
    size_t j = i;
    while (j < 8 && address[j] == 0) ++j;
    if (j - i > bestLength) {
      bestStart = i;
      bestLength = j - i;
    }
    i = j == i ? i + 1 : j;
  }
  static const char kHex[] = "0123456789abcdef";
  std::string out = "[";
  bool ignore0 = false;
  for (size_t i = 0; i < 8; ++i) {
    if (ignore0 && address[i] == 0) continue;
    ignore0 = false;
    if (i == bestStart) {
      out += i == 0 ? "::" : ":";
      ignore0 = true;
      continue;
    }
    std::string piece;
    for (int shift = 12; shift >= 0; shift -= 4) {
      const int digit = (address[i] >> shift) & 15;
      if (piece.empty() && digit == 0 && shift > 0) continue;
      piece += kHex[digit];
    }
    out += piece;
    if (i != 7) out += ':';
  }
  out += ']';
  return out;
}

bool IsPlainAsciiDomain(std::string_view domain) {
  for (const char c : domain) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  // Labels beginning "xn--" must be checked as punycode.
  for (size_t at = 0; at + 4 <= domain.size(); ++at) {
    if ((at == 0 || domain[at - 1] == '.') && (domain[at] == 'x' || domain[at] == 'X') &&
        (domain[at + 1] == 'n' || domain[at + 1] == 'N') && domain[at + 2] == '-' &&
        domain[at + 3] == '-')
      return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> ParseWebHost(std::string_view written) {
  if (written.empty()) return std::nullopt;
  if (written.front() == '[') {
    if (written.size() < 2 || written.back() != ']') return std::nullopt;
    const auto address = ParseIpv6(written.substr(1, written.size() - 2));
    if (!address) return std::nullopt;
    return SerializeIpv6(*address);
  }
  const std::string domain = PercentDecode(written);
  std::string ascii;
  if (IsPlainAsciiDomain(domain)) {
    ascii = domain;
    for (char& c : ascii) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
  } else {
    auto mapped = DomainToAscii(domain);
    if (!mapped) return std::nullopt;
    ascii = std::move(*mapped);
  }
  if (ascii.empty()) return std::nullopt;
  for (const char c : ascii) {
    if (IsForbiddenDomainByte(static_cast<unsigned char>(c))) return std::nullopt;
  }
  if (EndsInANumber(ascii)) return ParseIpv4(ascii);
  return ascii;
}

}  // namespace vendil
