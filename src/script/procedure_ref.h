// GetRef: an object that calls a global procedure of the script when used with arguments.
#pragma once

#include <string_view>

#include "script/variant.h"

namespace vendil {

class Interpreter;

// Raises 5 "Invalid procedure call or argument" when `name` is no Sub or Function.
Variant ProcedureReference(Interpreter& interp, std::u16string_view name);

class ScriptObject;
struct Procedure;
// The procedure a GetRef object calls, or null for any other object. A call through it takes
// its arguments as a direct call does, so ByRef parameters reach the caller's variables.
const Procedure* ReferencedProcedure(const ScriptObject& object);

}  // namespace vendil
