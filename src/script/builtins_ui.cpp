// MsgBox and InputBox, shown by the host. A cancelled InputBox gives Empty.
#include "script/builtins.h"
#include "script/builtins_args.h"
#include "script/engine.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr char16_t kDefaultTitle[] = u"VBScript";

Variant MsgBoxFunction(CallContext& context, std::span<Variant> args) {
  const std::u16string prompt = ToString(args[0]);
  const int32_t style = HasArg(args, 1) ? ToLong(args[1]) : 0;
  const std::u16string title = HasArg(args, 2) ? ToString(args[2]) : kDefaultTitle;
  return Variant::Integer(static_cast<int16_t>(context.host.MessageBox(prompt, title, style)));
}

Variant InputBoxFunction(CallContext& context, std::span<Variant> args) {
  const std::u16string prompt = ToString(args[0]);
  const std::u16string title = HasArg(args, 1) ? ToString(args[1]) : kDefaultTitle;
  const std::u16string defaultText = HasArg(args, 2) ? ToString(args[2]) : std::u16string();
  std::optional<std::u16string> typed = context.host.InputBox(prompt, title, defaultText);
  if (!typed) return Variant();
  return Variant::String(std::move(*typed));
}

}  // namespace

void RegisterUiBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"MsgBox", 1, 5, MsgBoxFunction);
  RegisterBuiltin(table, u"InputBox", 1, 7, InputBoxFunction);
}

}  // namespace vendil
