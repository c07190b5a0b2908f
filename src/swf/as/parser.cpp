// Parser: one method per grammar rule (the rule in the comment above it), binary operators through one
// precedence-driven method, nesting counted so that deep input gives a message.
#include "swf/as/parser.h"

#include <cmath>  // integral keys
#include <string> // messages

namespace swf::as {

namespace {

// Binary operators and their priorities; all are left-associative.
struct BinaryOp {
    TokenKind kind;
    int priority;
};

constexpr BinaryOp kBinaryOps[] = {
    {TokenKind::PipePipe, 1},  {TokenKind::AmpAmp, 2}, {TokenKind::Pipe, 3},    {TokenKind::Caret, 4},
    {TokenKind::Amp, 5},       {TokenKind::EqEq, 6},   {TokenKind::NotEq, 6},   {TokenKind::EqEqEq, 6},
    {TokenKind::NotEqEq, 6},   {TokenKind::Less, 7},   {TokenKind::Greater, 7}, {TokenKind::LessEq, 7},
    {TokenKind::GreaterEq, 7}, {TokenKind::Shl, 8},    {TokenKind::Shr, 8},     {TokenKind::UShr, 8},
    {TokenKind::Plus, 9},      {TokenKind::Minus, 9},  {TokenKind::Star, 10},   {TokenKind::Slash, 10},
    {TokenKind::Percent, 10},
};
constexpr int kInstanceOfPriority = 7;

bool is_assign_op(TokenKind k) {
    switch (k) {
    case TokenKind::Assign:
    case TokenKind::PlusAssign:
    case TokenKind::MinusAssign:
    case TokenKind::StarAssign:
    case TokenKind::SlashAssign:
    case TokenKind::PercentAssign:
    case TokenKind::ShlAssign:
    case TokenKind::ShrAssign:
    case TokenKind::UShrAssign:
    case TokenKind::AmpAssign:
    case TokenKind::PipeAssign:
    case TokenKind::CaretAssign:
        return true;
    default:
        return false;
    }
}

bool is_reference(const Expr& e) {
    return e.kind == ExprKind::Identifier || e.kind == ExprKind::Member || e.kind == ExprKind::Index;
}

} // namespace

Parser::Level::Level(Parser& p) : p_(p) {
    p_.enter_level();
}

Parser::Parser(std::string_view source) : lexer_(source) {
    advance();
}

void Parser::enter_level() {
    if (++depth_ > kMaxNesting) {
        fail("nesting too deep");
    }
}

void Parser::advance() {
    if (has_ahead_) {
        tok_ = std::move(ahead_);
        has_ahead_ = false;
    } else {
        tok_ = lexer_.next();
    }
    if (tok_.kind == TokenKind::Error) {
        fail(tok_.text);
    }
}

const Token& Parser::peek_ahead() {
    if (!has_ahead_) {
        ahead_ = lexer_.next();
        has_ahead_ = true;
    }
    return ahead_;
}

bool Parser::check_keyword(std::string_view word) const {
    return tok_.keyword && tok_.text == word;
}

bool Parser::accept(TokenKind kind) {
    if (!check(kind)) {
        return false;
    }
    advance();
    return true;
}

void Parser::fail(std::string message) const {
    throw CompileFailure{CompileError{tok_.pos, std::move(message)}};
}

void Parser::fail_near(std::string message) const {
    if (tok_.kind == TokenKind::End) {
        fail(message + " at end of input");
    }
    const std::string shown = tok_.kind == TokenKind::String ? "\"" + tok_.text + "\"" : tok_.text;
    fail(message + " near '" + shown + "'");
}

void Parser::expect(TokenKind kind, std::string_view what) {
    if (!accept(kind)) {
        fail_near("expected " + std::string(what));
    }
}

void Parser::expect_closer(TokenKind kind, std::string_view closer, std::string_view opener, SourcePos open) {
    if (accept(kind)) {
        return;
    }
    std::string message = "expected '" + std::string(closer) + "'";
    if (open.line != tok_.pos.line) {
        message += " (to close '" + std::string(opener) + "' at line " + std::to_string(open.line) + ")";
    }
    fail_near(message);
}

// Semicolons as JavaScript takes them: required unless a '}', the end or a line break follows.
void Parser::end_statement() {
    if (accept(TokenKind::Semicolon)) {
        return;
    }
    if (check(TokenKind::RBrace) || check(TokenKind::End) || tok_.newline_before) {
        return;
    }
    fail_near("expected ';'");
}

std::string Parser::identifier_name(std::string_view what) {
    if (!check(TokenKind::Identifier) || tok_.keyword) {
        fail_near("expected " + std::string(what));
    }
    std::string name = tok_.text;
    advance();
    return name;
}

ExprPtr Parser::make(ExprKind kind, SourcePos pos) {
    Expr* e = program_.arena->exprs.make();
    e->kind = kind;
    e->pos = pos;
    return e;
}

StmtPtr Parser::make_stmt(StmtKind kind, SourcePos pos) {
    Stmt* s = program_.arena->stmts.make();
    s->kind = kind;
    s->pos = pos;
    return s;
}

// program: statement* END
Program Parser::parse_program() {
    while (!check(TokenKind::End)) {
        program_.body.push_back(statement());
    }
    return std::move(program_);
}

// statement: block | var | if | while | do | for | switch | break | continue | return | function | ';'
//          | expression ';'
StmtPtr Parser::statement() {
    Level level(*this);
    const SourcePos pos = tok_.pos;
    if (check(TokenKind::LBrace)) {
        return block_statement();
    }
    if (accept(TokenKind::Semicolon)) {
        return make_stmt(StmtKind::Empty, pos);
    }
    if (check(TokenKind::RBrace)) {
        fail("unexpected '}'");
    }
    if (tok_.keyword) {
        const std::string& w = tok_.text;
        if (w == "var") {
            return var_statement();
        }
        if (w == "if") {
            return if_statement();
        }
        if (w == "while") {
            return while_statement();
        }
        if (w == "do") {
            return do_while_statement();
        }
        if (w == "for") {
            return for_statement();
        }
        if (w == "switch") {
            return switch_statement();
        }
        if (w == "return") {
            return return_statement();
        }
        if (w == "break" || w == "continue") {
            auto s = make_stmt(w == "break" ? StmtKind::Break : StmtKind::Continue, pos);
            advance();
            end_statement();
            return s;
        }
        if (w == "function" && peek_ahead().kind == TokenKind::Identifier) {
            return function_declaration();
        }
        if (w == "else" || w == "case" || w == "default" || w == "in" || w == "instanceof") {
            fail("unexpected '" + w + "'");
        }
    }
    auto s = make_stmt(StmtKind::Expression, pos);
    s->expr = expression();
    end_statement();
    return s;
}

// block: '{' statement* '}'
StmtPtr Parser::block_statement() {
    auto s = make_stmt(StmtKind::Block, tok_.pos);
    s->body = braced_body();
    return s;
}

std::vector<StmtPtr> Parser::braced_body() {
    const SourcePos open = tok_.pos;
    expect(TokenKind::LBrace, "'{'");
    std::vector<StmtPtr> body;
    while (!check(TokenKind::RBrace) && !check(TokenKind::End)) {
        body.push_back(statement());
    }
    expect_closer(TokenKind::RBrace, "}", "{", open);
    return body;
}

// var: 'var' NAME ['=' assignment] {',' NAME ['=' assignment]} ';'
StmtPtr Parser::var_statement() {
    auto s = make_stmt(StmtKind::Var, tok_.pos);
    advance();
    do {
        s->names.push_back(identifier_name("a variable name"));
        s->inits.push_back(accept(TokenKind::Assign) ? assignment() : nullptr);
    } while (accept(TokenKind::Comma));
    end_statement();
    return s;
}

// '(' expression ')' after the keyword `keyword` (named in the message when the '(' is missing)
ExprPtr Parser::parenthesized(std::string_view keyword) {
    const SourcePos open = tok_.pos;
    expect(TokenKind::LParen, "'(' after '" + std::string(keyword) + "'");
    ExprPtr e = expression();
    expect_closer(TokenKind::RParen, ")", "(", open);
    return e;
}

// if: 'if' '(' expression ')' statement ['else' statement]
StmtPtr Parser::if_statement() {
    auto s = make_stmt(StmtKind::If, tok_.pos);
    advance();
    s->expr = parenthesized("if");
    s->body.push_back(statement());
    if (check_keyword("else")) {
        advance();
        s->else_branch = statement();
    }
    return s;
}

// while: 'while' '(' expression ')' statement
StmtPtr Parser::while_statement() {
    auto s = make_stmt(StmtKind::While, tok_.pos);
    advance();
    s->expr = parenthesized("while");
    s->body.push_back(statement());
    return s;
}

// do: 'do' statement 'while' '(' expression ')' [';']
StmtPtr Parser::do_while_statement() {
    auto s = make_stmt(StmtKind::DoWhile, tok_.pos);
    advance();
    s->body.push_back(statement());
    if (!check_keyword("while")) {
        fail_near("expected 'while'");
    }
    advance();
    s->expr = parenthesized("while");
    accept(TokenKind::Semicolon);
    return s;
}

// for: 'for' '(' [var | expression] ';' [expression] ';' [expression] ')' statement
//    | 'for' '(' ['var'] NAME 'in' expression ')' statement
StmtPtr Parser::for_statement() {
    const SourcePos pos = tok_.pos;
    advance();
    const SourcePos open = tok_.pos;
    expect(TokenKind::LParen, "'(' after 'for'");
    StmtPtr init = nullptr;
    if (check_keyword("var")) {
        const SourcePos var_pos = tok_.pos;
        advance();
        std::string name = identifier_name("a variable name");
        if (check_keyword("in")) {
            advance();
            auto s = make_stmt(StmtKind::ForIn, pos);
            s->is_var = true;
            s->names.push_back(std::move(name));
            s->expr = expression();
            expect_closer(TokenKind::RParen, ")", "(", open);
            s->body.push_back(statement());
            return s;
        }
        init = make_stmt(StmtKind::Var, var_pos);
        init->names.push_back(std::move(name));
        init->inits.push_back(accept(TokenKind::Assign) ? assignment() : nullptr);
        while (accept(TokenKind::Comma)) {
            init->names.push_back(identifier_name("a variable name"));
            init->inits.push_back(accept(TokenKind::Assign) ? assignment() : nullptr);
        }
    } else if (!check(TokenKind::Semicolon)) {
        const SourcePos expr_pos = tok_.pos;
        ExprPtr e = expression();
        if (check_keyword("in")) {
            if (e->kind != ExprKind::Identifier) {
                fail_near("expected a variable name before 'in'");
            }
            advance();
            auto s = make_stmt(StmtKind::ForIn, pos);
            s->names.push_back(e->text);
            s->expr = expression();
            expect_closer(TokenKind::RParen, ")", "(", open);
            s->body.push_back(statement());
            return s;
        }
        init = make_stmt(StmtKind::Expression, expr_pos);
        init->expr = std::move(e);
    }
    auto s = make_stmt(StmtKind::For, pos);
    s->init = std::move(init);
    expect(TokenKind::Semicolon, "';' in 'for'");
    if (!check(TokenKind::Semicolon)) {
        s->expr = expression();
    }
    expect(TokenKind::Semicolon, "';' in 'for'");
    if (!check(TokenKind::RParen)) {
        s->update = expression();
    }
    expect_closer(TokenKind::RParen, ")", "(", open);
    s->body.push_back(statement());
    return s;
}

// switch: 'switch' '(' expression ')' '{' {('case' expression | 'default') ':' statement*} '}'
StmtPtr Parser::switch_statement() {
    auto s = make_stmt(StmtKind::Switch, tok_.pos);
    advance();
    s->expr = parenthesized("switch");
    const SourcePos brace = tok_.pos;
    expect(TokenKind::LBrace, "'{' after 'switch'");
    bool has_default = false;
    while (!check(TokenKind::RBrace) && !check(TokenKind::End)) {
        SwitchCase c;
        if (check_keyword("case")) {
            advance();
            c.test = expression();
        } else if (check_keyword("default")) {
            if (has_default) {
                fail("more than one 'default' in 'switch'");
            }
            has_default = true;
            advance();
        } else {
            fail_near("expected 'case' or 'default'");
        }
        expect(TokenKind::Colon, "':'");
        while (!check(TokenKind::RBrace) && !check(TokenKind::End) && !check_keyword("case") &&
               !check_keyword("default")) {
            c.body.push_back(statement());
        }
        s->cases.push_back(std::move(c));
    }
    expect_closer(TokenKind::RBrace, "}", "{", brace);
    return s;
}

// return: 'return' [expression] ';'   (the value must start on the same line)
StmtPtr Parser::return_statement() {
    auto s = make_stmt(StmtKind::Return, tok_.pos);
    advance();
    if (!check(TokenKind::Semicolon) && !check(TokenKind::RBrace) && !check(TokenKind::End) &&
        !tok_.newline_before) {
        s->expr = expression();
    }
    end_statement();
    return s;
}

// function: 'function' NAME '(' [NAME {',' NAME}] ')' '{' statement* '}'
StmtPtr Parser::function_declaration() {
    auto s = make_stmt(StmtKind::Function, tok_.pos);
    advance();
    std::string name = identifier_name("a function name");
    s->function = function_rest(std::move(name), tok_.pos);
    return s;
}

std::unique_ptr<Function> Parser::function_rest(std::string name, SourcePos open) {
    auto f = std::make_unique<Function>();
    f->name = std::move(name);
    expect(TokenKind::LParen, "'(' after function name");
    if (!check(TokenKind::RParen)) {
        do {
            f->params.push_back(identifier_name("a parameter name"));
        } while (accept(TokenKind::Comma));
    }
    expect_closer(TokenKind::RParen, ")", "(", open);
    f->body = braced_body();
    return f;
}

// expression: assignment {',' assignment}
ExprPtr Parser::expression() {
    Level level(*this);
    ExprPtr left = assignment();
    const int saved = depth_;
    while (check(TokenKind::Comma)) {
        enter_level();
        auto e = make(ExprKind::Comma, tok_.pos);
        advance();
        e->a = std::move(left);
        e->b = assignment();
        left = std::move(e);
    }
    depth_ = saved;
    return left;
}

// assignment: conditional [ASSIGN_OP assignment]   (the left side a variable or member)
ExprPtr Parser::assignment() {
    Level level(*this);
    ExprPtr left = conditional();
    if (!is_assign_op(tok_.kind)) {
        return left;
    }
    if (!is_reference(*left)) {
        fail_near("invalid assignment target");
    }
    auto e = make(ExprKind::Assign, tok_.pos);
    e->op = tok_.kind;
    advance();
    e->a = std::move(left);
    e->b = assignment();
    return e;
}

// conditional: binary ['?' assignment ':' assignment]
ExprPtr Parser::conditional() {
    ExprPtr cond = binary(0);
    if (!check(TokenKind::Question)) {
        return cond;
    }
    auto e = make(ExprKind::Conditional, tok_.pos);
    advance();
    e->a = std::move(cond);
    e->b = assignment();
    expect(TokenKind::Colon, "':' in conditional expression");
    e->c = assignment();
    return e;
}

// binary: unary {BINARY_OP binary}, taking only operators that bind tighter than `limit`
ExprPtr Parser::binary(int limit) {
    Level level(*this);
    ExprPtr left = unary();
    const int saved = depth_;
    while (true) {
        int priority = 0;
        for (const BinaryOp& op : kBinaryOps) {
            if (op.kind == tok_.kind) {
                priority = op.priority;
            }
        }
        const bool instance_of = check_keyword("instanceof");
        if (instance_of) {
            priority = kInstanceOfPriority;
        }
        if (priority == 0 || priority <= limit) {
            break;
        }
        enter_level(); // a long chain nests as deep as its length
        ExprKind kind = ExprKind::Binary;
        if (tok_.kind == TokenKind::AmpAmp) {
            kind = ExprKind::LogicalAnd;
        } else if (tok_.kind == TokenKind::PipePipe) {
            kind = ExprKind::LogicalOr;
        }
        auto e = make(kind, tok_.pos);
        e->op = tok_.kind;
        if (instance_of) {
            e->text = "instanceof";
        }
        advance();
        e->a = std::move(left);
        e->b = binary(priority);
        left = std::move(e);
    }
    depth_ = saved;
    return left;
}

// unary: ('!' | '-' | '+' | '~' | 'typeof' | 'delete' | 'void') unary | ('++' | '--') unary | postfix
ExprPtr Parser::unary() {
    Level level(*this);
    const SourcePos pos = tok_.pos;
    if (check(TokenKind::Not) || check(TokenKind::Minus) || check(TokenKind::Plus) ||
        check(TokenKind::Tilde) || check_keyword("typeof") || check_keyword("delete") ||
        check_keyword("void")) {
        auto e = make(ExprKind::Unary, pos);
        e->op = tok_.kind;
        if (tok_.kind == TokenKind::Identifier) {
            e->text = tok_.text;
        }
        advance();
        e->a = unary();
        return e;
    }
    if (check(TokenKind::PlusPlus) || check(TokenKind::MinusMinus)) {
        auto e = make(ExprKind::PreIncrement, pos);
        e->op = tok_.kind;
        advance();
        e->a = unary();
        if (!is_reference(*e->a)) {
            fail("invalid increment target");
        }
        return e;
    }
    return postfix();
}

// postfix: call_or_member [('++' | '--') on the same line]
ExprPtr Parser::postfix() {
    ExprPtr e = call_or_member();
    if ((check(TokenKind::PlusPlus) || check(TokenKind::MinusMinus)) && !tok_.newline_before) {
        if (!is_reference(*e)) {
            fail_near("invalid increment target");
        }
        auto p = make(ExprKind::PostIncrement, tok_.pos);
        p->op = tok_.kind;
        advance();
        p->a = std::move(e);
        return p;
    }
    return e;
}

// member_suffix: '.' NAME | '[' expression ']', applied to `e`; false (consuming nothing) when neither
// follows
bool Parser::member_suffix(ExprPtr& e) {
    const SourcePos pos = tok_.pos;
    if (accept(TokenKind::Dot)) {
        enter_level();
        if (!check(TokenKind::Identifier)) {
            fail_near("expected a member name after '.'");
        }
        auto m = make(ExprKind::Member, pos);
        m->a = std::move(e);
        m->text = tok_.text;
        advance();
        e = std::move(m);
        return true;
    }
    if (accept(TokenKind::LBracket)) {
        enter_level();
        auto m = make(ExprKind::Index, pos);
        m->a = std::move(e);
        m->b = expression();
        expect_closer(TokenKind::RBracket, "]", "[", pos);
        e = std::move(m);
        return true;
    }
    return false;
}

// call_or_member: (new_expression | primary) {'.' NAME | '[' expression ']' | arguments}
ExprPtr Parser::call_or_member() {
    ExprPtr e = check_keyword("new") ? new_expression() : primary();
    const int saved = depth_;
    while (true) {
        if (member_suffix(e)) {
            continue;
        }
        if (!check(TokenKind::LParen)) {
            break;
        }
        enter_level();
        auto c = make(ExprKind::Call, e->pos);
        c->a = std::move(e);
        c->args = arguments();
        e = std::move(c);
    }
    depth_ = saved;
    return e;
}

// new_expression: 'new' (new_expression | primary) {'.' NAME | '[' expression ']'} [arguments]
ExprPtr Parser::new_expression() {
    Level level(*this);
    auto e = make(ExprKind::New, tok_.pos);
    advance();
    ExprPtr callee = check_keyword("new") ? new_expression() : primary();
    while (member_suffix(callee)) {
    }
    e->a = std::move(callee);
    if (check(TokenKind::LParen)) {
        e->args = arguments();
    }
    return e;
}

// arguments: '(' [assignment {',' assignment}] ')'
std::vector<ExprPtr> Parser::arguments() {
    const SourcePos open = tok_.pos;
    expect(TokenKind::LParen, "'('");
    std::vector<ExprPtr> args;
    if (!check(TokenKind::RParen)) {
        do {
            args.push_back(assignment());
        } while (accept(TokenKind::Comma));
    }
    expect_closer(TokenKind::RParen, ")", "(", open);
    return args;
}

// primary: NUMBER | STRING | NAME | 'true' | 'false' | 'null' | 'undefined' | 'this'
//        | '(' expression ')' | object_literal | array_literal | 'function' [NAME] function_rest
ExprPtr Parser::primary() {
    Level level(*this);
    const SourcePos pos = tok_.pos;
    switch (tok_.kind) {
    case TokenKind::Number: {
        auto e = make(ExprKind::Number, pos);
        e->number = tok_.number;
        advance();
        return e;
    }
    case TokenKind::String: {
        auto e = make(ExprKind::String, pos);
        e->text = tok_.text;
        advance();
        return e;
    }
    case TokenKind::LParen: {
        advance();
        ExprPtr e = expression();
        expect_closer(TokenKind::RParen, ")", "(", pos);
        return e;
    }
    case TokenKind::LBrace:
        return object_literal();
    case TokenKind::LBracket:
        return array_literal();
    case TokenKind::Identifier:
        break;
    default:
        fail_near("expected an expression");
    }
    static constexpr struct {
        std::string_view word;
        ExprKind kind;
    } kLiterals[] = {{"true", ExprKind::True},
                     {"false", ExprKind::False},
                     {"null", ExprKind::Null},
                     {"this", ExprKind::This},
                     {"undefined", ExprKind::Undefined}};
    for (const auto& lit : kLiterals) {
        if (tok_.keyword && tok_.text == lit.word) {
            advance();
            return make(lit.kind, pos);
        }
    }
    if (check_keyword("function")) {
        advance();
        std::string name;
        if (check(TokenKind::Identifier)) {
            name = identifier_name("a function name");
        }
        auto e = make(ExprKind::Function, pos);
        e->function = function_rest(std::move(name), tok_.pos);
        return e;
    }
    if (tok_.keyword) {
        fail_near("expected an expression");
    }
    auto e = make(ExprKind::Identifier, pos);
    e->text = tok_.text;
    advance();
    return e;
}

// object_literal: '{' [key ':' assignment {',' key ':' assignment}] '}'   key: NAME | STRING | NUMBER
ExprPtr Parser::object_literal() {
    auto e = make(ExprKind::Object, tok_.pos);
    const SourcePos open = tok_.pos;
    advance();
    if (!check(TokenKind::RBrace)) {
        do {
            if (check(TokenKind::RBrace)) {
                break; // a trailing comma
            }
            std::string key;
            if (check(TokenKind::Identifier) || check(TokenKind::String)) {
                key = tok_.text;
            } else if (check(TokenKind::Number)) {
                const double n = tok_.number;
                key = n == std::floor(n) && std::fabs(n) < 1e15 ? std::to_string(static_cast<long long>(n))
                                                                : tok_.text;
            } else {
                fail_near("expected a property name");
            }
            advance();
            expect(TokenKind::Colon, "':' after property name");
            e->keys.push_back(std::move(key));
            e->args.push_back(assignment());
        } while (accept(TokenKind::Comma));
    }
    expect_closer(TokenKind::RBrace, "}", "{", open);
    return e;
}

// array_literal: '[' {[assignment] ','} [assignment] ']'   (an element left out is undefined)
ExprPtr Parser::array_literal() {
    auto e = make(ExprKind::Array, tok_.pos);
    const SourcePos open = tok_.pos;
    advance();
    while (!check(TokenKind::RBracket)) {
        if (check(TokenKind::Comma)) { // a hole holds undefined
            e->args.push_back(make(ExprKind::Undefined, tok_.pos));
            advance();
            continue;
        }
        e->args.push_back(assignment());
        if (!accept(TokenKind::Comma)) {
            break;
        }
    }
    expect_closer(TokenKind::RBracket, "]", "[", open);
    return e;
}

} // namespace swf::as
