// Assignment: Let and Set to variables, array elements, fields, properties of script classes
// and members of host objects.
#include "script/class_instance_access.h"
#include "script/interpreter.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

void StoreInto(Variant& slot, Variant value, bool isSet) {
  CheckReplaceable(slot);
  if (isSet) {
    if (!value.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
    slot = std::move(value);
    return;
  }
  if (value.IsObject()) value = DefaultValue(std::move(value));
  slot = std::move(value);
}

void LetOnObject(Interpreter& interp, const Variant& object, std::u16string_view name,
                 const std::vector<ExprPtr>& argExprs, Variant value, bool isSet) {
  if (!object.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
  std::shared_ptr<ScriptObject> target = object.ObjectValue();
  if (!target) RaiseScriptError(script_errors::kObjectRequired);
  std::vector<Variant> args = interp.EvalArgs(argExprs);
  if (isSet && !value.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
  // A script class takes the value as given: its Property Let may receive an object.
  if (auto* instance = dynamic_cast<ClassInstance*>(target.get())) {
    interp.InstanceLet(*instance, target, name, args, value, isSet);
    return;
  }
  if (!isSet) value = DefaultValue(std::move(value));
  if (isSet) {
    target->Set(name, args, value);
  } else {
    target->Let(name, args, value);
  }
}

// Under Option Explicit, a global nobody declared: the variable Execute code declared in the
// running procedure, or error 500. Out of line: every assignment runs through Assign.
[[gnu::noinline]] Variant& UndeclaredTarget(Interpreter& interp, const NameExpr& name) {
  if (Variant* added = interp.AddedLocal(name.name)) return *added;
  RaiseScriptError(script_errors::kVariableUndefined,
                   u"Variable is undefined: '" + name.name + u"'");
}

}  // namespace

void Interpreter::Assign(const Expr& target, Variant value, bool isSet) {
  if (auto* name = target.AsName()) {
    switch (name->kind) {
      case NameKind::Local:
        StoreInto(*frame_->slots[static_cast<size_t>(name->slot)], std::move(value), isSet);
        return;
      case NameKind::Field:
        StoreInto(MeFields(*this)[static_cast<size_t>(name->slot)], std::move(value), isSet);
        return;
      case NameKind::MemberProc: {
        if (!frame_->me) RaiseScriptError(script_errors::kObjectRequired);
        InstanceLet(*frame_->me, frame_->meHold, name->name, {}, value, isSet);
        return;
      }
      case NameKind::Global: {
        GlobalEntry& entry = *name->global;
        if (entry.kind != GlobalKind::Variable) {
          RaiseScriptError(script_errors::kIllegalAssignment,
                           u"Illegal assignment: '" + name->name + u"'");
        }
        if (name->checkDeclared && !entry.declared) [[unlikely]] {
          StoreInto(UndeclaredTarget(*this, *name), std::move(value), isSet);
          return;
        }
        entry.declared = true;
        StoreInto(entry.value, std::move(value), isSet);
        return;
      }
      default:
        RaiseScriptError(script_errors::kIllegalAssignment,
                         u"Illegal assignment: '" + name->name + u"'");
    }
  }
  if (auto* member = target.AsMember()) {
    Variant object = member->object ? member->object->Eval(*this) : WithObject();
    LetOnObject(*this, object, member->name, NoArgs(), std::move(value), isSet);
    return;
  }
  if (auto* call = target.AsCall()) {
    if (auto* callee = call->callee->AsMember()) {
      Variant object = callee->object ? callee->object->Eval(*this) : WithObject();
      LetOnObject(*this, object, callee->name, call->args, std::move(value), isSet);
      return;
    }
    if (auto* name = call->callee->AsName()) {
      if (name->kind == NameKind::MemberProc) {
        if (!frame_->me) RaiseScriptError(script_errors::kObjectRequired);
        std::vector<Variant> args = EvalArgs(call->args);
        InstanceLet(*frame_->me, frame_->meHold, name->name, args, value, isSet);
        return;
      }
      Variant* base = Reference(*name);
      if (base && base->IsArray()) {
        if (!isSet) value = DefaultValue(std::move(value));
        std::vector<int32_t> indexes = EvalIndexes(call->args);
        // The value or an index may have run code that put something else in the variable.
        if (!base->IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
        Variant& element = base->ArrayValue().At(indexes);
        StoreInto(element, std::move(value), isSet);
        return;
      }
      if (base && base->IsObject()) {
        LetOnObject(*this, *base, u"", call->args, std::move(value), isSet);
        return;
      }
      if (base) RaiseScriptError(script_errors::kTypeMismatch);
    }
    if (call->callee->AsCall()) {
      // `x(0)(1) = v`: an element of the array that an element of x holds. The value is
      // ready before the element is found, so no code runs while its address is held.
      if (!isSet) value = DefaultValue(std::move(value));
      if (Variant* element = Reference(target)) {
        StoreInto(*element, std::move(value), isSet);
        return;
      }
      Variant* holder = Reference(*call->callee);
      // `x(0)(0) = v` when x(0) is Nothing: 13.
      if (holder && holder->IsNothing()) RaiseScriptError(script_errors::kTypeMismatch);
      if (holder && holder->IsObject()) {
        LetOnObject(*this, Variant(*holder), u"", call->args, std::move(value), isSet);
        return;
      }
    }
  }
  RaiseScriptError(script_errors::kIllegalAssignment);
}

}  // namespace vendil
