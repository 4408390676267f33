// Texts seen as bytes, as the byte functions (LenB, ChrB, LeftB, MidB, ...) see them: each
// UTF-16 unit is two bytes, low byte first. A text of an odd number of bytes (what ChrB and
// the byte cuts can make) keeps its last byte alone in a final unit 0xDF00 + byte: a lone
// low surrogate, which no whole text ends with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vendil {

inline bool HasOddByte(std::u16string_view text) {
  return !text.empty() && (text.back() & 0xFF00) == 0xDF00;
}

inline size_t ByteLength(std::u16string_view text) {
  return text.size() * 2 - (HasOddByte(text) ? 1 : 0);
}

inline uint8_t ByteAt(std::u16string_view text, size_t index) {
  const char16_t unit = text[index / 2];
  return static_cast<uint8_t>(index % 2 == 0 ? unit & 0xFF : unit >> 8);
}

// The bytes [from, from + count) of the text, clipped to its end, as a text.
std::u16string ByteRange(std::u16string_view text, size_t from, size_t count);

// Appends `right` to a text that ends with an odd byte: the bytes run on across the join.
void AppendAfterOddByte(std::u16string& text, std::u16string_view right);

}  // namespace vendil
