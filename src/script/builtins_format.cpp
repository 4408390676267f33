// FormatDateTime, FormatNumber, FormatPercent and FormatCurrency in the formats of the
// locale in force: on a Japanese system dates "yyyy/MM/dd", long dates "yyyy年M月d日", times
// "H:mm:ss", grouping with "," and the currency "¥" without decimals.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "script/builtins.h"
#include "script/date_math.h"
#include "script/script_error.h"
#include "script/script_locale.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

Variant FormatDateTimeFunction(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(script_errors::kTypeMismatch);
  const double date = CheckedDate(ToDate(args[0]));
  const int format = args.size() > 1 && !args[1].IsMissing() ? ToLong(args[1]) : 0;
  const ScriptLocale& locale = CurrentLocale();
  switch (format) {
    case 0:
      return Variant::String(FormatDateText(date));
    case 1:
      return Variant::String(FormatDatePattern(date, locale.longDate, locale));
    case 2:
      return Variant::String(FormatDatePattern(date, locale.shortDate, locale));
    case 3:
      return Variant::String(FormatDatePattern(date, locale.longTime, locale));
    case 4:
      return Variant::String(FormatDatePattern(date, u"HH:mm", locale));
    default:
      RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
}

// -2 (vbUseDefault) or a missing argument gives the fallback; -1 is True.
bool TriState(std::span<Variant> args, size_t index, bool fallback) {
  if (index >= args.size() || args[index].IsMissing()) return fallback;
  const int value = ToLong(args[index]);
  if (value == -2) return fallback;
  return value != 0;
}

struct NumberStyle {
  int digits;
  bool leadingDigit;
  bool parentheses;
  bool grouping;
};

NumberStyle ReadStyle(std::span<Variant> args, int defaultDigits) {
  NumberStyle style{defaultDigits, true, false, true};
  if (args.size() > 1 && !args[1].IsMissing()) {
    const int digits = ToLong(args[1]);
    if (digits < -1 || digits > 99) RaiseScriptError(script_errors::kInvalidProcedureCall);
    if (digits >= 0) style.digits = digits;
  }
  style.leadingDigit = TriState(args, 2, true);
  style.parentheses = TriState(args, 3, false);
  style.grouping = TriState(args, 4, true);
  return style;
}

// The digits of |value| rounded half away from zero at `digits` decimals, working on the
// 15 significant digits the value prints with so that 0.125 rounds to 0.13.
std::string RoundedDigits(double value, int digits, bool& negative) {
  negative = std::signbit(value) && value != 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  std::string mantissa;
  for (const char* p = buffer; *p != 'e'; ++p) {
    if (*p != '.') mantissa += *p;
  }
  const int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  // Digits before the point: exponent + 1. Keep exponent + 1 + digits digits in total.
  const int keep = exponent + 1 + digits;
  std::string integerAndFraction;  // digits of round(|value| * 10^digits)
  if (keep <= 0) {
    integerAndFraction = keep == 0 && mantissa[0] >= '5' ? "1" : "0";
  } else {
    std::string kept = mantissa.substr(0, std::min<size_t>(keep, mantissa.size()));
    kept.append(keep > static_cast<int>(mantissa.size()) ? keep - mantissa.size() : 0, '0');
    const bool up = keep < static_cast<int>(mantissa.size()) && mantissa[keep] >= '5';
    if (up) {
      int i = static_cast<int>(kept.size()) - 1;
      while (i >= 0 && kept[i] == '9') kept[i--] = '0';
      if (i < 0) {
        kept.insert(kept.begin(), '1');
      } else {
        ++kept[i];
      }
    }
    integerAndFraction = kept;
  }
  if (integerAndFraction.size() <= static_cast<size_t>(digits)) {
    integerAndFraction.insert(0, digits + 1 - integerAndFraction.size(), '0');
  }
  if (integerAndFraction.find_first_not_of('0') == std::string::npos) negative = false;
  return integerAndFraction;
}

// The number in the locale's digits, with `prefix` and `suffix` (a currency or "%") inside
// the sign or brackets of a negative number.
std::u16string FormatWithStyle(double value, const NumberStyle& style, std::u16string_view prefix,
                               std::u16string_view suffix) {
  const ScriptLocale& locale = CurrentLocale();
  if (!std::isfinite(value) || std::fabs(value) > 1e300) {
    RaiseScriptError(script_errors::kOverflow);
  }
  bool negative = false;
  const std::string digits = RoundedDigits(value, style.digits, negative);
  std::string integer = digits.substr(0, digits.size() - style.digits);
  const std::string fraction = digits.substr(digits.size() - style.digits);
  if (integer == "0" && !style.leadingDigit) integer.clear();
  std::string grouped;
  for (size_t i = 0; i < integer.size(); ++i) {
    if (style.grouping && i > 0 && (integer.size() - i) % 3 == 0) grouped += '\x01';
    grouped += integer[i];
  }
  std::u16string text(prefix);
  for (char c : grouped) text += c == '\x01' ? locale.groupSeparator : static_cast<char16_t>(c);
  if (style.digits > 0) text += locale.decimalPoint + Utf8ToUtf16(fraction);
  text += suffix;
  if (negative) text = style.parentheses ? u"(" + text + u")" : u"-" + text;
  return text;
}

double NumberArgument(const Variant& value) {
  if (value.IsNull()) RaiseScriptError(script_errors::kTypeMismatch);
  if (value.IsString() && !ParseNumericString(value.StringValue())) {
    RaiseScriptError(script_errors::kTypeMismatch);
  }
  return ToDouble(value);
}

Variant FormatNumberFunction(CallContext&, std::span<Variant> args) {
  const double value = NumberArgument(args[0]);
  return Variant::String(FormatWithStyle(value, ReadStyle(args, 2), u"", u""));
}

Variant FormatPercentFunction(CallContext&, std::span<Variant> args) {
  const double value = NumberArgument(args[0]);
  return Variant::String(FormatWithStyle(value * 100, ReadStyle(args, 2), u"", u"%"));
}

Variant FormatCurrencyFunction(CallContext&, std::span<Variant> args) {
  const double value = NumberArgument(args[0]);
  const ScriptLocale& locale = CurrentLocale();
  NumberStyle style = ReadStyle(args, locale.currencyDigits);
  // Without a choice, a negative amount is written as the locale writes it.
  if (!(args.size() > 3 && !args[3].IsMissing() && ToLong(args[3]) != -2)) {
    style.parentheses = locale.negativeInBrackets;
  }
  std::u16string symbol(locale.currencySymbol);
  if (locale.currencySpace) symbol.insert(locale.currencyFirst ? symbol.size() : 0, u" ");
  return Variant::String(locale.currencyFirst ? FormatWithStyle(value, style, symbol, u"")
                                              : FormatWithStyle(value, style, u"", symbol));
}

}  // namespace

void RegisterFormatBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"FormatDateTime", 1, 2, FormatDateTimeFunction);
  RegisterBuiltin(table, u"FormatNumber", 1, 5, FormatNumberFunction);
  RegisterBuiltin(table, u"FormatPercent", 1, 5, FormatPercentFunction);
  RegisterBuiltin(table, u"FormatCurrency", 1, 5, FormatCurrencyFunction);
}

}  // namespace vendil
