// Format built-ins with the Japanese system formats: dates and times, decimals rounded half
// away from zero, leading digit, parentheses, grouping, percent and yen.
#include "script/builtins2_support.h"

namespace vendil::test {
namespace {

using FormatBuiltinsTest = DateFormatTest;

TEST_F(FormatBuiltinsTest, DateTimeFormats) {
  const Variant d = D(2024, 3, 9, 7, 5, 3);
  EXPECT_EQ(Text(u"FormatDateTime", {d}), u"2024/03/09 7:05:03");
  EXPECT_EQ(Text(u"FormatDateTime", {D(2024, 3, 9)}), u"2024/03/09");
  EXPECT_EQ(Text(u"FormatDateTime", {Variant::Date(0.5)}), u"12:00:00");
  // The long and short date of the Japanese system: locales.vbs.
  EXPECT_EQ(Text(u"FormatDateTime", {d, L(3)}), u"7:05:03");
  EXPECT_EQ(Text(u"FormatDateTime", {d, L(4)}), u"07:05");
  EXPECT_EQ(Text(u"FormatDateTime", {S(u"2024/3/9 13:00")}), u"2024/03/09 13:00:00");
  EXPECT_EQ(ErrorOf(u"FormatDateTime", {d, L(5)}), 5);
  EXPECT_EQ(ErrorOf(u"FormatDateTime", {S(u"later")}), 13);
}

TEST_F(FormatBuiltinsTest, NumbersRoundAndGroup) {
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(1234567.891)}), u"1,234,567.89");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(0.125)}), u"0.13");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(2.5), L(0)}), u"3");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(999.996)}), u"1,000.00");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(-0.5), L(1), L(0)}), u"-.5");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(-1234.5), L(1), L(-2), L(-1), L(0)}),
            u"(1234.5)");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(-0.001)}), u"0.00");
  EXPECT_EQ(Text(u"FormatNumber", {Variant::Double(1e-20), L(3)}), u"0.000");
  EXPECT_EQ(Text(u"FormatNumber", {S(u"12"), L(3)}), u"12.000");
  EXPECT_EQ(ErrorOf(u"FormatNumber", {S(u"twelve")}), 13);
  EXPECT_EQ(ErrorOf(u"FormatNumber", {Variant::Null()}), 13);
  EXPECT_EQ(ErrorOf(u"FormatNumber", {L(1), L(-3)}), 5);
}

TEST_F(FormatBuiltinsTest, PercentAndYen) {
  EXPECT_EQ(Text(u"FormatPercent", {Variant::Double(0.1234)}), u"12.34%");
  EXPECT_EQ(Text(u"FormatPercent", {Variant::Double(-0.5), L(0)}), u"-50%");
  EXPECT_EQ(Text(u"FormatCurrency", {Variant::Double(1234567.5)}), u"¥1,234,568");
  EXPECT_EQ(Text(u"FormatCurrency", {Variant::Double(-12.25), L(2)}), u"-¥12.25");
  EXPECT_EQ(Text(u"FormatCurrency", {Variant::Currency(5 * 10000)}), u"¥5");
}

}  // namespace
}  // namespace vendil::test
