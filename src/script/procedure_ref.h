// GetRef: an object that calls a global procedure of the script when used with arguments.
#pragma once

#include <string_view>

#include "script/variant.h"

namespace vendil {

class Interpreter;

// Raises 5 "Invalid procedure call or argument" when `name` is no Sub or Function.
Variant ProcedureReference(Interpreter& interp, std::u16string_view name);

}  // namespace vendil
