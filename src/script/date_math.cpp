// Linear day counts, calendar parts and interval arithmetic of script dates.
#include "script/date_math.h"

#include <cmath>

#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

double LinearFromDate(double date) {
  if (date >= 0) return date;
  const double whole = std::trunc(date);
  return whole + (whole - date);
}

double DateFromLinear(double linear) {
  if (linear >= 0) return linear;
  const double whole = std::floor(linear);
  const double fraction = linear - whole;
  return whole - fraction;
}

double CheckedDate(double date) {
  if (!std::isfinite(date) || date < kMinDate || date > kMaxDate + 1e-6) {
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  return date;
}

DateParts SplitDate(double date) {
  DateParts parts{};
  CheckedDate(date);
  CivilFromDays(date, parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second);
  parts.dayNumber = static_cast<long long>(DaysFromCivil(parts.year, parts.month, parts.day));
  return parts;
}

int WeekdayOf(long long dayNumber, int firstDay) {
  // Day 0 (1899-12-30) was a Saturday.
  const long long sundayBased = ((dayNumber + 6) % 7 + 7) % 7;  // 0 = Sunday
  return static_cast<int>(((sundayBased - (firstDay - 1)) % 7 + 7) % 7) + 1;
}

namespace {

// Day number of the start of the first week of `year`.
long long FirstWeekStart(int year, int firstDay, int firstWeek) {
  const long long jan1 = static_cast<long long>(DaysFromCivil(year, 1, 1));
  const long long weekStart = jan1 - (WeekdayOf(jan1, firstDay) - 1);
  const long long daysInYear = weekStart + 7 - jan1;  // days of that week inside the year
  if (firstWeek == 2 && daysInYear < 4) return weekStart + 7;
  if (firstWeek == 3 && daysInYear < 7) return weekStart + 7;
  return weekStart;
}

long long FloorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int MonthsSinceZero(const DateParts& parts) { return parts.year * 12 + parts.month - 1; }

}  // namespace

int WeekOfYear(const DateParts& parts, int firstDay, int firstWeek) {
  long long start = FirstWeekStart(parts.year, firstDay, firstWeek);
  if (parts.dayNumber < start) start = FirstWeekStart(parts.year - 1, firstDay, firstWeek);
  return static_cast<int>((parts.dayNumber - start) / 7) + 1;
}

DateInterval ParseInterval(std::u16string_view text) {
  const std::u16string folded = FoldCaseU16(text);
  if (folded == u"yyyy") return DateInterval::Year;
  if (folded == u"q") return DateInterval::Quarter;
  if (folded == u"m") return DateInterval::Month;
  if (folded == u"y") return DateInterval::DayOfYear;
  if (folded == u"d") return DateInterval::Day;
  if (folded == u"w") return DateInterval::Weekday;
  if (folded == u"ww") return DateInterval::Week;
  if (folded == u"h") return DateInterval::Hour;
  if (folded == u"n") return DateInterval::Minute;
  if (folded == u"s") return DateInterval::Second;
  RaiseScriptError(script_errors::kInvalidProcedureCall);
}

namespace {

double AddMonths(double date, double months) {
  const DateParts parts = SplitDate(date);
  const double total = MonthsSinceZero(parts) + months;
  if (std::fabs(total) > 200000) RaiseScriptError(script_errors::kInvalidProcedureCall);
  const int all = static_cast<int>(total);
  const int year = static_cast<int>(FloorDiv(all, 12));
  const int month = all - year * 12 + 1;
  // A day past the new month's end becomes its last day (31 January + 1 month = 28/29 Feb).
  const int nextYear = month == 12 ? year + 1 : year;
  const int nextMonth = month == 12 ? 1 : month + 1;
  const int lastDay =
      static_cast<int>(DaysFromCivil(nextYear, nextMonth, 1) - DaysFromCivil(year, month, 1));
  const double day = DaysFromCivil(year, month, parts.day < lastDay ? parts.day : lastDay);
  const double time = std::fabs(date - std::trunc(date));
  return CheckedDate(day < 0 ? day - time : day + time);
}

double AddSeconds(double date, double seconds) {
  const double linear = LinearFromDate(date) + seconds / 86400.0;
  return CheckedDate(DateFromLinear(linear));
}

}  // namespace

double AddInterval(DateInterval interval, double number, double date) {
  CheckedDate(date);
  if (!std::isfinite(number)) RaiseScriptError(script_errors::kInvalidProcedureCall);
  number = std::trunc(number);
  switch (interval) {
    case DateInterval::Year:
      return AddMonths(date, number * 12);
    case DateInterval::Quarter:
      return AddMonths(date, number * 3);
    case DateInterval::Month:
      return AddMonths(date, number);
    case DateInterval::DayOfYear:
    case DateInterval::Day:
    case DateInterval::Weekday:
      return AddSeconds(date, number * 86400);
    case DateInterval::Week:
      return AddSeconds(date, number * 7 * 86400);
    case DateInterval::Hour:
      return AddSeconds(date, number * 3600);
    case DateInterval::Minute:
      return AddSeconds(date, number * 60);
    case DateInterval::Second:
      return AddSeconds(date, number);
  }
  return date;
}

long long DiffInterval(DateInterval interval, double from, double to, int firstDay) {
  const DateParts a = SplitDate(from);
  const DateParts b = SplitDate(to);
  // Seconds since day 0 on the linear scale, rounded as the parts are.
  const long long secondsA = a.dayNumber * 86400 + a.hour * 3600 + a.minute * 60 + a.second;
  const long long secondsB = b.dayNumber * 86400 + b.hour * 3600 + b.minute * 60 + b.second;
  switch (interval) {
    case DateInterval::Year:
      return b.year - a.year;
    case DateInterval::Quarter:
      return (b.year * 4 + (b.month - 1) / 3) - (a.year * 4 + (a.month - 1) / 3);
    case DateInterval::Month:
      return MonthsSinceZero(b) - MonthsSinceZero(a);
    case DateInterval::DayOfYear:
    case DateInterval::Day:
      return b.dayNumber - a.dayNumber;
    case DateInterval::Weekday:
      // Whole seven-day spans between the two days.
      return (b.dayNumber - a.dayNumber) / 7;
    case DateInterval::Week: {
      // Week starts (the first day of the week) passed from the first date to the second.
      const long long sunday = 1;  // 1899-12-31 was a Sunday
      const long long start = sunday + (firstDay - 1);
      return FloorDiv(b.dayNumber - start, 7) - FloorDiv(a.dayNumber - start, 7);
    }
    case DateInterval::Hour:
      return FloorDiv(secondsB, 3600) - FloorDiv(secondsA, 3600);
    case DateInterval::Minute:
      return FloorDiv(secondsB, 60) - FloorDiv(secondsA, 60);
    case DateInterval::Second:
      return secondsB - secondsA;
  }
  return 0;
}

}  // namespace vendil
