// The comparison operators: numbers by value, texts by their UTF-16 units, and the mixed cases
// by the rules of the language, where a number written as a literal in the comparison
// changes how a text and a number meet.
#include <cmath>

#include "script/operators.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

template <typename T>
int Order(T x, T y) {
  return x < y ? -1 : x > y ? 1 : 0;
}

// A text against a number, a date or a Boolean, seen from the text's side.
int CompareTextWith(const std::u16string& text, const Variant& other, bool withLiteral) {
  if (other.IsEmpty()) return text.empty() ? 0 : 1;
  // A number from a variable, a constant, a call or arithmetic is turned into text: `"abc" = n`
  // is False and `"10" > CDbl(5)` compares "10" with "5".
  if (!withLiteral || other.IsBoolean()) return Order(text.compare(ToString(other)), 0);
  std::optional<double> number = ParseNumericString(text);
  if (!number && other.Type() == VarType::Date) number = ParseDateText(text);
  if (!number) RaiseScriptError(script_errors::kTypeMismatch);
  return Order(*number, ToDouble(other));
}

}  // namespace

int CompareValues(const Variant& leftIn, const Variant& rightIn, bool withLiteral) {
  if (leftIn.IsNull() || rightIn.IsNull()) return 2;
  const Variant left = leftIn.IsObject() ? ValueOf(leftIn) : leftIn;
  const Variant right = rightIn.IsObject() ? ValueOf(rightIn) : rightIn;
  if (left.IsNull() || right.IsNull()) return 2;
  if (left.IsArray() || right.IsArray() || left.IsError() || right.IsError()) {
    RaiseScriptError(script_errors::kTypeMismatch);
  }
  if (left.IsString() && right.IsString()) {
    return Order(left.StringValue().compare(right.StringValue()), 0);
  }
  if (left.IsString()) return CompareTextWith(left.StringValue(), right, withLiteral);
  if (right.IsString()) return -CompareTextWith(right.StringValue(), left, withLiteral);
  if (left.Type() == VarType::Currency && right.Type() == VarType::Currency) {
    return Order(left.CurrencyValue(), right.CurrencyValue());
  }
  if (left.IsIntegral() && right.IsIntegral()) return Order(IntegralOf(left), IntegralOf(right));
  const double x = ToDouble(left);
  const double y = ToDouble(right);
  // A Single meets a Double at the Single's precision: CSng(0.1) = 0.1.
  if ((left.Type() == VarType::Single && right.Type() == VarType::Double) ||
      (left.Type() == VarType::Double && right.Type() == VarType::Single)) {
    return Order(static_cast<float>(x), static_cast<float>(y));
  }
  return Order(x, y);
}

bool ValuesEqual(const Variant& left, const Variant& right, bool withLiteral) {
  return CompareValues(left, right, withLiteral) == 0;
}

Variant CompareOperation(BinaryOp op, const Variant& left, const Variant& right, bool withLiteral) {
  const int c = CompareValues(left, right, withLiteral);
  if (c == 2) return Variant::Null();
  switch (op) {
    case BinaryOp::Equal:
      return Variant::Boolean(c == 0);
    case BinaryOp::NotEqual:
      return Variant::Boolean(c != 0);
    case BinaryOp::Less:
      return Variant::Boolean(c < 0);
    case BinaryOp::Greater:
      return Variant::Boolean(c > 0);
    case BinaryOp::LessEqual:
      return Variant::Boolean(c <= 0);
    default:
      return Variant::Boolean(c >= 0);
  }
}

}  // namespace vendil
