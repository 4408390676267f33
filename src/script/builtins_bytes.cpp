// LeftB, RightB, MidB, InStrB and ChrB: strings seen as the bytes of their UTF-16 units (low byte
// first), as the byte functions of the language see them. A piece that ends in the middle of
// a unit keeps that byte as a unit of its own, since a text here is always whole units.
#include <algorithm>

#include "script/builtins.h"
#include "script/builtins_args.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

int32_t NonNegative(const Variant& value) {
  const int32_t n = ToLong(value);
  if (n < 0) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return n;
}

// The bytes [from, from + count) of the text, clipped to its end.
std::u16string ByteRange(const std::u16string& text, size_t from, size_t count) {
  const size_t total = text.size() * 2;
  if (from >= total) return {};
  const size_t end = from + std::min(count, total - from);
  std::u16string out;
  out.reserve((end - from + 1) / 2);
  for (size_t i = from; i < end; i += 2) {
    auto byteAt = [&text](size_t b) {
      const char16_t unit = text[b / 2];
      return static_cast<char16_t>(b % 2 == 0 ? unit & 0xFF : unit >> 8);
    };
    const char16_t low = byteAt(i);
    const char16_t high = i + 1 < end ? byteAt(i + 1) : 0;
    out.push_back(static_cast<char16_t>(low | (high << 8)));
  }
  return out;
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
  const size_t total = text.size() * 2;
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
  const size_t total = text.size() * 2;
  const size_t from = static_cast<size_t>(start - 1);
  if (from > total) return Variant::Long(0);
  if (sought.empty()) return Variant::Long(start);
  auto byteAt = [](const std::u16string& s, size_t b) {
    return static_cast<unsigned>(b % 2 == 0 ? s[b / 2] & 0xFF : s[b / 2] >> 8);
  };
  const size_t length = sought.size() * 2;
  for (size_t at = from; at + length <= total; ++at) {
    size_t k = 0;
    while (k < length && byteAt(text, at + k) == byteAt(sought, k)) ++k;
    if (k == length) return Variant::Long(static_cast<int32_t>(at + 1));
  }
  return Variant::Long(0);
}

Variant ChrB(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(script_errors::kInvalidUseOfNull);
  const int32_t code = ToLong(args[0]);
  if (code < 0 || code > 255) RaiseScriptError(script_errors::kOverflow);
  return Variant::String(std::u16string(1, static_cast<char16_t>(code)));
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
