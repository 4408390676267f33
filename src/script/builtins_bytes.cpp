// LeftB, RightB, MidB, InStrB and ChrB: strings seen as the bytes of their UTF-16 units (low
// byte first), as the byte functions of the language see them; a piece of an odd number of
// bytes ends in a marked unit holding its last byte (byte_text.h).
#include <algorithm>

#include "script/builtins.h"
#include "script/builtins_args.h"
#include "script/byte_text.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

std::u16string ByteRange(std::u16string_view text, size_t from, size_t count) {
  const size_t total = ByteLength(text);
  if (from >= total) return {};
  const size_t end = from + std::min(count, total - from);
  std::u16string out;
  out.reserve((end - from + 1) / 2);
  for (size_t i = from; i < end; i += 2) {
    const char16_t low = ByteAt(text, i);
    out.push_back(i + 1 < end ? static_cast<char16_t>(low | (ByteAt(text, i + 1) << 8))
                              : static_cast<char16_t>(0xDF00 | low));
  }
  return out;
}

void AppendAfterOddByte(std::u16string& text, std::u16string_view right) {
  // The lone byte waits for the first byte of `right` to make a unit, and so on along it.
  char16_t pending = static_cast<char16_t>(text.back() & 0xFF);
  bool waiting = true;
  text.pop_back();
  const size_t bytes = ByteLength(right);
  text.reserve(text.size() + bytes / 2 + 1);
  for (size_t i = 0; i < bytes; ++i) {
    const char16_t byte = ByteAt(right, i);
    if (waiting) {
      text.push_back(static_cast<char16_t>(pending | (byte << 8)));
    } else {
      pending = byte;
    }
    waiting = !waiting;
  }
  if (waiting) text.push_back(static_cast<char16_t>(0xDF00 | pending));
}

namespace {

int32_t NonNegative(const Variant& value) {
  const int32_t n = ToLong(value);
  if (n < 0) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return n;
}

Variant LeftB(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegative(args[1]);
  if (args[0].IsNull()) return Variant::Null();
  return Variant::String(ByteRange(ToString(args[0]), 0, static_cast<size_t>(n)));
}

Variant RightB(CallContext&, std::span<Variant> args) {
  const int32_t n = NonNegative(args[1]);
  if (args[0].IsNull()) return Variant::Null();
  const std::u16string text = ToString(args[0]);
  const size_t total = ByteLength(text);
  const size_t keep = std::min(total, static_cast<size_t>(n));
  return Variant::String(ByteRange(text, total - keep, keep));
}

Variant MidB(CallContext&, std::span<Variant> args) {
  const int32_t start = ToLong(args[1]);
  if (start < 1) RaiseScriptError(script_errors::kInvalidProcedureCall);
  const size_t count = HasArg(args, 2) ? static_cast<size_t>(NonNegative(args[2])) : SIZE_MAX;
  if (args[0].IsNull()) return Variant::Null();
  return Variant::String(ByteRange(ToString(args[0]), static_cast<size_t>(start - 1), count));
}

// InStrB([start,] text, sought): the 1-based byte position of `sought`, 0 when absent.
Variant InStrB(CallContext&, std::span<Variant> args) {
  const bool hasStart = args.size() >= 3;
  const size_t first = hasStart ? 1 : 0;
  int32_t start = 1;
  if (hasStart) {
    start = ToLong(args[0]);
    if (start < 1) RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  if (args[first].IsNull() || args[first + 1].IsNull()) return Variant::Null();
  const std::u16string text = ToString(args[first]);
  const std::u16string sought = ToString(args[first + 1]);
  const size_t total = ByteLength(text);
  const size_t from = static_cast<size_t>(start - 1);
  if (from > total) return Variant::Long(0);
  if (sought.empty()) return Variant::Long(start);
  const size_t length = ByteLength(sought);
  for (size_t at = from; at + length <= total; ++at) {
    size_t k = 0;
    while (k < length && ByteAt(text, at + k) == ByteAt(sought, k)) ++k;
    if (k == length) return Variant::Long(static_cast<int32_t>(at + 1));
  }
  return Variant::Long(0);
}

Variant ChrB(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(script_errors::kInvalidUseOfNull);
  const int32_t code = ToLong(args[0]);
  if (code < 0 || code > 255) RaiseScriptError(script_errors::kOverflow);
  return Variant::String(std::u16string(1, static_cast<char16_t>(0xDF00 | code)));
}

}  // namespace

void RegisterByteStringBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"LeftB", 2, 2, LeftB);
  RegisterBuiltin(table, u"RightB", 2, 2, RightB);
  RegisterBuiltin(table, u"MidB", 2, 3, MidB);
  RegisterBuiltin(table, u"ChrB", 1, 1, ChrB);
  RegisterBuiltin(table, u"InStrB", 2, 3, InStrB);
}

}  // namespace vendil
