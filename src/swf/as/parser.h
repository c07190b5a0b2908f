// Recursive-descent parser from tokens to the syntax tree; stops at the first error.
#pragma once

#include "swf/as/ast.h"
#include "swf/as/lexer.h"

#include <string_view> // the source
#include <vector>      // the program

namespace swf::as {

// Thrown inside the compiler only; compile() turns it into a CompileError.
struct CompileFailure {
    CompileError error;
};

// Deepest nesting of statements and expressions the parser accepts.
inline constexpr int kMaxNesting = 500;

class Parser {
public:
    explicit Parser(std::string_view source);

    // The whole program; throws CompileFailure.
    Program parse_program();

private:
    // Counts nesting for the time a rule runs, so deep input fails with a message.
    class Level {
    public:
        explicit Level(Parser& p);
        ~Level() { --p_.depth_; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;

    private:
        Parser& p_;
    };

    StmtPtr statement();
    StmtPtr block_statement();
    StmtPtr var_statement();
    StmtPtr if_statement();
    StmtPtr while_statement();
    StmtPtr do_while_statement();
    StmtPtr for_statement();
    StmtPtr switch_statement();
    StmtPtr return_statement();
    StmtPtr function_declaration();
    std::unique_ptr<Function> function_rest(std::string name, SourcePos open);
    std::vector<StmtPtr> braced_body();

    ExprPtr expression();
    ExprPtr assignment();
    ExprPtr conditional();
    ExprPtr binary(int limit);
    ExprPtr unary();
    ExprPtr postfix();
    ExprPtr call_or_member();
    ExprPtr new_expression();
    bool member_suffix(ExprPtr& e);
    ExprPtr parenthesized(std::string_view keyword);
    ExprPtr primary();
    ExprPtr object_literal();
    ExprPtr array_literal();
    std::vector<ExprPtr> arguments();

    void advance();
    bool check(TokenKind kind) const { return tok_.kind == kind; }
    bool check_keyword(std::string_view word) const;
    bool accept(TokenKind kind);
    void expect(TokenKind kind, std::string_view what);
    void expect_closer(TokenKind kind, std::string_view closer, std::string_view opener, SourcePos open);
    void end_statement();
    std::string identifier_name(std::string_view what);
    [[noreturn]] void fail(std::string message) const;
    [[noreturn]] void fail_near(std::string message) const;
    void enter_level();
    ExprPtr make(ExprKind kind, SourcePos pos);
    StmtPtr make_stmt(StmtKind kind, SourcePos pos);

    Program program_;
    Lexer lexer_;
    Token tok_;
    Token ahead_; // one token of lookahead, filled on demand
    bool has_ahead_ = false;
    int depth_ = 0;

    const Token& peek_ahead();
};

} // namespace swf::as
