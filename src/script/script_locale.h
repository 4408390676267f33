// The conventions of the locales SetLocale can choose: how numbers, currency and dates are
// written and read. The locale in force belongs to the engine running on this thread
// (Japanese unless its script chose another); conversions anywhere in the engine read it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vendil {

struct ScriptLocale {
  int32_t id;
  std::u16string_view tag;  // "ja-jp"
  char16_t decimalPoint;
  char16_t groupSeparator;
  // Date and time patterns: yyyy yy M MM MMM MMMM d dd ddd dddd H HH h hh mm ss tt, 'text'.
  std::u16string_view shortDate, longDate, longTime;
  std::u16string_view am, pm;
  const char16_t* const* monthNames;  // 12
  const char16_t* const* monthAbbreviations;
  const char16_t* const* dayNames;  // 7, from Sunday
  const char16_t* const* dayAbbreviations;
  int firstDayOfWeek;  // 1 = Sunday, 2 = Monday
  std::u16string_view currencySymbol;
  bool currencyFirst;       // "$1.00" rather than "1,00 €"
  bool currencySpace;       // a space between amount and symbol
  int currencyDigits;       // FormatCurrency's default decimals
  bool negativeInBrackets;  // "($1.00)" rather than "-$1.00"
};

// The locale of an identifier (1041) or null when there is none of that number.
const ScriptLocale* FindLocale(int32_t id);
// The locale of a language tag ("de-de", "de", without regard to case), or null.
const ScriptLocale* FindLocale(std::u16string_view tag);

// The locale in force on this thread.
const ScriptLocale& CurrentLocale();
// The conventions `#date#` literals are read with, whatever the locale (month first).
const ScriptLocale& LiteralLocale();
void SetCurrentLocale(const ScriptLocale& locale);

// Puts a locale in force while it lives and restores the one before.
class LocaleScope {
 public:
  explicit LocaleScope(int32_t id);
  ~LocaleScope();
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  const ScriptLocale* saved_;
};

// A date written by one of the patterns above.
std::u16string FormatDatePattern(double date, std::u16string_view pattern,
                                 const ScriptLocale& locale);
// A number text with "." as its decimal point, written with the locale's point.
std::u16string LocalizeDecimalPoint(std::u16string text, const ScriptLocale& locale);

}  // namespace vendil
