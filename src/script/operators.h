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
// A text met by a number compares as less than it, unless `withLiteral` (one side is written
// as a literal in the code): then the text is read as a number (13 when it is none), and a
// text met by a Boolean compares with its text.
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
