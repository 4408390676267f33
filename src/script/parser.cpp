// The recursive-descent parser of scripts: its entry points, the token helpers and errors,
// and the names recorded while parsing. The grammar itself is in parse_expressions.cpp,
// parse_statements.cpp and parse_declarations.cpp; resolve_names.cpp binds the names.
#include "script/parser.h"

#include <algorithm>

#include "script/compile_errors.h"
#include "script/interpreter.h"
#include "script/parser_internal.h"
#include "script/variant_convert.h"

namespace vendil {

bool IsReservedWord(std::u16string_view folded) {
  static const std::unordered_set<std::u16string_view> words = {
      u"and",     u"byref",    u"byval", u"call",   u"case", u"class",   u"const",  u"dim",
      u"do",      u"each",     u"else",  u"elseif", u"end",  u"eqv",     u"erase",  u"exit",
      u"for",     u"function", u"if",    u"imp",    u"in",   u"is",      u"loop",   u"mod",
      u"next",    u"not",      u"on",    u"option", u"or",   u"private", u"public", u"redim",
      u"select",  u"set",      u"sub",   u"then",   u"to",   u"until",   u"wend",   u"while",
      u"with",    u"xor",      u"new",   u"me",     u"true", u"false",   u"empty",  u"null",
      u"nothing", u"goto",     u"resume"};
  return words.count(folded) > 0;
}

Parser::Parser(std::u16string_view code, Interpreter& interp, const Procedure* enclosing,
               const ClassDef* enclosingClass, const std::vector<std::u16string>* addedLocals)
    : interp_(interp),
      enclosing_(enclosing),
      enclosingClass_(enclosingClass),
      addedLocals_(addedLocals) {
  program_ = std::make_shared<Program>();
  program_->sourceUnits = code.size();
  SplitLines(code);
  try {
    tokens_ = Tokenize(code);
  } catch (ScriptError& error) {
    AttachLine(error);
    throw;
  }
}

std::shared_ptr<Program> Parser::ParseAll() {
  scopes_.push_back(std::make_unique<Scope>());
  top_ = scopes_.back().get();
  current_ = top_;
  try {
    SkipEnds();
    while (Peek().kind != TokenKind::EndOfText) {
      ParseTopStatement();
      SkipEnds();
    }
    CheckTopNamesUnique();
  } catch (ScriptError& error) {
    AttachLine(error);
    throw;
  }
  Resolve();
  return program_;
}

std::shared_ptr<Program> Parser::ParseExpressionOnly() {
  scopes_.push_back(std::make_unique<Scope>());
  top_ = scopes_.back().get();
  current_ = top_;
  try {
    SkipEnds();
    program_->expression = ParseExpr();
    SkipEnds();
    if (Peek().kind != TokenKind::EndOfText) Fail(CompileError::ExpectedEndOfStatement);
  } catch (ScriptError& error) {
    AttachLine(error);
    throw;
  }
  Resolve();
  return program_;
}

// ---- tokens and errors

bool Parser::IsWord(const Token& token, std::u16string_view word) {
  return token.kind == TokenKind::Name && !token.bracketed && EqualsNoCaseU16(token.text, word);
}

bool Parser::IsKeyword(const Token& token) {
  return token.kind == TokenKind::Name && !token.bracketed &&
         IsReservedWord(FoldCaseU16(token.text));
}

// Property is a keyword only where a property procedure begins; elsewhere it is a name.
bool Parser::IsPropertyStart() const {
  return IsWord(Peek(), u"property") &&
         (IsWord(Peek(1), u"get") || IsWord(Peek(1), u"let") || IsWord(Peek(1), u"set"));
}

bool Parser::IsProcedureStart() const {
  const size_t at = IsWord(Peek(), u"public") || IsWord(Peek(), u"private") ? 1 : 0;
  return IsWord(Peek(at), u"sub") || IsWord(Peek(at), u"function") ||
         (at == 1 && IsWord(Peek(1), u"default"));
}

bool Parser::AcceptWord(std::u16string_view word) {
  if (!IsWord(Peek(), word)) return false;
  Next();
  return true;
}

bool Parser::AcceptOp(std::u16string_view op) {
  if (!IsOp(Peek(), op)) return false;
  Next();
  return true;
}

void Parser::ExpectWord(std::u16string_view word, CompileError error) {
  if (!AcceptWord(word)) Fail(error);
}

void Parser::ExpectOp(std::u16string_view op, CompileError error) {
  if (!AcceptOp(op)) Fail(error);
}

void Parser::ExpectEnd() {
  if (!AtEnd()) Fail(CompileError::ExpectedEndOfStatement);
}

void Parser::SkipEnds() {
  while (Peek().kind == TokenKind::EndOfStatement) Next();
}

std::u16string Parser::ExpectName() {
  const Token& token = Peek();
  if (token.kind != TokenKind::Name || IsKeyword(token)) Fail(CompileError::ExpectedIdentifier);
  return Next().text;
}

void Parser::Fail(int32_t number) { Fail(number, Peek()); }

void Parser::Fail(int32_t number, const Token& at) {
  ScriptError error(number, StandardErrorMessage(number), kCompileErrorSource);
  error.line = at.line;
  error.column = at.column;
  throw error;
}

void Parser::SplitLines(std::u16string_view code) {
  size_t start = 0;
  for (size_t i = 0; i <= code.size(); ++i) {
    if (i == code.size() || code[i] == u'\n' || code[i] == u'\r') {
      program_->lines.emplace_back(code.substr(start, i - start));
      if (i < code.size() && code[i] == u'\r' && i + 1 < code.size() && code[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
}

void Parser::AttachLine(ScriptError& error) const {
  if (error.line >= 1 && static_cast<size_t>(error.line) <= program_->lines.size()) {
    error.lineText = program_->lines[error.line - 1];
  }
}

Parser::ParseMark Parser::Mark() const {
  return {pos_, current_->names.size(), assigned_.size(), newNodes_.size()};
}

void Parser::Rewind(const ParseMark& mark) {
  pos_ = mark.pos;
  current_->names.resize(mark.names);
  assigned_.resize(mark.assigned);
  newNodes_.resize(mark.newNodes);
}

// ---- names met while parsing

NameExpr* Parser::MakeName(const Token& token) {
  auto* name = new NameExpr(At(token), token.text);
  current_->names.push_back(name);
  return name;
}

ExprPtr Parser::NameNode(const Token& token) {
  ExprPtr node(MakeName(token));
  return node;
}

void Parser::Declare(const std::u16string& name) {
  std::u16string folded = FoldCaseU16(name);
  if (current_->declaredSet.insert(folded).second) current_->declared.push_back(std::move(folded));
}

// Dim and Const at the top level, kept to be checked against the procedures and classes.
void Parser::DeclareAtTop(const Token& token) {
  if (current_ == top_) topDeclarations_.push_back(&token);
}

// A variable or constant of the same name as a procedure or class of the same program is
// "Name redefined": names are one space whatever their case.
void Parser::CheckTopNamesUnique() {
  std::unordered_set<std::u16string> defined;
  for (const auto& proc : program_->procedures) defined.insert(FoldCaseU16(proc->name));
  for (const auto& cls : program_->classes) defined.insert(FoldCaseU16(cls->name));
  for (const Token* token : topDeclarations_) {
    if (defined.count(FoldCaseU16(token->text))) Fail(CompileError::NameRedefined, *token);
  }
}

const ClassMember* ClassDef::Find(std::u16string_view name) const {
  for (const auto& member : members) {
    if (EqualsNoCaseU16(member.name, name)) return &member;
  }
  return nullptr;
}

std::shared_ptr<Program> ParseProgram(std::u16string_view code, Interpreter& interp,
                                      bool expression, const Procedure* enclosing,
                                      const ClassDef* enclosingClass,
                                      const std::vector<std::u16string>* addedLocals) {
  Parser parser(code, interp, enclosing, enclosingClass, addedLocals);
  return expression ? parser.ParseExpressionOnly() : parser.ParseAll();
}

}  // namespace vendil
