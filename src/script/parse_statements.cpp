// The statement grammar: blocks, If, Select Case, the loops, Exit, On Error, With, Call, and
// the simple statement that is an assignment or a call written without Call.
#include <optional>

#include "script/compile_errors.h"
#include "script/parser_internal.h"
#include "script/variant_convert.h"

namespace vendil {

bool Parser::AtBlockEnd() const {
  const Token& t = Peek();
  if (t.kind == TokenKind::EndOfText) return true;
  static const std::u16string_view ends[] = {u"end",  u"else", u"elseif", u"case",
                                             u"loop", u"next", u"wend"};
  for (auto e : ends) {
    if (IsWord(t, e)) return true;
  }
  return false;
}

Block Parser::ParseBlock() {
  DepthGuard guard(*this);
  Block block;
  SkipEnds();
  while (!AtBlockEnd()) {
    if (StmtPtr stmt = ParseStatement()) block.push_back(std::move(stmt));
    if (!AtEnd() && !AtBlockEnd()) Fail(CompileError::ExpectedEndOfStatement);
    SkipEnds();
  }
  return block;
}

// The body of a loop or With; `depth` counts the ones around the code being parsed, for
// Exit Do, Exit For and the With object's `.name`.
Block Parser::ParseBodyWithin(int& depth) {
  ++depth;
  Block body = ParseBlock();
  --depth;
  return body;
}

void Parser::ExpectEndOf(std::u16string_view word, CompileError error) {
  ExpectWord(u"end", error);
  ExpectWord(word, error);
}

// One statement (not a procedure or class); null for statements that leave nothing to run.
StmtPtr Parser::ParseStatement() {
  DepthGuard guard(*this);
  const Token& t = Peek();
  const SourcePosition at = At(t);
  if (IsOp(t, u".") || IsOp(t, u"(")) return ParseSimple();
  if (t.kind != TokenKind::Name) Fail(CompileError::ExpectedStatement);
  if (t.bracketed) return ParseSimple();
  const std::u16string word = FoldCaseU16(t.text);
  if (IsProcedureStart()) return ParseHoistedProcedure();
  if (word == u"dim" || ((word == u"public" || word == u"private") && !current_->procedure)) {
    Next();
    if (IsWord(Peek(), u"const")) return ParseConst();
    return ParseDim(at);
  }
  if (word == u"redim") return ParseReDim(at);
  if (word == u"const") return ParseConst();
  if (word == u"set") {
    Next();
    ExprPtr target = ParsePostfix(ParsePrimaryTarget());
    ExpectOp(u"=", CompileError::ExpectedEquals);
    ExprPtr value = ParseExpr();
    return std::make_unique<AssignStmt>(at, std::move(target), std::move(value), true);
  }
  if (word == u"if") return ParseIf();
  if (word == u"select") return ParseSelect();
  if (word == u"for") return ParseFor();
  if (word == u"do") return ParseDo();
  if (word == u"while") return ParseWhile(at);
  if (word == u"exit") return ParseExit(at);
  if (word == u"on") return ParseOnError(at);
  if (word == u"call") {
    Next();
    ExprPtr call = ParsePostfix(ParsePrimaryTarget());
    MarkCallee(call.get());
    return std::make_unique<CallStmt>(at, std::move(call));
  }
  if (word == u"with") return ParseWith(at);
  if (word == u"erase") return ParseErase(at);
  if (word == u"option") {
    Next();
    ExpectWord(u"explicit", CompileError::SyntaxError);
    program_->optionExplicit = true;
    return nullptr;
  }
  // Stop breaks into a debugger; without one it does nothing.
  if (word == u"stop" && (Peek(1).kind == TokenKind::EndOfStatement ||
                          Peek(1).kind == TokenKind::EndOfText || IsWord(Peek(1), u"else"))) {
    Next();
    return nullptr;
  }
  if (word == u"class" || IsPropertyStart()) Fail(CompileError::ExpectedStatement);
  if (IsReservedWord(word)) Fail(CompileError::ExpectedStatement);
  return ParseSimple();
}

// A Sub or Function written inside a block of the top level (`If ... Then Sub A() ...`) is
// defined with the program, before anything runs, wherever its block is.
StmtPtr Parser::ParseHoistedProcedure() {
  if (current_->procedure) Fail(CompileError::ExpectedStatement);
  bool isPublic = true;
  if (AcceptWord(u"private")) {
    isPublic = false;
  } else {
    AcceptWord(u"public");
  }
  program_->procedures.push_back(ParseProcedure(isPublic, nullptr));
  return nullptr;
}

StmtPtr Parser::ParseIf() {
  const SourcePosition at = At(Next());
  auto stmt = std::make_unique<IfStmt>(at);
  ExprPtr condition = ParseExpr();
  ExpectWord(u"then", CompileError::ExpectedThen);
  if (!AtEnd() || (Peek().kind == TokenKind::EndOfStatement && Peek().text == u":")) {
    // One-line form: statements up to the line end, with an optional Else part.
    Block thenBlock = ParseLineStatements();
    stmt->branches.emplace_back(std::move(condition), std::move(thenBlock));
    if (AcceptWord(u"else")) stmt->elseBlock = ParseLineStatements();
    if (IsWord(Peek(), u"end") && IsWord(Peek(1), u"if")) {
      Next();
      Next();
    }
    return stmt;
  }
  stmt->branches.emplace_back(std::move(condition), ParseBlock());
  while (true) {
    if (AcceptWord(u"elseif")) {
      ExprPtr c = ParseExpr();
      ExpectWord(u"then", CompileError::ExpectedThen);
      stmt->branches.emplace_back(std::move(c), ParseBlock());
    } else if (AcceptWord(u"else")) {
      stmt->elseBlock = ParseBlock();
    } else {
      break;
    }
  }
  ExpectEndOf(u"if", CompileError::ExpectedIf);
  return stmt;
}

Block Parser::ParseLineStatements() {
  Block block;
  while (true) {
    while (Peek().kind == TokenKind::EndOfStatement && Peek().text == u":") Next();
    if (AtEnd() || IsWord(Peek(), u"else") || IsWord(Peek(), u"end")) break;
    if (StmtPtr s = ParseStatement()) block.push_back(std::move(s));
    const bool endIf = IsWord(Peek(), u"end") && IsWord(Peek(1), u"if");
    if (!(Peek().kind == TokenKind::EndOfStatement && Peek().text == u":") && !AtEnd() &&
        !IsWord(Peek(), u"else") && !endIf) {
      Fail(CompileError::ExpectedEndOfStatement);
    }
  }
  return block;
}

StmtPtr Parser::ParseSelect() {
  const SourcePosition at = At(Next());
  ExpectWord(u"case", CompileError::ExpectedCase);
  auto stmt = std::make_unique<SelectStmt>(at);
  stmt->subject = ParseExpr();
  ExpectEnd();
  SkipEnds();
  while (AcceptWord(u"case")) {
    if (AcceptWord(u"else")) {
      stmt->hasElse = true;
      stmt->elseBlock = ParseBlock();
      break;
    }
    std::vector<ExprPtr> values;
    do {
      values.push_back(ParseExpr());
    } while (AcceptOp(u","));
    // `Case 1  x = 200`: a statement may follow the label on its line without a colon.
    if (!AtEnd() &&
        (Peek().kind != TokenKind::Name || IsWord(Peek(), u"to") || IsWord(Peek(), u"is"))) {
      Fail(CompileError::ExpectedEndOfStatement);
    }
    stmt->cases.emplace_back(std::move(values), ParseBlock());
  }
  ExpectEndOf(u"select", CompileError::ExpectedSelect);
  return stmt;
}

// The variable a For or For Each assigns: a name, recorded as assigned in this scope.
ExprPtr Parser::ParseLoopVariable() {
  const Token& nameToken = Peek();
  ExpectName();
  NameExpr* name = MakeName(nameToken);
  assigned_.push_back(name);
  return ExprPtr(name);
}

// The loop body up to its Next, which may repeat the variable's name.
Block Parser::ParseForBody() {
  Block body = ParseBodyWithin(forDepth_);
  ExpectWord(u"next", CompileError::ExpectedNext);
  if (!AtEnd()) ExpectName();
  return body;
}

StmtPtr Parser::ParseFor() {
  const SourcePosition at = At(Next());
  if (AcceptWord(u"each")) {
    auto stmt = std::make_unique<ForEachStmt>(at);
    stmt->element = ParseLoopVariable();
    ExpectWord(u"in", CompileError::ExpectedIn);
    stmt->group = ParseExpr();
    ExpectEnd();
    stmt->body = ParseForBody();
    return stmt;
  }
  auto stmt = std::make_unique<ForStmt>(at);
  stmt->counter = ParseLoopVariable();
  ExpectOp(u"=", CompileError::ExpectedEquals);
  stmt->from = ParseExpr();
  ExpectWord(u"to", CompileError::ExpectedTo);
  stmt->to = ParseExpr();
  if (AcceptWord(u"step")) stmt->step = ParseExpr();
  ExpectEnd();
  stmt->body = ParseForBody();
  return stmt;
}

StmtPtr Parser::ParseDo() {
  const SourcePosition at = At(Next());
  auto stmt = std::make_unique<DoStmt>(at);
  if (IsWord(Peek(), u"while") || IsWord(Peek(), u"until")) {
    stmt->until = IsWord(Next(), u"until");
    stmt->condition = ParseExpr();
  }
  ExpectEnd();
  stmt->body = ParseBodyWithin(doDepth_);
  if (!IsWord(Peek(), u"loop")) Fail(CompileError::ExpectedLoop);
  Next();
  if (IsWord(Peek(), u"while") || IsWord(Peek(), u"until")) {
    if (stmt->condition) Fail(CompileError::ExpectedEndOfStatement);
    stmt->until = IsWord(Next(), u"until");
    stmt->condition = ParseExpr();
    stmt->testFirst = false;
  }
  return stmt;
}

StmtPtr Parser::ParseWhile(SourcePosition at) {
  Next();
  auto stmt = std::make_unique<DoStmt>(at);
  stmt->condition = ParseExpr();
  stmt->isWhileWend = true;
  ExpectEnd();
  stmt->body = ParseBlock();
  ExpectWord(u"wend", CompileError::ExpectedWend);
  return stmt;
}

StmtPtr Parser::ParseExit(SourcePosition at) {
  const Token& exitToken = Next();
  Flow flow;
  if (AcceptWord(u"do")) {
    if (doDepth_ == 0) Fail(CompileError::InvalidExitStatement, exitToken);
    flow = Flow::ExitDo;
  } else if (AcceptWord(u"for")) {
    if (forDepth_ == 0) Fail(CompileError::InvalidExitStatement, exitToken);
    flow = Flow::ExitFor;
  } else if (AcceptWord(u"sub") || AcceptWord(u"function") || AcceptWord(u"property")) {
    if (!current_->procedure) Fail(CompileError::InvalidExitStatement, exitToken);
    flow = Flow::ExitProcedure;
  } else {
    Fail(CompileError::InvalidExitStatement);
  }
  return std::make_unique<ExitStmt>(at, flow);
}

StmtPtr Parser::ParseOnError(SourcePosition at) {
  Next();
  ExpectWord(u"error", CompileError::SyntaxError);
  if (AcceptWord(u"resume")) {
    ExpectWord(u"next", CompileError::SyntaxError);
    return std::make_unique<OnErrorStmt>(at, true);
  }
  ExpectWord(u"goto", CompileError::SyntaxError);
  if (Peek().kind != TokenKind::Number || Peek().value.Type() != VarType::Integer ||
      Peek().value.IntegerValue() != 0) {
    Fail(CompileError::SyntaxError);
  }
  Next();
  return std::make_unique<OnErrorStmt>(at, false);
}

StmtPtr Parser::ParseWith(SourcePosition at) {
  Next();
  auto stmt = std::make_unique<WithStmt>(at);
  stmt->object = ParseExpr();
  ExpectEnd();
  stmt->body = ParseBlock();
  ExpectEndOf(u"with", CompileError::ExpectedWith);
  return stmt;
}

ExprPtr Parser::ParsePrimaryTarget() {
  const Token& t = Peek();
  if (IsOp(t, u".") || IsOp(t, u"(") || IsWord(t, u"me")) return ParsePrimary();
  ExpectName();
  return NameNode(t);
}

void Parser::MarkCallee(Expr* expr) {
  if (auto* name = dynamic_cast<NameExpr*>(expr)) name->isCallee = true;
  if (auto* call = dynamic_cast<CallExpr*>(expr)) MarkCallee(call->callee.get());
}

// An assignment or a call written as a statement: `x = 1`, `a(1) = 2`, `Foo a, b`.
// The call of the name a statement `Name (x).rest ...` begins with, inside the head read from
// it, when `(x)` holds one argument and the head built more on that call. Null for any other
// head.
static CallExpr* LeadingCall(Expr* head) {
  if (auto* call = dynamic_cast<CallExpr*>(head); call && call->callee->AsName()) return nullptr;
  Expr* node = head;
  while (node) {
    if (auto* member = dynamic_cast<MemberExpr*>(node)) {
      node = member->object.get();
    } else if (auto* call = dynamic_cast<CallExpr*>(node)) {
      if (call->callee->AsName()) {
        return call->args.size() == 1 && call->args[0] ? call : nullptr;
      }
      node = call->callee.get();
    } else {
      return nullptr;
    }
  }
  return nullptr;
}

StmtPtr Parser::ParseSimple() {
  const SourcePosition at = At(Peek());
  ExprPtr primary = ParsePrimaryTarget();
  // Where the '(' after a leading name stands, in case the statement turns out to be a call
  // of that name whose first argument begins with '(' (`Check (obj).Value = 1, "text"`).
  std::optional<ParseMark> nameOpen;
  if (primary->AsName() && IsOp(Peek(), u"(")) nameOpen = Mark();
  ExprPtr head = ParsePostfix(std::move(primary));
  const ParseMark callOpen = lastCallOpen_;
  // That call, with its arguments read again from the '(', when the head built more on it.
  auto leadingCall = [&](ExprPtr& value) -> StmtPtr {
    CallExpr* call = nameOpen ? LeadingCall(head.get()) : nullptr;
    if (!call) return nullptr;
    ExprPtr callee = std::move(call->callee);
    value.reset();
    head.reset();
    Rewind(*nameOpen);
    std::vector<ExprPtr> args;
    ParseBareArgs(args);
    return MakeCallStatement(at, std::move(callee), std::move(args));
  };
  if (IsOp(Peek(), u"=")) {
    Next();
    ExprPtr value = ParseExpr();
    if (IsOp(Peek(), u",")) {
      if (StmtPtr stmt = leadingCall(value)) return stmt;
    }
    auto* call = dynamic_cast<CallExpr*>(head.get());
    if (call && call->args.size() == 1 && call->args[0] && IsOp(Peek(), u",")) {
      // `Check (a) = b, "text"`: no assignment goes on with a comma, so this is a call whose
      // first argument is the comparison; it is read again from its '('.
      ExprPtr callee = std::move(call->callee);
      value.reset();
      head.reset();
      Rewind(callOpen);
      std::vector<ExprPtr> args;
      ParseBareArgs(args);
      return MakeCallStatement(at, std::move(callee), std::move(args));
    }
    if (auto* name = dynamic_cast<NameExpr*>(head.get())) assigned_.push_back(name);
    auto stmt = std::make_unique<AssignStmt>(at, std::move(head), std::move(value), false);
    MarkAppend(*stmt);
    return stmt;
  }
  if (AtEnd() || AtBlockEnd() || IsWord(Peek(), u"else")) {
    if (auto* call = dynamic_cast<CallExpr*>(head.get())) {
      if (call->args.size() > 1) Fail(CompileError::CannotUseParenthesesWhenCallingASub);
      if (call->args.size() == 1 && call->args[0]) {
        const SourcePosition p = call->args[0]->position;
        call->args[0] = std::make_unique<ParenExpr>(p, std::move(call->args[0]));
      }
    }
    MarkCallee(head.get());
    return std::make_unique<CallStmt>(at, std::move(head));
  }
  // Arguments without parentheses; a first argument that began with '(' was read as a
  // call of the head and is taken back here.
  if (IsOp(Peek(), u",") || IsBinaryStart()) {
    ExprPtr none;
    if (StmtPtr stmt = leadingCall(none)) return stmt;
  }
  std::vector<ExprPtr> args;
  ExprPtr callee;
  auto* call = dynamic_cast<CallExpr*>(head.get());
  if (call && call->args.size() == 1 && call->args[0] && (IsOp(Peek(), u",") || IsBinaryStart())) {
    ExprPtr first = std::make_unique<ParenExpr>(call->args[0]->position, std::move(call->args[0]));
    callee = std::move(call->callee);
    args.push_back(ParseBinaryRest(std::move(first), 1));
    if (!AcceptOp(u",")) {
      if (!AtEnd() && !IsWord(Peek(), u"else")) Fail(CompileError::ExpectedEndOfStatement);
    } else {
      ParseBareArgs(args);
    }
  } else {
    if (call) Fail(CompileError::ExpectedEndOfStatement);
    callee = std::move(head);
    ParseBareArgs(args);
  }
  return MakeCallStatement(at, std::move(callee), std::move(args));
}

StmtPtr Parser::MakeCallStatement(SourcePosition at, ExprPtr callee, std::vector<ExprPtr> args) {
  MarkCallee(callee.get());
  auto node = std::make_unique<CallExpr>(callee->position, std::move(callee));
  node->args = std::move(args);
  return std::make_unique<CallStmt>(at, std::move(node));
}

void Parser::ParseBareArgs(std::vector<ExprPtr>& args) {
  while (true) {
    if (IsOp(Peek(), u",")) {
      args.push_back(nullptr);
    } else if (AtEnd() || IsWord(Peek(), u"else")) {
      args.push_back(nullptr);
      break;
    } else {
      args.push_back(ParseExpr());
    }
    if (!AcceptOp(u",")) break;
  }
  if (!args.empty() && !args.back()) args.pop_back();
}

// `s = s & x & y`: the target is the leftmost operand of a chain of '&'.
void Parser::MarkAppend(AssignStmt& stmt) {
  auto* target = dynamic_cast<NameExpr*>(stmt.target.get());
  if (!target) return;
  const Expr* e = stmt.value.get();
  bool sawConcat = false;
  while (auto* bin = dynamic_cast<const BinaryExpr*>(e)) {
    if (bin->op != BinaryOp::Concat) return;
    sawConcat = true;
    e = bin->left.get();
  }
  auto* leftmost = dynamic_cast<const NameExpr*>(e);
  stmt.appendsToTarget = sawConcat && leftmost && EqualsNoCaseU16(leftmost->name, target->name);
}

}  // namespace vendil
