// The engine as hosts use it: named host objects and procedures, code added and run at once
// (AddCode) or compiled once and run many times in the same global scope (Compile + Run),
// an expression evaluated, and every failure returned as ScriptErrorInfo.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "script/script_object.h"
#include "script/variant.h"

namespace vendil {

// What a script reaches of the person and of the host loop.
class HostCallbacks {
 public:
  virtual ~HostCallbacks() = default;
  // MsgBox: `style` holds the button and icon bits (vbOKOnly, vbYesNo, vbCritical, ...);
  // returns the button pressed (vbOK = 1, vbCancel = 2, ... vbNo = 7).
  virtual int MessageBox(std::u16string_view text, std::u16string_view title, int style) = 0;
  // InputBox: the text typed, or nullopt when the person cancelled.
  virtual std::optional<std::u16string> InputBox(std::u16string_view prompt,
                                                 std::u16string_view title,
                                                 std::u16string_view defaultText) = 0;
  // Called between statements (often, but cheap to call); false aborts the script at once,
  // past any On Error Resume Next.
  virtual bool Tick() { return true; }
};

struct ScriptErrorInfo {
  int32_t number = 0;
  std::u16string description;
  std::u16string source;  // kCompileErrorSource or kRuntimeErrorSource, or what Err.Raise gave
  int line = 0;           // 1-based, in the code given to AddCode / Compile
  int column = 0;         // 1-based
  std::u16string lineText;
  bool aborted = false;  // the host's Tick returned false; not an error of the script
};

// A procedure the host adds to the global name space (e.g. a test's Check). Arguments are
// passed by value.
using HostProcedure = std::function<Variant(std::span<Variant> args)>;

class CompiledScript;  // a parsed and resolved program, bound to the engine that compiled it

class Engine {
 public:
  explicit Engine(HostCallbacks& host);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // A global name bound to the object (as `VendilInfo`); members stay behind the name.
  void AddObject(std::u16string_view name, std::shared_ptr<ScriptObject> object);
  // `maxArgs` < 0: any number.
  void AddGlobalProcedure(std::u16string_view name, int minArgs, int maxArgs,
                          HostProcedure procedure);

  // Parses the whole code, then defines its procedures and classes and runs its top-level
  // statements. A compilation error anywhere means nothing of it runs.
  std::optional<ScriptErrorInfo> AddCode(std::u16string_view code);

  struct CompileResult {
    std::shared_ptr<const CompiledScript> script;  // null on error
    std::optional<ScriptErrorInfo> error;
  };
  CompileResult Compile(std::u16string_view code);
  // Defines the script's procedures and classes (again) and runs its top-level statements.
  // Global variables live on in the engine from run to run.
  std::optional<ScriptErrorInfo> Run(const CompiledScript& script);

  // Evaluates one expression in the global scope.
  std::variant<Variant, ScriptErrorInfo> Eval(std::u16string_view expression);
  // The value of a global variable, nullopt when there is none (for hosts and tests).
  std::optional<Variant> GlobalValue(std::u16string_view name) const;
  // The line of the statement running now, for a host procedure that reports where it was
  // called from; 0 when nothing runs.
  int CurrentLine() const;

  // Procedure calls nested deeper than this raise 28 "Out of stack space".
  void SetMaxCallDepth(int depth);
  // Strings, arrays and match lists past this many bytes raise 7 "Out of memory"
  // (256 MiB unless set lower).
  void SetMaxValueBytes(size_t bytes);
  // All the values the engine holds together past this many bytes raise 7 too (1 GiB unless
  // set lower): a script cannot take the host's memory however many values it keeps.
  void SetMaxHeldBytes(size_t bytes);

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace vendil
