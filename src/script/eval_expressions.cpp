// Evaluation of the expression nodes of the syntax tree.
#include "script/class_instance_access.h"
#include "script/interpreter.h"
#include "script/operators.h"
#include "script/variant_convert.h"

namespace vendil {

const std::vector<ExprPtr>& NoArgs() {
  static const std::vector<ExprPtr> none;
  return none;
}

Variant LiteralExpr::Eval(Interpreter&) const { return value; }

Variant NameExpr::Eval(Interpreter& interp) const {
  switch (kind) {
    case NameKind::Local:
      return *interp.frame().slots[static_cast<size_t>(slot)];
    case NameKind::Field:
      return MeFields(interp)[static_cast<size_t>(slot)];
    case NameKind::Global:
      if (global->kind == GlobalKind::Variable && global->declared) return global->value;
      [[fallthrough]];
    default:
      return interp.CallName(*this, NoArgs());
  }
}

Variant MemberExpr::Eval(Interpreter& interp) const {
  Variant target = object ? object->Eval(interp) : interp.WithObject();
  return interp.CallMember(target, name, NoArgs());
}

Variant CallExpr::Eval(Interpreter& interp) const {
  if (auto* name = callee->AsName()) {
    return interp.CallName(*name, args);
  }
  if (auto* member = callee->AsMember()) {
    Variant target = member->object ? member->object->Eval(interp) : interp.WithObject();
    return interp.CallMember(target, member->name, args);
  }
  return interp.IndexValue(callee->Eval(interp), args);
}

Variant ParenExpr::Eval(Interpreter& interp) const { return inner->Eval(interp); }

Variant UnaryExpr::Eval(Interpreter& interp) const {
  if (op == UnaryOp::Plus) return operand->Eval(interp);
  return UnaryOperation(op, DefaultValue(operand->Eval(interp)));
}

Variant BinaryExpr::Eval(Interpreter& interp) const {
  if (op == BinaryOp::Is) return BinaryOperation(op, left->Eval(interp), right->Eval(interp));
  // Only objects need their default value; other values skip the extra moves.
  Variant l = left->Eval(interp);
  if (l.IsObject()) l = DefaultValue(std::move(l));
  Variant r = right->Eval(interp);
  if (r.IsObject()) r = DefaultValue(std::move(r));
  if (literalOperand && op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual) {
    return CompareOperation(op, l, r, true);
  }
  return BinaryOperation(op, l, r);
}

Variant NewExpr::Eval(Interpreter& interp) const {
  // The built-in RegExp comes first: a script class of that name never hides it.
  if (EqualsNoCaseU16(className, u"RegExp")) return Variant::Object(CreateRegExp());
  if (global && global->kind == GlobalKind::Class) return interp.NewInstance(*global->classDef);
  if (!global || (global->kind == GlobalKind::Variable && !global->declared)) {
    RaiseScriptError(script_errors::kVariableUndefined,
                     u"Variable is undefined: '" + className + u"'");
  }
  RaiseScriptError(506, u"Class not defined: '" + className + u"'");
}

Variant MeExpr::Eval(Interpreter& interp) const { return interp.MeValue(); }

}  // namespace vendil
