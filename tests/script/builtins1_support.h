// Calls library built-ins straight through a BuiltinTable, with a host that records dialogs
// and answers them from queues.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "script/builtins.h"
#include "script/engine.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil::test {

class RecordingHost : public HostCallbacks {
 public:
  int MessageBox(std::u16string_view text, std::u16string_view title, int style) override {
    shown.push_back({std::u16string(text), std::u16string(title), style});
    return 6;
  }
  std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                         std::u16string_view defaultText) override {
    shown.push_back({std::u16string(prompt), std::u16string(title), 0});
    lastDefault = std::u16string(defaultText);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  struct Shown {
    std::u16string text, title;
    int style;
  };
  std::vector<Shown> shown;
  std::deque<std::optional<std::u16string>> answers;
  std::u16string lastDefault;
};

class BuiltinsTest : public ::testing::Test {
 protected:
  BuiltinsTest() {
    RegisterCoreBuiltins(table);
    RegisterStringBuiltins(table);
    RegisterConversionBuiltins(table);
    RegisterMathBuiltins(table);
    RegisterInspectionBuiltins(table);
    RegisterUiBuiltins(table);
    RegisterConstants(table);
  }

  // Calls `name` with the arguments after checking the count as the engine does.
  Variant Call(std::u16string_view name, std::vector<Variant> args = {}) {
    const BuiltinEntry* entry = table.Find(name);
    if (entry == nullptr) ADD_FAILURE() << "no built-in " << Utf16ToUtf8(name);
    if (entry == nullptr) return Variant();
    if (entry->isConstant) return entry->constant;
    const int count = static_cast<int>(args.size());
    if (count < entry->minArgs || (entry->maxArgs >= 0 && count > entry->maxArgs)) {
      RaiseScriptError(script_errors::kWrongArguments);
    }
    CallContext context{host, random, locale};
    return entry->function(context, args);
  }
  std::string Text(std::u16string_view name, std::vector<Variant> args = {}) {
    return Utf16ToUtf8(ToString(Call(name, std::move(args))));
  }
  double Number(std::u16string_view name, std::vector<Variant> args = {}) {
    return ToDouble(Call(name, std::move(args)));
  }
  // The error number the call raises, 0 when it does not.
  int32_t ErrorOf(std::u16string_view name, std::vector<Variant> args = {}) {
    try {
      Call(name, std::move(args));
    } catch (const ScriptError& error) {
      return error.number;
    }
    return 0;
  }

  BuiltinTable table;
  RecordingHost host;
  RandomState random;
  int32_t locale = kDefaultLocale;
};

inline Variant S(std::u16string_view text) { return Variant::String(text); }
inline Variant I(int32_t value) { return Variant::Long(value); }
inline Variant D(double value) { return Variant::Double(value); }

}  // namespace vendil::test
