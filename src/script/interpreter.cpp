// The running engine: global names, frames, statements in order with On Error, references
// to variables and array elements, calls of procedures, built-ins and host objects, and the
// safety checks between statements. Code given at run time is in interpreter_run.cpp.
#include "script/interpreter.h"

#include "script/class_instance_access.h"
#include "script/operators.h"
#include "script/parser.h"
#include "script/procedure_ref.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

std::shared_ptr<ScriptObject> MakeErrObject(Interpreter& interp);

// Swaps in a frame for a call and restores the caller's, also when an error unwinds.
class FrameScope {
 public:
  FrameScope(Interpreter& interp, Frame& frame) : interp_(interp), saved_(interp.frame_) {
    if (++interp.depth_ > interp.maxDepth) {
      --interp.depth_;
      RaiseScriptError(script_errors::kOutOfStack);
    }
    char here = 0;
    if (interp.stackBase &&
        static_cast<size_t>(interp.stackBase > &here
                                ? interp.stackBase - &here
                                : &here - interp.stackBase) > interp.maxStackBytes) {
      --interp.depth_;
      RaiseScriptError(script_errors::kOutOfStack);
    }
    frame.caller = saved_;
    interp.frame_ = &frame;
  }
  ~FrameScope() {
    interp_.frame_ = saved_;
    --interp_.depth_;
  }
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  Interpreter& interp_;
  Frame* saved_;
};

std::vector<Variant>& MeFields(Interpreter& interp) {
  ClassInstance* me = interp.frame().me;
  if (!me) RaiseScriptError(script_errors::kObjectRequired);
  return me->fields;
}

Variant DefaultValue(Variant value) {
  if (!value.IsObject()) return value;
  if (!value.ObjectValue()) RaiseScriptError(script_errors::kObjectVariableNotSet);
  std::shared_ptr<ScriptObject> object = value.ObjectValue();
  return object->Get(u"", {});
}

bool Truth(const Variant& value) {
  if (value.IsNull()) return false;
  return ToBool(DefaultValue(value));
}

Interpreter::Interpreter(HostCallbacks& hostCallbacks) : host(hostCallbacks) {
  RegisterCoreBuiltins(builtins_);
  RegisterStringBuiltins(builtins_);
  RegisterConversionBuiltins(builtins_);
  RegisterMathBuiltins(builtins_);
  RegisterInspectionBuiltins(builtins_);
  RegisterLocaleBuiltins(builtins_);
  RegisterDateBuiltins(builtins_);
  RegisterFormatBuiltins(builtins_);
  RegisterUiBuiltins(builtins_);
  RegisterConstants(builtins_);
  GlobalEntry& err = GlobalFor(u"Err");
  err.kind = GlobalKind::HostObject;
  err.declared = true;
  err.value = Variant::Object(MakeErrObject(*this));
}

Interpreter::~Interpreter() {
  *alive = false;
  pending_.clear();
}

GlobalEntry* Interpreter::FindGlobal(std::u16string_view name) {
  auto it = globalIndex_.find(FoldCaseU16(name));
  return it == globalIndex_.end() ? nullptr : it->second;
}

GlobalEntry& Interpreter::GlobalFor(std::u16string_view name) {
  std::u16string key = FoldCaseU16(name);
  auto it = globalIndex_.find(key);
  if (it != globalIndex_.end()) return *it->second;
  globals_.emplace_back();
  GlobalEntry& entry = globals_.back();
  entry.name = std::u16string(name);
  globalIndex_.emplace(std::move(key), &entry);
  return entry;
}

std::shared_ptr<Program> Interpreter::Compile(std::u16string_view code, bool expression,
                                              const Procedure* enclosing,
                                              const ClassDef* enclosingClass,
                                              const std::vector<std::u16string>* addedLocals) {
  std::shared_ptr<Program> program =
      ParseProgram(code, *this, expression, enclosing, enclosingClass, addedLocals);
  for (auto& proc : program->procedures) proc->program = program.get();
  for (auto& cls : program->classes) {
    for (auto& proc : cls->procedures) {
      proc->program = program.get();
      proc->owner = cls.get();
    }
  }
  return program;
}

// The value of a hoisted constant; false when its literal raises (`Const c = -"a"`), which
// then happens when its statement runs.
static bool ConstantValue(Interpreter& interp, const Expr& literal, Variant& value) {
  try {
    value = literal.Eval(interp);
    return true;
  } catch (const ScriptError&) {
    return false;
  }
}

void Interpreter::Define(const Program& program) {
  for (const auto& [name, literal] : program.constants) {
    Variant value;
    if (name->kind != NameKind::Global || !ConstantValue(*this, *literal, value)) continue;
    GlobalEntry& entry = *name->global;
    if (entry.kind != GlobalKind::Variable && entry.kind != GlobalKind::Constant) continue;
    entry.kind = GlobalKind::Constant;
    entry.declared = true;
    entry.value = std::move(value);
  }
  for (const auto& proc : program.procedures) {
    GlobalEntry& entry = GlobalFor(proc->name);
    entry.kind = GlobalKind::Procedure;
    entry.procedure = proc.get();
    entry.declared = true;
  }
  for (const auto& cls : program.classes) {
    GlobalEntry& entry = GlobalFor(cls->name);
    entry.kind = GlobalKind::Class;
    entry.classDef = cls.get();
    entry.declared = true;
  }
}

void Interpreter::RunTopLevel(const Program& program) {
  const Program* saved = frame_->program;
  frame_->program = &program;
  try {
    ExecBlock(program.topLevel);
  } catch (...) {
    frame_->program = saved;
    throw;
  }
  frame_->program = saved;
  RunPendingTerminates();
}

void Interpreter::ChargeWork(size_t units) {
  constexpr size_t kUnitsPerStatement = 4096;
  const size_t statements = units / kUnitsPerStatement;
  if (statements == 0) return;
  tickCountdown_ = statements >= static_cast<size_t>(tickCountdown_)
                       ? 1
                       : tickCountdown_ - static_cast<int>(statements);
  Tick();
}

void Interpreter::Tick() {
  if (--tickCountdown_ > 0) return;
  tickCountdown_ = 256;
  if (!host.Tick()) throw ScriptAbort{};
}

Flow Interpreter::ExecBlock(const Block& block) {
  for (const StmtPtr& stmt : block) {
    Tick();
    frame_->position = stmt->position;
    try {
      Flow flow = stmt->Exec(*this);
      if (!pending_.empty()) RunPendingTerminates();
      if (flow != Flow::Normal) return flow;
    } catch (ScriptError& error) {
      if (error.line == 0) {
        error.line = stmt->position.line;
        error.column = stmt->position.column;
        const Program* program = frame_->program;
        if (program && error.line >= 1 &&
            static_cast<size_t>(error.line) <= program->lines.size()) {
          error.lineText = program->lines[static_cast<size_t>(error.line - 1)];
        }
      }
      if (!frame_->resumeNext) throw;
      RecordError(error);
    }
  }
  return Flow::Normal;
}

// The variable a name stands for; null when it names no variable.
static Variant* NameReference(Interpreter& interp, const NameExpr& name) {
  switch (name.kind) {
    case NameKind::Local:
      return interp.frame().slots[static_cast<size_t>(name.slot)];
    case NameKind::Field:
      return &MeFields(interp)[static_cast<size_t>(name.slot)];
    case NameKind::Global:
      if (name.global->kind != GlobalKind::Variable) return nullptr;
      if (name.checkDeclared && !name.global->declared) {
        if (Variant* added = interp.AddedLocal(name.name)) return added;
        RaiseScriptError(script_errors::kVariableUndefined);
      }
      name.global->declared = true;
      return &name.global->value;
    default:
      return nullptr;
  }
}

// The array element `x(i)`, also of nested arrays (`x(0)(1)`); null when the expression
// names no element. `locked` receives every array the element pointer points into.
static Variant* ElementReference(Interpreter& interp, const Expr& expr,
                                 std::vector<ScriptArray*>* locked) {
  const CallExpr& call = *expr.AsCall();
  if (call.args.empty()) return nullptr;
  if (const NameExpr* name = call.callee->AsName()) {  // x(i), the usual case
    Variant* base = NameReference(interp, *name);
    if (!base || !base->IsArray()) return nullptr;
    const std::vector<int32_t> indexes = interp.EvalIndexes(call.args);
    // Reading an index may have run code that put something else in the variable.
    if (!base->IsArray()) return nullptr;
    Variant* element = &base->ArrayValue().At(indexes);  // may raise 9: nothing locked yet
    if (locked) locked->push_back(&base->ArrayValue());
    return element;
  }
  // The index lists of x(i)(j)..., outermost first, down to the name x.
  std::vector<const CallExpr*> chain;
  const Expr* inner = &expr;
  while (auto* call = inner->AsCall()) {
    if (call->args.empty()) return nullptr;
    chain.push_back(call);
    inner = call->callee.get();
  }
  const NameExpr* name = inner->AsName();
  if (chain.empty() || !name) return nullptr;
  Variant* base = NameReference(interp, *name);
  if (!base || !base->IsArray()) return nullptr;
  // Every index is read before any element is taken, since reading one may run code that
  // resizes an array on the way.
  std::vector<std::vector<int32_t>> indexes(chain.size());
  for (size_t k = chain.size(); k-- > 0;) indexes[k] = interp.EvalIndexes(chain[k]->args);
  Variant* at = base;
  std::vector<ScriptArray*> arrays;
  for (size_t k = chain.size(); k-- > 0;) {
    if (!at->IsArray()) {
      if (at == base || at->IsObject()) return nullptr;
      RaiseScriptError(script_errors::kTypeMismatch);  // x(0)(1) where x(0) holds no array
    }
    arrays.push_back(&at->ArrayValue());
    at = &at->ArrayValue().At(indexes[k]);
  }
  if (locked) locked->insert(locked->end(), arrays.begin(), arrays.end());
  return at;
}

// A variable the expression names (a local, global variable, field or array element); null
// for anything else.
static Variant* ReferenceOf(Interpreter& interp, const Expr& expr,
                            std::vector<ScriptArray*>* locked) {
  if (auto* name = expr.AsName()) return NameReference(interp, *name);
  if (expr.AsCall()) return ElementReference(interp, expr, locked);
  return nullptr;
}

Variant* Interpreter::Reference(const Expr& expr) { return ReferenceOf(*this, expr, nullptr); }

std::vector<Variant> Interpreter::EvalArgs(const std::vector<ExprPtr>& args) {
  std::vector<Variant> values;
  values.reserve(args.size());
  for (const ExprPtr& arg : args) values.push_back(arg ? arg->Eval(*this) : Variant::Missing());
  return values;
}

std::vector<int32_t> Interpreter::EvalIndexes(const std::vector<ExprPtr>& args) {
  std::vector<int32_t> indexes;
  indexes.reserve(args.size());
  for (const ExprPtr& arg : args) {
    if (!arg) RaiseScriptError(script_errors::kSubscriptOutOfRange);
    indexes.push_back(ToLong(DefaultValue(arg->Eval(*this))));
  }
  return indexes;
}

Variant Interpreter::IndexValue(const Variant& value, const std::vector<ExprPtr>& args) {
  const bool plain = !HasParens(args);
  if (value.IsArray()) {
    if (plain) return value;
    if (args.empty()) RaiseScriptError(script_errors::kSubscriptOutOfRange);  // `arr()`
    std::vector<int32_t> indexes = EvalIndexes(args);
    // Reading an index may have run code that put something else where the array was.
    if (!value.IsArray()) RaiseScriptError(script_errors::kTypeMismatch);
    return value.ArrayValue().At(indexes);
  }
  if (value.IsObject()) {
    if (plain) return value;
    if (!value.ObjectValue()) RaiseScriptError(script_errors::kObjectVariableNotSet);
    // `obj()` and `obj(x)` call the object's default member.
    std::shared_ptr<ScriptObject> object = value.ObjectValue();
    if (auto* instance = dynamic_cast<ClassInstance*>(object.get())) {
      return InstanceGet(*instance, object, u"", &args, {});
    }
    if (const Procedure* procedure = ReferencedProcedure(*object)) {
      return CallProcedure(*procedure, nullptr, &args, {});
    }
    std::vector<Variant> values = EvalArgs(args);
    return object->Get(u"", values);
  }
  if (plain) return value;
  RaiseScriptError(script_errors::kTypeMismatch);  // `n()` or `n(1)` on a number
}

// A value a built-in or a host object made counts against the engine's memory budget.
static void ChargeNewValue(const Variant& value) {
  if (value.IsString()) {
    ChargeValueBytes(value.StringValue().size() * sizeof(char16_t));
  } else if (value.IsArray()) {
    size_t bytes = value.ArrayValue().Size() * sizeof(Variant);
    for (const Variant& element : value.ArrayValue().Elements()) {
      if (element.IsString()) bytes += element.StringValue().size() * sizeof(char16_t);
    }
    ChargeValueBytes(bytes);
  }
}

static Variant CallBuiltin(Interpreter& interp, const BuiltinEntry& entry,
                           const std::vector<ExprPtr>& args, bool asStatement = false) {
  if (entry.isConstant) {
    if (!args.empty()) RaiseScriptError(script_errors::kTypeMismatch);
    return entry.constant;
  }
  if (entry.isStatement && !asStatement) RaiseScriptError(script_errors::kTypeMismatch);
  std::vector<Variant> values = interp.EvalArgs(args);
  if (static_cast<int>(values.size()) < entry.minArgs ||
      (entry.maxArgs >= 0 && static_cast<int>(values.size()) > entry.maxArgs)) {
    RaiseScriptError(
        script_errors::kWrongArguments,
        u"Wrong number of arguments or invalid property assignment: '" + entry.name + u"'");
  }
  size_t work = 0;
  for (const Variant& value : values) {
    if (value.IsString()) work += value.StringValue().size();
  }
  CallContext context{interp.host, interp.random, interp.locale};
  Variant result = entry.function(context, values);
  if (result.IsString()) work += result.StringValue().size();
  if (result.IsArray()) work += result.ArrayValue().Elements().size();
  interp.ChargeWork(work);
  ChargeNewValue(result);
  return result;
}

void Interpreter::CallBuiltinAsStatement(const BuiltinEntry& entry,
                                         const std::vector<ExprPtr>& args) {
  // A Byte result thrown away is a type a statement cannot take: `Call CByte(1)`; so is the
  // result of the numeric and date conversions (`Call CInt(1)`), once the conversion itself
  // has raised whatever it raises.
  static constexpr std::u16string_view kConversions[] = {u"CCur", u"CDate", u"CDbl",
                                                         u"CInt", u"CLng",  u"CSng"};
  const Variant result = CallBuiltin(*this, entry, args, true);
  bool unsupported = result.Type() == VarType::Byte;
  for (std::u16string_view name : kConversions) unsupported |= EqualsNoCaseU16(entry.name, name);
  if (unsupported) RaiseScriptError(script_errors::kUnsupportedType);
}

void Interpreter::CallNameAsStatement(const NameExpr& name) {
  const Variant* value = nullptr;
  switch (name.kind) {
    case NameKind::Local:
      value = frame_->slots[static_cast<size_t>(name.slot)];
      break;
    case NameKind::Field:
      value = &MeFields(*this)[static_cast<size_t>(name.slot)];
      break;
    case NameKind::Builtin:
      return CallBuiltinAsStatement(*name.builtin, NoArgs());
    case NameKind::Global: {
      GlobalEntry& entry = *name.global;
      const bool variable = entry.kind == GlobalKind::Variable;
      if (variable && !entry.declared && !name.checkDeclared) {
        if (const BuiltinEntry* builtin = builtins_.Find(name.name)) {
          return CallBuiltinAsStatement(*builtin, NoArgs());
        }
        RaiseScriptError(script_errors::kTypeMismatch, u"Type mismatch: '" + name.name + u"'");
      }
      if (variable || entry.kind == GlobalKind::Constant || entry.kind == GlobalKind::HostObject) {
        value = &entry.value;
        if (variable && name.checkDeclared && !entry.declared) {
          value = AddedLocal(name.name);
          if (!value) RaiseScriptError(script_errors::kVariableUndefined);
        }
      }
      break;
    }
    default:
      break;
  }
  if (!value) {
    CallName(name, NoArgs());
    return;
  }
  if (!value->IsObject()) {
    RaiseScriptError(script_errors::kTypeMismatch, u"Type mismatch: '" + name.name + u"'");
  }
  // An object alone as a statement calls its default member.
  static const std::vector<ExprPtr> emptyParens;
  IndexValue(Variant(*value), emptyParens);
}

Variant Interpreter::CallName(const NameExpr& name, const std::vector<ExprPtr>& args) {
  switch (name.kind) {
    case NameKind::Local:
      return IndexValue(*frame_->slots[static_cast<size_t>(name.slot)], args);
    case NameKind::Field:
      return IndexValue(MeFields(*this)[static_cast<size_t>(name.slot)], args);
    case NameKind::MemberProc: {
      ClassInstance* me = frame_->me;
      if (!me) RaiseScriptError(script_errors::kObjectRequired);
      return InstanceGet(*me, frame_->meHold, name.name, &args, {});
    }
    case NameKind::Builtin:
      return CallBuiltin(*this, *name.builtin, args);
    case NameKind::Special:
      return CallSpecial(name.special, EvalArgs(args));
    case NameKind::Global:
      break;
  }
  GlobalEntry& entry = *name.global;
  switch (entry.kind) {
    case GlobalKind::Variable:
      if (!entry.declared) {
        if (name.checkDeclared) {
          if (Variant* added = AddedLocal(name.name)) return IndexValue(*added, args);
          RaiseScriptError(script_errors::kVariableUndefined);
        }
        if (const BuiltinEntry* builtin = builtins_.Find(name.name)) {
          return CallBuiltin(*this, *builtin, args);
        }
        if (HasParens(args)) {
          RaiseScriptError(script_errors::kTypeMismatch, u"Type mismatch: '" + name.name + u"'");
        }
      }
      return IndexValue(entry.value, args);
    case GlobalKind::Constant:
    case GlobalKind::HostObject:
      return IndexValue(entry.value, args);
    case GlobalKind::Procedure:
      return CallProcedure(*entry.procedure, nullptr, &args, {});
    case GlobalKind::Class:
      RaiseScriptError(script_errors::kTypeMismatch);
    case GlobalKind::HostProcedure: {
      std::vector<Variant> values = EvalArgs(args);
      if (static_cast<int>(values.size()) < entry.minArgs ||
          (entry.maxArgs >= 0 && static_cast<int>(values.size()) > entry.maxArgs)) {
        RaiseScriptError(script_errors::kWrongArguments);
      }
      return entry.host(values);
    }
  }
  return Variant();
}

Variant Interpreter::CallMember(const Variant& object, std::u16string_view name,
                                const std::vector<ExprPtr>& args) {
  if (!object.IsObject()) RaiseScriptError(script_errors::kObjectRequired);
  std::shared_ptr<ScriptObject> target = object.ObjectValue();
  if (!target) RaiseScriptError(script_errors::kObjectRequired);  // Nothing.Member
  if (auto* instance = dynamic_cast<ClassInstance*>(target.get())) {
    return InstanceGet(*instance, target, name, &args, {});
  }
  std::vector<Variant> values = EvalArgs(args);
  Variant result = target->Get(name, values);
  ChargeNewValue(result);
  return result;
}

Variant Interpreter::CallProcedure(const Procedure& procedure, std::shared_ptr<ScriptObject> me,
                                   const std::vector<ExprPtr>* argExprs,
                                   std::span<Variant> argValues, const Variant* assignedValue) {
  const size_t given = (argExprs ? argExprs->size() : argValues.size()) + (assignedValue ? 1 : 0);
  if (given != procedure.params.size()) {
    RaiseScriptError(
        script_errors::kWrongArguments,
        u"Wrong number of arguments or invalid property assignment: '" + procedure.name + u"'");
  }
  Frame frame;
  frame.storage.resize(static_cast<size_t>(procedure.localCount));
  frame.slots.resize(frame.storage.size());
  for (size_t i = 0; i < frame.storage.size(); ++i) frame.slots[i] = &frame.storage[i];
  std::vector<ScriptArray*> locks;
  struct LockRelease {
    std::vector<ScriptArray*>& arrays;
    ~LockRelease() {
      for (ScriptArray* array : arrays) --array->locks;
    }
  } release{locks};
  const size_t passed = given - (assignedValue ? 1 : 0);
  for (size_t i = 0; i < passed; ++i) {
    if (argExprs) {
      const ExprPtr& arg = (*argExprs)[i];
      if (!arg) RaiseScriptError(script_errors::kWrongArguments);
      if (procedure.params[i].byRef) {
        const size_t before = locks.size();
        Variant* ref = ReferenceOf(*this, *arg, &locks);
        for (size_t k = before; k < locks.size(); ++k) ++locks[k]->locks;
        if (ref) {
          frame.slots[i] = ref;
          continue;
        }
      }
      frame.storage[i] = arg->Eval(*this);
    } else {
      frame.storage[i] = argValues[i];
    }
  }
  if (assignedValue) frame.storage[passed] = *assignedValue;
  for (const auto& [name, literal] : procedure.constants) {
    ConstantValue(*this, *literal, frame.storage[static_cast<size_t>(name->slot)]);
  }
  frame.procedure = &procedure;
  frame.program = procedure.program;
  frame.meHold = std::move(me);
  frame.me = dynamic_cast<ClassInstance*>(frame.meHold.get());
  {
    FrameScope scope(*this, frame);
    ExecBlock(procedure.body);
  }
  if (procedure.resultSlot >= 0)
    return std::move(frame.storage[static_cast<size_t>(procedure.resultSlot)]);
  return Variant();
}

Variant Interpreter::WithObject() const {
  if (frame_->withObjects.empty()) RaiseScriptError(script_errors::kUnqualifiedReference);
  return frame_->withObjects.back();
}

Variant Interpreter::MeValue() const {
  if (!frame_->meHold) RaiseScriptError(script_errors::kObjectRequired);
  return Variant::Object(frame_->meHold);
}

}  // namespace vendil
