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

Variant* TargetOf(Interpreter& interp, const Expr& target) {
  Variant* ref = interp.Reference(target);
  if (!ref) RaiseScriptError(script_errors::kIllegalAssignment);
  return ref;
}

}  // namespace

Flow AssignStmt::Exec(Interpreter& interp) const {
  if (appendsToTarget && !isSet) {
    // `s = s & x & y`: the right-hand parts go onto s in place instead of copying s each time.
    Variant* ref = interp.Reference(*target);
    if (ref && ref->IsString()) {
      std::vector<const Expr*> parts;
      const Expr* e = value.get();
      while (auto* bin = e->AsBinary()) {
        parts.push_back(bin->right.get());
        e = bin->left.get();
      }
      if (parts.size() == 1) {
        Variant piece = DefaultValue(parts[0]->Eval(interp));
        ref = interp.Reference(*target);
        if (ref && ref->IsString()) {
          AppendText(*ref, piece);
          return Flow::Normal;
        }
        interp.Assign(*target, Concatenate(ref ? *ref : Variant(), piece), false);
        return Flow::Normal;
      }
    }
  }
  interp.Assign(*target, value->Eval(interp), isSet);
  return Flow::Normal;
}

Flow CallStmt::Exec(Interpreter& interp) const {
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
      *ref = NewArray(interp, item);
    }
  }
  return Flow::Normal;
}

Flow ReDimStmt::Exec(Interpreter& interp) const {
  for (const DimItem& item : items) {
    Variant* ref = TargetOf(interp, *item.target);
    std::vector<int32_t> upper = BoundsOf(interp, item.bounds);
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
  for (const auto& [condition, block] : branches) {
    if (Truth(condition->Eval(interp))) return interp.ExecBlock(block);
  }
  return interp.ExecBlock(elseBlock);
}

Flow SelectStmt::Exec(Interpreter& interp) const {
  Variant value = DefaultValue(subject->Eval(interp));
  for (const auto& [values, block] : cases) {
    for (const ExprPtr& candidate : values) {
      const bool withLiteral = subject->IsLiteral() || candidate->IsLiteral();
      if (ValuesEqual(value, DefaultValue(candidate->Eval(interp)), withLiteral)) {
        return interp.ExecBlock(block);
      }
    }
  }
  return interp.ExecBlock(elseBlock);
}

Flow ForStmt::Exec(Interpreter& interp) const {
  Variant start = DefaultValue(from->Eval(interp));
  Variant end = DefaultValue(to->Eval(interp));
  Variant increment = step ? DefaultValue(step->Eval(interp)) : Variant::Integer(1);
  if (!start.IsNumber() && !start.IsString() && !start.IsEmpty()) {
    RaiseScriptError(script_errors::kTypeMismatch);
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
  while (true) {
    // A Long counter, the usual case, is read in place; anything else goes the long way.
    const Variant* place = interp.Reference(*counter);
    const double n = place && place->Type() == VarType::Long
                         ? place->LongValue()
                         : ToDouble(DefaultValue(counter->Eval(interp)));
    if (down ? n < endValue : n > endValue) break;
    // An empty body runs no statement, so the loop itself gives the host its turn.
    if (body.empty()) interp.Tick();
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
    Variant* ref = interp.Reference(*counter);
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
  Variant source = group->Eval(interp);
  std::vector<Variant> items;
  if (source.IsArray()) {
    items = source.ArrayValue().Elements();
  } else if (source.IsObject() && source.ObjectValue()) {
    std::shared_ptr<ScriptObject> object = source.ObjectValue();
    items = object->Enumerate();
  } else {
    RaiseScriptError(script_errors::kObjectRequired);
  }
  for (Variant& item : items) {
    const bool isObject = item.IsObject();
    interp.Assign(*element, std::move(item), isObject);
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
  }
  return Flow::Normal;
}

Flow DoStmt::Exec(Interpreter& interp) const {
  auto keepGoing = [&] {
    if (!condition) return true;
    const bool value = Truth(condition->Eval(interp));
    return until ? !value : value;
  };
  while (true) {
    if (testFirst && !keepGoing()) break;
    if (body.empty()) interp.Tick();
    Flow flow = interp.ExecBlock(body);
    if (flow == Flow::ExitDo && !isWhileWend) break;
    if (flow != Flow::Normal) return flow;
    if (!testFirst && !keepGoing()) break;
  }
  return Flow::Normal;
}

Flow OnErrorStmt::Exec(Interpreter& interp) const {
  interp.frame().resumeNext = resumeNext;
  interp.ClearErr();
  return Flow::Normal;
}

Flow WithStmt::Exec(Interpreter& interp) const {
  Variant target = object->Eval(interp);
  if (!target.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
  Frame& frame = interp.frame();
  frame.withObjects.push_back(std::move(target));
  struct Pop {
    Frame& frame;
    ~Pop() { frame.withObjects.pop_back(); }
  } pop{frame};
  return interp.ExecBlock(body);
}

}  // namespace vendil
