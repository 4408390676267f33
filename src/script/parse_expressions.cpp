// The expression grammar: binary operators by precedence, unary operators, literals, names,
// New and Me, member access, calls and indexes.
#include "script/compile_errors.h"
#include "script/interpreter.h"
#include "script/parser_internal.h"
#include "script/variant_convert.h"

namespace vendil {

namespace {

// The binary operators as written, with their precedence (higher binds tighter).
struct BinaryOperator {
  std::u16string_view text;
  BinaryOp op;
  int precedence;
  bool isWord;
};
constexpr BinaryOperator kBinaryOperators[] = {
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

int Precedence(BinaryOp op) {
  for (const BinaryOperator& entry : kBinaryOperators) {
    if (entry.op == op) return entry.precedence;
  }
  return 7;
}

}  // namespace

ExprPtr Parser::ParseExpr(int minPrec) {
  DepthGuard guard(*this);
  ExprPtr left = ParseUnary();
  return ParseBinaryRest(std::move(left), minPrec);
}

bool Parser::PeekBinary(BinaryOp& op) const {
  const Token& t = Peek();
  if (t.kind != TokenKind::Operator && t.kind != TokenKind::Name) return false;
  if (t.bracketed) return false;
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

bool Parser::IsBinaryStart() const {
  BinaryOp op;
  return PeekBinary(op);
}

ExprPtr Parser::ParseBinaryRest(ExprPtr left, int minPrec) {
  BinaryOp op;
  while (PeekBinary(op) && Precedence(op) >= minPrec) {
    const Token& token = Next();
    const int prec = Precedence(op);
    ExprPtr right;
    {
      DepthGuard guard(*this);
      right = ParseBinaryRest(ParseUnary(), prec + 1);
    }
    auto node = std::make_unique<BinaryExpr>(At(token), op, std::move(left), std::move(right));
    node->literalOperand = node->left->IsNumericLiteral() || node->right->IsNumericLiteral();
    left = std::move(node);
  }
  return left;
}

ExprPtr Parser::ParseUnary() {
  DepthGuard guard(*this);
  const Token& token = Peek();
  if (IsWord(token, u"not")) {
    Next();
    return std::make_unique<UnaryExpr>(At(token), UnaryOp::Not, ParseExpr(7));
  }
  // A sign binds tighter than every binary operator, ^ too: -3^2 is 9.
  if (IsOp(token, u"-") || IsOp(token, u"+")) {
    Next();
    ExprPtr operand = ParseUnary();
    return std::make_unique<UnaryExpr>(
        At(token), IsOp(token, u"-") ? UnaryOp::Negate : UnaryOp::Plus, std::move(operand));
  }
  return ParsePostfix(ParsePrimary());
}

ExprPtr Parser::ParsePrimary() {
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
        ExprPtr inner = ParseExpr();
        ExpectOp(u")", CompileError::ExpectedCloseParen);
        return std::make_unique<ParenExpr>(At(token), std::move(inner));
      }
      if (IsOp(token, u".")) {  // the With object's member; 505 when there is none
        Next();
        const Token& member = Peek();
        if (member.kind != TokenKind::Name) Fail(CompileError::ExpectedIdentifier);
        Next();
        return std::make_unique<MemberExpr>(At(token), nullptr, member.text);
      }
      Fail(CompileError::ExpectedExpression);
    case TokenKind::Name:
      if (token.bracketed) {
        Next();
        return NameNode(token);
      }
      break;
    default:
      Fail(CompileError::ExpectedExpression);
  }
  const std::u16string word = FoldCaseU16(token.text);
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
    if (!current_->classDef && !enclosingClass_) Fail(CompileError::InvalidUseOfMeKeyword, token);
    return std::make_unique<MeExpr>(At(token));
  }
  if (word == u"new") {
    Next();
    auto node = std::make_unique<NewExpr>(At(token), ExpectName());
    newNodes_.push_back(node.get());
    return node;
  }
  if (IsReservedWord(word)) Fail(CompileError::ExpectedExpression);
  Next();
  return NameNode(token);
}

// Arguments up to ')' ; empty places are omitted arguments.
std::vector<ExprPtr> Parser::ParseArgsInParens() {
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
  ExpectOp(u")", CompileError::ExpectedCloseParen);
  return args;
}

ExprPtr Parser::ParsePostfix(ExprPtr expr) {
  int rounds = 0;
  while (true) {
    if (++rounds > kMaxNesting) Fail(28);
    const Token& token = Peek();
    if (IsOp(token, u".") && !token.spaceBefore) {
      Next();
      const Token& member = Peek();
      if (member.kind != TokenKind::Name) Fail(CompileError::ExpectedIdentifier);
      Next();
      expr = std::make_unique<MemberExpr>(At(token), std::move(expr), member.text);
    } else if (IsOp(token, u"(")) {
      const ParseMark mark = Mark();
      Next();
      // `(f)(x)` and `Call (((f))) (x)` call f with x: parentheses around a callee change
      // nothing about the call.
      while (auto* paren = dynamic_cast<ParenExpr*>(expr.get())) {
        ExprPtr inner = std::move(paren->inner);
        expr = std::move(inner);
      }
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

}  // namespace vendil
