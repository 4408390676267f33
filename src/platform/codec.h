// Text codecs: the system ANSI code page (CP932, exactly as Windows maps it), EUC-JP and
// the charset a page declares. Core text is UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vendil {

// Appends the UTF-8 form of one code point (below 0x110000).
void AppendUtf8(std::string& out, char32_t codePoint);
// The length (1 to 4) of the well-formed UTF-8 sequence that starts at `text[pos]`, or 0 when
// none starts there: a stray continuation byte, an overlong form, a surrogate, a code point
// past U+10FFFF, or a sequence cut short. The one rule every reader of UTF-8 here keeps.
// (Inline: the mask test and the script's text conversion read every character with it.)
inline size_t Utf8SequenceLength(std::string_view text, size_t pos = 0) {
  if (pos >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return 1;
  const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (length == 0 || pos + length > text.size()) return 0;
  // The second byte's range shuts out overlong forms, surrogates and code points past
  // U+10FFFF; the others need only be continuation bytes.
  const auto second = static_cast<unsigned char>(text[pos + 1]);
  const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (second < low || second > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}
// The code point of the well-formed sequence of `length` bytes at `text[pos]`.
inline char32_t Utf8CodePoint(std::string_view text, size_t pos, size_t length) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  char32_t value = length == 1   ? lead
                   : length == 2 ? lead & 0x1F
                   : length == 3 ? lead & 0x0F
                                 : lead & 0x07;
  for (size_t i = 1; i < length; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  return value;
}
// Whether every byte of `text` belongs to a well-formed UTF-8 sequence, by that rule.
bool IsValidUtf8(std::string_view text);

std::string AnsiToUtf8(std::string_view cp932Bytes);
// Characters CP932 cannot hold become "?", as Windows writes them; `lossy` tells if any did.
std::string Utf8ToAnsi(std::string_view utf8, bool* lossy = nullptr);
bool AnsiCanHold(std::string_view utf8);  // every character has a CP932 form
std::string EucJpToUtf8(std::string_view eucBytes);
// Decodes with a charset name as a page declares it ("Shift_JIS", "euc-jp", "utf-8", ...);
// an unknown or empty name decodes as CP932. Invalid bytes become U+FFFD.
std::string DecodeCharset(std::string_view bytes, std::string_view charsetName);
// One character (one UTF-8 sequence) in a charset as a page names it, as a browser sends
// it in a query; nullopt when the charset has no form for it. UTF-16 and UTF-32 give UTF-8.
std::optional<std::string> EncodeCharacter(std::string_view utf8Character,
                                           std::string_view charsetName);
// The charset named in a Content-Type value or a <meta> tag of the page head; empty if none.
// A <meta> naming UTF-16 or UTF-32 gives "utf-8", as browsers read such a page.
std::string CharsetFromContentType(std::string_view contentType);
std::string CharsetFromMeta(std::string_view html);

// Decodes a byte stream chunk by chunk, carrying an incomplete multi-byte sequence over.
class StreamingDecoder {
 public:
  explicit StreamingDecoder(std::string_view charsetName);
  ~StreamingDecoder();
  StreamingDecoder(const StreamingDecoder&) = delete;
  StreamingDecoder& operator=(const StreamingDecoder&) = delete;
  std::string Feed(std::string_view chunk);
  std::string Finish();  // what is left at the end (an incomplete sequence as U+FFFD)

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vendil
