// The operators of the language on Variants: arithmetic with VBScript's result subtypes
// (Integer overflowing to Long, then to Double), concatenation, comparison of numbers and
// texts, the logical operators as bitwise on numbers, and Is on objects.
#pragma once

#include "script/ast.h"
#include "script/variant.h"

namespace vendil {

// The number of a Byte, Integer, Long or Boolean (-1 for True); 0 for other subtypes.
int64_t IntegralOf(const Variant& v);

Variant BinaryOperation(BinaryOp op, const Variant& left, const Variant& right);
Variant UnaryOperation(UnaryOp op, const Variant& operand);
// `left & right`: text of both, Null only when both are Null; raises 7 past the size limit.
Variant Concatenate(const Variant& left, const Variant& right);
// Appends the text of `right` to `target` in place (target becomes a String).
void AppendText(Variant& target, const Variant& right);
// -1, 0 or 1 as `=` / `<` compare them (binary text comparison); 2 when either is Null.
// A text met by a number, a date or a Boolean compares with the other side's text, unless
// `withLiteral` (the other side is a number or date written as a literal in the comparison,
// as `5` in `s = 5`): then the text is read as a number (13 when it is none). A Boolean
// always compares as its text.
int CompareValues(const Variant& left, const Variant& right, bool withLiteral = false);
// The comparison operators: a Boolean, or Null when either side is Null.
Variant CompareOperation(BinaryOp op, const Variant& left, const Variant& right, bool withLiteral);
// Equality as Select Case uses it; false when either is Null.
bool ValuesEqual(const Variant& left, const Variant& right, bool withLiteral = false);
// And, Or, Xor, Eqv, Imp: Boolean on two Booleans, else bitwise on the numbers, with Null
// as the unknown of three-valued logic.
Variant LogicalOperation(BinaryOp op, const Variant& left, const Variant& right);
Variant NotOperation(const Variant& operand);

}  // namespace vendil
