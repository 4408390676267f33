// Evaluation of the expression nodes of the syntax tree.
#include "script/class_instance_access.h"
#include "script/interpreter.h"
#include "script/operators.h"
#include "script/variant_convert.h"

namespace vendil {

Variant LiteralExpr::Eval(Interpreter&) const { return value; }

Variant NameExpr::Eval(Interpreter& interp) const {
  switch (kind) {
    case NameKind::Local:
      return *interp.frame().slots[static_cast<size_t>(slot)];
    case NameKind::Field:
      return MeFields(interp)[static_cast<size_t>(slot)];
    default: {
      static const std::vector<ExprPtr> kNoArgs;
      return interp.CallName(*this, kNoArgs);
    }
  }
}

Variant MemberExpr::Eval(Interpreter& interp) const {
  Variant target = object ? object->Eval(interp) : interp.WithObject();
  static const std::vector<ExprPtr> kNoArgs;
  return interp.CallMember(target, name, kNoArgs);
}

Variant CallExpr::Eval(Interpreter& interp) const {
  if (auto* name = dynamic_cast<const NameExpr*>(callee.get())) {
    return interp.CallName(*name, args);
  }
  if (auto* member = dynamic_cast<const MemberExpr*>(callee.get())) {
    Variant target = member->object ? member->object->Eval(interp) : interp.WithObject();
    return interp.CallMember(target, member->name, args);
  }
  return interp.IndexValue(callee->Eval(interp), args);
}

Variant ParenExpr::Eval(Interpreter& interp) const { return inner->Eval(interp); }

Variant UnaryExpr::Eval(Interpreter& interp) const {
  return UnaryOperation(op, DefaultValue(operand->Eval(interp)));
}

Variant BinaryExpr::Eval(Interpreter& interp) const {
  if (op == BinaryOp::Is) return BinaryOperation(op, left->Eval(interp), right->Eval(interp));
  Variant l = DefaultValue(left->Eval(interp));
  Variant r = DefaultValue(right->Eval(interp));
  return BinaryOperation(op, l, r);
}

Variant NewExpr::Eval(Interpreter& interp) const {
  if (global && global->kind == GlobalKind::Class) return interp.NewInstance(*global->classDef);
  if (EqualsNoCaseU16(className, u"RegExp")) return Variant::Object(CreateRegExp());
  RaiseScriptError(506, u"Class not defined: '" + className + u"'");
}

Variant MeExpr::Eval(Interpreter& interp) const { return interp.MeValue(); }

}  // namespace vendil
