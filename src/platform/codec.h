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
size_t Utf8SequenceLength(std::string_view text, size_t pos = 0);
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
