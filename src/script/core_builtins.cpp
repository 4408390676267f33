// The built-ins that belong to the engine core: Array, UBound, LBound, IsArray and
// CreateObject.
#include <vector>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

Variant ArrayFunction(CallContext&, std::span<Variant> args) {
  return Variant::ArrayOf(std::vector<Variant>(args.begin(), args.end()));
}

size_t DimensionArgument(std::span<Variant> args, const ScriptArray& array) {
  int32_t dimension = 1;
  if (args.size() > 1 && !args[1].IsMissing()) dimension = ToLong(args[1]);
  if (dimension < 1 || static_cast<size_t>(dimension) > array.Dimensions()) {
    RaiseScriptError(script_errors::kSubscriptOutOfRange);
  }
  return static_cast<size_t>(dimension - 1);
}

// An object stands for the array its default member gives (91 for Nothing, 438 without one).
void ArrayArgument(std::span<Variant> args) {
  if (args[0].IsObject()) args[0] = ValueOf(args[0]);
  if (!args[0].IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
}

Variant UBoundFunction(CallContext&, std::span<Variant> args) {
  ArrayArgument(args);
  const ScriptArray& array = args[0].ArrayValue();
  return Variant::Long(array.UpperBound(DimensionArgument(args, array)));
}

Variant LBoundFunction(CallContext&, std::span<Variant> args) {
  ArrayArgument(args);
  DimensionArgument(args, args[0].ArrayValue());
  return Variant::Long(0);
}

Variant IsArrayFunction(CallContext&, std::span<Variant> args) {
  return Variant::Boolean(args[0].IsArray());
}

Variant CreateObjectFunction(CallContext&, std::span<Variant> args) {
  const std::u16string name = ToString(args[0]);
  if (EqualsNoCaseU16(name, u"Scripting.Dictionary")) return Variant::Object(CreateDictionary());
  if (EqualsNoCaseU16(name, u"VBScript.RegExp")) return Variant::Object(CreateRegExp());
  RaiseScriptError(script_errors::kCannotCreateObject);
}

}  // namespace

void RegisterCoreBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"Array", 0, -1, ArrayFunction);
  RegisterBuiltin(table, u"UBound", 1, 2, UBoundFunction);
  RegisterBuiltin(table, u"LBound", 1, 2, LBoundFunction);
  RegisterBuiltin(table, u"IsArray", 1, 1, IsArrayFunction);
  RegisterBuiltin(table, u"CreateObject", 1, 2, CreateObjectFunction);
}

}  // namespace vendil
