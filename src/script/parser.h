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
// `addedLocals`: the names earlier Execute code added to the running procedure's frame,
// in slot order after the procedure's own.
std::shared_ptr<Program> ParseProgram(std::u16string_view code, Interpreter& interp,
                                      bool expression, const Procedure* enclosing,
                                      const ClassDef* enclosingClass,
                                      const std::vector<std::u16string>* addedLocals = nullptr);

}  // namespace vendil
