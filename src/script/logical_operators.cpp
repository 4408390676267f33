// And, Or, Xor, Eqv, Imp and Not: on Booleans they are logic, on numbers bitwise on the 32-bit
// value, with a result as wide as the wider operand (Byte, Integer or Long; Empty counts as a
// Long). Null is the unknown of three-valued logic: a result the other operand settles alone
// (False And Null, -1 Or Null, 0 Imp Null) is that result, any other is Null.
#include "script/operators.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

enum class Width { Boolean, Byte, Integer, Long };

Width WidthOf(const Variant& v) {
  switch (v.Type()) {
    case VarType::Boolean:
      return Width::Boolean;
    case VarType::Byte:
      return Width::Byte;
    case VarType::Integer:
      return Width::Integer;
    default:
      return Width::Long;
  }
}

Width Wider(Width a, Width b) {
  if (a == b) return a;
  // A Boolean beside a number counts as an Integer.
  if (a == Width::Boolean) a = Width::Integer;
  if (b == Width::Boolean) b = Width::Integer;
  return a > b ? a : b;
}

Variant OfWidth(int32_t bits, Width width) {
  switch (width) {
    case Width::Boolean:
      return Variant::Boolean(bits != 0);
    case Width::Byte:
      return Variant::Byte(static_cast<uint8_t>(bits));
    case Width::Integer:
      return Variant::Integer(static_cast<int16_t>(bits));
    default:
      return Variant::Long(bits);
  }
}

bool AllOnes(int32_t bits, Width width) {
  return width == Width::Byte ? (bits & 0xFF) == 0xFF : bits == -1;
}

// One side is Null: the other side's value and width decide whether the result is known.
Variant WithNull(BinaryOp op, const Variant& left, const Variant& right) {
  const bool leftNull = left.IsNull();
  const Variant& other = leftNull ? right : left;
  if (other.IsNull()) return Variant::Null();
  const Width width = WidthOf(other);
  const int32_t bits = ToLong(other);
  switch (op) {
    case BinaryOp::And:
      return bits == 0 ? OfWidth(0, width) : Variant::Null();
    case BinaryOp::Or:
      return AllOnes(bits, width) ? OfWidth(bits, width) : Variant::Null();
    case BinaryOp::Imp:
      // Null Imp x is known when x is all ones; x Imp Null when Not x is, and a Byte Imp
      // Null is always Not b as a Byte (CByte(170) Imp Null is 85).
      if (leftNull) return AllOnes(bits, width) ? OfWidth(bits, width) : Variant::Null();
      if (width == Width::Byte) return OfWidth(~bits, width);
      return AllOnes(~bits, width) ? OfWidth(~bits, width) : Variant::Null();
    default:
      return Variant::Null();
  }
}

}  // namespace

Variant LogicalOperation(BinaryOp op, const Variant& left, const Variant& right) {
  if (left.IsNull() || right.IsNull()) return WithNull(op, left, right);
  const int32_t x = ToLong(left);
  const int32_t y = ToLong(right);
  int32_t r;
  switch (op) {
    case BinaryOp::And:
      r = x & y;
      break;
    case BinaryOp::Or:
      r = x | y;
      break;
    case BinaryOp::Xor:
      r = x ^ y;
      break;
    case BinaryOp::Eqv:
      r = ~(x ^ y);
      break;
    default:
      r = ~x | y;
      break;
  }
  return OfWidth(r, Wider(WidthOf(left), WidthOf(right)));
}

Variant NotOperation(const Variant& operand) {
  // A text that is no number may be a Boolean's text: Not "#FALSE#" and Not "False" are True.
  if (operand.IsString() && !ParseNumericString(operand.StringValue())) {
    return Variant::Boolean(!ToBool(operand));
  }
  return OfWidth(~ToLong(operand), WidthOf(operand));
}

}  // namespace vendil
