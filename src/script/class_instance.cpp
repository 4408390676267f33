// Instances of the script's own classes: creation with Class_Initialize, member access that
// honours Private, and Class_Terminate when the last reference goes.
#include "script/class_instance_access.h"
#include "script/held_values.h"
#include "script/interpreter.h"
#include "script/variant_convert.h"

namespace vendil {

ClassInstance::ClassInstance(Interpreter& interp, const ClassDef& def)
    : fields(static_cast<size_t>(def.fieldCount)),
      interp_(interp),
      alive_(interp.alive),
      def_(def) {}

ClassInstance::~ClassInstance() {
  // Terminate runs later with the fields, outside whatever destroyed the last reference.
  if (*alive_ && def_.terminate && !terminated) {
    interp_.QueueTerminate(def_, std::move(fields));
    return;
  }
  // A chain of objects holding the next one ends without a native frame per link.
  ReleaseValues(fields);
}

Variant ClassInstance::Get(std::u16string_view name, std::span<Variant> args) {
  return interp_.InstanceGet(*this, shared_from_this(), name, nullptr, args);
}

void ClassInstance::Let(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  interp_.InstanceLet(*this, shared_from_this(), name, args, value, false);
}

void ClassInstance::Set(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  interp_.InstanceLet(*this, shared_from_this(), name, args, value, true);
}

static const ClassMember& MemberFor(Interpreter& interp, ClassInstance& instance,
                                    std::u16string_view name) {
  const ClassDef& def = instance.def();
  const ClassMember* member = name.empty() ? def.defaultMember : def.Find(name);
  if (!member) RaiseNoSuchMember(name);
  // Private is private to the class, not to the instance: code of the class reaches the
  // private members of any of its instances.
  const ClassInstance* me = interp.frame().me;
  if (!member->isPublic && (!me || &me->def() != &def)) RaiseNoSuchMember(name);
  return *member;
}

Variant Interpreter::InstanceGet(ClassInstance& instance, std::shared_ptr<ScriptObject> hold,
                                 std::u16string_view name, const std::vector<ExprPtr>* argExprs,
                                 std::span<Variant> argValues) {
  const ClassMember& member = MemberFor(*this, instance, name);
  if (member.field >= 0) {
    Variant& field = instance.fields[static_cast<size_t>(member.field)];
    const bool indexed = argExprs ? HasParens(*argExprs) : !argValues.empty();
    if (!indexed) return field;
    // A field holding a plain value takes no index: `obj.scalar(0)` is 438, `obj.p()` 5.
    if (!field.IsArray() && !field.IsObject()) {
      const bool none = argExprs ? argExprs->empty() : argValues.empty();
      if (none) RaiseScriptError(script_errors::kInvalidProcedureCall);
      RaiseNoSuchMember(name);
    }
    // `obj.arr()` names no element: 5 (a variable's `arr()` is 9).
    if (field.IsArray() && (argExprs ? argExprs->empty() : argValues.empty())) {
      RaiseScriptError(script_errors::kInvalidProcedureCall);
    }
    if (argExprs) return IndexValue(field, *argExprs);
    if (field.IsObject()) {
      if (!field.ObjectValue()) RaiseScriptError(script_errors::kObjectVariableNotSet);
      std::shared_ptr<ScriptObject> object = field.ObjectValue();
      return object->Get(u"", argValues);
    }
    std::vector<int32_t> indexes;
    for (const Variant& v : argValues) indexes.push_back(ToLong(v));
    // Reading an index may run code that puts something else in the field.
    if (!field.IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
    return field.ArrayValue().At(indexes);
  }
  const Procedure* proc = member.getter ? member.getter : member.method;
  if (!proc) RaiseNoSuchMember(name);
  return CallProcedure(*proc, std::move(hold), argExprs, argValues);
}

void Interpreter::InstanceLet(ClassInstance& instance, std::shared_ptr<ScriptObject> hold,
                              std::u16string_view name, std::span<Variant> args,
                              const Variant& value, bool isSet) {
  const ClassMember& member = MemberFor(*this, instance, name);
  if (member.field >= 0) {
    if (isSet && !value.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
    const Variant stored = isSet ? value : DefaultValue(value);
    Variant& field = instance.fields[static_cast<size_t>(member.field)];
    if (args.empty()) {
      CheckReplaceable(field);
      field = stored;
      return;
    }
    // `obj.f(i) = v`: an object in the field takes it through its default member; a field
    // holding no array has no such member (438).
    if (field.IsObject()) {
      std::shared_ptr<ScriptObject> target = field.ObjectValue();
      if (!target) RaiseScriptError(script_errors::kObjectRequired);
      if (auto* inner = dynamic_cast<ClassInstance*>(target.get())) {
        InstanceLet(*inner, target, u"", args, value, isSet);
      } else if (isSet) {
        target->Set(u"", args, stored);
      } else {
        target->Let(u"", args, stored);
      }
      return;
    }
    if (!field.IsArray()) RaiseNoSuchMember(name);
    std::vector<int32_t> indexes;
    for (const Variant& v : args) indexes.push_back(ToLong(v));
    // Reading an index may run code that puts something else in the field.
    if (!field.IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
    Variant& element = field.ArrayValue().At(indexes);
    CheckReplaceable(element);
    element = stored;
    return;
  }
  // Property Let gets the value as given, an object too; Set needs a Property Set.
  const Procedure* proc = isSet ? member.setter : (member.letter ? member.letter : member.setter);
  if (!proc) RaiseNoSuchMember(name);
  CallProcedure(*proc, std::move(hold), nullptr, args, &value);
}

void ClassInstance::CountHeld(ValueCounter& counter) const {
  counter.AddBytes(fields.capacity() * sizeof(Variant));
  for (const Variant& field : fields) counter.Add(field);
}

Variant Interpreter::NewInstance(const ClassDef& def) {
  ChargeValueBytes(sizeof(ClassInstance) + def.fieldCount * sizeof(Variant));
  auto instance = std::make_shared<ClassInstance>(*this, def);
  for (size_t i = 0; i < def.fieldDims.size(); ++i) {
    const DimItem& item = def.fieldDims[i];
    Variant& field = instance->fields[static_cast<size_t>(def.fieldDimIndex[i])];
    if (item.bounds.empty()) {
      field = Variant::Array(std::make_unique<ScriptArray>());
    } else {
      std::vector<int32_t> upper;
      for (const ExprPtr& bound : item.bounds) upper.push_back(ToLong(bound->Eval(*this)));
      auto array = std::make_unique<ScriptArray>(std::move(upper));
      array->fixed = true;
      field = Variant::Array(std::move(array));
    }
  }
  if (def.initialize) CallProcedure(*def.initialize, instance, nullptr, {});
  return Variant::Object(std::move(instance));
}

void Interpreter::QueueTerminate(const ClassDef& def, std::vector<Variant> fields) {
  pending_.push_back(PendingTerminate{&def, std::move(fields)});
}

void Interpreter::ReleaseGlobals() {
  std::vector<Variant> values;
  for (GlobalEntry& entry : globals_) {
    if (entry.kind != GlobalKind::Variable) continue;
    values.push_back(std::move(entry.value));
    entry.value = Variant();
  }
  values.clear();
  RunPendingTerminates();
}

void Interpreter::RunPendingTerminates() {
  while (!pending_.empty()) {
    PendingTerminate next = std::move(pending_.back());
    pending_.pop_back();
    auto instance = std::make_shared<ClassInstance>(*this, *next.def);
    instance->fields = std::move(next.fields);
    instance->terminated = true;
    try {
      CallProcedure(*next.def->terminate, instance, nullptr, {});
    } catch (const ScriptError&) {
      // An error in Class_Terminate cannot reach the code that dropped the object.
    }
  }
}

}  // namespace vendil
