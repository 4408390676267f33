// The global Err object: Number (its default), Description, Source, Raise and Clear.
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
    if (EqualsNoCaseU16(name, u"clear")) {
      CheckArgumentCount(args, 0, 0);
      interp_.ClearErr();
      return Variant();
    }
    if (EqualsNoCaseU16(name, u"raise")) {
      CheckArgumentCount(args, 1, 5);
      const int32_t number = ToLong(args[0]);
      if (number == 0) RaiseScriptError(script_errors::kInvalidProcedureCall);
      std::u16string source =
          args.size() > 1 && !args[1].IsMissing() ? ToString(args[1]) : kRuntimeErrorSource;
      std::u16string description = args.size() > 2 && !args[2].IsMissing()
                                       ? ToString(args[2])
                                       : StandardErrorMessage(number);
      throw ScriptError(number, std::move(description), std::move(source));
    }
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
    } else {
      RaiseNoSuchMember(name);
    }
  }

 private:
  Interpreter& interp_;
};

}  // namespace

std::shared_ptr<ScriptObject> MakeErrObject(Interpreter& interp) {
  return std::make_shared<ErrObject>(interp);
}

}  // namespace vendil
