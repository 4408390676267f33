// Default members of ScriptObject: every operation an object does not offer raises 438.
#include "script/script_object.h"

#include "script/script_error.h"

namespace vendil {

Variant ScriptObject::Get(std::u16string_view name, std::span<Variant>) { RaiseNoSuchMember(name); }

void ScriptObject::Let(std::u16string_view name, std::span<Variant>, const Variant&) {
  RaiseNoSuchMember(name);
}

void ScriptObject::Set(std::u16string_view name, std::span<Variant> args, const Variant& value) {
  Let(name, args, value);
}

std::vector<Variant> ScriptObject::Enumerate() { RaiseNoSuchMember(u""); }

void RaiseNoSuchMember(std::u16string_view name) {
  std::u16string text = StandardErrorMessage(script_errors::kNoSuchMember);
  if (!name.empty()) text += u": '" + std::u16string(name) + u"'";
  RaiseScriptError(script_errors::kNoSuchMember, std::move(text));
}

void CheckArgumentCount(std::span<Variant> args, size_t min, size_t max) {
  if (args.size() < min || args.size() > max) RaiseScriptError(script_errors::kWrongArguments);
}

}  // namespace vendil
