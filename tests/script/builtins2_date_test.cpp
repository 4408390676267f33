// Date built-ins: serial roll-over, calendar parts, interval arithmetic and counting, weeks,
// dates before 1899-12-30 and the checks on their arguments; the cases dates.vbs reads as a
// script are not read again here.
#include <cmath>

#include "script/builtins2_support.h"

namespace vendil::test {
namespace {

using DateBuiltinsTest = DateFormatTest;

TEST_F(DateBuiltinsTest, SerialsRollOverflowingParts) {
  EXPECT_EQ(Call(u"DateSerial", {L(2021), L(-1), L(1)}).DateValue(), D(2020, 11, 1).DateValue());
  EXPECT_EQ(Call(u"DateSerial", {L(29), L(1), L(1)}).DateValue(), D(2029, 1, 1).DateValue());
  EXPECT_EQ(Call(u"DateSerial", {L(30), L(1), L(1)}).DateValue(), D(1930, 1, 1).DateValue());
  EXPECT_EQ(ErrorOf(u"DateSerial", {L(10000), L(1), L(1)}), 5);
  EXPECT_NEAR(Call(u"TimeSerial", {L(0), L(90), L(0)}).DateValue(), 1.5 / 24, 1e-9);
  // One hour before midnight of day 0 is 23:00 of the day before, stored as -1 - 23/24.
  const double beforeZero = Call(u"TimeSerial", {L(-1), L(0), L(0)}).DateValue();
  EXPECT_NEAR(beforeZero, -1 - 23.0 / 24, 1e-9);
  EXPECT_EQ(Call(u"Hour", {Variant::Date(beforeZero)}).IntegerValue(), 23);
  EXPECT_EQ(Call(u"Day", {Variant::Date(beforeZero)}).IntegerValue(), 29);
  EXPECT_EQ(ErrorOf(u"DateSerial", {S(u"x"), L(1), L(1)}), 13);
}

TEST_F(DateBuiltinsTest, PartsAndValuesOfTextsAndNull) {
  const Variant d = D(2024, 2, 29, 13, 4, 5);
  EXPECT_EQ(Call(u"Year", {d}).IntegerValue(), 2024);
  EXPECT_EQ(Call(u"Second", {d}).IntegerValue(), 5);
  EXPECT_EQ(Call(u"Month", {S(u"2024/3/9")}).IntegerValue(), 3);
  EXPECT_TRUE(Call(u"Minute", {Variant::Null()}).IsNull());
  EXPECT_EQ(ErrorOf(u"Year", {S(u"soon")}), 13);
  EXPECT_EQ(Call(u"DateValue", {d}).DateValue(), D(2024, 2, 29).DateValue());
  EXPECT_NEAR(Call(u"TimeValue", {S(u"13:04:05")}).DateValue(), (13 * 3600 + 4 * 60 + 5) / 86400.0,
              1e-9);
  // Day 0 is a Saturday; the first day of the week shifts the count.
  EXPECT_EQ(Call(u"Weekday", {Variant::Date(0)}).IntegerValue(), 7);
  EXPECT_EQ(Call(u"Weekday", {D(1800, 1, 1)}).IntegerValue(), 4);  // a Wednesday
  EXPECT_EQ(ErrorOf(u"Weekday", {D(2020, 1, 1), L(8)}), 5);
  EXPECT_EQ(Text(u"WeekdayName", {L(1), Variant::Boolean(true), L(2)}), u"月");
  EXPECT_EQ(ErrorOf(u"MonthName", {L(13)}), 5);
}

TEST_F(DateBuiltinsTest, DateAddClampsMonthEndsAndKeepsTime) {
  auto add = [&](const char16_t* interval, int number, Variant date) {
    return Call(u"DateAdd", {S(interval), L(number), date}).DateValue();
  };
  EXPECT_EQ(add(u"q", -1, D(2020, 5, 31)), D(2020, 2, 29).DateValue());
  EXPECT_NEAR(add(u"M", 1, D(2020, 1, 15, 6)), D(2020, 2, 15, 6).DateValue(), 1e-9);
  EXPECT_EQ(add(u"ww", 1, D(2020, 12, 28)), D(2021, 1, 4).DateValue());
  EXPECT_NEAR(add(u"s", 61, D(2020, 1, 1)), D(2020, 1, 1, 0, 1, 1).DateValue(), 1e-9);
  // Crossing day 0 backwards: 06:00 on day 0 minus 12 hours is 18:00 on the day before.
  EXPECT_NEAR(add(u"h", -12, Variant::Date(0.25)), -1.75, 1e-9);
  EXPECT_EQ(ErrorOf(u"DateAdd", {S(u"zz"), L(1), D(2020, 1, 1)}), 5);
  EXPECT_EQ(ErrorOf(u"DateAdd", {S(u"yyyy"), L(9000), D(2020, 1, 1)}), 5);
  EXPECT_TRUE(Call(u"DateAdd", {S(u"d"), L(1), Variant::Null()}).IsNull());
}

TEST_F(DateBuiltinsTest, DateDiffCountsBoundaries) {
  auto diff = [&](const char16_t* interval, Variant a, Variant b, int firstDay = 1) {
    return Call(u"DateDiff", {S(interval), a, b, L(firstDay)}).LongValue();
  };
  EXPECT_EQ(diff(u"q", D(2020, 3, 31), D(2020, 4, 1)), 1);
  EXPECT_EQ(diff(u"h", D(2020, 1, 1, 1, 59), D(2020, 1, 1, 2)), 1);
  // -0.5 and 0.5 are both noon of day 0; -1.5 is noon of the day before.
  EXPECT_EQ(diff(u"n", Variant::Date(-0.5), Variant::Date(0.5)), 0);
  EXPECT_EQ(diff(u"n", Variant::Date(-1.5), Variant::Date(0.5)), 60 * 24);
  // "w" counts whole weeks, "ww" the week starts crossed (Sunday by default).
  EXPECT_EQ(diff(u"w", D(2020, 1, 4), D(2020, 1, 10)), 0);  // Saturday to Friday
  EXPECT_EQ(diff(u"ww", D(2020, 1, 4), D(2020, 1, 5)), 1);  // Saturday to Sunday
  EXPECT_EQ(diff(u"ww", D(2020, 1, 4), D(2020, 1, 5), 2), 0);
  EXPECT_EQ(diff(u"ww", D(2020, 1, 5), D(2020, 1, 4)), -1);
}

TEST_F(DateBuiltinsTest, DatePartWeeksOfTheYear) {
  auto part = [&](const char16_t* interval, Variant d, int firstDay = 1, int firstWeek = 1) {
    return Call(u"DatePart", {S(interval), d, L(firstDay), L(firstWeek)}).IntegerValue();
  };
  EXPECT_EQ(part(u"y", D(2020, 12, 31)), 366);
  EXPECT_EQ(part(u"ww", D(2020, 1, 4)), 1);
  EXPECT_EQ(part(u"ww", D(2020, 1, 5)), 2);
  // First four-day week from Monday (ISO style): 2021-01-03 belongs to 2020's week 53.
  EXPECT_EQ(part(u"ww", D(2021, 1, 3), 2, 2), 53);
  EXPECT_EQ(part(u"ww", D(2021, 1, 4), 2, 2), 1);
  // First full week: 2020-01-05 (Sunday) starts week 1.
  EXPECT_EQ(part(u"ww", D(2020, 1, 4), 1, 3), 52);
  EXPECT_EQ(part(u"ww", D(2020, 1, 5), 1, 3), 1);
  EXPECT_EQ(ErrorOf(u"DatePart", {S(u"ww"), D(2020, 1, 1), L(1), L(4)}), 5);
}

// Now, Date and Time against each other: dates.vbs.
TEST_F(DateBuiltinsTest, TimerCountsTheSecondsOfTheDay) {
  const float timer = Call(u"Timer").SingleValue();
  EXPECT_GE(timer, 0);
  EXPECT_LT(timer, 86400);
  EXPECT_EQ(ErrorOf(u"Now", {L(1)}), 450);
}

}  // namespace
}  // namespace vendil::test
