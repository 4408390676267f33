// Running code: code a script gives Eval, Execute and ExecuteGlobal at run time, the
// programs kept for the procedures they define, GetRef, and the protected entry that every
// call from the host goes through.
#include <algorithm>

#include "script/class_instance_access.h"
#include "script/interpreter.h"
#include "script/procedure_ref.h"
#include "script/script_locale.h"
#include "script/value_limit.h"
#include "script/variant_convert.h"

namespace vendil {

// Eval, Execute, ExecuteGlobal and GetRef: code or a procedure's name given as a text.
Variant Interpreter::CallSpecial(int special, std::vector<Variant> values) {
  if (values.size() != 1) RaiseScriptError(script_errors::kWrongArguments);
  const Variant argument = DefaultValue(values[0]);
  // Eval(Null) is Null and Eval(Empty) Empty.
  if (special == 1 && (argument.IsNull() || argument.IsEmpty())) return argument;
  if (special != 1 && !argument.IsString()) RaiseScriptError(script_errors::kTypeMismatch);
  std::u16string code = ToString(argument);
  if (special == 4) return ProcedureReference(*this, code);
  // Code whose syntax is wrong raises its compilation error (`Execute "r = 1e309"` is 1031
  // "Invalid number", Err.Source "Microsoft VBScript compilation error").
  if (special == 1) return EvalText(code, true);
  ExecuteText(code, special == 3);
  return Variant();
}

void Interpreter::KeepProgram(const std::shared_ptr<const Program>& program) {
  if (program->procedures.empty() && program->classes.empty()) return;
  if (std::find(programs_.begin(), programs_.end(), program) != programs_.end()) return;
  ChargeValueBytes(program->sourceUnits * 32);
  programs_.push_back(program);
}

void Interpreter::AddFrameLocals(const Program& program) {
  for (const std::u16string& name : program.newLocals) {
    frame_->addedNames.push_back(name);
    frame_->addedStorage.emplace_back();
    frame_->slots.push_back(&frame_->addedStorage.back());
  }
}

Variant* Interpreter::AddedLocal(std::u16string_view name) {
  for (size_t i = 0; i < frame_->addedNames.size(); ++i) {
    if (EqualsNoCaseU16(frame_->addedNames[i], name)) return &frame_->addedStorage[i];
  }
  return nullptr;
}

Variant Interpreter::EvalText(std::u16string_view code, bool inCurrentScope) {
  const ClassDef* cls = frame_->me ? &frame_->me->def() : nullptr;
  const bool local = inCurrentScope && frame_->procedure;
  std::shared_ptr<Program> program =
      Compile(code, true, inCurrentScope ? frame_->procedure : nullptr,
              inCurrentScope ? cls : nullptr, local ? &frame_->addedNames : nullptr);
  program->runByExecute = true;
  if (local) AddFrameLocals(*program);
  return program->expression->Eval(*this);
}

void Interpreter::ExecuteText(std::u16string_view code, bool global) {
  const ClassDef* cls = frame_->me ? &frame_->me->def() : nullptr;
  const bool local = !global && frame_->procedure;
  std::shared_ptr<Program> program =
      Compile(code, false, global ? nullptr : frame_->procedure, global ? nullptr : cls,
              local ? &frame_->addedNames : nullptr);
  program->runByExecute = true;
  KeepProgram(program);
  if (local) AddFrameLocals(*program);
  Define(*program);
  if (global && frame_ != &globalFrame_) {
    Frame* saved = frame_;
    frame_ = &globalFrame_;
    try {
      RunTopLevel(*program);
    } catch (...) {
      frame_ = saved;
      throw;
    }
    frame_ = saved;
    return;
  }
  // Code run by Execute ends its own On Error state; the caller's stays.
  const bool resume = frame_->resumeNext;
  frame_->resumeNext = false;
  const Program* saved = frame_->program;
  frame_->program = program.get();
  struct Restore {
    Frame& frame;
    bool resume;
    const Program* program;
    ~Restore() {
      frame.resumeNext = resume;
      frame.program = program;
    }
  } restore{*frame_, resume, saved};
  ExecBlock(program->topLevel);
}

ScriptErrorInfo Interpreter::InfoOf(const ScriptError& error) const {
  ScriptErrorInfo info;
  info.number = error.number;
  info.description = error.description;
  info.source = error.source;
  info.line = error.line;
  info.column = error.column;
  info.lineText = error.lineText;
  return info;
}

std::optional<ScriptErrorInfo> Interpreter::Protect(const std::function<void()>& action) {
  char base = 0;
  const bool outermost = stackBase == nullptr;
  if (outermost) stackBase = &base;
  meter_.maxValueBytes = maxValueBytes;
  meter_.budgetBytes = maxHeldBytes;
  meter_.tickCountdown = &tickCountdown_;
  ValueMeterScope metering(outermost ? &meter_ : CurrentValueMeter());
  // The script's locale is in force while it runs; SetLocale changes it for the rest of it.
  std::optional<LocaleScope> localeInForce;
  if (outermost) localeInForce.emplace(locale);
  std::optional<ScriptErrorInfo> result;
  try {
    action();
  } catch (const ScriptError& error) {
    result = InfoOf(error);
  } catch (const ScriptAbort&) {
    ScriptErrorInfo info;
    info.aborted = true;
    info.description = u"The script was stopped";
    result = info;
  }
  if (outermost) {
    stackBase = nullptr;
    frame_ = &globalFrame_;
    depth_ = 0;
    globalFrame_.withObjects.clear();
    globalFrame_.resumeNext = false;
  }
  return result;
}

}  // namespace vendil
