// Dates as text: written in the short date and long time of the locale in force, and read
// in its order of day, month and year, with times in 24 hours or with AM and PM.
#include <cmath>

#include "script/script_locale.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Reads up to `maxDigits` digits at `pos`; -1 when there are none.
int ReadNumber(std::u16string_view text, size_t& pos, int maxDigits) {
  int value = 0;
  int count = 0;
  while (pos < text.size() && count < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
    value = value * 10 + (text[pos] - u'0');
    ++pos;
    ++count;
  }
  return count == 0 ? -1 : value;
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  if (day > kDays[month - 1]) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return !(month == 2 && day == 29 && !leap);
}

// The order of day and month in the locale's short date: 'd' when the day comes first.
char16_t FirstOfDayAndMonth(const ScriptLocale& locale) {
  for (char16_t c : locale.shortDate) {
    if (c == u'd' || c == u'M') return c;
  }
  return u'M';
}

bool StartsWithNoCase(std::u16string_view text, size_t pos, std::u16string_view word) {
  return !word.empty() && pos + word.size() <= text.size() &&
         EqualsNoCaseU16(text.substr(pos, word.size()), word);
}

// The date part at `pos`: "2024/1/5", or three numbers in the locale's order ("1/5/2024" in
// the United States, "5.1.2024" in Germany). False when it is no date.
bool ReadDatePart(std::u16string_view text, size_t& pos, const ScriptLocale& locale, double& date) {
  const size_t start = pos;
  const int a = ReadNumber(text, pos, 4);
  if (a < 0 || pos >= text.size()) return false;
  const char16_t sep = text[pos];
  if (sep != u'/' && sep != u'-' && sep != u'.') return false;
  const size_t firstLength = pos - start;
  // Dots part day, month and year only where the locale's short date has them ("5.1.2024" in
  // Germany) or the year comes first ("2024.1.5"); elsewhere "15.03.2026" is no date.
  if (sep == u'.' && firstLength != 4 && locale.shortDate.find(u'.') == std::u16string_view::npos) {
    return false;
  }
  ++pos;
  const int b = ReadNumber(text, pos, 2);
  if (b < 0) return false;
  int c = -1;
  if (pos < text.size() && text[pos] == sep) {
    ++pos;
    c = ReadNumber(text, pos, 4);
    if (c < 0) return false;
  }
  int year, month, day;
  if (firstLength == 4) {
    year = a, month = b, day = c < 0 ? 1 : c;
  } else if (c < 0) {
    return false;
  } else {
    year = c;
    if (FirstOfDayAndMonth(locale) == u'd') {
      day = a, month = b;
    } else {
      month = a, day = b;
    }
    // A month past 12 that could be the day is read the other way round.
    if (month > 12 && day <= 12) std::swap(month, day);
    if (year < 100) year += year < 30 ? 2000 : 1900;
  }
  if (!ValidDate(year, month, day)) return false;
  date = DaysFromCivil(year, month, day);
  return true;
}

}  // namespace

std::u16string FormatDateText(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3e6) return FormatNumberText(days);
  const ScriptLocale& locale = CurrentLocale();
  int year, month, day, hour, minute, second;
  CivilFromDays(days, year, month, day, hour, minute, second);
  const bool hasTime = hour != 0 || minute != 0 || second != 0;
  const bool hasDate = std::trunc(days) != 0 || !hasTime;
  std::u16string text;
  if (hasDate) text = FormatDatePattern(days, locale.shortDate, locale);
  if (hasTime) {
    if (!text.empty()) text += u' ';
    text += FormatDatePattern(days, locale.longTime, locale);
  }
  return text;
}

std::optional<double> ParseDateText(std::u16string_view text) {
  return ParseDateText(text, CurrentLocale());
}

std::optional<double> ParseDateText(std::u16string_view text, const ScriptLocale& locale) {
  size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
  };
  skipBlanks();
  double date = 0;
  double time = 0;
  const size_t start = pos;
  const bool hasDate = ReadDatePart(text, pos, locale, date);
  if (hasDate) {
    skipBlanks();
  } else {
    pos = start;
  }
  if (pos < text.size()) {
    int hour = ReadNumber(text, pos, 2);
    if (hour < 0 || pos >= text.size() || text[pos] != u':') return std::nullopt;
    ++pos;
    int minute = ReadNumber(text, pos, 2);
    int second = 0;
    if (minute < 0) return std::nullopt;
    if (pos < text.size() && text[pos] == u':') {
      ++pos;
      second = ReadNumber(text, pos, 2);
      if (second < 0) return std::nullopt;
    }
    skipBlanks();
    // AM and PM in English or in the locale's own words.
    bool am = StartsWithNoCase(text, pos, u"AM") || StartsWithNoCase(text, pos, locale.am);
    bool pm = !am && (StartsWithNoCase(text, pos, u"PM") || StartsWithNoCase(text, pos, locale.pm));
    if (am || pm) {
      if (hour < 1 || hour > 12) return std::nullopt;
      hour = hour % 12 + (pm ? 12 : 0);
      pos += StartsWithNoCase(text, pos, u"AM") || StartsWithNoCase(text, pos, u"PM")
                 ? 2
                 : (am ? locale.am.size() : locale.pm.size());
      skipBlanks();
    }
    if (hour > 23 || minute > 59 || second > 59 || pos != text.size()) return std::nullopt;
    time = (hour * 3600 + minute * 60 + second) / 86400.0;
  } else if (!hasDate) {
    return std::nullopt;
  }
  return date < 0 ? date - time : date + time;
}

}  // namespace vendil
