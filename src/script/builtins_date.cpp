// The date built-ins: the clock (Now, Date, Time, Timer), the parts of a date, DateAdd,
// DateDiff, DatePart, DateSerial, TimeSerial, DateValue, TimeValue and the month and weekday
// names of the locale in force.
#include <chrono>
#include <cmath>
#include <ctime>
#include <string>

#include "script/builtins.h"
#include "script/date_math.h"
#include "script/script_error.h"
#include "script/script_locale.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

// Local wall-clock time of the system as a date, with the seconds' fraction.
double LocalNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() %
      1'000'000;
  const double day = DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const double time =
      (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + micros / 1e6) / 86400.0;
  return day + time;
}

// Whole seconds of the clock so that Now, Date and Time agree with what they print.
double LocalNowSeconds() {
  const double now = LocalNow();
  return std::floor(now * 86400.0) / 86400.0;
}

Variant NowFunction(CallContext&, std::span<Variant>) { return Variant::Date(LocalNowSeconds()); }
Variant DateFunction(CallContext&, std::span<Variant>) {
  return Variant::Date(std::floor(LocalNowSeconds()));
}
Variant TimeFunction(CallContext&, std::span<Variant>) {
  const double now = LocalNowSeconds();
  return Variant::Date(now - std::floor(now));
}
Variant TimerFunction(CallContext&, std::span<Variant>) {
  const double now = LocalNow();
  // Timer has hundredths of a second, as a Single.
  return Variant::Single(static_cast<float>(std::floor((now - std::floor(now)) * 8640000.0) / 100));
}

int OptionalInt(std::span<Variant> args, size_t index, int fallback) {
  if (index >= args.size() || args[index].IsMissing() || args[index].IsEmpty()) return fallback;
  return ToLong(args[index]);
}

// 0 is the locale's first day (Sunday on a Japanese system, Monday on a German one).
int FirstDayArgument(std::span<Variant> args, size_t index) {
  const int day = OptionalInt(args, index, 1);
  if (day < 0 || day > 7) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return day == 0 ? CurrentLocale().firstDayOfWeek : day;
}

int FirstWeekArgument(std::span<Variant> args, size_t index) {
  const int week = OptionalInt(args, index, 1);
  if (week < 0 || week > 3) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return week == 0 ? 1 : week;
}

template <int DateParts::*Member>
Variant PartFunction(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) return Variant::Null();
  return Variant::Integer(static_cast<int16_t>(SplitDate(ToDate(args[0])).*Member));
}

Variant WeekdayFunction(CallContext&, std::span<Variant> args) {
  // The first day is checked even for a Null date: Weekday(Null, -1) is 5, (Null, Null) 94.
  const int firstDay = FirstDayArgument(args, 1);
  if (args[0].IsNull()) return Variant::Null();
  return Variant::Integer(
      static_cast<int16_t>(WeekdayOf(SplitDate(ToDate(args[0])).dayNumber, firstDay)));
}

Variant DateAddFunction(CallContext&, std::span<Variant> args) {
  const DateInterval interval = ParseInterval(ToString(args[0]));
  if (args[1].IsNull()) RaiseScriptError(script_errors::kInvalidUseOfNull);
  if (args[2].IsNull()) return Variant::Null();
  return Variant::Date(AddInterval(interval, ToDouble(args[1]), ToDate(args[2])));
}

Variant DateDiffFunction(CallContext&, std::span<Variant> args) {
  const DateInterval interval = ParseInterval(ToString(args[0]));
  const int firstDay = FirstDayArgument(args, 3);
  FirstWeekArgument(args, 4);
  if (args[1].IsNull() || args[2].IsNull()) return Variant::Null();
  const long long diff = DiffInterval(interval, ToDate(args[1]), ToDate(args[2]), firstDay);
  return Variant::Long(static_cast<int32_t>(diff));
}

Variant DatePartFunction(CallContext&, std::span<Variant> args) {
  const DateInterval interval = ParseInterval(ToString(args[0]));
  const int firstDay = FirstDayArgument(args, 2);
  const int firstWeek = FirstWeekArgument(args, 3);
  if (args[1].IsNull()) return Variant::Null();
  const DateParts parts = SplitDate(ToDate(args[1]));
  int value = 0;
  switch (interval) {
    case DateInterval::Year:
      value = parts.year;
      break;
    case DateInterval::Quarter:
      value = (parts.month - 1) / 3 + 1;
      break;
    case DateInterval::Month:
      value = parts.month;
      break;
    case DateInterval::DayOfYear:
      value = static_cast<int>(parts.dayNumber - DaysFromCivil(parts.year, 1, 1)) + 1;
      break;
    case DateInterval::Day:
      value = parts.day;
      break;
    case DateInterval::Weekday:
      value = WeekdayOf(parts.dayNumber, firstDay);
      break;
    case DateInterval::Week:
      value = WeekOfYear(parts, firstDay, firstWeek);
      break;
    case DateInterval::Hour:
      value = parts.hour;
      break;
    case DateInterval::Minute:
      value = parts.minute;
      break;
    case DateInterval::Second:
      value = parts.second;
      break;
  }
  return Variant::Integer(static_cast<int16_t>(value));
}

Variant DateSerialFunction(CallContext&, std::span<Variant> args) {
  double year = std::trunc(ToDouble(args[0]));
  const double month = std::trunc(ToDouble(args[1]));
  const double day = std::trunc(ToDouble(args[2]));
  if (std::fabs(year) > 100000 || std::fabs(month) > 1e6 || std::fabs(day) > 1e8) {
    RaiseScriptError(script_errors::kInvalidProcedureCall);
  }
  // Two-digit years: 0-29 are 2000-2029, 30-99 are 1930-1999.
  if (year >= 0 && year < 30) year += 2000;
  if (year >= 30 && year < 100) year += 1900;
  const double months = year * 12 + month - 1;
  const double wholeYear = std::floor(months / 12);
  const int monthOfYear = static_cast<int>(months - wholeYear * 12) + 1;
  const double days = DaysFromCivil(static_cast<int>(wholeYear), monthOfYear, 1) + day - 1;
  return Variant::Date(CheckedDate(days));
}

Variant TimeSerialFunction(CallContext&, std::span<Variant> args) {
  const double seconds = std::trunc(ToDouble(args[0])) * 3600 + std::trunc(ToDouble(args[1])) * 60 +
                         std::trunc(ToDouble(args[2]));
  if (!std::isfinite(seconds)) RaiseScriptError(script_errors::kInvalidProcedureCall);
  return Variant::Date(CheckedDate(DateFromLinear(seconds / 86400.0)));
}

// DateValue and TimeValue read a text: Null is no text (94). DateValue takes a date or a
// text, not a number (DateValue(44000) is 13).
Variant DateValueFunction(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(script_errors::kInvalidUseOfNull);
  if (args[0].IsNumber() && args[0].Type() != VarType::Date) {
    RaiseScriptError(script_errors::kTypeMismatch);
  }
  return Variant::Date(std::trunc(CheckedDate(ToDate(args[0]))));
}

Variant TimeValueFunction(CallContext&, std::span<Variant> args) {
  if (args[0].IsNull()) RaiseScriptError(script_errors::kInvalidUseOfNull);
  const double date = CheckedDate(ToDate(args[0]));
  return Variant::Date(std::fabs(date - std::trunc(date)));
}

Variant MonthNameFunction(CallContext&, std::span<Variant> args) {
  // A Null second argument is 94 before the month is read: MonthName("a", Null) is 94.
  const bool abbreviate = args.size() > 1 && !args[1].IsMissing() && ToBool(args[1]);
  const int month = ToLong(args[0]);
  if (month < 1 || month > 12) RaiseScriptError(script_errors::kInvalidProcedureCall);
  const ScriptLocale& locale = CurrentLocale();
  return Variant::String(
      std::u16string((abbreviate ? locale.monthAbbreviations : locale.monthNames)[month - 1]));
}

Variant WeekdayNameFunction(CallContext&, std::span<Variant> args) {
  const int weekday = ToLong(args[0]);
  const bool abbreviate = args.size() > 1 && !args[1].IsMissing() && ToBool(args[1]);
  const int firstDay = FirstDayArgument(args, 2);
  if (weekday < 1 || weekday > 7) RaiseScriptError(script_errors::kInvalidProcedureCall);
  const ScriptLocale& locale = CurrentLocale();
  const size_t day = static_cast<size_t>((weekday - 1 + firstDay - 1) % 7);
  return Variant::String(
      std::u16string((abbreviate ? locale.dayAbbreviations : locale.dayNames)[day]));
}

}  // namespace

void RegisterDateBuiltins(BuiltinTable& table) {
  RegisterBuiltin(table, u"Now", 0, 0, NowFunction);
  RegisterBuiltin(table, u"Date", 0, 0, DateFunction);
  RegisterBuiltin(table, u"Time", 0, 0, TimeFunction);
  RegisterBuiltin(table, u"Timer", 0, 0, TimerFunction);
  RegisterBuiltin(table, u"Year", 1, 1, PartFunction<&DateParts::year>);
  RegisterBuiltin(table, u"Month", 1, 1, PartFunction<&DateParts::month>);
  RegisterBuiltin(table, u"Day", 1, 1, PartFunction<&DateParts::day>);
  RegisterBuiltin(table, u"Hour", 1, 1, PartFunction<&DateParts::hour>);
  RegisterBuiltin(table, u"Minute", 1, 1, PartFunction<&DateParts::minute>);
  RegisterBuiltin(table, u"Second", 1, 1, PartFunction<&DateParts::second>);
  RegisterBuiltin(table, u"Weekday", 1, 2, WeekdayFunction);
  RegisterBuiltin(table, u"DateAdd", 3, 3, DateAddFunction);
  RegisterBuiltin(table, u"DateDiff", 3, 5, DateDiffFunction);
  RegisterBuiltin(table, u"DatePart", 2, 4, DatePartFunction);
  RegisterBuiltin(table, u"DateSerial", 3, 3, DateSerialFunction);
  RegisterBuiltin(table, u"TimeSerial", 3, 3, TimeSerialFunction);
  RegisterBuiltin(table, u"DateValue", 1, 1, DateValueFunction);
  RegisterBuiltin(table, u"TimeValue", 1, 1, TimeValueFunction);
  RegisterBuiltin(table, u"MonthName", 1, 2, MonthNameFunction);
  RegisterBuiltin(table, u"WeekdayName", 1, 3, WeekdayNameFunction);
}

}  // namespace vendil
