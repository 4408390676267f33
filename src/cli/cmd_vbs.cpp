// vendil-cli vbs FILE.vbs [ARGS]: runs a script on its own, with a WScript object (Echo,
// Arguments, Quit, StdOut and StdErr), message and input boxes on the terminal, Ctrl+C as
// Stop, and a Check(cond, message) procedure for scripts that test themselves.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/session.h"
#include "cli/terminal_ui.h"
#include "crawl/script_file.h"
#include "script/engine.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil::cli {

namespace {

constexpr int kExitScriptFailed = 1;

bool Is(std::u16string_view name, std::u16string_view member) {
  return EqualsNoCaseU16(name, member);
}

std::string TextOf(const Variant& value) { return Utf16ToUtf8(ToString(value)); }

// The command's own state that the script's objects reach.
struct RunState {
  std::vector<std::string> arguments;
  std::string scriptPath;
  bool quit = false;
  int quitCode = 0;
  bool stop = false;  // Ctrl+C
};

class ArgumentsObject : public ScriptObject {
 public:
  explicit ArgumentsObject(const RunState& state) : state_(state) {}
  std::u16string TypeName() const override { return u"IArguments"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (Is(name, u"Count") || Is(name, u"Length")) {
      CheckArgumentCount(args, 0, 0);
      return Variant::Long(static_cast<int32_t>(state_.arguments.size()));
    }
    if (name.empty() || Is(name, u"Item")) {
      CheckArgumentCount(args, 1, 1);
      const int32_t i = ToLong(ValueOf(args[0]));
      if (i < 0 || static_cast<size_t>(i) >= state_.arguments.size())
        RaiseScriptError(script_errors::kSubscriptOutOfRange);
      return Variant::String(Utf8ToUtf16(state_.arguments[static_cast<size_t>(i)]));
    }
    RaiseNoSuchMember(name);
  }
  std::vector<Variant> Enumerate() override {
    std::vector<Variant> items;
    for (const auto& a : state_.arguments) items.push_back(Variant::String(Utf8ToUtf16(a)));
    return items;
  }

 private:
  const RunState& state_;
};

class TextStreamObject : public ScriptObject {
 public:
  explicit TextStreamObject(std::ostream& out) : out_(out) {}
  std::u16string TypeName() const override { return u"TextStream"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (Is(name, u"Write")) {
      CheckArgumentCount(args, 1, 1);
      out_ << TextOf(args[0]) << std::flush;
    } else if (Is(name, u"WriteLine")) {
      CheckArgumentCount(args, 0, 1);
      out_ << (args.empty() ? std::string() : TextOf(args[0])) << '\n' << std::flush;
    } else if (Is(name, u"WriteBlankLines")) {
      CheckArgumentCount(args, 1, 1);
      for (int32_t i = ToLong(args[0]); i > 0; --i) out_ << '\n';
      out_ << std::flush;
    } else {
      RaiseNoSuchMember(name);
    }
    return Variant();
  }

 private:
  std::ostream& out_;
};

class WScriptObject : public ScriptObject {
 public:
  explicit WScriptObject(RunState& state)
      : state_(state),
        arguments_(std::make_shared<ArgumentsObject>(state)),
        stdOut_(std::make_shared<TextStreamObject>(std::cout)),
        stdErr_(std::make_shared<TextStreamObject>(std::cerr)) {}
  std::u16string TypeName() const override { return u"Object"; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override {
    if (Is(name, u"Echo")) {
      std::string line;
      for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) line += ' ';
        line += TextOf(args[i]);
      }
      std::cout << line << '\n' << std::flush;
      return Variant();
    }
    if (Is(name, u"Quit")) {
      CheckArgumentCount(args, 0, 1);
      state_.quitCode = args.empty() || args[0].IsMissing() ? 0 : ToLong(ValueOf(args[0]));
      state_.quit = true;
      return Variant();
    }
    if (Is(name, u"Arguments")) {
      if (args.empty()) return Variant::Object(arguments_);
      return arguments_->Get(u"Item", args);
    }
    CheckArgumentCount(args, 0, 0);
    if (Is(name, u"StdOut")) return Variant::Object(stdOut_);
    if (Is(name, u"StdErr")) return Variant::Object(stdErr_);
    if (Is(name, u"ScriptFullName")) return Variant::String(Utf8ToUtf16(state_.scriptPath));
    if (Is(name, u"ScriptName")) {
      const size_t slash = state_.scriptPath.find_last_of('/');
      return Variant::String(Utf8ToUtf16(
          slash == std::string::npos ? state_.scriptPath : state_.scriptPath.substr(slash + 1)));
    }
    RaiseNoSuchMember(name);
  }

 private:
  RunState& state_;
  std::shared_ptr<ArgumentsObject> arguments_;
  std::shared_ptr<TextStreamObject> stdOut_, stdErr_;
};

// Boxes on the terminal; Quit and Ctrl+C end the script between two statements.
class TerminalHost : public HostCallbacks {
 public:
  TerminalHost(TerminalUi& ui, RunState& state) : ui_(ui), state_(state) {}
  int MessageBox(std::u16string_view text, std::u16string_view title, int style) override {
    return ui_.MessageBox(Utf16ToUtf8(text), Utf16ToUtf8(title), style);
  }
  std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                         std::u16string_view defaultText) override {
    auto answer = ui_.InputBox(Utf16ToUtf8(prompt), Utf16ToUtf8(title), Utf16ToUtf8(defaultText));
    if (!answer) return std::nullopt;
    return Utf8ToUtf16(*answer);
  }
  // The engine calls this every few hundred statements, or after each heavy one; looking
  // for Ctrl+C costs next to nothing, so every call does.
  bool Tick() override {
    ui_.Yield();
    return !state_.quit && !state_.stop;
  }

 private:
  TerminalUi& ui_;
  RunState& state_;
};

}  // namespace

int RunVbs(const Options& options) {
  if (options.positional.empty()) {
    std::cerr << "vendil-cli: vbs needs a script file\n\n" << UsageText();
    return kExitBadArguments;
  }
  RunState state;
  state.scriptPath = options.positional.front();
  state.arguments.assign(options.positional.begin() + 1, options.positional.end());
  const std::optional<std::string> text = ReadScriptFile(state.scriptPath);
  if (!text) {
    std::cerr << "vendil-cli: cannot read " << state.scriptPath << "\n";
    return kExitScriptFailed;
  }
  const std::u16string source = Utf8ToUtf16(*text);

  TerminalUi ui;
  ui.SetStopFlag(&state.stop);
  ui.CatchInterrupt();
  TerminalHost host(ui, state);
  Engine engine(host);
  engine.AddObject(u"WScript", std::make_shared<WScriptObject>(state));

  int checks = 0, failures = 0;
  engine.AddGlobalProcedure(u"Check", 1, 2, [&](std::span<Variant> args) -> Variant {
    ++checks;
    bool passed = false;
    try {
      const Variant value = ValueOf(args[0]);
      passed = !value.IsNull() && ToBool(value);
    } catch (const ScriptError&) {
      passed = false;
    }
    if (!passed) {
      ++failures;
      std::u16string message = args.size() > 1 ? ToString(args[1]) : u"";
      std::cerr << state.scriptPath << "(" << engine.CurrentLine()
                << "): check failed: " << Utf16ToUtf8(message) << "\n";
    }
    return Variant();
  });

  const std::optional<ScriptErrorInfo> error = engine.AddCode(source);
  if (error && !error->aborted) {
    std::cerr << state.scriptPath << "(" << error->line << ", " << error->column << ") "
              << Utf16ToUtf8(error->source) << ": " << Utf16ToUtf8(error->description) << "\n";
    return kExitScriptFailed;
  }
  if (state.stop && !state.quit) {
    std::cerr << "vendil-cli: stopped\n";
    return kExitStopped;
  }
  if (failures > 0) {
    std::cerr << state.scriptPath << ": " << failures << " of " << checks << " checks failed\n";
    return kExitScriptFailed;
  }
  return state.quit ? state.quitCode : 0;
}

}  // namespace vendil::cli
