// Running the statement nodes: assignment, calls, declarations, the control statements,
// On Error and With.
#include "script/class_instance_access.h"
#include "script/interpreter.h"
#include "script/operators.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

std::vector<int32_t> BoundsOf(Interpreter& interp, const std::vector<ExprPtr>& bounds) {
  std::vector<int32_t> upper;
  for (const ExprPtr& bound : bounds) upper.push_back(ToLong(DefaultValue(bound->Eval(interp))));
  return upper;
}

Variant NewArray(Interpreter& interp, const DimItem& item) {
  if (item.bounds.empty()) return Variant::Array(std::make_unique<ScriptArray>());
  auto array = std::make_unique<ScriptArray>(BoundsOf(interp, item.bounds));
  array->fixed = true;
  return Variant::Array(std::move(array));
}

// Runs the header of a block statement (a condition, the object of With, the bounds of For).
// An error in it goes up as usual, unless On Error Resume Next is on: then it is kept in Err
// and the result is false, and the statement goes on inside its block as the language does.
// The value of a variable the expression names, where it is, when reading it runs no code
// and declares nothing: a local, a field or a declared global. Null for anything else.
const Variant* VariableInPlace(Interpreter& interp, const Expr& expr) {
  const NameExpr* name = expr.AsName();
  if (!name) return nullptr;
  switch (name->kind) {
    case NameKind::Local:
    case NameKind::Field:
      return interp.Reference(expr);
    case NameKind::Global:
      return name->global->kind == GlobalKind::Variable && name->global->declared
                 ? &name->global->value
                 : nullptr;
    default:
      return nullptr;
  }
}

template <typename Header>
bool Evaluated(Interpreter& interp, Header&& header) {
  try {
    header();
    return true;
  } catch (const ScriptError& error) {
    if (!interp.frame().resumeNext) throw;
    interp.RecordError(error);
    return false;
  }
}

Variant* TargetOf(Interpreter& interp, const Expr& target) {
  Variant* ref = interp.Reference(target);
  if (!ref) RaiseScriptError(script_errors::kIllegalAssignment);
  return ref;
}

}  // namespace

Flow AssignStmt::Exec(Interpreter& interp) const {
  // `s = s & x`: x goes onto the end of s in place instead of s being copied each time, and
  // a variable x holding text is appended from where it is.
  const BinaryExpr* join = appendsToTarget && !isSet ? value->AsBinary() : nullptr;
  if (join && !join->left->AsBinary()) {
    Variant* ref = interp.Reference(*target);
    if (ref && ref->IsString()) {
      const Variant* source = VariableInPlace(interp, *join->right);
      if (source && source->IsString() && source != ref) {
        AppendText(*ref, *source);
        return Flow::Normal;
      }
      Variant piece = DefaultValue(join->right->Eval(interp));
      ref = interp.Reference(*target);
      if (ref && ref->IsString()) {
        AppendText(*ref, piece);
        return Flow::Normal;
      }
      interp.Assign(*target, Concatenate(ref ? *ref : Variant(), piece), false);
      return Flow::Normal;
    }
  }
  interp.Assign(*target, value->Eval(interp), isSet);
  return Flow::Normal;
}

Flow CallStmt::Exec(Interpreter& interp) const {
  if (auto* name = call->AsName()) {
    interp.CallNameAsStatement(*name);
    return Flow::Normal;
  }
  if (auto* node = call->AsCall()) {
    auto* name = node->callee->AsName();
    if (name && name->kind == NameKind::Builtin) {
      interp.CallBuiltinAsStatement(*name->builtin, node->args);
      return Flow::Normal;
    }
  }
  call->Eval(interp);
  return Flow::Normal;
}

Flow DimStmt::Exec(Interpreter& interp) const {
  for (const DimItem& item : items) {
    // A name ExecuteGlobal made a procedure or class cannot become a variable too.
    auto* name = dynamic_cast<const NameExpr*>(item.target.get());
    if (name && name->kind == NameKind::Global && name->global->kind != GlobalKind::Variable) {
      RaiseScriptError(1041, u"Name redefined: '" + name->name + u"'");
    }
    Variant* ref = TargetOf(interp, *item.target);
    if (item.isArray) {
      // Code that ExecuteGlobal runs cannot declare an array that is one already.
      const Program* program = interp.frame().program;
      if (ref->IsArray() && program && program->runByExecute && name &&
          name->kind == NameKind::Global) {
        RaiseScriptError(script_errors::kTypeMismatch);
      }
      CheckReplaceable(*ref);
      *ref = NewArray(interp, item);
    }
  }
  return Flow::Normal;
}

Flow ReDimStmt::Exec(Interpreter& interp) const {
  for (const DimItem& item : items) {
    Variant* ref = TargetOf(interp, *item.target);
    // A fixed or locked array refuses before its new sizes are even read; ReDim Preserve
    // reads them first (`ReDim Preserve f("abc")` is 13).
    std::vector<int32_t> upper;
    if (preserve) {
      upper = BoundsOf(interp, item.bounds);
      ref = TargetOf(interp, *item.target);  // reading them may have run code
    }
    if (ref->IsArray() && (ref->ArrayValue().fixed || ref->ArrayValue().locks > 0)) {
      RaiseScriptError(script_errors::kArrayLocked);
    }
    if (!preserve) upper = BoundsOf(interp, item.bounds);
    if (ref->IsArray()) {
      ref->ArrayValue().Redimension(std::move(upper), preserve);
    } else {
      *ref = Variant::Array(std::make_unique<ScriptArray>(std::move(upper)));
    }
  }
  return Flow::Normal;
}

Flow ConstStmt::Exec(Interpreter& interp) const {
  for (const auto& [name, value] : items) {
    Variant v = value->Eval(interp);
    auto* node = dynamic_cast<const NameExpr*>(name.get());
    if (node && node->kind == NameKind::Global) {
      node->global->kind = GlobalKind::Constant;
      node->global->declared = true;
      node->global->value = std::move(v);
    } else {
      *TargetOf(interp, *name) = std::move(v);
    }
  }
  return Flow::Normal;
}

Flow EraseStmt::Exec(Interpreter& interp) const {
  for (const ExprPtr& target : targets) {
    Variant* ref = TargetOf(interp, *target);
    if (!ref->IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
    ref->ArrayValue().Erase();
  }
  return Flow::Normal;
}

Flow IfStmt::Exec(Interpreter& interp) const {
  for (const auto& branch : branches) {
    bool truth = true;  // a failed condition resumes inside its block
    Evaluated(interp, [&] { truth = Truth(branch.first->Eval(interp)); });
    if (truth) return interp.ExecBlock(branch.second);
  }
  return interp.ExecBlock(elseBlock);
}

Flow SelectStmt::Exec(Interpreter& interp) const {
  Variant value;
  // A value that fails to come (under On Error Resume Next) runs no Case, not even Else.
  if (!Evaluated(interp, [&] { value = DefaultValue(subject->Eval(interp)); })) {
    return Flow::Normal;
  }
  for (const auto& [values, block] : cases) {
    for (const ExprPtr& candidate : values) {
      bool match = true;
      Evaluated(interp, [&] {
        // Only a label written as a number reads a text subject as a number: the subject's
        // value is never a literal of the comparison, even when written as one.
        match = ValuesEqual(value, DefaultValue(candidate->Eval(interp)),
                            candidate->IsNumericLiteral());
      });
      if (match) return interp.ExecBlock(block);
    }
  }
  return interp.ExecBlock(elseBlock);
}

Flow ForStmt::Exec(Interpreter& interp) const {
  Variant start, end, increment;
  const bool ready = Evaluated(interp, [&] {
    start = DefaultValue(from->Eval(interp));
    end = DefaultValue(to->Eval(interp));
    increment = step ? DefaultValue(step->Eval(interp)) : Variant::Integer(1);
    if (!start.IsNumber() && !start.IsString() && !start.IsEmpty()) {
      RaiseScriptError(script_errors::kTypeMismatch);
    }
    ToDouble(end);
    ToDouble(increment);
  });
  if (!ready) {
    // The body runs once; its Next then finds no loop and leaves error 92 behind.
    const Flow flow = interp.ExecBlock(body);
    if (flow == Flow::Normal) {
      interp.RecordError(ScriptError(script_errors::kForNotInitialized,
                                     StandardErrorMessage(script_errors::kForNotInitialized)));
    }
    return flow == Flow::ExitFor ? Flow::Normal : flow;
  }
  const double endValue = ToDouble(end);
  const bool down = ToDouble(increment) < 0;
  // The counter takes the widest subtype of start, end and step, as an addition would.
  Variant current = BinaryOperation(BinaryOp::Add, start, Variant::Integer(0));
  if (!end.IsIntegral() || !increment.IsIntegral()) {
    current = BinaryOperation(BinaryOp::Add, current,
                              BinaryOperation(BinaryOp::Multiply, end, Variant::Integer(0)));
  }
  interp.Assign(*counter, current, false);
  const bool integralStep = increment.IsIntegral();
  const int64_t stepValue = integralStep ? ToLong(increment) : 0;
  // A local or global counter stays where it is for the whole loop.
  Variant* const fixedPlace =
      VariableInPlace(interp, *counter) ? interp.Reference(*counter) : nullptr;
  while (true) {
    // A Long counter, the usual case, is read in place; anything else goes the long way.
    const Variant* place = fixedPlace ? fixedPlace : interp.Reference(*counter);
    const double n = place && place->Type() == VarType::Long
                         ? place->LongValue()
                         : ToDouble(DefaultValue(counter->Eval(interp)));
    if (down ? n < endValue : n > endValue) break;
    // An empty body runs no statement, so the loop itself gives the host its turn.
    if (body.empty()) interp.Tick();
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
    Variant* ref = fixedPlace ? fixedPlace : interp.Reference(*counter);
    if (ref && ref->Type() == VarType::Long && integralStep) {
      const int64_t next = int64_t{ref->LongValue()} + stepValue;
      if (next >= INT32_MIN && next <= INT32_MAX) {
        *ref = Variant::Long(static_cast<int32_t>(next));
        continue;
      }
    }
    interp.Assign(*counter,
                  BinaryOperation(BinaryOp::Add, DefaultValue(counter->Eval(interp)), increment),
                  false);
  }
  return Flow::Normal;
}

Flow ForEachStmt::Exec(Interpreter& interp) const {
  std::vector<Variant> items;
  const bool ready = Evaluated(interp, [&] {
    Variant source = group->Eval(interp);
    if (source.IsArray()) {
      items = source.ArrayValue().Elements();
    } else if (source.IsObject() && source.ObjectValue()) {
      std::shared_ptr<ScriptObject> object = source.ObjectValue();
      items = object->Enumerate();
    } else {
      RaiseScriptError(source.IsObject() ? script_errors::kObjectRequired
                                         : script_errors::kNotACollection);
    }
  });
  if (!ready) {
    // The body runs once, as after a failed header; its Next then finds no collection and
    // leaves error 451 behind.
    const Flow flow = interp.ExecBlock(body);
    if (flow == Flow::Normal) {
      interp.RecordError(ScriptError(script_errors::kNotACollection,
                                     StandardErrorMessage(script_errors::kNotACollection)));
    }
    return flow == Flow::ExitFor ? Flow::Normal : flow;
  }
  for (Variant& item : items) {
    const bool isObject = item.IsObject();
    interp.Assign(*element, std::move(item), isObject);
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitFor) return Flow::Normal;
    if (flow != Flow::Normal) return flow;
  }
  // A loop that ran to its end leaves its variable Empty.
  interp.Assign(*element, Variant(), false);
  return Flow::Normal;
}

Flow DoStmt::Exec(Interpreter& interp) const {
  // A failed test at the top goes into the body; one at the bottom leaves the loop.
  auto keepGoing = [&](bool onError) {
    if (!condition) return true;
    bool go = onError;
    Evaluated(interp, [&] {
      const bool value = Truth(condition->Eval(interp));
      go = until ? !value : value;
    });
    return go;
  };
  while (true) {
    if (testFirst && !keepGoing(true)) break;
    if (body.empty()) interp.Tick();
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitDo && !isWhileWend) break;
    if (flow != Flow::Normal) return flow;
    if (!testFirst && !keepGoing(false)) break;
  }
  return Flow::Normal;
}

Flow OnErrorStmt::Exec(Interpreter& interp) const {
  interp.frame().resumeNext = resumeNext;
  interp.ClearErr();
  return Flow::Normal;
}

Flow WithStmt::Exec(Interpreter& interp) const {
  Variant target = Variant::Nothing();
  Evaluated(interp, [&] {
    target = object->Eval(interp);
    if (!target.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
  });
  Frame& frame = interp.frame();
  frame.withObjects.push_back(std::move(target));
  struct Pop {
    Frame& frame;
    ~Pop() { frame.withObjects.pop_back(); }
  } pop{frame};
  return interp.ExecBlock(body);
}

}  // namespace vendil
