// Decoding of character references. Numeric references follow HTML's fix-ups (zero,
// surrogates and values beyond Unicode become U+FFFD, 0x80-0x9F are read as windows-1252);
// a named reference is the longest name of the table that the text begins with.
#include "parse/character_references.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "parse/mod_string.h"
#include "platform/codec.h"

namespace vendil {
namespace {

struct NamedReference {
  std::string_view name;  // without the "&"; with its ";" unless it is a legacy form
  std::string_view utf8;
};

#include "parse/named_references.inc"

constexpr char32_t kReplacement = 0xFFFD;

// What HTML makes of the C1 range in a numeric reference: the windows-1252 characters, or
// 0 where that code page has none (the value is then kept).
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsAsciiDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsAsciiAlnum(char ch) {
  return IsAsciiDigit(ch) || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}
char32_t NumericReferenceValue(uint32_t value) {
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
  if (value >= 0x80 && value <= 0x9F && kWindows1252[value - 0x80] != 0)
    return kWindows1252[value - 0x80];
  return value;
}

// Where the names of each first letter begin in the table (names are ASCII letters and
// digits), so a lookup searches only the names sharing its first letter.
struct FirstLetterIndex {
  uint16_t begin[129] = {};
  constexpr FirstLetterIndex() {
    constexpr size_t count = std::size(kNamedReferences);
    size_t at = 0;
    for (size_t letter = 0; letter <= 128; ++letter) {
      while (at < count && static_cast<unsigned char>(kNamedReferences[at].name[0]) < letter) ++at;
      begin[letter] = static_cast<uint16_t>(at);
    }
  }
};
constexpr FirstLetterIndex kFirstLetter;

const NamedReference* FindNamed(std::string_view name) {
  const auto letter = static_cast<unsigned char>(name[0]);
  if (letter >= 128) return nullptr;
  const auto* begin = std::begin(kNamedReferences) + kFirstLetter.begin[letter];
  const auto* end = std::begin(kNamedReferences) + kFirstLetter.begin[letter + 1];
  const auto* found = std::lower_bound(
      begin, end, name,
      [](const NamedReference& entry, std::string_view key) { return entry.name < key; });
  return found != end && found->name == name ? found : nullptr;
}

// `text` starts right after "&#". Appends the character and returns how many characters
// after the "&" it used, or 0 when no digit follows (no reference).
size_t DecodeNumeric(std::string_view text, std::string& out) {
  size_t at = 0;
  int base = 10;
  if (at < text.size() && (text[at] == 'x' || text[at] == 'X')) {
    base = 16;
    ++at;
  }
  const size_t digitsStart = at;
  uint32_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit =
        base == 16 ? HexDigitValue(text[at]) : (IsAsciiDigit(text[at]) ? text[at] - '0' : -1);
    if (digit < 0) break;
    // Any value beyond Unicode gives the same answer, so it stops growing there.
    value = std::min<uint32_t>(value * base + static_cast<uint32_t>(digit), 0x110000);
  }
  if (at == digitsStart) return 0;
  if (at < text.size() && text[at] == ';') ++at;
  AppendUtf8(out, NumericReferenceValue(value));
  return at + 1;  // and the "#"
}

// `text` starts right after "&". Appends the character and returns how many characters of
// `text` it used, or 0 when no name of the table begins it (or an attribute keeps it).
size_t DecodeNamed(std::string_view text, ReferenceContext context, std::string& out) {
  // The references pages use most, without the table.
  static constexpr std::pair<std::string_view, char> kCommon[] = {
      {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}};
  for (const auto& [name, ch] : kCommon) {
    if (text.starts_with(name)) {
      out += ch;
      return name.size();
    }
  }
  size_t run = 0;
  while (run < text.size() && run < kLongestReferenceName && IsAsciiAlnum(text[run])) ++run;
  if (run == 0) return 0;
  if (run < text.size() && text[run] == ';') {
    if (const NamedReference* found = FindNamed(text.substr(0, run + 1))) {
      out += found->utf8;
      return run + 1;
    }
  }
  // Without a ";" only the legacy names count, and they are short.
  for (size_t length = std::min(run, kLongestLegacyReferenceName); length > 0; --length) {
    const NamedReference* found = FindNamed(text.substr(0, length));
    if (found == nullptr) continue;
    if (context == ReferenceContext::AttributeValue && length < text.size() &&
        (text[length] == '=' || IsAsciiAlnum(text[length]))) {
      return 0;
    }
    out += found->utf8;
    return length;
  }
  return 0;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view text, ReferenceContext context) {
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', from)) {
    out.append(text.substr(from, amp - from));
    const std::string_view rest = text.substr(amp + 1);
    size_t used = 0;
    if (!rest.empty() && rest[0] == '#') {
      used = DecodeNumeric(rest.substr(1), out);
    } else {
      used = DecodeNamed(rest, context, out);
    }
    if (used == 0) out += '&';
    from = amp + 1 + used;
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace vendil
