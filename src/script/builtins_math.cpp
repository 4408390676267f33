// The math built-ins and RGB. Int, Fix, Abs and Round keep the subtype of their argument as
// VBScript does; Rnd and Randomize reproduce its 24-bit linear congruential generator.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "script/builtins.h"
#include "script/builtins_args.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

// A colour number: red + green * 256 + blue * 65536; a part above 255 counts as 255.
Variant RgbFunction(CallContext&, std::span<Variant> args) {
  int32_t colour = 0;
  for (size_t i = 0; i < 3; ++i) {
    const int32_t part = ToLong(args[i]);
    if (part < 0) RaiseScriptError(script_errors::kInvalidProcedureCall);
    colour |= std::min(part, 255) << (8 * i);
  }
  return Variant::Long(colour);
}

using script_errors::kInvalidProcedureCall;
using script_errors::kOverflow;

// Applies `op` to the value, keeping Integer, Long, Single, Currency and Date subtypes;
// Empty and Boolean become Integer, text becomes Double.
template <typename Op>
Variant KeepingSubtype(const Variant& input, Op op) {
  const Variant value = ValueOf(input);
  switch (value.Type()) {
    case VarType::Null:
      return Variant::Null();
    case VarType::Empty:
      return Variant::Integer(0);
    case VarType::Boolean:
    case VarType::Integer: {
      const double result = op(static_cast<double>(ToInteger(value)));
      if (result > 32767 || result < -32768) return Variant::Long(static_cast<int32_t>(result));
      return Variant::Integer(static_cast<int16_t>(result));
    }
    case VarType::Byte:
      return Variant::Byte(static_cast<uint8_t>(op(value.ByteValue())));
    case VarType::Long: {
      const double result = op(static_cast<double>(value.LongValue()));
      if (result > 2147483647.0 || result < -2147483648.0) return Variant::Double(result);
      return Variant::Long(static_cast<int32_t>(result));
    }
    case VarType::Single:
      return Variant::Single(static_cast<float>(op(value.SingleValue())));
    case VarType::Currency: {
      const double result = op(static_cast<double>(value.CurrencyValue()) / 10000.0);
      return Variant::Currency(ToCurrency(Variant::Double(result)));
    }
    case VarType::Date:
      return Variant::Date(op(value.DateValue()));
    default:
      return Variant::Double(op(ToDouble(value)));
  }
}

Variant IntFunction(CallContext&, std::span<Variant> args) {
  return KeepingSubtype(args[0], [](double x) { return std::floor(x); });
}
Variant FixFunction(CallContext&, std::span<Variant> args) {
  return KeepingSubtype(args[0], [](double x) { return std::trunc(x); });
}
Variant AbsFunction(CallContext&, std::span<Variant> args) {
  return KeepingSubtype(args[0], [](double x) { return std::fabs(x); });
}

Variant SgnFunction(CallContext&, std::span<Variant> args) {
  const double x = ToDouble(args[0]);
  return Variant::Integer(static_cast<int16_t>(x > 0 ? 1 : x < 0 ? -1 : 0));
}

Variant RoundFunction(CallContext&, std::span<Variant> args) {
  const int32_t digits = HasArg(args, 1) ? ToLong(args[1]) : 0;
  if (digits < 0) RaiseScriptError(kInvalidProcedureCall);
  if (args[0].IsBoolean()) return args[0];  // Round(True) stays a Boolean
  if (digits == 0) return KeepingSubtype(args[0], [](double x) { return RoundHalfEven(x); });
  const double scale = std::pow(10.0, std::min(digits, 22));
  return KeepingSubtype(args[0], [scale](double x) {
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) return x;
    return RoundHalfEven(scaled) / scale;
  });
}

double Checked(double result) {
  if (std::isinf(result)) RaiseScriptError(kOverflow);
  return result;
}

Variant SqrFunction(CallContext&, std::span<Variant> args) {
  const double x = ToDouble(args[0]);
  if (x < 0) RaiseScriptError(kInvalidProcedureCall);
  return Variant::Double(std::sqrt(x));
}
Variant ExpFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(Checked(std::exp(ToDouble(args[0]))));
}
Variant LogFunction(CallContext&, std::span<Variant> args) {
  const double x = ToDouble(args[0]);
  if (x <= 0) RaiseScriptError(kInvalidProcedureCall);
  return Variant::Double(std::log(x));
}
Variant AtnFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(std::atan(ToDouble(args[0])));
}
Variant SinFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(std::sin(ToDouble(args[0])));
}
Variant CosFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(std::cos(ToDouble(args[0])));
}
Variant TanFunction(CallContext&, std::span<Variant> args) {
  return Variant::Double(Checked(std::tan(ToDouble(args[0]))));
}

constexpr uint32_t kSeedMask = 0xFFFFFF;

Variant RndFunction(CallContext& context, std::span<Variant> args) {
  RandomState& state = context.random;
  const float x = HasArg(args, 0) ? ToSingle(args[0]) : 1.0f;
  if (x == 0) return Variant::Single(state.last);
  if (x < 0) {
    // A negative argument seeds from its bits, so the same number gives the same result.
    uint32_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    state.seed = (bits + (bits >> 24)) & kSeedMask;
  }
  state.seed = (state.seed * 0x43FD43FDu + 0xC39EC3u) & kSeedMask;
  state.last = static_cast<float>(state.seed) / 16777216.0f;
  return Variant::Single(state.last);
}

Variant RandomizeFunction(CallContext& context, std::span<Variant> args) {
  double value = 0;
  if (HasArg(args, 0)) {
    value = ToDouble(args[0]);
  } else {
    // The seconds since midnight, as Timer gives them.
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const double seconds = std::chrono::duration<double>(now).count();
    value = static_cast<float>(std::fmod(seconds, 86400.0));
  }
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const uint32_t high = static_cast<uint32_t>(bits >> 32);
  const uint32_t mixed = ((high & 0xFFFF) ^ (high >> 16)) << 8;
  context.random.seed = ((context.random.seed & 0xFF0000FFu) | mixed) & kSeedMask;
  return Variant();
}

}  // namespace

void RegisterMathBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"Int", 1, 1, IntFunction);
  RegisterBuiltin(table, u"RGB", 3, 3, RgbFunction);
  RegisterBuiltin(table, u"Fix", 1, 1, FixFunction);
  RegisterBuiltin(table, u"Abs", 1, 1, AbsFunction);
  RegisterBuiltin(table, u"Sgn", 1, 1, SgnFunction);
  RegisterBuiltin(table, u"Round", 1, 2, RoundFunction);
  RegisterBuiltin(table, u"Sqr", 1, 1, SqrFunction);
  RegisterBuiltin(table, u"Exp", 1, 1, ExpFunction);
  RegisterBuiltin(table, u"Log", 1, 1, LogFunction);
  RegisterBuiltin(table, u"Atn", 1, 1, AtnFunction);
  RegisterBuiltin(table, u"Sin", 1, 1, SinFunction);
  RegisterBuiltin(table, u"Cos", 1, 1, CosFunction);
  RegisterBuiltin(table, u"Tan", 1, 1, TanFunction);
  RegisterBuiltin(table, u"Rnd", 0, 1, RndFunction);
  RegisterStatement(table, u"Randomize", 0, 1, RandomizeFunction);
}

}  // namespace vendil
