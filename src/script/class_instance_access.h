// Small helpers the tree nodes share: the fields of Me and an object's default value.
#pragma once

#include <vector>

#include "script/variant.h"

namespace vendil {

class Interpreter;

// The fields of the instance whose code runs; raises 424 outside a class.
std::vector<Variant>& MeFields(Interpreter& interp);
// An object's default member read without arguments; other values as they are.
Variant DefaultValue(Variant value);
// True for If/While conditions: Null counts as False.
bool Truth(const Variant& value);

}  // namespace vendil
