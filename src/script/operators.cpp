// Arithmetic, concatenation, comparison and logical operators on Variants.
#include "script/operators.h"

#include <cmath>
#include <limits>

#include "script/byte_text.h"
#include "script/script_error.h"
#include "script/script_object.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

// The subtype an arithmetic result takes, widest operand first.
enum Rank {
  kByte = 1,
  kInteger = 2,
  kLong = 3,
  kSingle = 4,
  kDouble = 5,
  kCurrency = 6,
  kDate = 7
};

Rank RankOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Byte:
      return kByte;
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
      return kInteger;
    case VarType::Long:
      return kLong;
    case VarType::Single:
      return kSingle;
    case VarType::Currency:
      return kCurrency;
    case VarType::Date:
      return kDate;
    case VarType::Double:
    case VarType::String:
      return kDouble;
    default:
      RaiseScriptError(script_errors::kTypeMismatch);
  }
}

Variant IntegralResult(int64_t value, Rank rank) {
  if (rank == kByte && value >= 0 && value <= 255)
    return Variant::Byte(static_cast<uint8_t>(value));
  if (rank <= kInteger && value >= -32768 && value <= 32767) {
    return Variant::Integer(static_cast<int16_t>(value));
  }
  if (value >= std::numeric_limits<int32_t>::min() &&
      value <= std::numeric_limits<int32_t>::max()) {
    return Variant::Long(static_cast<int32_t>(value));
  }
  return Variant::Double(static_cast<double>(value));
}

Variant FloatResult(double value, Rank rank) {
  if (!std::isfinite(value)) RaiseScriptError(script_errors::kOverflow);
  if (rank == kSingle && std::fabs(value) <= std::numeric_limits<float>::max()) {
    return Variant::Single(static_cast<float>(value));
  }
  return Variant::Double(value);
}

Variant CurrencyResult(long double scaled) {
  if (!(std::fabs(scaled) < 9.2233720368547e18L)) RaiseScriptError(script_errors::kOverflow);
  return Variant::Currency(static_cast<int64_t>(std::llround(scaled)));
}

Variant Arithmetic(BinaryOp op, const Variant& a, const Variant& b) {
  Rank rank = std::max(RankOf(a), RankOf(b));
  if (rank == kCurrency && (RankOf(a) == kDouble || RankOf(b) == kDouble)) rank = kDouble;
  if (rank == kDate && op == BinaryOp::Subtract && a.Type() == VarType::Date &&
      b.Type() == VarType::Date) {
    return Variant::Double(a.DateValue() - b.DateValue());
  }
  if (rank <= kLong) {
    const int64_t x = IntegralOf(a);
    const int64_t y = IntegralOf(b);
    const int64_t r = op == BinaryOp::Add ? x + y : op == BinaryOp::Subtract ? x - y : x * y;
    return IntegralResult(r, rank);
  }
  if (rank == kCurrency) {
    const long double x = static_cast<long double>(ToCurrency(a));
    const long double y = static_cast<long double>(ToCurrency(b));
    return CurrencyResult(op == BinaryOp::Add        ? x + y
                          : op == BinaryOp::Subtract ? x - y
                                                     : x * y / 10000.0L);
  }
  const double x = ToDouble(a);
  const double y = ToDouble(b);
  const double r = op == BinaryOp::Add ? x + y : op == BinaryOp::Subtract ? x - y : x * y;
  if (rank == kDate) {
    if (!std::isfinite(r)) RaiseScriptError(script_errors::kOverflow);
    return Variant::Date(r);
  }
  return FloatResult(r, rank);
}

bool IsSmallIntegral(const Variant& v) {
  const VarType t = v.Type();
  return t == VarType::Byte || t == VarType::Integer || t == VarType::Boolean ||
         t == VarType::Empty;
}

// Integer, Long and Double operands of + - * and the comparisons, which loops spend most of
// their time on, without the general rank and conversion machinery. Gives the same results
// as the general path; false leaves the operation to it.
bool FastNumeric(BinaryOp op, const Variant& left, const Variant& right, Variant& out) {
  constexpr size_t kIntegerIndex = 4, kLongIndex = 5, kDoubleIndex = 7;
  const size_t li = left.storage().index();
  const size_t ri = right.storage().index();
  const auto isInt = [](size_t i) { return i == kIntegerIndex || i == kLongIndex; };
  const auto intOf = [](const Variant& v, size_t i) -> int64_t {
    return i == kIntegerIndex ? v.IntegerValue() : v.LongValue();
  };
  const auto compared = [&](auto x, auto y) {
    switch (op) {
      case BinaryOp::Equal:
        return x == y;
      case BinaryOp::NotEqual:
        return x != y;
      case BinaryOp::Less:
        return x < y;
      case BinaryOp::Greater:
        return x > y;
      case BinaryOp::LessEqual:
        return x <= y;
      default:
        return x >= y;
    }
  };
  const bool arithmetic =
      op == BinaryOp::Add || op == BinaryOp::Subtract || op == BinaryOp::Multiply;
  const bool comparison = op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual;
  if (!arithmetic && !comparison) return false;
  if (isInt(li) && isInt(ri)) {
    const int64_t x = intOf(left, li);
    const int64_t y = intOf(right, ri);
    if (comparison) {
      out = Variant::Boolean(compared(x, y));
      return true;
    }
    const int64_t r = op == BinaryOp::Add ? x + y : op == BinaryOp::Subtract ? x - y : x * y;
    const bool small = li == kIntegerIndex && ri == kIntegerIndex;
    out = IntegralResult(r, small ? kInteger : kLong);
    return true;
  }
  const bool ld = li == kDoubleIndex, rd = ri == kDoubleIndex;
  if ((ld || isInt(li)) && (rd || isInt(ri)) && (ld || rd)) {
    const double x = ld ? left.DoubleValue() : static_cast<double>(intOf(left, li));
    const double y = rd ? right.DoubleValue() : static_cast<double>(intOf(right, ri));
    if (comparison) {
      out = Variant::Boolean(compared(x, y));
      return true;
    }
    out = FloatResult(op == BinaryOp::Add        ? x + y
                      : op == BinaryOp::Subtract ? x - y
                                                 : x * y,
                      kDouble);
    return true;
  }
  return false;
}

}  // namespace

int64_t IntegralOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Byte:
      return v.ByteValue();
    case VarType::Boolean:
      return v.BoolValue() ? -1 : 0;
    case VarType::Integer:
      return v.IntegerValue();
    case VarType::Long:
      return v.LongValue();
    default:
      return 0;
  }
}

namespace {

void AppendUnits(std::u16string& text, std::u16string_view add) {
  CheckValueSize(text.size() + add.size(), sizeof(char16_t));
  ChargeValueBytes(add.size() * sizeof(char16_t));
  if (HasOddByte(text)) {
    AppendAfterOddByte(text, add);
    return;
  }
  text += add;
}

}  // namespace

void AppendText(Variant& target, const Variant& right) {
  if (!target.IsString()) target = Variant::String(target.IsNull() ? u"" : ToString(target));
  std::u16string& text = target.MutableString();
  if (right.IsString()) {
    AppendUnits(text, right.StringValue());
  } else if (!right.IsNull()) {
    AppendUnits(text, ToString(right));
  }
}

Variant Concatenate(const Variant& left, const Variant& right) {
  if (left.IsNull() && right.IsNull()) return Variant::Null();
  if (left.IsString() && right.IsString() && !HasOddByte(left.StringValue())) {
    // Two texts, the usual case: one allocation of the joined size.
    const std::u16string& a = left.StringValue();
    const std::u16string& b = right.StringValue();
    CheckValueSize(a.size() + b.size(), sizeof(char16_t));
    std::u16string text;
    text.reserve(a.size() + b.size());
    text += a;
    text += b;
    ChargeValueBytes(text.size() * sizeof(char16_t));
    return Variant::String(std::move(text));
  }
  Variant result = Variant::String(left.IsNull() ? std::u16string() : ToString(left));
  ChargeValueBytes(result.StringValue().size() * sizeof(char16_t));
  AppendText(result, right);
  return result;
}

Variant BinaryOperation(BinaryOp op, const Variant& left, const Variant& right) {
  if (Variant fast; FastNumeric(op, left, right, fast)) return fast;
  switch (op) {
    case BinaryOp::Add:
      if (left.IsString() && right.IsString()) return Concatenate(left, right);
      [[fallthrough]];
    case BinaryOp::Subtract:
    case BinaryOp::Multiply: {
      if (left.IsNull() || right.IsNull()) return Variant::Null();
      const Variant a = left.IsObject() ? ValueOf(left) : left;
      const Variant b = right.IsObject() ? ValueOf(right) : right;
      if (op == BinaryOp::Add && ((a.IsString() && b.IsEmpty()) || (a.IsEmpty() && b.IsString()))) {
        return Concatenate(a, b);
      }
      return Arithmetic(op, a, b);
    }
    case BinaryOp::Divide: {
      if (left.IsNull() || right.IsNull()) return Variant::Null();
      const double x = ToDouble(left);
      const double y = ToDouble(right);
      if (y == 0)
        RaiseScriptError(x == 0 ? script_errors::kOverflow : script_errors::kDivisionByZero);
      return FloatResult(x / y, kDouble);
    }
    case BinaryOp::IntDivide:
    case BinaryOp::Mod: {
      if (left.IsNull() || right.IsNull()) return Variant::Null();
      const int64_t x = ToLong(left);
      const int64_t y = ToLong(right);
      if (y == 0) RaiseScriptError(script_errors::kDivisionByZero);
      const int64_t r = op == BinaryOp::IntDivide ? x / y : x % y;
      const bool small = IsSmallIntegral(left) && IsSmallIntegral(right);
      return IntegralResult(r, small ? kInteger : kLong);
    }
    case BinaryOp::Power: {
      if (left.IsNull() || right.IsNull()) return Variant::Null();
      const double x = ToDouble(left);
      const double y = ToDouble(right);
      if (x < 0 && y != std::floor(y)) RaiseScriptError(script_errors::kInvalidProcedureCall);
      return FloatResult(std::pow(x, y), kDouble);
    }
    case BinaryOp::Concat:
      return Concatenate(left, right);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::Greater:
    case BinaryOp::LessEqual:
    case BinaryOp::GreaterEqual:
      return CompareOperation(op, left, right, false);
    case BinaryOp::Is:
      if (!left.IsObject() || !right.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
      return Variant::Boolean(left.ObjectValue() == right.ObjectValue());
    default:
      return LogicalOperation(op, left, right);
  }
}

Variant UnaryOperation(UnaryOp op, const Variant& operandIn) {
  // Unary + changes nothing, not even an object into its value.
  if (op == UnaryOp::Plus || operandIn.IsNull()) return operandIn;
  const Variant operand = operandIn.IsObject() ? ValueOf(operandIn) : operandIn;
  if (op == UnaryOp::Not) return NotOperation(operand);
  switch (operand.Type()) {
    case VarType::Empty:
      return Variant::Integer(0);
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
      return IntegralResult(-IntegralOf(operand), RankOf(operand) == kLong ? kLong : kInteger);
    case VarType::Single:
      return Variant::Single(-operand.SingleValue());
    case VarType::Currency:
      return CurrencyResult(-static_cast<long double>(operand.CurrencyValue()));
    case VarType::Date:
      return Variant::Date(-operand.DateValue());
    default:
      return Variant::Double(-ToDouble(operand));
  }
}

}  // namespace vendil
