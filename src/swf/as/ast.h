// The syntax tree the parser builds and the code generator walks.
#pragma once

#include "swf/as/compiler.h"
#include "swf/as/token.h"

#include <memory> // owning child pointers
#include <string> // names and literals
#include <vector> // lists of children

namespace swf::as {

struct Expr;
struct Stmt;
using ExprPtr = std::unique_ptr<Expr>;
using StmtPtr = std::unique_ptr<Stmt>;

struct Function {
    std::string name; // empty for a function expression
    std::vector<std::string> params;
    std::vector<StmtPtr> body;
};

enum class ExprKind {
    Number, // number
    String, // text
    True,
    False,
    Null,
    Undefined,
    This,
    Identifier,    // text
    Member,        // a.b: a, text
    Index,         // a[b]: a, b
    Call,          // a(args)
    New,           // new a(args)
    Object,        // {keys[i]: args[i]}
    Array,         // [args]
    Function,      // function
    Unary,         // op a (Not, Minus, Plus, Tilde; typeof, delete, void by text)
    PreIncrement,  // ++a / --a: op, a
    PostIncrement, // a++ / a--: op, a
    Binary,        // a op b
    LogicalAnd,    // a && b
    LogicalOr,     // a || b
    Conditional,   // a ? b : c
    Assign,        // a op b, op Assign or a compound assignment
    Comma,         // a, b
};

struct Expr {
    ExprKind kind;
    SourcePos pos;
    TokenKind op = TokenKind::End;
    std::string text;
    double number = 0;
    ExprPtr a, b, c;
    std::vector<ExprPtr> args;
    std::vector<std::string> keys;
    std::unique_ptr<Function> function;
};

enum class StmtKind {
    Expression, // expr
    Var,        // names[i] = inits[i] (null when absent)
    Block,      // body
    If,         // if (expr) body[0] else else_branch
    While,      // while (expr) body[0]
    DoWhile,    // do body[0] while (expr)
    For,        // for (init; expr; update) body[0]; each part may be null
    ForIn,      // for ([var] names[0] in expr) body[0]; is_var
    Switch,     // switch (expr) { cases }
    Break,
    Continue,
    Return,   // expr may be null
    Function, // function declaration
    Empty,
};

struct SwitchCase {
    ExprPtr test; // null for default
    std::vector<StmtPtr> body;
};

struct Stmt {
    StmtKind kind;
    SourcePos pos;
    ExprPtr expr;
    ExprPtr update;
    StmtPtr init; // For: a Var or Expression statement
    std::vector<StmtPtr> body;
    StmtPtr else_branch;
    std::vector<std::string> names;
    std::vector<ExprPtr> inits;
    std::vector<SwitchCase> cases;
    std::unique_ptr<Function> function;
    bool is_var = false;
};

} // namespace swf::as
