// Calls the date and format built-ins straight through a BuiltinTable, as BuiltinsTest
// calls the others.
#pragma once

#include "script/builtins1_support.h"

namespace vendil::test {

class DateFormatTest : public BuiltinsTest {
 protected:
  DateFormatTest() {
    RegisterDateBuiltins(table);
    RegisterFormatBuiltins(table);
  }

  static Variant S(const char16_t* text) { return Variant::String(std::u16string(text)); }
  static Variant L(int32_t value) { return Variant::Long(value); }
  static Variant D(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return Variant::Date(DaysFromCivil(year, month, day) +
                         (hour * 3600 + minute * 60 + second) / 86400.0);
  }
  std::u16string Text(std::u16string_view name, std::vector<Variant> args) {
    return ToString(Call(name, std::move(args)));
  }
};

}  // namespace vendil::test
