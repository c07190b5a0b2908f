// The syntax tree the parser builds and the code generator walks.
#pragma once

#include "swf/as/compiler.h"
#include "swf/as/token.h"

#include <algorithm> // block growth
#include <memory>    // node storage
#include <new>       // placement of nodes
#include <string>    // names and literals
#include <vector>    // lists of children

namespace swf::as {

struct Expr;
struct Stmt;
// Nodes belong to the tree's NodeArena; children are plain pointers into it.
using ExprPtr = Expr*;
using StmtPtr = Stmt*;

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
    ExprKind kind = ExprKind::Number;
    SourcePos pos;
    TokenKind op = TokenKind::End;
    std::string text;
    double number = 0;
    ExprPtr a = nullptr;
    ExprPtr b = nullptr;
    ExprPtr c = nullptr;
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
    ExprPtr test = nullptr; // null for default
    std::vector<StmtPtr> body;
};

struct Stmt {
    StmtKind kind = StmtKind::Empty;
    SourcePos pos;
    ExprPtr expr = nullptr;
    ExprPtr update = nullptr;
    StmtPtr init = nullptr; // For: a Var or Expression statement
    std::vector<StmtPtr> body;
    StmtPtr else_branch = nullptr;
    std::vector<std::string> names;
    std::vector<ExprPtr> inits;
    std::vector<SwitchCase> cases;
    std::unique_ptr<Function> function;
    bool is_var = false;
};

// Owns every node of one tree; nodes are made in blocks, so a script costs few allocations, and freed
// together without recursion however deep the tree is.
template <typename T> class NodePool {
public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;
    ~NodePool() {
        for (Block& b : blocks_) {
            for (size_t i = 0; i < b.used; ++i) {
                std::launder(reinterpret_cast<T*>(&b.storage[i]))->~T();
            }
        }
    }

    T* make() {
        if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
            const size_t capacity = blocks_.empty() ? 8 : std::min<size_t>(blocks_.back().capacity * 2, 256);
            blocks_.push_back(Block{std::make_unique<Storage[]>(capacity), capacity, 0});
        }
        Block& b = blocks_.back();
        return new (&b.storage[b.used++]) T();
    }

private:
    struct Storage {
        alignas(T) unsigned char bytes[sizeof(T)];
    };
    struct Block {
        std::unique_ptr<Storage[]> storage; // constructed up to `used`
        size_t capacity;
        size_t used;
    };
    std::vector<Block> blocks_;
};

struct NodeArena {
    NodePool<Expr> exprs;
    NodePool<Stmt> stmts;
};

// A parsed script: its statements and the arena that holds them.
struct Program {
    std::unique_ptr<NodeArena> arena = std::make_unique<NodeArena>();
    std::vector<StmtPtr> body;
};

} // namespace swf::as
