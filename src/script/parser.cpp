// The recursive-descent parser of scripts and the pass that binds every name to its slot.
#include "script/parser.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "script/interpreter.h"
#include "script/lexer.h"
#include "script/script_error.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

constexpr int kMaxNesting = 120;

const std::unordered_set<std::u16string>& ReservedWords() {
  static const std::unordered_set<std::u16string> words = {
      u"and",     u"byref",    u"byval",  u"call",     u"case", u"class",   u"const",  u"dim",
      u"do",      u"each",     u"else",   u"elseif",   u"end",  u"eqv",     u"erase",  u"exit",
      u"for",     u"function", u"if",     u"imp",      u"in",   u"is",      u"loop",   u"mod",
      u"next",    u"not",      u"on",     u"option",   u"or",   u"private", u"public", u"redim",
      u"select",  u"set",      u"sub",    u"then",     u"to",   u"until",   u"wend",   u"while",
      u"with",    u"xor",      u"new",    u"me",       u"true", u"false",   u"empty",  u"null",
      u"nothing", u"goto",     u"resume", u"property", u"step"};
  return words;
}

std::u16string Lower(std::u16string_view text) { return FoldCaseU16(text); }

// Names met in one procedure (or the top level) waiting to be bound.
struct Scope {
  Procedure* procedure = nullptr;  // null: top level of the program
  ClassDef* classDef = nullptr;
  std::vector<NameExpr*> names;
  std::vector<std::u16string> declared;  // Dim'd, Const, ReDim'd (folded)
};

class Parser {
 public:
  Parser(std::u16string_view code, Interpreter& interp, const Procedure* enclosing,
         const ClassDef* enclosingClass, const std::vector<std::u16string>* addedLocals)
      : interp_(interp),
        enclosing_(enclosing),
        enclosingClass_(enclosingClass),
        addedLocals_(addedLocals) {
    program_ = std::make_shared<Program>();
    SplitLines(code);
    try {
      tokens_ = Tokenize(code);
    } catch (ScriptError& error) {
      AttachLine(error);
      throw;
    }
  }

  std::shared_ptr<Program> ParseAll() {
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

  std::shared_ptr<Program> ParseExpressionOnly() {
    scopes_.push_back(std::make_unique<Scope>());
    top_ = scopes_.back().get();
    current_ = top_;
    try {
      SkipEnds();
      program_->expression = ParseExpr();
      SkipEnds();
      if (Peek().kind != TokenKind::EndOfText) Fail(1025);
    } catch (ScriptError& error) {
      AttachLine(error);
      throw;
    }
    Resolve();
    return program_;
  }

 private:
  // ---- tokens

  const Token& Peek(size_t ahead = 0) const {
    return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
  }
  const Token& Next() {
    const Token& token = Peek();
    if (pos_ < tokens_.size() - 1) ++pos_;
    return token;
  }
  SourcePosition At(const Token& token) const { return {token.line, token.column}; }

  bool IsWord(const Token& token, std::u16string_view word) const {
    return token.kind == TokenKind::Name && EqualsNoCaseU16(token.text, word);
  }
  bool IsOp(const Token& token, std::u16string_view op) const {
    return token.kind == TokenKind::Operator && token.text == op;
  }
  bool AcceptWord(std::u16string_view word) {
    if (!IsWord(Peek(), word)) return false;
    Next();
    return true;
  }
  bool AcceptOp(std::u16string_view op) {
    if (!IsOp(Peek(), op)) return false;
    Next();
    return true;
  }
  void ExpectWord(std::u16string_view word, int32_t number) {
    if (!AcceptWord(word)) Fail(number);
  }
  void ExpectOp(std::u16string_view op, int32_t number) {
    if (!AcceptOp(op)) Fail(number);
  }
  bool AtEnd() const {
    return Peek().kind == TokenKind::EndOfStatement || Peek().kind == TokenKind::EndOfText;
  }
  void ExpectEnd() {
    if (!AtEnd()) Fail(1025);
  }
  void SkipEnds() {
    while (Peek().kind == TokenKind::EndOfStatement) Next();
  }
  std::u16string ExpectName() {
    const Token& token = Peek();
    if (token.kind != TokenKind::Name || ReservedWords().count(Lower(token.text))) Fail(1010);
    return Next().text;
  }

  [[noreturn]] void Fail(int32_t number) { Fail(number, Peek()); }
  [[noreturn]] void Fail(int32_t number, const Token& at) {
    ScriptError error(number, StandardErrorMessage(number), kCompileErrorSource);
    error.line = at.line;
    error.column = at.column;
    throw error;
  }

  void SplitLines(std::u16string_view code) {
    size_t start = 0;
    for (size_t i = 0; i <= code.size(); ++i) {
      if (i == code.size() || code[i] == u'\n' || code[i] == u'\r') {
        program_->lines.emplace_back(code.substr(start, i - start));
        if (i < code.size() && code[i] == u'\r' && i + 1 < code.size() && code[i + 1] == u'\n') ++i;
        start = i + 1;
      }
    }
  }
  void AttachLine(ScriptError& error) const {
    if (error.line >= 1 && static_cast<size_t>(error.line) <= program_->lines.size()) {
      error.lineText = program_->lines[error.line - 1];
    }
  }

  struct DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) {
      if (++parser.depth_ > kMaxNesting) parser.Fail(28);
    }
    ~DepthGuard() { --parser.depth_; }
    Parser& parser;
  };

  // ---- names

  NameExpr* MakeName(const Token& token) {
    auto* name = new NameExpr(At(token), token.text);
    current_->names.push_back(name);
    return name;
  }
  ExprPtr NameNode(const Token& token) {
    ExprPtr node(MakeName(token));
    return node;
  }
  void Declare(const std::u16string& name) { current_->declared.push_back(Lower(name)); }
  // Dim and Const at the top level, kept to be checked against the procedures and classes.
  void DeclareAtTop(const Token& token) {
    if (current_ == top_) topDeclarations_.push_back(&token);
  }

  // A variable or constant of the same name as a procedure or class of the same program is
  // "Name redefined": names are one space whatever their case.
  void CheckTopNamesUnique() {
    std::unordered_set<std::u16string> defined;
    for (const auto& proc : program_->procedures) defined.insert(Lower(proc->name));
    for (const auto& cls : program_->classes) defined.insert(Lower(cls->name));
    for (const Token* token : topDeclarations_) {
      if (defined.count(Lower(token->text))) Fail(1041, *token);
    }
  }

  // ---- expressions

  ExprPtr ParseExpr(int minPrec = 1) {
    DepthGuard guard(*this);
    ExprPtr left = ParseUnary();
    return ParseBinaryRest(std::move(left), minPrec);
  }

  // The binary operators as written, with their precedence (higher binds tighter).
  struct BinaryOperator {
    std::u16string_view text;
    BinaryOp op;
    int precedence;
    bool isWord;
  };
  static constexpr BinaryOperator kBinaryOperators[] = {
      {u"^", BinaryOp::Power, 14, false},     {u"*", BinaryOp::Multiply, 12, false},
      {u"/", BinaryOp::Divide, 12, false},    {u"\\", BinaryOp::IntDivide, 11, false},
      {u"mod", BinaryOp::Mod, 10, true},      {u"+", BinaryOp::Add, 9, false},
      {u"-", BinaryOp::Subtract, 9, false},   {u"&", BinaryOp::Concat, 8, false},
      {u"=", BinaryOp::Equal, 7, false},      {u"<>", BinaryOp::NotEqual, 7, false},
      {u"<", BinaryOp::Less, 7, false},       {u">", BinaryOp::Greater, 7, false},
      {u"<=", BinaryOp::LessEqual, 7, false}, {u">=", BinaryOp::GreaterEqual, 7, false},
      {u"is", BinaryOp::Is, 7, true},         {u"and", BinaryOp::And, 5, true},
      {u"or", BinaryOp::Or, 4, true},         {u"xor", BinaryOp::Xor, 3, true},
      {u"eqv", BinaryOp::Eqv, 2, true},       {u"imp", BinaryOp::Imp, 1, true}};

  static int Precedence(BinaryOp op) {
    for (const BinaryOperator& entry : kBinaryOperators) {
      if (entry.op == op) return entry.precedence;
    }
    return 7;
  }

  bool PeekBinary(BinaryOp& op) const {
    const Token& t = Peek();
    if (t.kind != TokenKind::Operator && t.kind != TokenKind::Name) return false;
    const bool isWord = t.kind == TokenKind::Name;
    for (const BinaryOperator& entry : kBinaryOperators) {
      if (entry.isWord != isWord) continue;
      if (isWord ? EqualsNoCaseU16(t.text, entry.text) : t.text == entry.text) {
        op = entry.op;
        return true;
      }
    }
    return false;
  }

  ExprPtr ParseBinaryRest(ExprPtr left, int minPrec) {
    BinaryOp op;
    while (PeekBinary(op) && Precedence(op) >= minPrec) {
      const Token& token = Next();
      const int prec = Precedence(op);
      ExprPtr right;
      {
        DepthGuard guard(*this);
        right = ParseBinaryRest(ParseUnary(), prec + 1);
      }
      left = std::make_unique<BinaryExpr>(At(token), op, std::move(left), std::move(right));
    }
    return left;
  }

  ExprPtr ParseUnary() {
    DepthGuard guard(*this);
    const Token& token = Peek();
    if (IsWord(token, u"not")) {
      Next();
      return std::make_unique<UnaryExpr>(At(token), UnaryOp::Not, ParseExpr(7));
    }
    if (IsOp(token, u"-") || IsOp(token, u"+")) {
      Next();
      ExprPtr operand = ParseBinaryRest(ParseUnary(), 14);
      return std::make_unique<UnaryExpr>(
          At(token), IsOp(token, u"-") ? UnaryOp::Negate : UnaryOp::Plus, std::move(operand));
    }
    return ParsePostfix(ParsePrimary());
  }

  ExprPtr ParsePrimary() {
    const Token& token = Peek();
    switch (token.kind) {
      case TokenKind::Number:
      case TokenKind::String:
      case TokenKind::Date:
        Next();
        return std::make_unique<LiteralExpr>(At(token), token.value);
      case TokenKind::Operator:
        if (IsOp(token, u"(")) {
          Next();
          SkipContinuationEnds();
          ExprPtr inner = ParseExpr();
          ExpectOp(u")", 1006);
          return std::make_unique<ParenExpr>(At(token), std::move(inner));
        }
        if (IsOp(token, u".") && withDepth_ > 0) {
          Next();
          const Token& member = Peek();
          if (member.kind != TokenKind::Name) Fail(1010);
          Next();
          return std::make_unique<MemberExpr>(At(token), nullptr, member.text);
        }
        Fail(1023);
      case TokenKind::Name:
        break;
      default:
        Fail(1023);
    }
    const std::u16string word = Lower(token.text);
    if (word == u"true" || word == u"false") {
      Next();
      return std::make_unique<LiteralExpr>(At(token), Variant::Boolean(word == u"true"));
    }
    if (word == u"empty") {
      Next();
      return std::make_unique<LiteralExpr>(At(token), Variant());
    }
    if (word == u"null") {
      Next();
      return std::make_unique<LiteralExpr>(At(token), Variant::Null());
    }
    if (word == u"nothing") {
      Next();
      return std::make_unique<LiteralExpr>(At(token), Variant::Nothing());
    }
    if (word == u"me") {
      Next();
      if (!current_->classDef && !enclosingClass_) Fail(1037, token);
      return std::make_unique<MeExpr>(At(token));
    }
    if (word == u"new") {
      Next();
      auto node = std::make_unique<NewExpr>(At(token), ExpectName());
      newNodes_.push_back(node.get());
      return node;
    }
    if (ReservedWords().count(word)) Fail(1023);
    Next();
    return NameNode(token);
  }

  // Arguments up to ')' ; empty places are omitted arguments.
  std::vector<ExprPtr> ParseArgsInParens() {
    std::vector<ExprPtr> args;
    if (AcceptOp(u")")) return args;
    while (true) {
      if (IsOp(Peek(), u",")) {
        args.push_back(nullptr);
      } else if (IsOp(Peek(), u")")) {
        args.push_back(nullptr);
        break;
      } else {
        args.push_back(ParseExpr());
      }
      if (!AcceptOp(u",")) break;
    }
    ExpectOp(u")", 1006);
    return args;
  }

  void SkipContinuationEnds() {}

  // Where the parser stood, so a reading can be taken back (tokens and the names recorded).
  struct ParseMark {
    size_t pos = 0;
    size_t names = 0;
    size_t assigned = 0;
    size_t newNodes = 0;
  };
  ParseMark Mark() const {
    return {pos_, current_->names.size(), assigned_.size(), newNodes_.size()};
  }
  void Rewind(const ParseMark& mark) {
    pos_ = mark.pos;
    current_->names.resize(mark.names);
    assigned_.resize(mark.assigned);
    newNodes_.resize(mark.newNodes);
  }

  ExprPtr ParsePostfix(ExprPtr expr) {
    int rounds = 0;
    while (true) {
      if (++rounds > kMaxNesting) Fail(28);
      const Token& token = Peek();
      if (IsOp(token, u".") && !token.spaceBefore) {
        Next();
        const Token& member = Peek();
        if (member.kind != TokenKind::Name) Fail(1010);
        Next();
        expr = std::make_unique<MemberExpr>(At(token), std::move(expr), member.text);
      } else if (IsOp(token, u"(")) {
        const ParseMark mark = Mark();
        Next();
        auto call = std::make_unique<CallExpr>(expr->position, std::move(expr));
        if (auto* name = dynamic_cast<NameExpr*>(call->callee.get())) name->isCallee = true;
        call->args = ParseArgsInParens();
        lastCallOpen_ = mark;
        expr = std::move(call);
      } else {
        return expr;
      }
    }
  }

  // ---- statements

  bool AtBlockEnd() const {
    const Token& t = Peek();
    if (t.kind == TokenKind::EndOfText) return true;
    if (t.kind != TokenKind::Name) return false;
    static const std::u16string_view ends[] = {u"end",  u"else", u"elseif", u"case",
                                               u"loop", u"next", u"wend"};
    for (auto e : ends) {
      if (EqualsNoCaseU16(t.text, e)) {
        // `End` alone is not a statement; `Else`/`Case` end blocks too.
        return true;
      }
    }
    return false;
  }

  Block ParseBlock() {
    DepthGuard guard(*this);
    Block block;
    SkipEnds();
    while (!AtBlockEnd()) {
      if (StmtPtr stmt = ParseStatement()) block.push_back(std::move(stmt));
      if (!AtEnd() && !AtBlockEnd()) Fail(1025);
      SkipEnds();
    }
    return block;
  }

  void ExpectEndOf(std::u16string_view word, int32_t number) {
    ExpectWord(u"end", number);
    ExpectWord(word, number);
  }

  void ParseTopStatement() {
    const Token& t = Peek();
    if (IsWord(t, u"class")) return ParseClass();
    if (IsWord(t, u"sub") || IsWord(t, u"function")) {
      program_->procedures.push_back(ParseProcedure(true, nullptr));
      return;
    }
    if ((IsWord(t, u"public") || IsWord(t, u"private")) &&
        (IsWord(Peek(1), u"sub") || IsWord(Peek(1), u"function") || IsWord(Peek(1), u"default"))) {
      const bool isPublic = IsWord(t, u"public");
      Next();
      program_->procedures.push_back(ParseProcedure(isPublic, nullptr));
      return;
    }
    if (IsWord(t, u"option")) {
      Next();
      ExpectWord(u"explicit", 1002);
      program_->optionExplicit = true;
      ExpectEnd();
      return;
    }
    if (AtBlockEnd()) Fail(1024);
    if (StmtPtr stmt = ParseStatement()) program_->topLevel.push_back(std::move(stmt));
    ExpectEnd();
  }

  std::unique_ptr<Procedure> ParseProcedure(bool isPublic, ClassDef* owner) {
    auto proc = std::make_unique<Procedure>();
    proc->isPublic = isPublic;
    proc->owner = owner;
    proc->program = program_.get();
    if (AcceptWord(u"default")) {
      if (!isPublic) Fail(1057);
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
      if (!owner) Fail(1048);
      endWord = u"property";
      if (AcceptWord(u"get")) {
        proc->kind = ProcKind::PropertyGet;
      } else if (AcceptWord(u"let")) {
        proc->kind = ProcKind::PropertyLet;
      } else if (AcceptWord(u"set")) {
        proc->kind = ProcKind::PropertySet;
      } else {
        Fail(1049);
      }
    } else {
      Fail(1024);
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
          if (AcceptOp(u"(")) ExpectOp(u")", 1006);
          proc->params.push_back(std::move(param));
        } while (AcceptOp(u","));
        ExpectOp(u")", 1006);
      }
    }
    if ((proc->kind == ProcKind::PropertyLet || proc->kind == ProcKind::PropertySet) &&
        proc->params.empty()) {
      Fail(1054);
    }
    ExpectEnd();
    auto scope = std::make_unique<Scope>();
    scope->procedure = proc.get();
    scope->classDef = owner;
    Scope* saved = current_;
    current_ = scope.get();
    scopes_.push_back(std::move(scope));
    proc->body = ParseBlock();
    current_ = saved;
    if (!IsWord(Peek(), u"end")) {
      Fail(endWord == u"sub" ? 1016 : endWord == u"function" ? 1015 : 1050);
    }
    Next();
    if (!AcceptWord(endWord)) Fail(endWord == u"sub" ? 1016 : endWord == u"function" ? 1015 : 1050);
    ExpectEnd();
    return proc;
  }

  void ParseClass() {
    Next();
    auto def = std::make_unique<ClassDef>();
    def->name = ExpectName();
    ExpectEnd();
    SkipEnds();
    while (!IsWord(Peek(), u"end")) {
      if (Peek().kind == TokenKind::EndOfText) Fail(1047);
      bool isPublic = true;
      bool hadScope = false;
      if (AcceptWord(u"public")) {
        hadScope = true;
      } else if (AcceptWord(u"private")) {
        isPublic = false;
        hadScope = true;
      }
      const Token& t = Peek();
      if (IsWord(t, u"sub") || IsWord(t, u"function") || IsWord(t, u"property") ||
          IsWord(t, u"default")) {
        def->procedures.push_back(ParseProcedure(isPublic, def.get()));
      } else if (IsWord(t, u"dim") || hadScope) {
        if (IsWord(t, u"dim")) Next();
        if (IsWord(Peek(), u"const")) Fail(1024);
        do {
          const std::u16string name = ExpectName();
          ClassMember member;
          member.name = name;
          member.isPublic = isPublic;
          member.field = def->fieldCount++;
          if (AcceptOp(u"(")) {
            DimItem item;
            ParseArrayBounds(item, true);
            def->fieldDims.push_back(std::move(item));
            def->fieldDimIndex.push_back(member.field);
          }
          if (FindMember(*def, name)) Fail(1041);
          def->members.push_back(std::move(member));
        } while (AcceptOp(u","));
        ExpectEnd();
      } else {
        Fail(1024);
      }
      SkipEnds();
    }
    Next();
    ExpectWord(u"class", 1047);
    ExpectEnd();
    // Members by name; procedures of one name (Property Get/Let/Set) share one member.
    for (auto& proc : def->procedures) {
      ClassMember* member = FindMember(*def, proc->name);
      if (!member) {
        def->members.push_back(ClassMember{});
        member = &def->members.back();
        member->name = proc->name;
      } else if (member->field >= 0) {
        Fail(1041);
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
          if (member->method) Fail(1041);
          member->method = proc.get();
      }
      if (EqualsNoCaseU16(proc->name, u"class_initialize") ||
          EqualsNoCaseU16(proc->name, u"class_terminate")) {
        if (!proc->params.empty()) Fail(1053);
        if (EqualsNoCaseU16(proc->name, u"class_initialize")) {
          def->initialize = proc.get();
        } else {
          def->terminate = proc.get();
        }
      }
    }
    for (auto& proc : def->procedures) {
      if (!proc->isDefault) continue;
      if (def->defaultMember) Fail(1052);
      def->defaultMember = FindMember(*def, proc->name);
    }
    program_->classes.push_back(std::move(def));
  }

  static ClassMember* FindMember(ClassDef& def, std::u16string_view name) {
    for (auto& member : def.members) {
      if (EqualsNoCaseU16(member.name, name)) return &member;
    }
    return nullptr;
  }

  // One statement (not a procedure or class); null for statements that leave nothing to run.
  StmtPtr ParseStatement() {
    DepthGuard guard(*this);
    const Token& t = Peek();
    const SourcePosition at = At(t);
    if (t.kind == TokenKind::Operator && IsOp(t, u".") && withDepth_ > 0) return ParseSimple();
    if (t.kind != TokenKind::Name) Fail(1024);
    const std::u16string word = Lower(t.text);
    if (word == u"dim" || ((word == u"public" || word == u"private") && !current_->procedure)) {
      Next();
      if (IsWord(Peek(), u"const")) return ParseConst();
      return ParseDim(at);
    }
    if (word == u"redim") {
      Next();
      auto stmt = std::make_unique<ReDimStmt>(at);
      stmt->preserve = AcceptWord(u"preserve");
      do {
        DimItem item;
        const Token& nameToken = Peek();
        ExpectName();
        Declare(nameToken.text);
        item.target = NameNode(nameToken);
        ExpectOp(u"(", 1005);
        ParseArrayBounds(item, false);
        stmt->items.push_back(std::move(item));
      } while (AcceptOp(u","));
      return stmt;
    }
    if (word == u"const") return ParseConst();
    if (word == u"set") {
      Next();
      ExprPtr target = ParsePostfix(ParsePrimaryTarget());
      ExpectOp(u"=", 1011);
      ExprPtr value = ParseExpr();
      return std::make_unique<AssignStmt>(at, std::move(target), std::move(value), true);
    }
    if (word == u"if") return ParseIf();
    if (word == u"select") return ParseSelect();
    if (word == u"for") return ParseFor();
    if (word == u"do") return ParseDo();
    if (word == u"while") {
      Next();
      auto stmt = std::make_unique<DoStmt>(at);
      stmt->condition = ParseExpr();
      stmt->isWhileWend = true;
      ExpectEnd();
      stmt->body = ParseBlock();
      ExpectWord(u"wend", 1018);
      return stmt;
    }
    if (word == u"exit") {
      Next();
      Flow flow;
      if (AcceptWord(u"do")) {
        if (doDepth_ == 0) Fail(1039);
        flow = Flow::ExitDo;
      } else if (AcceptWord(u"for")) {
        if (forDepth_ == 0) Fail(1039);
        flow = Flow::ExitFor;
      } else if (AcceptWord(u"sub") || AcceptWord(u"function") || AcceptWord(u"property")) {
        if (!current_->procedure) Fail(1039);
        flow = Flow::ExitProcedure;
      } else {
        Fail(1039);
      }
      return std::make_unique<ExitStmt>(at, flow);
    }
    if (word == u"on") {
      Next();
      ExpectWord(u"error", 1002);
      if (AcceptWord(u"resume")) {
        ExpectWord(u"next", 1002);
        return std::make_unique<OnErrorStmt>(at, true);
      }
      ExpectWord(u"goto", 1002);
      if (Peek().kind != TokenKind::Number || Peek().value.Type() != VarType::Integer ||
          Peek().value.IntegerValue() != 0) {
        Fail(1002);
      }
      Next();
      return std::make_unique<OnErrorStmt>(at, false);
    }
    if (word == u"call") {
      Next();
      ExprPtr call = ParsePostfix(ParsePrimaryTarget());
      MarkCallee(call.get());
      return std::make_unique<CallStmt>(at, std::move(call));
    }
    if (word == u"with") {
      Next();
      auto stmt = std::make_unique<WithStmt>(at);
      stmt->object = ParseExpr();
      ExpectEnd();
      stmt->body = ParseBodyWithin(withDepth_);
      ExpectEndOf(u"with", 1029);
      return stmt;
    }
    if (word == u"erase") {
      Next();
      auto stmt = std::make_unique<EraseStmt>(at);
      do {
        stmt->targets.push_back(NameNode(Peek()));
        ExpectName();
      } while (AcceptOp(u","));
      return stmt;
    }
    if (word == u"option") {
      Next();
      ExpectWord(u"explicit", 1002);
      program_->optionExplicit = true;
      return nullptr;
    }
    if (word == u"sub" || word == u"function" || word == u"class" || word == u"property") {
      Fail(1024);
    }
    if (ReservedWords().count(word)) Fail(1024);
    return ParseSimple();
  }

  ExprPtr ParsePrimaryTarget() {
    const Token& t = Peek();
    if (IsOp(t, u".") && withDepth_ > 0) return ParsePrimary();
    if (IsWord(t, u"me")) return ParsePrimary();
    ExpectName();
    return NameNode(t);
  }

  static void MarkCallee(Expr* expr) {
    if (auto* name = dynamic_cast<NameExpr*>(expr)) name->isCallee = true;
    if (auto* call = dynamic_cast<CallExpr*>(expr)) MarkCallee(call->callee.get());
  }

  // An assignment or a call written as a statement: `x = 1`, `a(1) = 2`, `Foo a, b`.
  StmtPtr ParseSimple() {
    const SourcePosition at = At(Peek());
    ExprPtr head = ParsePostfix(ParsePrimaryTarget());
    const ParseMark callOpen = lastCallOpen_;
    if (IsOp(Peek(), u"=")) {
      Next();
      ExprPtr value = ParseExpr();
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
        if (call->args.size() > 1) Fail(1044);
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
    std::vector<ExprPtr> args;
    ExprPtr callee;
    auto* call = dynamic_cast<CallExpr*>(head.get());
    if (call && call->args.size() == 1 && call->args[0] &&
        (IsOp(Peek(), u",") || IsBinaryStart())) {
      ExprPtr first =
          std::make_unique<ParenExpr>(call->args[0]->position, std::move(call->args[0]));
      callee = std::move(call->callee);
      args.push_back(ParseBinaryRest(std::move(first), 1));
      if (!AcceptOp(u",")) {
        if (!AtEnd() && !IsWord(Peek(), u"else")) Fail(1025);
      } else {
        ParseBareArgs(args);
      }
    } else {
      if (call) Fail(1025);
      callee = std::move(head);
      ParseBareArgs(args);
    }
    return MakeCallStatement(at, std::move(callee), std::move(args));
  }

  StmtPtr MakeCallStatement(SourcePosition at, ExprPtr callee, std::vector<ExprPtr> args) {
    MarkCallee(callee.get());
    auto node = std::make_unique<CallExpr>(callee->position, std::move(callee));
    node->args = std::move(args);
    return std::make_unique<CallStmt>(at, std::move(node));
  }

  bool IsBinaryStart() const {
    BinaryOp op;
    return PeekBinary(op);
  }

  void ParseBareArgs(std::vector<ExprPtr>& args) {
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
  static void MarkAppend(AssignStmt& stmt) {
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

  StmtPtr ParseDim(SourcePosition at) {
    auto stmt = std::make_unique<DimStmt>(at);
    do {
      DimItem item;
      const Token& nameToken = Peek();
      ExpectName();
      for (const auto& seen : current_->declared) {
        if (seen == Lower(nameToken.text)) Fail(1041, nameToken);
      }
      Declare(nameToken.text);
      DeclareAtTop(nameToken);
      item.target = NameNode(nameToken);
      if (AcceptOp(u"(")) ParseArrayBounds(item, true);
      stmt->items.push_back(std::move(item));
    } while (AcceptOp(u","));
    return stmt;
  }

  StmtPtr ParseConst() {
    const SourcePosition at = At(Next());
    auto stmt = std::make_unique<ConstStmt>(at);
    do {
      const Token& nameToken = Peek();
      ExpectName();
      Declare(nameToken.text);
      DeclareAtTop(nameToken);
      ExprPtr target = NameNode(nameToken);
      ExpectOp(u"=", 1011);
      stmt->items.emplace_back(std::move(target), ParseExpr());
    } while (AcceptOp(u","));
    return stmt;
  }

  StmtPtr ParseIf() {
    const SourcePosition at = At(Next());
    auto stmt = std::make_unique<IfStmt>(at);
    ExprPtr condition = ParseExpr();
    ExpectWord(u"then", 1017);
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
        ExpectWord(u"then", 1017);
        stmt->branches.emplace_back(std::move(c), ParseBlock());
      } else if (AcceptWord(u"else")) {
        stmt->elseBlock = ParseBlock();
      } else {
        break;
      }
    }
    ExpectEndOf(u"if", 1012);
    return stmt;
  }

  Block ParseLineStatements() {
    Block block;
    while (true) {
      while (Peek().kind == TokenKind::EndOfStatement && Peek().text == u":") Next();
      if (AtEnd() || IsWord(Peek(), u"else") || IsWord(Peek(), u"end")) break;
      if (StmtPtr s = ParseStatement()) block.push_back(std::move(s));
      if (!(Peek().kind == TokenKind::EndOfStatement && Peek().text == u":") && !AtEnd() &&
          !IsWord(Peek(), u"else")) {
        Fail(1025);
      }
    }
    return block;
  }

  StmtPtr ParseSelect() {
    const SourcePosition at = At(Next());
    ExpectWord(u"case", 1021);
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
      ExpectEnd();
      stmt->cases.emplace_back(std::move(values), ParseBlock());
    }
    ExpectEndOf(u"select", 1022);
    return stmt;
  }

  StmtPtr ParseFor() {
    const SourcePosition at = At(Next());
    if (AcceptWord(u"each")) {
      auto stmt = std::make_unique<ForEachStmt>(at);
      const Token& nameToken = Peek();
      ExpectName();
      auto* name = MakeName(nameToken);
      stmt->element.reset(name);
      assigned_.push_back(name);
      ExpectWord(u"in", 1046);
      stmt->group = ParseExpr();
      ExpectEnd();
      stmt->body = ParseBodyWithin(forDepth_);
      ExpectWord(u"next", 1020);
      if (!AtEnd()) ExpectName();
      return stmt;
    }
    auto stmt = std::make_unique<ForStmt>(at);
    const Token& nameToken = Peek();
    ExpectName();
    auto* name = MakeName(nameToken);
    stmt->counter.reset(name);
    assigned_.push_back(name);
    ExpectOp(u"=", 1011);
    stmt->from = ParseExpr();
    ExpectWord(u"to", 1013);
    stmt->to = ParseExpr();
    if (AcceptWord(u"step")) stmt->step = ParseExpr();
    ExpectEnd();
    stmt->body = ParseBodyWithin(forDepth_);
    if (!IsWord(Peek(), u"next")) Fail(1020);
    Next();
    if (!AtEnd()) ExpectName();
    return stmt;
  }

  StmtPtr ParseDo() {
    const SourcePosition at = At(Next());
    auto stmt = std::make_unique<DoStmt>(at);
    if (IsWord(Peek(), u"while") || IsWord(Peek(), u"until")) {
      stmt->until = IsWord(Next(), u"until");
      stmt->condition = ParseExpr();
    }
    ExpectEnd();
    stmt->body = ParseBodyWithin(doDepth_);
    if (!IsWord(Peek(), u"loop")) Fail(1019);
    Next();
    if (IsWord(Peek(), u"while") || IsWord(Peek(), u"until")) {
      if (stmt->condition) Fail(1025);
      stmt->until = IsWord(Next(), u"until");
      stmt->condition = ParseExpr();
      stmt->testFirst = false;
    }
    return stmt;
  }

  // The sizes of an array after its "(", up to and with the ")": `a(3, 4)`; `mayBeEmpty` for
  // Dim's dynamic array `a()`, which ReDim does not allow.
  void ParseArrayBounds(DimItem& item, bool mayBeEmpty) {
    item.isArray = true;
    if (mayBeEmpty && AcceptOp(u")")) return;
    do {
      item.bounds.push_back(ParseExpr());
    } while (AcceptOp(u","));
    ExpectOp(u")", 1006);
  }

  // The body of a loop or With; `depth` counts the ones around the code being parsed, for
  // Exit Do, Exit For and the With object's `.name`.
  Block ParseBodyWithin(int& depth) {
    ++depth;
    Block body = ParseBlock();
    --depth;
    return body;
  }

  // ---- name binding

  void Resolve() {
    // Names the top level declares or assigns are globals, so procedures see them; the top
    // level of Execute code inside a procedure is that procedure's, and its names are local.
    std::unordered_set<std::u16string> topNames;
    if (!enclosing_) {
      topNames.insert(top_->declared.begin(), top_->declared.end());
      for (NameExpr* name : assigned_) {
        if (std::find(top_->names.begin(), top_->names.end(), name) != top_->names.end()) {
          topNames.insert(Lower(name->name));
        }
      }
    }
    for (const auto& proc : program_->procedures) topNames.insert(Lower(proc->name));
    for (const auto& cls : program_->classes) topNames.insert(Lower(cls->name));
    topNames_ = &topNames;
    for (auto& scope : scopes_) ResolveScope(*scope);
    for (NewExpr* node : newNodes_) node->global = &interp_.GlobalFor(node->className);
    topNames_ = nullptr;
  }

  void ResolveScope(Scope& scope) {
    std::unordered_map<std::u16string, int> locals;
    Procedure* proc = scope.procedure;
    const ClassDef* cls = scope.classDef;
    if (!proc && enclosing_) {
      for (size_t i = 0; i < enclosing_->localNames.size(); ++i) {
        locals.emplace(Lower(enclosing_->localNames[i]), static_cast<int>(i));
      }
      nextFrameSlot_ = static_cast<int>(enclosing_->localNames.size());
      if (addedLocals_) {
        for (const std::u16string& added : *addedLocals_) {
          locals.emplace(Lower(added), nextFrameSlot_++);
        }
      }
      // What this code declares belongs to the procedure it runs in, as in a procedure body.
      for (const auto& name : scope.declared) AddFrameLocal(locals, name);
      cls = enclosingClass_;
    } else if (!proc && enclosingClass_) {
      cls = enclosingClass_;
    }
    std::u16string ownName;
    if (proc) {
      for (const auto& param : proc->params) AddLocal(*proc, locals, param.name);
      if (proc->kind == ProcKind::Function || proc->kind == ProcKind::PropertyGet) {
        proc->resultSlot = AddLocal(*proc, locals, proc->name);
        ownName = Lower(proc->name);
      }
      for (const auto& name : scope.declared) AddLocal(*proc, locals, name);
    }
    for (NameExpr* name : scope.names) {
      const std::u16string key = Lower(name->name);
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
      GlobalEntry* existing = interp_.FindGlobal(name->name);
      // An entry made only because some code read the name is no variable yet: a procedure
      // that assigns such a name gets a local, as when the name was never seen.
      const bool known =
          (existing && (existing->kind != GlobalKind::Variable || existing->declared)) ||
          topNames_->count(key);
      if (!known) {
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
      name->checkDeclared =
          program_->optionExplicit && !top_->declared.empty()
              ? std::find(top_->declared.begin(), top_->declared.end(), key) == top_->declared.end()
              : program_->optionExplicit;
    }
  }

  // A local of the running frame that Execute code brings in; its slot follows every slot
  // the frame has.
  int AddFrameLocal(std::unordered_map<std::u16string, int>& locals, const std::u16string& name) {
    const std::u16string key = Lower(name);
    auto it = locals.find(key);
    if (it != locals.end()) return it->second;
    const int slot = nextFrameSlot_++;
    program_->newLocals.push_back(name);
    locals.emplace(key, slot);
    return slot;
  }

  static int AddLocal(Procedure& proc, std::unordered_map<std::u16string, int>& locals,
                      const std::u16string& name) {
    const std::u16string key = Lower(name);
    auto it = locals.find(key);
    if (it != locals.end()) return it->second;
    const int slot = proc.localCount++;
    proc.localNames.push_back(name);
    locals.emplace(key, slot);
    return slot;
  }

  Interpreter& interp_;
  const Procedure* enclosing_;
  const ClassDef* enclosingClass_;
  const std::vector<std::u16string>* addedLocals_;
  int nextFrameSlot_ = 0;
  std::shared_ptr<Program> program_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_ = 0;
  int withDepth_ = 0;
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

}  // namespace

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
