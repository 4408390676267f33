// The global Err object: Number (its default), Description, Source, HelpFile, HelpContext,
// Raise and Clear.
#include "script/interpreter.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

class ErrObject : public ScriptObject {
 public:
  explicit ErrObject(Interpreter& interp) : interp_(interp) {}
  std::u16string TypeName() const override { return u"ErrObject"; }

  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    auto& err = interp_.err;
    if (name.empty() || EqualsNoCaseU16(name, u"number")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(err.number);
    }
    if (EqualsNoCaseU16(name, u"description")) return Variant::String(err.description);
    if (EqualsNoCaseU16(name, u"source")) return Variant::String(err.source);
    if (EqualsNoCaseU16(name, u"helpfile")) return Variant::String(err.helpFile);
    if (EqualsNoCaseU16(name, u"helpcontext")) return Variant::Long(err.helpContext);
    if (EqualsNoCaseU16(name, u"clear")) {
      CheckArgumentCount(args, 0, 0);
      interp_.ClearErr();
      return Variant();
    }
    if (EqualsNoCaseU16(name, u"raise")) Raise(args);
    RaiseNoSuchMember(name);
  }

  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override {
    CheckArgumentCount(args, 0, 0);
    auto& err = interp_.err;
    if (name.empty() || EqualsNoCaseU16(name, u"number")) {
      err.number = ToLong(value);
    } else if (EqualsNoCaseU16(name, u"description")) {
      err.description = ToString(value);
    } else if (EqualsNoCaseU16(name, u"source")) {
      err.source = ToString(value);
    } else if (EqualsNoCaseU16(name, u"helpfile")) {
      err.helpFile = ToString(value);
    } else if (EqualsNoCaseU16(name, u"helpcontext")) {
      err.helpContext = ToLong(value);
    } else {
      RaiseNoSuchMember(name);
    }
  }

 private:
  // Raise(number, [source], [description], [helpFile], [helpContext]). What is not given is
  // kept from the error Err holds, so a second Raise keeps the first one's texts.
  [[noreturn]] void Raise(std::span<Variant> args) {
    CheckArgumentCount(args, 1, 5);
    const int32_t number = ToLong(args[0]);
    // Numbers run from 1 to 65535, or are negative (vbObjectError + n); others are 5.
    if (number == 0 || number > 65535) RaiseScriptError(script_errors::kInvalidProcedureCall);
    const auto given = [&args](size_t i) { return args.size() > i && !args[i].IsMissing(); };
    const auto& err = interp_.err;
    ScriptError error(number,
                      given(2)                   ? ToString(args[2])
                      : !err.description.empty() ? err.description
                                                 : StandardErrorMessage(number),
                      given(1)              ? ToString(args[1])
                      : !err.source.empty() ? err.source
                                            : std::u16string(kRuntimeErrorSource));
    error.helpFile = given(3) ? ToString(args[3]) : err.helpFile;
    error.helpContext = given(4) ? ToLong(args[4]) : err.helpContext;
    throw error;
  }

  Interpreter& interp_;
};

}  // namespace

std::shared_ptr<ScriptObject> MakeErrObject(Interpreter& interp) {
  return std::make_shared<ErrObject>(interp);
}

}  // namespace vendil
