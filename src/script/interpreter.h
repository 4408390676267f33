// The running engine: the global name space, the call frames, the Err state, the safety
// checks (host Tick, call depth, stack use) and the evaluation helpers the tree nodes use.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "script/ast.h"
#include "script/builtins.h"
#include "script/engine.h"
#include "script/script_error.h"
#include "script/value_limit.h"

namespace vendil {

class ClassInstance;

enum class GlobalKind { Variable, Constant, Procedure, Class, HostObject, HostProcedure };

struct GlobalEntry {
  std::u16string name;
  GlobalKind kind = GlobalKind::Variable;
  bool declared = false;  // Dim'd, assigned without Option Explicit, or defined
  Variant value;
  const Procedure* procedure = nullptr;
  const ClassDef* classDef = nullptr;
  HostProcedure host;
  int minArgs = 0;
  int maxArgs = -1;
};

struct Frame {
  Frame* caller = nullptr;  // the frame this one's procedure was called from
  std::vector<Variant> storage;
  std::vector<Variant*> slots;  // own storage, or the caller's variable for ByRef
  // Variables that Execute code declared in the procedure, after its own slots; a deque so
  // that the slots pointing into it stay valid as it grows.
  std::deque<Variant> addedStorage;
  std::vector<std::u16string> addedNames;
  ClassInstance* me = nullptr;
  std::shared_ptr<ScriptObject> meHold;
  const Procedure* procedure = nullptr;  // null at top level
  const Program* program = nullptr;
  std::vector<Variant> withObjects;
  bool resumeNext = false;
  SourcePosition position;  // statement running
};

class ClassInstance : public ScriptObject {
 public:
  ClassInstance(Interpreter& interp, const ClassDef& def);
  ~ClassInstance() override;
  std::u16string TypeName() const override { return def_.name; }
  Variant Get(std::u16string_view name, std::span<Variant> args) override;
  void Let(std::u16string_view name, std::span<Variant> args, const Variant& value) override;
  void Set(std::u16string_view name, std::span<Variant> args, const Variant& value) override;

  const ClassDef& def() const { return def_; }
  std::vector<Variant> fields;
  bool terminated = false;
  void CountHeld(ValueCounter& counter) const override;

 private:
  Interpreter& interp_;
  std::shared_ptr<bool> alive_;
  const ClassDef& def_;
};

class Interpreter {
 public:
  explicit Interpreter(HostCallbacks& host);
  ~Interpreter();

  // Globals.
  GlobalEntry* FindGlobal(std::u16string_view name);
  GlobalEntry& GlobalFor(std::u16string_view name);  // creates an undeclared variable entry
  const BuiltinTable& builtins() const { return builtins_; }

  // Compiling and running.
  std::shared_ptr<Program> Compile(std::u16string_view code, bool expression,
                                   const Procedure* enclosing, const ClassDef* enclosingClass,
                                   const std::vector<std::u16string>* addedLocals = nullptr);
  void Define(const Program& program);  // procedures and classes become globals
  // Keeps a program whose procedures or classes may be called after it ran. Others are let
  // go, so a script that runs Eval or Execute in a loop does not grow without end.
  void KeepProgram(const std::shared_ptr<const Program>& program);
  void RunTopLevel(const Program& program);
  Variant EvalText(std::u16string_view code, bool inCurrentScope);
  void ExecuteText(std::u16string_view code, bool global);
  // The variables Execute code declared join the running procedure's frame.
  void AddFrameLocals(const Program& program);
  // The variable of that name Execute code declared in the running procedure; null when none.
  // Under Option Explicit the procedure's own code, bound before, finds it here.
  Variant* AddedLocal(std::u16string_view name);
  ScriptErrorInfo InfoOf(const ScriptError& error) const;

  // Used by the tree nodes.
  Frame& frame() { return *frame_; }
  const Frame& CurrentFrame() const { return *frame_; }
  Flow ExecBlock(const Block& block);
  Variant* Reference(const Expr& expr);  // a variable the expression names, else null
  void Assign(const Expr& target, Variant value, bool isSet);
  Variant CallName(const NameExpr& name, const std::vector<ExprPtr>& args);
  Variant CallMember(const Variant& object, std::u16string_view name,
                     const std::vector<ExprPtr>& args);
  Variant CallSpecial(int special, std::vector<Variant> values);
  // A name alone as a statement (`Foo`, `Call obj`): a procedure runs, an object's default
  // member is called, and any other value is error 13.
  void CallNameAsStatement(const NameExpr& name);
  void CallBuiltinAsStatement(const BuiltinEntry& entry, const std::vector<ExprPtr>& args);
  Variant IndexValue(const Variant& value, const std::vector<ExprPtr>& args);
  Variant CallProcedure(const Procedure& procedure, std::shared_ptr<ScriptObject> me,
                        const std::vector<ExprPtr>* argExprs, std::span<Variant> argValues,
                        const Variant* assignedValue = nullptr);
  std::vector<Variant> EvalArgs(const std::vector<ExprPtr>& args);
  std::vector<int32_t> EvalIndexes(const std::vector<ExprPtr>& args);
  Variant WithObject() const;
  Variant MeValue() const;
  Variant NewInstance(const ClassDef& def);
  // Member access on an instance of a script class, honouring Private from outside.
  Variant InstanceGet(ClassInstance& instance, std::shared_ptr<ScriptObject> hold,
                      std::u16string_view name, const std::vector<ExprPtr>* argExprs,
                      std::span<Variant> argValues);
  void InstanceLet(ClassInstance& instance, std::shared_ptr<ScriptObject> hold,
                   std::u16string_view name, std::span<Variant> args, const Variant& value,
                   bool isSet);
  void QueueTerminate(const ClassDef& def, std::vector<Variant> fields);
  void RunPendingTerminates();
  // Drops every global variable's value, so Class_Terminate runs for objects still alive.
  void ReleaseGlobals();
  void Tick();
  // Work done inside one statement (a built-in over a long text) brings the next host Tick
  // nearer, so Stop is seen soon even when every statement is heavy.
  void ChargeWork(size_t units);

  // Err.
  struct ErrState {
    int32_t number = 0;
    std::u16string description, source, helpFile;
    int32_t helpContext = 0;
  } err;
  void ClearErr() { err = ErrState{}; }
  // Keeps an error that On Error Resume Next lets the script go past.
  void RecordError(const ScriptError& error) {
    err.number = error.number;
    err.description = error.description;
    err.source = error.source;
    err.helpFile = error.helpFile;
    err.helpContext = error.helpContext;
  }

  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  HostCallbacks& host;
  RandomState random;
  int32_t locale = kDefaultLocale;  // what SetLocale set
  int maxDepth = 400;
  size_t maxStackBytes = 2 * 1024 * 1024;
  size_t maxValueBytes = kMaxValueBytes;
  size_t maxHeldBytes = kMaxHeldBytes;
  // The bytes of every value the engine holds now (held_values.cpp).
  size_t CountHeldBytes();
  const char* stackBase = nullptr;  // frame address where the outermost run began

  std::optional<ScriptErrorInfo> Protect(const std::function<void()>& action);

 private:
  BuiltinTable builtins_;
  std::deque<GlobalEntry> globals_;
  std::unordered_map<std::u16string, GlobalEntry*> globalIndex_;
  std::vector<std::shared_ptr<const Program>> programs_;  // kept while procedures may run
  Frame globalFrame_;
  Frame* frame_ = &globalFrame_;
  int depth_ = 0;
  int tickCountdown_ = 0;
  struct PendingTerminate {
    const ClassDef* def;
    std::vector<Variant> fields;
  };
  std::vector<PendingTerminate> pending_;
  class Meter : public ValueMeter {
   public:
    explicit Meter(Interpreter& interp) : interp_(interp) {}
    size_t CountHeldBytes() override { return interp_.CountHeldBytes(); }

   private:
    Interpreter& interp_;
  } meter_{*this};
  friend class FrameScope;
  friend class Engine;
};

}  // namespace vendil
