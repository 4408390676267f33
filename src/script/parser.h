// Builds the syntax tree of script text and resolves its names. Any syntax error raises a
// ScriptError with the compilation source, the line and column, and nothing is defined.
#pragma once

#include <memory>
#include <string_view>

#include "script/ast.h"

namespace vendil {

class Interpreter;

// `expression`: the text is one expression (Eval). `enclosing`: code run by Execute or Eval
// inside a procedure sees that procedure's locals and, in a class, its members.
std::shared_ptr<Program> ParseProgram(std::u16string_view code, Interpreter& interp,
                                      bool expression, const Procedure* enclosing,
                                      const ClassDef* enclosingClass);

}  // namespace vendil
