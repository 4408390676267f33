// The conversion built-ins: CStr, CInt, CLng, CDbl, CSng, CBool, CByte, CCur, CDate, and
// Hex/Oct, which print Integer values in 16 bits and everything else as a Long.
#include <string>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

Variant CStrFunction(CallContext&, std::span<Variant> args) {
  return Variant::String(ToString(args[0]));
}
Variant CIntFunction(CallContext&, std::span<Variant> args) {
  return Variant::Integer(ToInteger(args[0]));
}
Variant CLngFunction(CallContext&, std::span<Variant> args) {
  return Variant::Long(ToLong(args[0]));
}
Variant CDblFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(ToDouble(args[0]));
}
Variant CSngFunction(CallContext&, std::span<Variant> args) {
  return Variant::Single(ToSingle(args[0]));
}
Variant CBoolFunction(CallContext&, std::span<Variant> args) {
  return Variant::Boolean(ToBool(args[0]));
}
Variant CByteFunction(CallContext&, std::span<Variant> args) {
  // True is all bits set: 255 as a Byte.
  if (args[0].IsBoolean()) return Variant::Byte(args[0].BoolValue() ? 255 : 0);
  return Variant::Byte(ToByte(args[0]));
}
Variant CCurFunction(CallContext&, std::span<Variant> args) {
  return Variant::Currency(ToCurrency(args[0]));
}
Variant CDateFunction(CallContext&, std::span<Variant> args) {
  return Variant::Date(ToDate(args[0]));
}

Variant InBase(const Variant& value, unsigned shift) {
  if (value.IsNull()) return Variant::Null();
  uint32_t bits = 0;
  switch (value.Type()) {
    case VarType::Empty:
      break;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Boolean:
      bits = static_cast<uint16_t>(ToInteger(value));
      break;
    default:
      bits = static_cast<uint32_t>(ToLong(value));
  }
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const uint32_t mask = (1u << shift) - 1;
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[bits & mask]);
    bits >>= shift;
  } while (bits != 0);
  return Variant::String(std::move(out));
}

Variant HexFunction(CallContext&, std::span<Variant> args) { return InBase(args[0], 4); }
Variant OctFunction(CallContext&, std::span<Variant> args) { return InBase(args[0], 3); }

}  // namespace

void RegisterConversionBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"CStr", 1, 1, CStrFunction);
  RegisterBuiltin(table, u"CInt", 1, 1, CIntFunction);
  RegisterBuiltin(table, u"CLng", 1, 1, CLngFunction);
  RegisterBuiltin(table, u"CDbl", 1, 1, CDblFunction);
  RegisterBuiltin(table, u"CSng", 1, 1, CSngFunction);
  RegisterBuiltin(table, u"CBool", 1, 1, CBoolFunction);
  RegisterBuiltin(table, u"CByte", 1, 1, CByteFunction);
  RegisterBuiltin(table, u"CCur", 1, 1, CCurFunction);
  RegisterBuiltin(table, u"CDate", 1, 1, CDateFunction);
  RegisterBuiltin(table, u"Hex", 1, 1, HexFunction);
  RegisterBuiltin(table, u"Oct", 1, 1, OctFunction);
}

}  // namespace vendil
