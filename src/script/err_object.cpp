// The global Err object: Number (its default), Description, Source, HelpFile, HelpContext,
// Raise and Clear.
#include <utility>

#include "script/interpreter.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

// A system HRESULT raised by number is the error it stands for: the language's own errors
// (facility 0x0A) by their low word, the common COM and Win32 ones by the run-time error they
// become (`Err.Raise &H8007000E&` is 7 "Out of memory"). Any other number stays.
int32_t LanguageErrorOf(int32_t number) {
  const auto code = static_cast<uint32_t>(number);
  if ((code & 0xFFFF0000u) == 0x800A0000u && (code & 0xFFFFu) != 0) {
    return static_cast<int32_t>(code & 0xFFFFu);
  }
  static constexpr std::pair<uint32_t, int32_t> kMapped[] = {
      {0x8007000Eu, 7},    // E_OUTOFMEMORY
      {0x80070057u, 5},    // E_INVALIDARG
      {0x80070005u, 70},   // E_ACCESSDENIED
      {0x80070002u, 53},   // ERROR_FILE_NOT_FOUND
      {0x80070003u, 76},   // ERROR_PATH_NOT_FOUND
      {0x80004001u, 445},  // E_NOTIMPL
      {0x80004002u, 430},  // E_NOINTERFACE
      {0x80020003u, 438},  // DISP_E_MEMBERNOTFOUND
      {0x80020005u, 13},   // DISP_E_TYPEMISMATCH
      {0x80020006u, 438},  // DISP_E_UNKNOWNNAME
      {0x80020007u, 446},  // DISP_E_NONAMEDARGS
      {0x80020008u, 458},  // DISP_E_BADVARTYPE
      {0x8002000Au, 6},    // DISP_E_OVERFLOW
      {0x8002000Bu, 9},    // DISP_E_BADINDEX
      {0x8002000Cu, 447},  // DISP_E_UNKNOWNLCID
      {0x8002000Du, 10},   // DISP_E_ARRAYISLOCKED
      {0x8002000Eu, 450},  // DISP_E_BADPARAMCOUNT
      {0x8002000Fu, 449},  // DISP_E_PARAMNOTOPTIONAL
      {0x80020011u, 451},  // DISP_E_NOTACOLLECTION
      {0x80020012u, 11},   // DISP_E_DIVBYZERO
      {0x80040154u, 429},  // REGDB_E_CLASSNOTREG
  };
  for (const auto& [hresult, error] : kMapped) {
    if (code == hresult) return error;
  }
  return number;
}

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
    const int32_t number = LanguageErrorOf(ToLong(args[0]));
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
