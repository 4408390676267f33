// The parser's own declaration, shared by the files that hold its parts: tokens and errors
// (parser.cpp), expressions (parse_expressions.cpp), statements (parse_statements.cpp),
// declarations, procedures and classes (parse_declarations.cpp) and the binding of names
// (resolve_names.cpp). Only those files include it.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "script/ast.h"
#include "script/compile_errors.h"
#include "script/lexer.h"
#include "script/script_error.h"

namespace vendil {

class Interpreter;

// Words that cannot name a variable, procedure or class (unless written in brackets).
bool IsReservedWord(std::u16string_view folded);

// Names met in one procedure (or the top level) waiting to be bound.
struct Scope {
  Procedure* procedure = nullptr;  // null: top level of the program
  ClassDef* classDef = nullptr;
  std::vector<NameExpr*> names;
  std::vector<std::u16string> declared;  // Dim'd, Const, ReDim'd at the top level (folded)
  std::unordered_set<std::u16string> declaredSet;  // the same, to look names up
  std::vector<std::u16string> redimmed;            // ReDim'd in a procedure (folded)
};

class Parser {
 public:
  Parser(std::u16string_view code, Interpreter& interp, const Procedure* enclosing,
         const ClassDef* enclosingClass, const std::vector<std::u16string>* addedLocals);

  std::shared_ptr<Program> ParseAll();
  std::shared_ptr<Program> ParseExpressionOnly();

 private:
  static constexpr int kMaxNesting = 120;

  // ---- tokens and errors (parser.cpp)
  const Token& Peek(size_t ahead = 0) const {
    return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
  }
  const Token& Next() {
    const Token& token = Peek();
    if (pos_ < tokens_.size() - 1) ++pos_;
    return token;
  }
  static SourcePosition At(const Token& token) { return {token.line, token.column}; }
  // A keyword as written; `[end]` is a name, never the keyword.
  static bool IsWord(const Token& token, std::u16string_view word);
  static bool IsKeyword(const Token& token);
  bool IsPropertyStart() const;   // `Property Get`, `Property Let`, `Property Set`
  bool IsProcedureStart() const;  // Sub, Function, or either after Public or Private
  static bool IsOp(const Token& token, std::u16string_view op) {
    return token.kind == TokenKind::Operator && token.text == op;
  }
  bool AcceptWord(std::u16string_view word);
  bool AcceptOp(std::u16string_view op);
  void ExpectWord(std::u16string_view word, CompileError error);
  void ExpectOp(std::u16string_view op, CompileError error);
  bool AtEnd() const {
    return Peek().kind == TokenKind::EndOfStatement || Peek().kind == TokenKind::EndOfText;
  }
  void ExpectEnd();
  void SkipEnds();
  std::u16string ExpectName();
  [[noreturn]] void Fail(int32_t number);
  [[noreturn]] void Fail(int32_t number, const Token& at);
  [[noreturn]] void Fail(CompileError error) { Fail(static_cast<int32_t>(error)); }
  [[noreturn]] void Fail(CompileError error, const Token& at) {
    Fail(static_cast<int32_t>(error), at);
  }
  void SplitLines(std::u16string_view code);
  void AttachLine(ScriptError& error) const;

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) {
      if (++parser.depth_ > kMaxNesting) parser.Fail(28);
    }
    ~DepthGuard() { --parser.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    Parser& parser;
  };

  // Where the parser stood, so a reading can be taken back (tokens and the names recorded).
  struct ParseMark {
    size_t pos = 0;
    size_t names = 0;
    size_t assigned = 0;
    size_t newNodes = 0;
  };
  ParseMark Mark() const;
  void Rewind(const ParseMark& mark);

  // ---- names met while parsing (parser.cpp)
  NameExpr* MakeName(const Token& token);
  ExprPtr NameNode(const Token& token);
  void Declare(const std::u16string& name);
  void DeclareAtTop(const Token& token);
  void CheckTopNamesUnique();

  // ---- expressions (parse_expressions.cpp)
  ExprPtr ParseExpr(int minPrec = 1);
  bool PeekBinary(BinaryOp& op) const;
  bool IsBinaryStart() const;
  ExprPtr ParseBinaryRest(ExprPtr left, int minPrec);
  ExprPtr ParseUnary();
  ExprPtr ParsePrimary();
  std::vector<ExprPtr> ParseArgsInParens();
  ExprPtr ParsePostfix(ExprPtr expr);

  // ---- statements (parse_statements.cpp)
  bool AtBlockEnd() const;
  Block ParseBlock();
  Block ParseBodyWithin(int& depth);
  void ExpectEndOf(std::u16string_view word, CompileError error);
  StmtPtr ParseStatement();
  StmtPtr ParseIf();
  Block ParseLineStatements();
  StmtPtr ParseSelect();
  StmtPtr ParseFor();
  ExprPtr ParseLoopVariable();
  Block ParseForBody();
  StmtPtr ParseDo();
  StmtPtr ParseWhile(SourcePosition at);
  StmtPtr ParseExit(SourcePosition at);
  StmtPtr ParseOnError(SourcePosition at);
  StmtPtr ParseWith(SourcePosition at);
  StmtPtr ParseHoistedProcedure();
  ExprPtr ParsePrimaryTarget();
  static void MarkCallee(Expr* expr);
  StmtPtr ParseSimple();
  StmtPtr MakeCallStatement(SourcePosition at, ExprPtr callee, std::vector<ExprPtr> args);
  void ParseBareArgs(std::vector<ExprPtr>& args);
  static void MarkAppend(AssignStmt& stmt);

  // ---- declarations, procedures and classes (parse_declarations.cpp)
  void ParseTopStatement();
  StmtPtr ParseDim(SourcePosition at);
  StmtPtr ParseReDim(SourcePosition at);
  StmtPtr ParseConst();
  StmtPtr ParseErase(SourcePosition at);
  void ParseArrayBounds(DimItem& item, bool mayBeEmpty);
  std::unique_ptr<Procedure> ParseProcedure(bool isPublic, ClassDef* owner);
  void ParseClass();
  void ParseClassFields(ClassDef& def, bool isPublic);
  void GatherClassMembers(ClassDef& def);
  static ClassMember* FindMember(ClassDef& def, std::u16string_view name);

  // ---- binding names to slots (resolve_names.cpp)
  void Resolve();
  void ResolveScope(Scope& scope);
  bool IsKnownGlobal(const std::u16string& folded) const;
  int AddFrameLocal(std::unordered_map<std::u16string, int>& locals, const std::u16string& name);
  static int AddLocal(Procedure& proc, std::unordered_map<std::u16string, int>& locals,
                      const std::u16string& name);

  Interpreter& interp_;
  const Procedure* enclosing_;
  const ClassDef* enclosingClass_;
  const std::vector<std::u16string>* addedLocals_;
  int nextFrameSlot_ = 0;
  std::shared_ptr<Program> program_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_ = 0;
  int doDepth_ = 0;
  int forDepth_ = 0;
  std::vector<std::unique_ptr<Scope>> scopes_;
  Scope* top_ = nullptr;
  Scope* current_ = nullptr;
  std::vector<NameExpr*> assigned_;
  std::vector<NewExpr*> newNodes_;
  std::vector<const Token*> topDeclarations_;  // into tokens_, which no longer grows
  ParseMark lastCallOpen_;                     // the '(' of the call ParsePostfix read last
  const std::unordered_set<std::u16string>* topNames_ = nullptr;
};

}  // namespace vendil
