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

BinaryExpr::BinaryExpr(SourcePosition at, BinaryOp o, ExprPtr l, ExprPtr r)
    : Expr(at), op(o), left(std::move(l)), right(std::move(r)) {
  if (const BinaryExpr* below = left->AsBinary()) chainLength = below->chainLength + 1;
}

BinaryExpr::~BinaryExpr() {
  // Each node of the left side is let go after its own left side is taken from it.
  ExprPtr next = std::move(left);
  while (next && next->AsBinary()) {
    ExprPtr deeper = std::move(static_cast<BinaryExpr*>(next.get())->left);
    next = std::move(deeper);
  }
}

// Inlined into Eval: this is the path of every operator in every loop.
[[gnu::always_inline]] inline Variant BinaryExpr::Apply(Interpreter& interp, Variant& l) const {
  if (op == BinaryOp::Is) return BinaryOperation(op, l, right->Eval(interp));
  // Only objects need their default value; other values skip the extra moves.
  if (l.IsObject()) l = DefaultValue(std::move(l));
  Variant r = right->Eval(interp);
  if (r.IsObject()) r = DefaultValue(std::move(r));
  if (literalOperand && op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual) {
    return CompareOperation(op, l, r, true);
  }
  return BinaryOperation(op, l, r);
}

// Chains up to this long recurse, which is quicker; longer ones are walked.
constexpr int kRecursiveChain = 64;

Variant BinaryExpr::Eval(Interpreter& interp) const {
  if (chainLength > kRecursiveChain) [[unlikely]] {
    return EvalChain(interp);
  }
  Variant l = left->Eval(interp);
  return Apply(interp, l);
}

Variant BinaryExpr::EvalChain(Interpreter& interp) const {
  std::vector<const BinaryExpr*> spine;
  spine.reserve(static_cast<size_t>(chainLength));
  const Expr* node = this;
  while (const BinaryExpr* binary = node->AsBinary()) {
    spine.push_back(binary);
    node = binary->left.get();
  }
  Variant value = node->Eval(interp);
  for (size_t i = spine.size(); i-- > 0;) value = spine[i]->Apply(interp, value);
  return value;
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
