// Declarations: the top-level statement (procedures, classes, Option Explicit), Dim, ReDim,
// Const and Erase, array sizes, Sub/Function/Property with their parameters, and classes
// with their fields and members.
#include "script/compile_errors.h"
#include "script/parser_internal.h"
#include "script/variant_convert.h"

namespace vendil {

void Parser::ParseTopStatement() {
  const Token& t = Peek();
  if (IsWord(t, u"class")) return ParseClass();
  if (IsWord(t, u"option")) {
    Next();
    ExpectWord(u"explicit", CompileError::SyntaxError);
    program_->optionExplicit = true;
    ExpectEnd();
    return;
  }
  if (AtBlockEnd()) Fail(CompileError::ExpectedStatement);
  if (StmtPtr stmt = ParseStatement()) program_->topLevel.push_back(std::move(stmt));
  ExpectEnd();
}

StmtPtr Parser::ParseDim(SourcePosition at) {
  auto stmt = std::make_unique<DimStmt>(at);
  do {
    DimItem item;
    const Token& nameToken = Peek();
    ExpectName();
    if (current_->declaredSet.count(FoldCaseU16(nameToken.text)))
      Fail(CompileError::NameRedefined, nameToken);
    Declare(nameToken.text);
    DeclareAtTop(nameToken);
    item.target = NameNode(nameToken);
    if (AcceptOp(u"(")) ParseArrayBounds(item, true);
    stmt->items.push_back(std::move(item));
  } while (AcceptOp(u","));
  return stmt;
}

StmtPtr Parser::ParseReDim(SourcePosition at) {
  Next();
  auto stmt = std::make_unique<ReDimStmt>(at);
  stmt->preserve = AcceptWord(u"preserve");
  do {
    DimItem item;
    const Token& nameToken = Peek();
    ExpectName();
    // In a procedure, and at the top of Execute code run inside one, ReDim resizes what the
    // name already stands for.
    if (current_->procedure || (current_ == top_ && enclosing_)) {
      current_->redimmed.push_back(FoldCaseU16(nameToken.text));
    } else {
      Declare(nameToken.text);
    }
    item.target = NameNode(nameToken);
    ExpectOp(u"(", CompileError::ExpectedOpenParen);
    ParseArrayBounds(item, false);
    stmt->items.push_back(std::move(item));
  } while (AcceptOp(u","));
  return stmt;
}

StmtPtr Parser::ParseConst() {
  const SourcePosition at = At(Next());
  auto stmt = std::make_unique<ConstStmt>(at);
  do {
    const Token& nameToken = Peek();
    ExpectName();
    Declare(nameToken.text);
    DeclareAtTop(nameToken);
    ExprPtr target = NameNode(nameToken);
    ExpectOp(u"=", CompileError::ExpectedEquals);
    stmt->items.emplace_back(std::move(target), ParseExpr());
    // A constant is known before its line and in a branch that never runs; code Execute runs
    // inside a procedure defines its constants as it goes.
    const auto& [name, value] = stmt->items.back();
    if (value->IsLiteral()) {
      auto* constant = static_cast<const NameExpr*>(name.get());
      if (current_->procedure) {
        current_->procedure->constants.emplace_back(constant, value.get());
      } else if (!enclosing_) {
        program_->constants.emplace_back(constant, value.get());
      }
    }
  } while (AcceptOp(u","));
  return stmt;
}

StmtPtr Parser::ParseErase(SourcePosition at) {
  Next();
  auto stmt = std::make_unique<EraseStmt>(at);
  do {
    stmt->targets.push_back(NameNode(Peek()));
    ExpectName();
  } while (AcceptOp(u","));
  return stmt;
}

// The sizes of an array after its "(", up to and with the ")": `a(3, 4)`; `mayBeEmpty` for
// Dim's dynamic array `a()`, which ReDim does not allow.
void Parser::ParseArrayBounds(DimItem& item, bool mayBeEmpty) {
  item.isArray = true;
  if (mayBeEmpty && AcceptOp(u")")) return;
  do {
    item.bounds.push_back(ParseExpr());
  } while (AcceptOp(u","));
  ExpectOp(u")", CompileError::ExpectedCloseParen);
}

std::unique_ptr<Procedure> Parser::ParseProcedure(bool isPublic, ClassDef* owner) {
  auto proc = std::make_unique<Procedure>();
  proc->isPublic = isPublic;
  proc->owner = owner;
  proc->program = program_.get();
  if (AcceptWord(u"default")) {
    if (!isPublic) Fail(CompileError::DefaultMustGoWithPublic);
    proc->isDefault = true;
  }
  std::u16string endWord;
  if (AcceptWord(u"sub")) {
    proc->kind = ProcKind::Sub;
    endWord = u"sub";
  } else if (AcceptWord(u"function")) {
    proc->kind = ProcKind::Function;
    endWord = u"function";
  } else if (AcceptWord(u"property")) {
    if (!owner) Fail(CompileError::MustBeDefinedInsideAClass);
    endWord = u"property";
    if (AcceptWord(u"get")) {
      proc->kind = ProcKind::PropertyGet;
    } else if (AcceptWord(u"let")) {
      proc->kind = ProcKind::PropertyLet;
    } else if (AcceptWord(u"set")) {
      proc->kind = ProcKind::PropertySet;
    } else {
      Fail(CompileError::ExpectedLetOrSetOrGetInPropertyDeclaration);
    }
  } else {
    Fail(CompileError::ExpectedStatement);
  }
  proc->name = ExpectName();
  if (AcceptOp(u"(")) {
    if (!AcceptOp(u")")) {
      do {
        Parameter param;
        if (AcceptWord(u"byval")) {
          param.byRef = false;
        } else {
          AcceptWord(u"byref");
        }
        param.name = ExpectName();
        if (AcceptOp(u"(")) ExpectOp(u")", CompileError::ExpectedCloseParen);
        proc->params.push_back(std::move(param));
      } while (AcceptOp(u","));
      ExpectOp(u")", CompileError::ExpectedCloseParen);
    }
  }
  if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) &&
      proc->params.empty()) {
    Fail(CompileError::PropertySetOrLetMustHaveAtLeastOneArgument);
  }
  // The body may start on the header's line: `Sub P() x = 5 End Sub`.
  auto scope = std::make_unique<Scope>();
  scope->procedure = proc.get();
  scope->classDef = owner;
  Scope* saved = current_;
  current_ = scope.get();
  scopes_.push_back(std::move(scope));
  // A procedure written inside a loop of the top level is not inside that loop.
  const int savedDo = doDepth_, savedFor = forDepth_;
  doDepth_ = forDepth_ = 0;
  proc->body = ParseBlock();
  doDepth_ = savedDo;
  forDepth_ = savedFor;
  current_ = saved;
  const CompileError missingEnd = endWord == u"sub"        ? CompileError::ExpectedSub
                                  : endWord == u"function" ? CompileError::ExpectedFunction
                                                           : CompileError::ExpectedProperty;
  if (!IsWord(Peek(), u"end")) Fail(missingEnd);
  Next();
  if (!AcceptWord(endWord)) Fail(missingEnd);
  // `End Function End Class` may share a line.
  if (!(owner && IsWord(Peek(), u"end"))) ExpectEnd();
  return proc;
}

void Parser::ParseClass() {
  Next();
  auto def = std::make_unique<ClassDef>();
  def->name = ExpectName();
  ExpectEnd();
  SkipEnds();
  while (!IsWord(Peek(), u"end")) {
    if (Peek().kind == TokenKind::EndOfText) Fail(CompileError::ExpectedClass);
    bool isPublic = true;
    bool hadScope = false;
    if (AcceptWord(u"public")) {
      hadScope = true;
    } else if (AcceptWord(u"private")) {
      isPublic = false;
      hadScope = true;
    }
    const Token& t = Peek();
    if (IsWord(t, u"sub") || IsWord(t, u"function") || IsPropertyStart() || IsWord(t, u"default")) {
      def->procedures.push_back(ParseProcedure(isPublic, def.get()));
    } else if (IsWord(t, u"dim") || hadScope) {
      if (IsWord(t, u"dim")) Next();
      if (IsWord(Peek(), u"const")) Fail(CompileError::ExpectedStatement);
      ParseClassFields(*def, isPublic);
    } else {
      Fail(CompileError::ExpectedStatement);
    }
    SkipEnds();
  }
  Next();
  ExpectWord(u"class", CompileError::ExpectedClass);
  ExpectEnd();
  GatherClassMembers(*def);
  program_->classes.push_back(std::move(def));
}

void Parser::ParseClassFields(ClassDef& def, bool isPublic) {
  do {
    const std::u16string name = ExpectName();
    ClassMember member;
    member.name = name;
    member.isPublic = isPublic;
    member.field = def.fieldCount++;
    if (AcceptOp(u"(")) {
      DimItem item;
      ParseArrayBounds(item, true);
      def.fieldDims.push_back(std::move(item));
      def.fieldDimIndex.push_back(member.field);
    }
    if (FindMember(def, name)) Fail(CompileError::NameRedefined);
    def.members.push_back(std::move(member));
  } while (AcceptOp(u","));
  // `Public x End Class` may share a line.
  if (!IsWord(Peek(), u"end")) ExpectEnd();
}

// Members by name; procedures of one name (Property Get/Let/Set) share one member.
void Parser::GatherClassMembers(ClassDef& def) {
  for (auto& proc : def.procedures) {
    ClassMember* member = FindMember(def, proc->name);
    if (!member) {
      def.members.push_back(ClassMember{});
      member = &def.members.back();
      member->name = proc->name;
    } else if (member->field >= 0) {
      Fail(CompileError::NameRedefined);
    }
    member->isPublic = member->isPublic && proc->isPublic;
    if (proc->isPublic) member->isPublic = true;
    switch (proc->kind) {
      case ProcKind::PropertyGet:
        member->getter = proc.get();
        break;
      case ProcKind::PropertyLet:
        member->letter = proc.get();
        break;
      case ProcKind::PropertySet:
        member->setter = proc.get();
        break;
      default:
        if (member->method) Fail(CompileError::NameRedefined);
        member->method = proc.get();
    }
    if (EqualsNoCaseU16(proc->name, u"class_initialize") ||
        EqualsNoCaseU16(proc->name, u"class_terminate")) {
      if (!proc->params.empty()) Fail(CompileError::ClassInitializeOrTerminateDoNotHaveArguments);
      if (EqualsNoCaseU16(proc->name, u"class_initialize")) {
        def.initialize = proc.get();
      } else {
        def.terminate = proc.get();
      }
    }
  }
  for (auto& proc : def.procedures) {
    if (!proc->isDefault) continue;
    if (def.defaultMember) Fail(CompileError::CannotHaveMultipleDefaultPropertyMethodInAClass);
    def.defaultMember = FindMember(def, proc->name);
  }
}

ClassMember* Parser::FindMember(ClassDef& def, std::u16string_view name) {
  for (auto& member : def.members) {
    if (EqualsNoCaseU16(member.name, name)) return &member;
  }
  return nullptr;
}

}  // namespace vendil
