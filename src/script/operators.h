// The operators of the language on Variants: arithmetic with VBScript's result subtypes
// (Integer overflowing to Long, then to Double), concatenation, comparison of numbers and
// texts, the logical operators as bitwise on numbers, and Is on objects.
#pragma once

#include "script/ast.h"
#include "script/variant.h"

namespace vendil {

Variant BinaryOperation(BinaryOp op, const Variant& left, const Variant& right);
Variant UnaryOperation(UnaryOp op, const Variant& operand);
// `left & right`: text of both, Null only when both are Null; raises 7 past the size limit.
Variant Concatenate(const Variant& left, const Variant& right);
// Appends the text of `right` to `target` in place (target becomes a String).
void AppendText(Variant& target, const Variant& right);
// -1, 0 or 1 as `=` / `<` compare them (binary text comparison); 2 when either is Null.
int CompareValues(const Variant& left, const Variant& right);
// Equality as Select Case and `=` use it; false when either is Null.
bool ValuesEqual(const Variant& left, const Variant& right);

}  // namespace vendil
