// Helpers shared by the library built-ins.
#include "script/builtins_args.h"

#include "script/script_error.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

int CompareModeArg(std::span<Variant> args, size_t index) {
  if (!HasArg(args, index)) return 0;
  const int32_t mode = ToLong(args[index]);
  if (mode != 0 && mode != 1) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return mode;
}

void CheckStringLength(size_t length) { CheckValueSize(length, sizeof(char16_t)); }

std::u16string FoldUnits(std::u16string_view text) {
  std::u16string folded = FoldCaseU16(text);
  if (folded.size() == text.size()) return folded;
  // A fold that changed the length (lone surrogates, rare letters): fold unit by unit.
  folded.assign(text);
  for (char16_t& c : folded) {
    const std::u16string one = FoldCaseU16(std::u16string_view(&c, 1));
    if (one.size() == 1) c = one[0];
  }
  return folded;
}

}  // namespace vendil
