// Calls the date and format built-ins straight through a BuiltinTable.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/builtins.h"
#include "script/engine.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil::test {

class NoDialogHost : public HostCallbacks {
 public:
  int MessageBox(std::u16string_view, std::u16string_view, int) override { return 1; }
  std::optional<std::u16string> InputBox(std::u16string_view, std::u16string_view,
                                         std::u16string_view) override {
    return std::nullopt;
  }
};

class DateFormatTest : public ::testing::Test {
 protected:
  DateFormatTest() {
    RegisterDateBuiltins(table);
    RegisterFormatBuiltins(table);
  }

  Variant Call(std::u16string_view name, std::vector<Variant> args = {}) {
    const BuiltinEntry* entry = table.Find(name);
    if (entry == nullptr) {
      ADD_FAILURE() << "no built-in " << Utf16ToUtf8(name);
      return Variant();
    }
    if (static_cast<int>(args.size()) < entry->minArgs ||
        (entry->maxArgs >= 0 && static_cast<int>(args.size()) > entry->maxArgs)) {
      RaiseScriptError(script_errors::kWrongArguments);
    }
    CallContext context{host, random, locale};
    return entry->function(context, args);
  }
  // The error number a call raises, 0 when it returns.
  int32_t ErrorOf(std::u16string_view name, std::vector<Variant> args) {
    try {
      Call(name, std::move(args));
    } catch (const ScriptError& error) {
      return error.number;
    }
    return 0;
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

  BuiltinTable table;
  NoDialogHost host;
  RandomState random;
  int32_t locale = kDefaultLocale;
};

}  // namespace vendil::test
