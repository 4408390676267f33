// The string built-ins: lengths and slices, searching, replacing, splitting and joining,
// letter case, blanks, character codes (CP932 for Asc and Chr) and Escape/Unescape.
#include <unicode/uchar.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/codec.h"
#include "script/builtins.h"
#include "script/builtins_args.h"
#include "script/byte_text.h"
#include "script/script_error.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

using script_errors::kInvalidProcedureCall;
using script_errors::kInvalidUseOfNull;
using script_errors::kTypeMismatch;

// The argument's text, moved out when it already is a string (arguments are copies).
std::u16string TakeText(Variant& value) {
  if (value.IsString()) return std::move(value.MutableString());
  return ToString(value);
}

[[noreturn]] void InvalidCall() { RaiseScriptError(kInvalidProcedureCall); }

int32_t NonNegativeLong(const Variant& value) {
  const int32_t n = ToLong(value);
  if (n < 0) InvalidCall();
  return n;
}

// Finds `needle` in `haystack` from the 0-based `from`; npos when absent.
size_t FindFrom(const std::u16string& haystack, const std::u16string& needle, size_t from,
                int mode) {
  if (mode == 0) return haystack.find(needle, from);
  return FoldUnits(haystack).find(FoldUnits(needle), from);
}

// Len counts whole characters: a lone byte at the end (ChrB) is none.
Variant Len(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) return Variant::Null();
  if (args[0].IsString()) {
    return Variant::Long(static_cast<int32_t>(ByteLength(args[0].StringValue()) / 2));
  }
  return Variant::Long(static_cast<int32_t>(TakeText(args[0]).size()));
}

Variant LenB(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant::Long(static_cast<int32_t>(ByteLength(TakeText(args[0]))));
}

Variant Left(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegativeLong(args[1]);
  if (args[0].IsNull()) return Variant::Null();
  std::u16string text = TakeText(args[0]);
  text.resize(std::min<size_t>(text.size(), static_cast<size_t>(n)));
  return Variant::String(std::move(text));
}

Variant Right(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegativeLong(args[1]);
  if (args[0].IsNull()) return Variant::Null();
  const std::u16string text = TakeText(args[0]);
  const size_t keep = std::min<size_t>(text.size(), static_cast<size_t>(n));
  return Variant::String(text.substr(text.size() - keep));
}

Variant Mid(CallContext&, std::span<Variant> args) {
  const int32_t start = ToLong(args[1]);
  if (start < 1) InvalidCall();
  const int32_t length = HasArg(args, 2) ? NonNegativeLong(args[2]) : -1;
  if (args[0].IsNull()) return Variant::Null();
  const std::u16string text = TakeText(args[0]);
  const size_t from = static_cast<size_t>(start - 1);
  if (from >= text.size()) return Variant::String(std::u16string());
  return Variant::String(
      text.substr(from, length < 0 ? std::u16string::npos : static_cast<size_t>(length)));
}

Variant InStr(CallContext&, std::span<Variant> args) {
  // InStr(s1, s2) or InStr(start, s1, s2[, compare]).
  int32_t start = 1;
  size_t first = 0;
  if (args.size() >= 3) {
    if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
    start = ToLong(args[0]);
    if (start < 1) InvalidCall();
    first = 1;
  }
  const int mode = args.size() == 4 ? CompareModeArg(args, 3) : 0;
  if (args[first].IsNull() || args[first + 1].IsNull()) return Variant::Null();
  const std::u16string haystack = TakeText(args[first]);
  const std::u16string needle = TakeText(args[first + 1]);
  if (static_cast<size_t>(start) > haystack.size()) return Variant::Long(0);
  if (needle.empty()) return Variant::Long(start);
  const size_t at = FindFrom(haystack, needle, static_cast<size_t>(start - 1), mode);
  return Variant::Long(at == std::u16string::npos ? 0 : static_cast<int32_t>(at + 1));
}

Variant InStrRev(CallContext&, std::span<Variant> args) {
  int32_t start = HasArg(args, 2) ? ToLong(args[2]) : -1;
  if (start == 0 || start < -1) InvalidCall();
  const int mode = CompareModeArg(args, 3);
  // Unlike InStr, a Null text is an error (94).
  if (args[0].IsNull() || args[1].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  std::u16string haystack = TakeText(args[0]);
  std::u16string needle = TakeText(args[1]);
  if (start == -1) start = static_cast<int32_t>(haystack.size());
  if (static_cast<size_t>(start) > haystack.size()) return Variant::Long(0);
  if (needle.empty()) return Variant::Long(start);
  if (needle.size() > static_cast<size_t>(start)) return Variant::Long(0);
  if (mode == 1) {
    haystack = FoldUnits(haystack);
    needle = FoldUnits(needle);
  }
  const size_t at = haystack.rfind(needle, static_cast<size_t>(start) - needle.size());
  return Variant::Long(at == std::u16string::npos ? 0 : static_cast<int32_t>(at + 1));
}

Variant Replace(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull() || args[1].IsNull() || args[2].IsNull()) {
    RaiseScriptError(kInvalidUseOfNull);
  }
  const int32_t start = HasArg(args, 3) ? ToLong(args[3]) : 1;
  if (start < 1) InvalidCall();
  const int32_t count = HasArg(args, 4) ? ToLong(args[4]) : -1;
  if (count < -1) InvalidCall();
  const int mode = CompareModeArg(args, 5);
  const std::u16string text = TakeText(args[0]);
  const std::u16string find = TakeText(args[1]);
  const std::u16string with = TakeText(args[2]);
  const size_t from = static_cast<size_t>(start - 1);
  if (from >= text.size()) return Variant::String(std::u16string());
  if (find.empty() || count == 0) return Variant::String(text.substr(from));
  const std::u16string folded = mode == 1 ? FoldUnits(text) : std::u16string();
  const std::u16string foldedFind = mode == 1 ? FoldUnits(find) : find;
  const std::u16string& searched = mode == 1 ? folded : text;
  std::u16string out;
  size_t position = from;
  int32_t done = 0;
  while (count < 0 || done < count) {
    const size_t at = searched.find(foldedFind, position);
    if (at == std::u16string::npos) break;
    out.append(text, position, at - position);
    out.append(with);
    CheckStringLength(out.size());
    position = at + find.size();
    ++done;
  }
  out.append(text, position);
  CheckStringLength(out.size());
  return Variant::String(std::move(out));
}

Variant Split(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  const std::u16string text = TakeText(args[0]);
  const std::u16string delimiter = HasArg(args, 1) ? TakeText(args[1]) : std::u16string(u" ");
  const int32_t limit = HasArg(args, 2) ? ToLong(args[2]) : -1;
  if (limit < -1) InvalidCall();
  const int mode = CompareModeArg(args, 3);
  std::vector<Variant> parts;
  if (text.empty() || limit == 0) return Variant::ArrayOf(std::move(parts));
  if (delimiter.empty()) return Variant::ArrayOf({Variant::String(text)});
  const std::u16string folded = mode == 1 ? FoldUnits(text) : std::u16string();
  const std::u16string foldedDelimiter = mode == 1 ? FoldUnits(delimiter) : delimiter;
  const std::u16string& searched = mode == 1 ? folded : text;
  // The pieces are counted first, so a text of millions of delimiters is refused before
  // millions of strings are made.
  size_t count = 1;
  for (size_t at = searched.find(foldedDelimiter);
       at != std::u16string::npos && (limit < 0 || count < static_cast<size_t>(limit));
       at = searched.find(foldedDelimiter, at + foldedDelimiter.size())) {
    ++count;
  }
  CheckValueSize(count, sizeof(Variant));
  parts.reserve(count);
  size_t position = 0;
  while (limit < 0 || parts.size() + 1 < static_cast<size_t>(limit)) {
    const size_t at = searched.find(foldedDelimiter, position);
    if (at == std::u16string::npos) break;
    parts.push_back(Variant::String(text.substr(position, at - position)));
    position = at + delimiter.size();
  }
  parts.push_back(Variant::String(text.substr(position)));
  return Variant::ArrayOf(std::move(parts));
}

const std::vector<Variant>& OneDimensional(const Variant& value) {
  if (!value.IsArray() || value.ArrayValue().Dimensions() > 1) RaiseScriptError(kTypeMismatch);
  return value.ArrayValue().Elements();
}

// Join and Filter take no Null for their list (94); an object stands for its default value
// (438 when it has none).
const std::vector<Variant>& ListArgument(Variant& list) {
  if (list.IsNull()) RaiseScriptError(kInvalidUseOfNull);
  if (list.IsObject()) list = ValueOf(list);
  return OneDimensional(list);
}

Variant Join(CallContext&, std::span<Variant> args) {
  const std::vector<Variant>& items = ListArgument(args[0]);
  const std::u16string delimiter = HasArg(args, 1) ? TakeText(args[1]) : std::u16string(u" ");
  std::u16string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out.append(delimiter);
    // A Null element is no text: 13, where a Null argument is 94.
    if (items[i].IsNull()) RaiseScriptError(kTypeMismatch);
    out.append(ToString(items[i]));
    CheckStringLength(out.size());
  }
  return Variant::String(std::move(out));
}

Variant Filter(CallContext&, std::span<Variant> args) {
  const std::vector<Variant>& items = ListArgument(args[0]);
  if (args[1].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  const std::u16string value = TakeText(args[1]);
  const bool include = HasArg(args, 2) ? ToBool(args[2]) : true;
  const int mode = CompareModeArg(args, 3);
  std::vector<Variant> kept;
  for (const Variant& item : items) {
    const std::u16string text = ToString(item);
    const bool found = FindFrom(text, value, 0, mode) != std::u16string::npos;
    if (found == include) kept.push_back(Variant::String(text));
  }
  return Variant::ArrayOf(std::move(kept));
}

template <UChar32 (*Map)(UChar32)>
Variant MapCase(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) return Variant::Null();
  std::u16string text = TakeText(args[0]);
  for (char16_t& c : text) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const UChar32 mapped = Map(c);
    if (mapped <= 0xFFFF) c = static_cast<char16_t>(mapped);
  }
  return Variant::String(std::move(text));
}

enum class TrimSide { kLeft = 1, kRight = 2, kBoth = 3 };

template <TrimSide side>
Variant TrimBlanks(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) return Variant::Null();
  const std::u16string text = TakeText(args[0]);
  size_t begin = 0;
  size_t end = text.size();
  if (static_cast<int>(side) & 1) {
    while (begin < end && text[begin] == u' ') ++begin;
  }
  if (static_cast<int>(side) & 2) {
    while (end > begin && text[end - 1] == u' ') --end;
  }
  return Variant::String(text.substr(begin, end - begin));
}

Variant Space(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegativeLong(args[0]);
  CheckStringLength(static_cast<size_t>(n));
  return Variant::String(std::u16string(static_cast<size_t>(n), u' '));
}

std::u16string AnsiCharacter(int32_t code);

Variant StringFunction(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegativeLong(args[0]);
  if (args[1].IsNull()) return Variant::Null();
  std::u16string unit;
  if (args[1].IsString()) {
    if (args[1].StringValue().empty()) InvalidCall();
    unit = args[1].StringValue().substr(0, 1);
  } else {
    unit = AnsiCharacter(ToLong(args[1]) & 0xFF);
  }
  CheckStringLength(static_cast<size_t>(n));
  return Variant::String(std::u16string(static_cast<size_t>(n), unit.empty() ? u'?' : unit[0]));
}

Variant StrComp(CallContext&, std::span<Variant> args) {
  const int mode = CompareModeArg(args, 2);
  if (args[0].IsNull() || args[1].IsNull()) return Variant::Null();
  std::u16string a = TakeText(args[0]);
  std::u16string b = TakeText(args[1]);
  if (mode == 1) {
    a = FoldUnits(a);
    b = FoldUnits(b);
  }
  const int order = a.compare(b);
  return Variant::Integer(static_cast<int16_t>(order < 0 ? -1 : order > 0 ? 1 : 0));
}

Variant StrReverse(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  std::u16string text = TakeText(args[0]);
  std::reverse(text.begin(), text.end());
  return Variant::String(std::move(text));
}

std::u16string NonEmptyText(const Variant& value) {
  if (value.IsNull()) RaiseScriptError(kInvalidUseOfNull);
  std::u16string text = ToString(value);
  if (text.empty()) InvalidCall();
  return text;
}

// The system code page code of the first character: a lead and trail byte pair reads as
// a negative Integer, as on a Japanese system.
Variant Asc(CallContext&, std::span<Variant> args) {
  const std::u16string text = NonEmptyText(args[0]);
  const bool pair = text.size() > 1 && text[0] >= 0xD800 && text[0] <= 0xDBFF &&
                    text[1] >= 0xDC00 && text[1] <= 0xDFFF;
  if (text[0] < 0x80) return Variant::Integer(static_cast<int16_t>(text[0]));
  const std::string bytes = Utf8ToAnsi(Utf16ToUtf8(text.substr(0, pair ? 2 : 1)));
  if (bytes.empty()) return Variant::Integer(u'?');
  int32_t code = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() > 1) code = (code << 8) | static_cast<unsigned char>(bytes[1]);
  return Variant::Integer(static_cast<int16_t>(static_cast<uint16_t>(code)));
}

Variant AscW(CallContext&, std::span<Variant> args) {
  const std::u16string text = NonEmptyText(args[0]);
  return Variant::Integer(static_cast<int16_t>(text[0]));
}

Variant AscB(CallContext&, std::span<Variant> args) {
  const std::u16string text = NonEmptyText(args[0]);
  return Variant::Byte(static_cast<uint8_t>(text[0] & 0xFF));
}

std::u16string AnsiCharacter(int32_t code) {
  if (code < 0x80) return std::u16string(1, static_cast<char16_t>(code));
  // A lone lead byte of CP932 is what the system's conversion makes of it: U+30FB (whose
  // own code is &H8145), not an error.
  if (code <= 0xFF && ((code >= 0x81 && code <= 0x9F) || (code >= 0xE0 && code <= 0xFC))) {
    return std::u16string(1, u'\u30FB');
  }
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFF));
  return Utf8ToUtf16(AnsiToUtf8(bytes));
}

Variant Chr(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  int32_t code = ToLong(args[0]);
  if (code < -32768 || code > 65535) InvalidCall();
  if (code < 0) code += 65536;
  std::u16string text = AnsiCharacter(code);
  // A byte pair with no character in the code page is not a valid argument.
  if (text.empty() || (text.find(u'\uFFFD') != std::u16string::npos)) InvalidCall();
  return Variant::String(std::move(text));
}

Variant ChrW(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  int32_t code = ToLong(args[0]);
  if (code < -32768 || code > 65535) InvalidCall();
  if (code < 0) code += 65536;
  return Variant::String(std::u16string(1, static_cast<char16_t>(code)));
}

bool EscapeSafe(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
         std::u16string_view(u"@*_+-./").find(c) != std::u16string_view::npos;
}

Variant Escape(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  const std::u16string text = TakeText(args[0]);
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (EscapeSafe(c)) {
      out.push_back(c);
    } else if (c < 0x100) {
      out += {u'%', kHex[c >> 4], kHex[c & 15]};
    } else {
      out += {u'%', u'u', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
    }
    CheckStringLength(out.size());
  }
  return Variant::String(std::move(out));
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The value of `count` hex digits at `at`, or -1 when they are not all there.
int HexRun(const std::u16string& text, size_t at, size_t count) {
  if (at + count > text.size()) return -1;
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    const int digit = HexDigit(text[at + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

Variant Unescape(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(kInvalidUseOfNull);
  const std::u16string text = TakeText(args[0]);
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%') {
      const bool wide = i + 1 < text.size() && text[i + 1] == u'u';
      const int value = wide ? HexRun(text, i + 2, 4) : HexRun(text, i + 1, 2);
      if (value >= 0) {
        out.push_back(static_cast<char16_t>(value));
        i += wide ? 5 : 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return Variant::String(std::move(out));
}

}  // namespace

void RegisterStringBuiltins(BuiltinTable& table) {
  RegisterByteStringBuiltins(table);
  RegisterBuiltin(table, u"Len", 1, 1, Len);
  RegisterBuiltin(table, u"LenB", 1, 1, LenB);
  RegisterBuiltin(table, u"Left", 2, 2, Left);
  RegisterBuiltin(table, u"Right", 2, 2, Right);
  RegisterBuiltin(table, u"Mid", 2, 3, Mid);
  RegisterBuiltin(table, u"InStr", 2, 4, InStr);
  RegisterBuiltin(table, u"InStrRev", 2, 4, InStrRev);
  RegisterBuiltin(table, u"Replace", 3, 6, Replace);
  RegisterBuiltin(table, u"Split", 1, 4, Split);
  RegisterBuiltin(table, u"Join", 1, 2, Join);
  RegisterBuiltin(table, u"Filter", 2, 4, Filter);
  RegisterBuiltin(table, u"LCase", 1, 1, MapCase<u_tolower>);
  RegisterBuiltin(table, u"UCase", 1, 1, MapCase<u_toupper>);
  RegisterBuiltin(table, u"Trim", 1, 1, TrimBlanks<TrimSide::kBoth>);
  RegisterBuiltin(table, u"LTrim", 1, 1, TrimBlanks<TrimSide::kLeft>);
  RegisterBuiltin(table, u"RTrim", 1, 1, TrimBlanks<TrimSide::kRight>);
  RegisterBuiltin(table, u"Space", 1, 1, Space);
  RegisterBuiltin(table, u"String", 2, 2, StringFunction);
  RegisterBuiltin(table, u"StrComp", 2, 3, StrComp);
  RegisterBuiltin(table, u"StrReverse", 1, 1, StrReverse);
  RegisterBuiltin(table, u"Asc", 1, 1, Asc);
  RegisterBuiltin(table, u"AscW", 1, 1, AscW);
  RegisterBuiltin(table, u"AscB", 1, 1, AscB);
  RegisterBuiltin(table, u"Chr", 1, 1, Chr);
  RegisterBuiltin(table, u"ChrW", 1, 1, ChrW);
  RegisterBuiltin(table, u"Escape", 1, 1, Escape);
  RegisterBuiltin(table, u"Unescape", 1, 1, Unescape);
}

}  // namespace vendil
