// The syntax tree of a compiled script. Names are resolved when the tree is built: each
// name node knows whether it is a local slot, a global entry, a field of the class it is
// written in, or a built-in, so running it does no lookup by name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/variant.h"

namespace vendil {

class Interpreter;
struct GlobalEntry;
struct BuiltinEntry;
struct Procedure;
struct ClassDef;

struct SourcePosition {
  int line = 0;
  int column = 0;
};

// ---- expressions

struct NameExpr;
struct MemberExpr;
struct CallExpr;
struct BinaryExpr;

struct Expr {
  explicit Expr(SourcePosition at) : position(at) {}
  virtual ~Expr() = default;
  virtual Variant Eval(Interpreter& interp) const = 0;
  // Kind tests for the paths every statement takes, where dynamic_cast cost a fifth of a loop.
  virtual const NameExpr* AsName() const { return nullptr; }
  virtual const MemberExpr* AsMember() const { return nullptr; }
  virtual const CallExpr* AsCall() const { return nullptr; }
  virtual const BinaryExpr* AsBinary() const { return nullptr; }
  // A literal in the code (`1`, `"a"`, `True`, `-1`): a constant known from the start.
  virtual bool IsLiteral() const { return false; }
  // A number or date written as a literal right here (`5`, `&H1F`, `#1/2/2020#`, `(5)`; not
  // `-5` nor a constant's name): a text compared with it is read as a number.
  virtual bool IsNumericLiteral() const { return false; }
  SourcePosition position;
};
using ExprPtr = std::unique_ptr<Expr>;

// The arguments of a name or member read without parentheses (`x`, `obj.p`), told apart from
// an empty list in parentheses (`x()`, `obj.p()`) by its address.
const std::vector<ExprPtr>& NoArgs();
inline bool HasParens(const std::vector<ExprPtr>& args) { return &args != &NoArgs(); }

struct LiteralExpr : Expr {
  LiteralExpr(SourcePosition at, Variant v) : Expr(at), value(std::move(v)) {}
  Variant Eval(Interpreter& interp) const override;
  bool IsLiteral() const override { return true; }
  bool IsNumericLiteral() const override { return value.IsNumber() && !value.IsBoolean(); }
  Variant value;
};

// What a name stands for, fixed when the tree is built.
enum class NameKind {
  Local,       // slot of the running procedure's frame
  Global,      // a global entry (variable, constant, procedure, class, host object)
  Field,       // field of Me (the class the code is written in)
  MemberProc,  // method or property of Me
  Builtin,     // a built-in function or constant
  Special,     // Eval / Execute / ExecuteGlobal / GetRef-like names handled by the interpreter
};

struct ClassMember;

struct NameExpr : Expr {
  NameExpr(SourcePosition at, std::u16string n) : Expr(at), name(std::move(n)) {}
  Variant Eval(Interpreter& interp) const override;
  const NameExpr* AsName() const override { return this; }
  std::u16string name;
  NameKind kind = NameKind::Global;
  int slot = 0;                           // Local or Field index
  GlobalEntry* global = nullptr;          // Global
  const ClassMember* member = nullptr;    // MemberProc
  const BuiltinEntry* builtin = nullptr;  // Builtin
  int special = 0;                        // Special: 1 Eval, 2 Execute, 3 ExecuteGlobal, 4 GetRef
  bool checkDeclared = false;             // Option Explicit: a global not declared raises 500
  bool isCallee = false;  // written as a call: `F(x)` or `Call F`, not a read of F's result
};

struct MemberExpr : Expr {  // object.name; object null: the With object
  MemberExpr(SourcePosition at, ExprPtr o, std::u16string n)
      : Expr(at), object(std::move(o)), name(std::move(n)) {}
  Variant Eval(Interpreter& interp) const override;
  const MemberExpr* AsMember() const override { return this; }
  ExprPtr object;
  std::u16string name;
};

struct CallExpr : Expr {  // callee(args): a call, an array element or a default member
  CallExpr(SourcePosition at, ExprPtr c) : Expr(at), callee(std::move(c)) {}
  Variant Eval(Interpreter& interp) const override;
  const CallExpr* AsCall() const override { return this; }
  ExprPtr callee;
  std::vector<ExprPtr> args;  // null entries are omitted arguments
};

struct ParenExpr : Expr {  // (x): a value, never a reference
  ParenExpr(SourcePosition at, ExprPtr i) : Expr(at), inner(std::move(i)) {}
  Variant Eval(Interpreter& interp) const override;
  bool IsNumericLiteral() const override { return inner->IsNumericLiteral(); }
  ExprPtr inner;
};

enum class UnaryOp { Negate, Plus, Not };
struct UnaryExpr : Expr {
  UnaryExpr(SourcePosition at, UnaryOp o, ExprPtr x) : Expr(at), op(o), operand(std::move(x)) {}
  Variant Eval(Interpreter& interp) const override;
  bool IsLiteral() const override { return op != UnaryOp::Not && operand->IsLiteral(); }
  UnaryOp op;
  ExprPtr operand;
};

enum class BinaryOp {
  Add,
  Subtract,
  Multiply,
  Divide,
  IntDivide,
  Mod,
  Power,
  Concat,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  Is,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};
// `a + b`. A long chain `1 + 1 + ... + 1` nests its nodes to the left as deep as it is long:
// such a chain is evaluated and destroyed by walking it, not by recursion.
struct BinaryExpr : Expr {
  BinaryExpr(SourcePosition at, BinaryOp o, ExprPtr l, ExprPtr r);
  ~BinaryExpr() override;
  BinaryExpr(const BinaryExpr&) = delete;
  BinaryExpr& operator=(const BinaryExpr&) = delete;
  Variant Eval(Interpreter& interp) const override;
  const BinaryExpr* AsBinary() const override { return this; }
  // This operator applied to the value of its left side, already evaluated.
  Variant Apply(Interpreter& interp, Variant& leftValue) const;
  Variant EvalChain(Interpreter& interp) const;  // a long chain, walked
  BinaryOp op;
  ExprPtr left, right;
  bool literalOperand = false;  // either side is a number written as a literal: comparisons change
  int chainLength = 1;          // binary nodes down the left side, this one included
};

struct NewExpr : Expr {
  NewExpr(SourcePosition at, std::u16string n) : Expr(at), className(std::move(n)) {}
  Variant Eval(Interpreter& interp) const override;
  std::u16string className;
  GlobalEntry* global = nullptr;
};

struct MeExpr : Expr {
  using Expr::Expr;
  Variant Eval(Interpreter& interp) const override;
};

// ---- statements

enum class Flow { Normal, ExitDo, ExitFor, ExitProcedure };

struct Stmt {
  explicit Stmt(SourcePosition at) : position(at) {}
  virtual ~Stmt() = default;
  virtual Flow Exec(Interpreter& interp) const = 0;
  SourcePosition position;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct AssignStmt : Stmt {
  AssignStmt(SourcePosition at, ExprPtr t, ExprPtr v, bool s)
      : Stmt(at), target(std::move(t)), value(std::move(v)), isSet(s) {}
  Flow Exec(Interpreter& interp) const override;
  ExprPtr target, value;
  bool isSet;
  bool appendsToTarget = false;  // `s = s & x`: append x to s in place
};

struct CallStmt : Stmt {
  CallStmt(SourcePosition at, ExprPtr c) : Stmt(at), call(std::move(c)) {}
  Flow Exec(Interpreter& interp) const override;
  ExprPtr call;  // a CallExpr, NameExpr or MemberExpr
};

struct DimItem {
  ExprPtr target;               // a NameExpr
  std::vector<ExprPtr> bounds;  // upper bounds; empty with `isArray` for `Dim a()`
  bool isArray = false;
};

struct DimStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  std::vector<DimItem> items;
};

struct ReDimStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  bool preserve = false;
  std::vector<DimItem> items;
};

struct ConstStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  std::vector<std::pair<ExprPtr, ExprPtr>> items;  // name, value
};

struct EraseStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  std::vector<ExprPtr> targets;
};

struct IfStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  std::vector<std::pair<ExprPtr, Block>> branches;
  Block elseBlock;
};

struct SelectStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  ExprPtr subject;
  std::vector<std::pair<std::vector<ExprPtr>, Block>> cases;
  Block elseBlock;
  bool hasElse = false;
};

struct ForStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  ExprPtr counter, from, to, step;  // step may be null
  Block body;
};

struct ForEachStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  ExprPtr element, group;
  Block body;
};

struct DoStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  ExprPtr condition;  // may be null
  bool until = false;
  bool testFirst = true;
  bool isWhileWend = false;
  Block body;
};

struct ExitStmt : Stmt {
  ExitStmt(SourcePosition at, Flow f) : Stmt(at), flow(f) {}
  Flow Exec(Interpreter&) const override { return flow; }
  Flow flow;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt(SourcePosition at, bool r) : Stmt(at), resumeNext(r) {}
  Flow Exec(Interpreter& interp) const override;
  bool resumeNext;
};

struct WithStmt : Stmt {
  using Stmt::Stmt;
  Flow Exec(Interpreter& interp) const override;
  ExprPtr object;
  Block body;
};

// ---- procedures and classes

// Constants whose value is a literal, known from the start of their program or procedure
// wherever their Const statement stands: the name node and the literal.
using HoistedConstants = std::vector<std::pair<const NameExpr*, const Expr*>>;

enum class ProcKind { Sub, Function, PropertyGet, PropertyLet, PropertySet };

struct Parameter {
  std::u16string name;
  bool byRef = true;
};

struct Procedure {
  std::u16string name;
  ProcKind kind = ProcKind::Sub;
  std::vector<Parameter> params;
  Block body;
  int localCount = 0;   // params first, then the result slot, then other locals
  int resultSlot = -1;  // Function and Property Get
  bool isPublic = true;
  bool isDefault = false;
  const ClassDef* owner = nullptr;
  const struct Program* program = nullptr;  // where its text is, for error reports
  std::vector<std::u16string> localNames;   // by slot, for Execute/Eval inside it
  HoistedConstants constants;
};

// A member of a class as the code names it: a field or procedures of one name.
struct ClassMember {
  std::u16string name;
  int field = -1;  // index into the fields of an instance
  bool isPublic = true;
  bool fieldIsArray = false;
  std::vector<ExprPtr>* fieldBounds = nullptr;
  const Procedure* method = nullptr;  // Sub or Function
  const Procedure* getter = nullptr;
  const Procedure* letter = nullptr;
  const Procedure* setter = nullptr;
};

struct ClassDef {
  std::u16string name;
  std::vector<std::unique_ptr<Procedure>> procedures;
  std::vector<ClassMember> members;
  std::vector<DimItem> fieldDims;  // fields declared as arrays: item.target unused
  std::vector<int> fieldDimIndex;  // field index of each fieldDims entry
  int fieldCount = 0;
  const Procedure* initialize = nullptr;
  const Procedure* terminate = nullptr;
  const ClassMember* defaultMember = nullptr;
  const ClassMember* Find(std::u16string_view name) const;
};

// One compiled piece of code: its top-level statements, procedures and classes.
struct Program {
  Block topLevel;
  std::vector<std::unique_ptr<Procedure>> procedures;
  std::vector<std::unique_ptr<ClassDef>> classes;
  std::vector<std::u16string> lines;  // the source lines, for error reports
  size_t sourceUnits = 0;             // the length of the text it was compiled from
  bool optionExplicit = false;
  bool runByExecute = false;   // code a script gave Execute, ExecuteGlobal or Eval
  HoistedConstants constants;  // of the top level
  ExprPtr expression;          // what Eval evaluates
  // Code run by Execute inside a procedure: the variables it declares (or assigns without
  // declaring) that the procedure did not have, which join the running frame in this order.
  std::vector<std::u16string> newLocals;
};

}  // namespace vendil
