// Binding every name the parser met to what it stands for: a local slot of its procedure, a
// field or member of its class, a global entry, a built-in, or one of the names the
// interpreter handles itself (Eval, Execute, ExecuteGlobal, GetRef).
#include <algorithm>

#include "script/interpreter.h"
#include "script/parser_internal.h"
#include "script/variant_convert.h"

namespace vendil {

void Parser::Resolve() {
  // Names the top level declares or assigns are globals, so procedures see them; the top
  // level of Execute code inside a procedure is that procedure's, and its names are local.
  std::unordered_set<std::u16string> topNames;
  if (!enclosing_) {
    topNames.insert(top_->declared.begin(), top_->declared.end());
    const std::unordered_set<const NameExpr*> atTop(top_->names.begin(), top_->names.end());
    for (NameExpr* name : assigned_) {
      if (atTop.count(name)) topNames.insert(FoldCaseU16(name->name));
    }
  }
  for (const auto& proc : program_->procedures) topNames.insert(FoldCaseU16(proc->name));
  for (const auto& cls : program_->classes) topNames.insert(FoldCaseU16(cls->name));
  topNames_ = &topNames;
  for (auto& scope : scopes_) ResolveScope(*scope);
  for (NewExpr* node : newNodes_) node->global = &interp_.GlobalFor(node->className);
  topNames_ = nullptr;
}

bool Parser::IsKnownGlobal(const std::u16string& folded) const {
  if (topNames_->count(folded)) return true;
  const GlobalEntry* existing = interp_.FindGlobal(folded);
  return existing && (existing->kind != GlobalKind::Variable || existing->declared);
}

void Parser::ResolveScope(Scope& scope) {
  std::unordered_map<std::u16string, int> locals;
  Procedure* proc = scope.procedure;
  const ClassDef* cls = scope.classDef;
  if (!proc && enclosing_) {
    for (size_t i = 0; i < enclosing_->localNames.size(); ++i) {
      locals.emplace(FoldCaseU16(enclosing_->localNames[i]), static_cast<int>(i));
    }
    nextFrameSlot_ = static_cast<int>(enclosing_->localNames.size());
    if (addedLocals_) {
      for (const std::u16string& added : *addedLocals_) {
        locals.emplace(FoldCaseU16(added), nextFrameSlot_++);
      }
    }
    // What this code declares belongs to the procedure it runs in, as in a procedure body.
    for (const auto& name : scope.declared) AddFrameLocal(locals, name);
    cls = enclosingClass_;
    for (const auto& name : scope.redimmed) {
      if (locals.count(name) || (cls && cls->Find(name)) || IsKnownGlobal(name)) continue;
      AddFrameLocal(locals, name);
    }
  } else if (!proc && enclosingClass_) {
    cls = enclosingClass_;
  }
  std::u16string ownName;
  if (proc) {
    for (const auto& param : proc->params) AddLocal(*proc, locals, param.name);
    if (proc->kind == ProcKind::Function || proc->kind == ProcKind::PropertyGet) {
      proc->resultSlot = AddLocal(*proc, locals, proc->name);
      ownName = FoldCaseU16(proc->name);
    }
    for (const auto& name : scope.declared) AddLocal(*proc, locals, name);
    // ReDim resizes the class field or global variable of its name; it declares a variable of
    // the procedure only when the name is known nowhere else.
    for (const auto& name : scope.redimmed) {
      if (locals.count(name) || (cls && cls->Find(name)) || IsKnownGlobal(name)) continue;
      AddLocal(*proc, locals, name);
    }
  }
  for (NameExpr* name : scope.names) {
    const std::u16string key = FoldCaseU16(name->name);
    if (!(name->isCallee && key == ownName)) {
      auto it = locals.find(key);
      if (it != locals.end()) {
        name->kind = NameKind::Local;
        name->slot = it->second;
        continue;
      }
    }
    if (cls) {
      if (const ClassMember* member = cls->Find(name->name)) {
        if (member->field >= 0) {
          name->kind = NameKind::Field;
          name->slot = member->field;
        } else {
          name->kind = NameKind::MemberProc;
          name->member = member;
        }
        continue;
      }
    }
    // An entry made only because some code read the name is no variable yet: a procedure
    // that assigns such a name gets a local, as when the name was never seen.
    if (!IsKnownGlobal(key)) {
      if (key == u"eval" || key == u"execute" || key == u"executeglobal" || key == u"getref") {
        name->kind = NameKind::Special;
        name->special = key == u"eval"            ? 1
                        : key == u"execute"       ? 2
                        : key == u"executeglobal" ? 3
                                                  : 4;
        continue;
      }
      if (const BuiltinEntry* builtin = interp_.builtins().Find(name->name)) {
        name->kind = NameKind::Builtin;
        name->builtin = builtin;
        continue;
      }
      if (proc && !program_->optionExplicit) {
        auto slot = AddLocal(*proc, locals, name->name);
        name->kind = NameKind::Local;
        name->slot = slot;
        continue;
      }
      if (!proc && enclosing_ && !program_->optionExplicit) {
        name->kind = NameKind::Local;
        name->slot = AddFrameLocal(locals, name->name);
        continue;
      }
    }
    name->kind = NameKind::Global;
    name->global = &interp_.GlobalFor(name->name);
    name->checkDeclared = program_->optionExplicit && !top_->declaredSet.count(key);
  }
}

// A local of the running frame that Execute code brings in; its slot follows every slot
// the frame has.
int Parser::AddFrameLocal(std::unordered_map<std::u16string, int>& locals,
                          const std::u16string& name) {
  const std::u16string key = FoldCaseU16(name);
  auto it = locals.find(key);
  if (it != locals.end()) return it->second;
  const int slot = nextFrameSlot_++;
  program_->newLocals.push_back(name);
  locals.emplace(key, slot);
  return slot;
}

int Parser::AddLocal(Procedure& proc, std::unordered_map<std::u16string, int>& locals,
                     const std::u16string& name) {
  const std::u16string key = FoldCaseU16(name);
  auto it = locals.find(key);
  if (it != locals.end()) return it->second;
  const int slot = proc.localCount++;
  proc.localNames.push_back(name);
  locals.emplace(key, slot);
  return slot;
}

}  // namespace vendil
