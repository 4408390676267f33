// The object GetRef returns: its default member calls the procedure with the arguments
// given, so `Set f = GetRef("Twice") : x = f(2)` works as in scripts that pass
// handlers around.
#include "script/procedure_ref.h"

#include "script/interpreter.h"

namespace vendil {

namespace {

class ProcedureRef : public ScriptObject {
 public:
  ProcedureRef(Interpreter& interp, const Procedure& procedure)
      : interp_(interp), alive_(interp.alive), procedure_(procedure) {}
  std::u16string TypeName() const override { return u"Object"; }
  const Procedure& procedure() const { return procedure_; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (!name.empty()) RaiseNoSuchMember(name);
    if (!*alive_) RaiseScriptError(script_errors::kObjectRequired);
    return interp_.CallProcedure(procedure_, nullptr, nullptr, args);
  }

 private:
  Interpreter& interp_;
  std::shared_ptr<bool> alive_;
  const Procedure& procedure_;
};

}  // namespace

const Procedure* ReferencedProcedure(const ScriptObject& object) {
  const auto* reference = dynamic_cast<const ProcedureRef*>(&object);
  return reference ? &reference->procedure() : nullptr;
}

Variant ProcedureReference(Interpreter& interp, std::u16string_view name) {
  GlobalEntry* entry = interp.FindGlobal(name);
  if (!entry || entry->kind != GlobalKind::Procedure || !entry->procedure) {
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  return Variant::Object(std::make_shared<ProcedureRef>(interp, *entry->procedure));
}

}  // namespace vendil
