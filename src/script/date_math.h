// Arithmetic on script dates. A date is days since 1899-12-30 whose fraction is the time of
// day; before that day the fraction still counts forward from midnight (-1.25 is 1899-12-29
// 06:00), so the value is not linear there. These helpers convert to a linear day count,
// split dates into calendar parts and count calendar boundaries.
#pragma once

#include <string_view>

namespace vendil {

// The first and last moments a script date may hold: 100-01-01 and 9999-12-31 23:59:59.
inline constexpr double kMinDate = -657434.0;
inline constexpr double kMaxDate = 2958465.99999;

double LinearFromDate(double date);
double DateFromLinear(double linear);
// Raises 5 when the date is outside the range above.
double CheckedDate(double date);

struct DateParts {
  int year, month, day, hour, minute, second;
  long long dayNumber;  // whole days since 1899-12-30 of the calendar day
};
DateParts SplitDate(double date);

// Weekday 1..7 counted from `firstDay` (1 = Sunday .. 7 = Saturday).
int WeekdayOf(long long dayNumber, int firstDay);
// 1..53: the week of the year, the first week chosen as 1 = holds 1 January, 2 = the first
// with four days, 3 = the first full week.
int WeekOfYear(const DateParts& parts, int firstDay, int firstWeek);

enum class DateInterval {
  Year,
  Quarter,
  Month,
  DayOfYear,
  Day,
  Weekday,
  Week,
  Hour,
  Minute,
  Second
};
// "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s" in any case; raises 5 otherwise.
DateInterval ParseInterval(std::u16string_view text);

double AddInterval(DateInterval interval, double number, double date);
long long DiffInterval(DateInterval interval, double from, double to, int firstDay);

}  // namespace vendil
