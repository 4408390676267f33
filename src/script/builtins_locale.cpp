// GetLocale and SetLocale. The locale a script sets decides how numbers, currency and dates
// are written and read from then on (script_locale.h); 0 or an empty text is the default.
#include "script/builtins.h"
#include "script/script_error.h"
#include "script/script_locale.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr int32_t kLocaleNotSupported = 447;  // "Object doesn't support current locale setting"

const ScriptLocale& LocaleFrom(const Variant& value) {
  const ScriptLocale* locale = nullptr;
  if (value.IsString()) {
    const std::u16string& text = value.StringValue();
    // A text is a language tag ("de-de") or an identifier written out ("1031").
    if (text.empty()) return *FindLocale(kDefaultLocale);
    const std::optional<double> number = ParseNumericString(text);
    locale = number ? FindLocale(ToLong(Variant::Double(*number))) : FindLocale(text);
  } else {
    const int32_t id = ToLong(value);
    locale = FindLocale(id == 0 ? kDefaultLocale : id);
  }
  if (!locale) RaiseScriptError(kLocaleNotSupported);
  return *locale;
}

Variant GetLocaleFunction(CallContext& context, std::span<Variant>) {
  return Variant::Long(context.locale);
}

// Gives the locale that was in force, as scripts use it to put it back afterwards.
Variant SetLocaleFunction(CallContext& context, std::span<Variant> args) {
  const int32_t previous = context.locale;
  const ScriptLocale& locale =
      args.empty() || args[0].IsMissing() ? *FindLocale(kDefaultLocale) : LocaleFrom(args[0]);
  context.locale = locale.id;
  SetCurrentLocale(locale);
  return Variant::Long(previous);
}

}  // namespace

void RegisterLocaleBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"GetLocale", 0, 0, GetLocaleFunction);
  RegisterBuiltin(table, u"SetLocale", 0, 1, SetLocaleFunction);
}

}  // namespace vendil
