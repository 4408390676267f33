// The inspection built-ins: IsEmpty, IsNull, IsNumeric, IsObject, IsDate, TypeName, VarType,
// and the ScriptEngine names.
#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

Variant IsEmptyFunction(CallContext&, std::span<Variant> args) {
  return Variant::Boolean(args[0].IsEmpty());
}
Variant IsNullFunction(CallContext&, std::span<Variant> args) {
  return Variant::Boolean(args[0].IsNull());
}

Variant IsNumericFunction(CallContext&, std::span<Variant> args) {
  // An object is judged by its default value; one without any (438, or 450 for a Dictionary,
  // whose default Item wants a key), or whose default value cannot be had, is no number,
  // without error.
  Variant value = args[0];
  if (value.IsObject() && value.ObjectValue()) {
    try {
      value = ValueOf(args[0]);
    } catch (const ScriptError&) {
      return Variant::Boolean(false);
    }
  }
  if (value.IsEmpty() || IsNumericSubtype(value)) return Variant::Boolean(true);
  if (value.IsString()) {
    return Variant::Boolean(ParseNumericString(value.StringValue()).has_value());
  }
  return Variant::Boolean(false);
}

Variant IsObjectFunction(CallContext&, std::span<Variant> args) {
  return Variant::Boolean(args[0].IsObject());
}

Variant IsDateFunction(CallContext&, std::span<Variant> args) {
  if (args[0].Type() == VarType::Date) return Variant::Boolean(true);
  if (args[0].IsString()) return Variant::Boolean(ParseDateText(args[0].StringValue()).has_value());
  return Variant::Boolean(false);
}

Variant TypeNameFunction(CallContext&, std::span<Variant> args) {
  return Variant::String(TypeNameOf(args[0]));
}

Variant VarTypeFunction(CallContext&, std::span<Variant> args) {
  // Every array holds Variants.
  if (args[0].IsArray()) {
    return Variant::Integer(static_cast<int16_t>(static_cast<int>(VarType::Array) +
                                                 static_cast<int>(VarType::Variant)));
  }
  return Variant::Integer(static_cast<int16_t>(args[0].Type()));
}

// The language and the version whose behaviour the engine follows, for scripts that check
// them before using newer features.
Variant ScriptEngineFunction(CallContext&, std::span<Variant>) {
  return Variant::String(std::u16string(u"VBScript"));
}
Variant ScriptEngineMajorVersion(CallContext&, std::span<Variant>) { return Variant::Long(5); }
Variant ScriptEngineMinorVersion(CallContext&, std::span<Variant>) { return Variant::Long(8); }
Variant ScriptEngineBuildVersion(CallContext&, std::span<Variant>) { return Variant::Long(0); }

}  // namespace

void RegisterInspectionBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"IsEmpty", 1, 1, IsEmptyFunction);
  RegisterBuiltin(table, u"IsNull", 1, 1, IsNullFunction);
  RegisterBuiltin(table, u"IsNumeric", 1, 1, IsNumericFunction);
  RegisterBuiltin(table, u"IsObject", 1, 1, IsObjectFunction);
  RegisterBuiltin(table, u"IsDate", 1, 1, IsDateFunction);
  RegisterBuiltin(table, u"TypeName", 1, 1, TypeNameFunction);
  RegisterBuiltin(table, u"VarType", 1, 1, VarTypeFunction);
  RegisterBuiltin(table, u"ScriptEngine", 0, 0, ScriptEngineFunction);
  RegisterBuiltin(table, u"ScriptEngineMajorVersion", 0, 0, ScriptEngineMajorVersion);
  RegisterBuiltin(table, u"ScriptEngineMinorVersion", 0, 0, ScriptEngineMinorVersion);
  RegisterBuiltin(table, u"ScriptEngineBuildVersion", 0, 0, ScriptEngineBuildVersion);
}

}  // namespace vendil
