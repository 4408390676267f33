// GetLocale and SetLocale. The engine keeps the locale a script sets and reports it back, so
// scripts that save and restore it run; dates and numbers still format as in Japanese.
#include <array>

#include "script/builtins.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

struct KnownLocale {
  std::u16string_view tag;
  int32_t id;
};

// The locales a script can name, by their language tags and identifiers.
constexpr std::array<KnownLocale, 14> kKnownLocales{{
    {u"ja-jp", 1041},
    {u"ja", 1041},
    {u"en-us", 1033},
    {u"en", 1033},
    {u"en-gb", 2057},
    {u"de-de", 1031},
    {u"de", 1031},
    {u"fr-fr", 1036},
    {u"fr", 1036},
    {u"zh-cn", 2052},
    {u"zh-tw", 1028},
    {u"ko-kr", 1042},
    {u"ko", 1042},
    {u"es-es", 3082},
}};

int32_t LocaleFrom(const Variant& value) {
  if (value.IsString()) {
    const std::u16string tag = FoldCaseU16(value.StringValue());
    if (tag.empty()) return kDefaultLocale;
    for (const KnownLocale& known : kKnownLocales) {
      if (known.tag == tag) return known.id;
    }
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  const int32_t id = ToLong(value);
  if (id == 0) return kDefaultLocale;  // the user's default
  for (const KnownLocale& known : kKnownLocales) {
    if (known.id == id) return id;
  }
  RaiseScriptError(script_errors::kInvalidProcedureCall);
}

Variant GetLocaleFunction(CallContext& context, std::span<Variant>) {
  return Variant::Long(context.locale);
}

// Gives the locale that was in force, as scripts use it to put it back afterwards.
Variant SetLocaleFunction(CallContext& context, std::span<Variant> args) {
  const int32_t previous = context.locale;
  context.locale = args.empty() || args[0].IsMissing() ? kDefaultLocale : LocaleFrom(args[0]);
  return Variant::Long(previous);
}

}  // namespace

void RegisterLocaleBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"GetLocale", 0, 0, GetLocaleFunction);
  RegisterBuiltin(table, u"SetLocale", 0, 1, SetLocaleFunction);
}

}  // namespace vendil
