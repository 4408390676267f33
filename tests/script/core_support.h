// Runs whole scripts through the Engine: a host whose Tick can stop a script after a number
// of calls, and a procedure that records what a script passes it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "script/engine.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil::test {

class ScriptHost : public HostCallbacks {
 public:
  int MessageBox(std::u16string_view text, std::u16string_view, int) override {
    messages.emplace_back(text);
    return 1;
  }
  std::optional<std::u16string> InputBox(std::u16string_view, std::u16string_view,
                                         std::u16string_view) override {
    return std::nullopt;
  }
  bool Tick() override {
    ++ticks;
    return stopAfter < 0 || ticks <= stopAfter;
  }
  std::vector<std::u16string> messages;
  int ticks = 0;
  int stopAfter = -1;  // Tick returns false from this many calls on; -1: never
};

class CoreScriptTest : public ::testing::Test {
 protected:
  CoreScriptTest() {
    engine.AddGlobalProcedure(u"Note", 1, 1, [this](std::span<Variant> args) {
      notes.push_back(Utf16ToUtf8(ToString(args[0])));
      return Variant();
    });
  }

  std::optional<ScriptErrorInfo> Run(std::u16string_view code) { return engine.AddCode(code); }

  // The global's value as text, "<none>" when there is no such variable.
  std::string Text(std::u16string_view name) const {
    std::optional<Variant> value = engine.GlobalValue(name);
    return value ? Utf16ToUtf8(ToString(*value)) : "<none>";
  }

  ScriptHost host;
  Engine engine{host};
  std::vector<std::string> notes;  // what the script passed to Note, in order
};

inline std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

}  // namespace vendil::test
