// Code generator. Register 0 only carries a value from one action to the next few (an assignment's
// result, a for-in name, a switch-free return through for-in cleanup), never across user code.
#include "swf/as/codegen.h"

#include "swf/as/parser.h" // CompileFailure

#include <algorithm> // lower-case names
#include <cmath>     // frame numbers
#include <optional>  // built-in look-up
#include <string>    // names

namespace swf::as {

namespace {

using Label = Emitter::Label;

// Flash 6 names are case-insensitive, so built-ins are matched in lower case.
std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

// The actions of a binary operator; comparisons without their own action are the inverse of another.
struct BinaryCode {
    Op op;
    bool negate;
};

std::optional<BinaryCode> binary_code(TokenKind k) {
    switch (k) {
    case TokenKind::Plus:
    case TokenKind::PlusAssign:
        return BinaryCode{Op::Add2, false};
    case TokenKind::Minus:
    case TokenKind::MinusAssign:
        return BinaryCode{Op::Subtract, false};
    case TokenKind::Star:
    case TokenKind::StarAssign:
        return BinaryCode{Op::Multiply, false};
    case TokenKind::Slash:
    case TokenKind::SlashAssign:
        return BinaryCode{Op::Divide, false};
    case TokenKind::Percent:
    case TokenKind::PercentAssign:
        return BinaryCode{Op::Modulo, false};
    case TokenKind::Shl:
    case TokenKind::ShlAssign:
        return BinaryCode{Op::BitLShift, false};
    case TokenKind::Shr:
    case TokenKind::ShrAssign:
        return BinaryCode{Op::BitRShift, false};
    case TokenKind::UShr:
    case TokenKind::UShrAssign:
        return BinaryCode{Op::BitURShift, false};
    case TokenKind::Amp:
    case TokenKind::AmpAssign:
        return BinaryCode{Op::BitAnd, false};
    case TokenKind::Pipe:
    case TokenKind::PipeAssign:
        return BinaryCode{Op::BitOr, false};
    case TokenKind::Caret:
    case TokenKind::CaretAssign:
        return BinaryCode{Op::BitXor, false};
    case TokenKind::Less:
        return BinaryCode{Op::Less2, false};
    case TokenKind::Greater:
        return BinaryCode{Op::Greater, false};
    case TokenKind::LessEq:
        return BinaryCode{Op::Greater, true};
    case TokenKind::GreaterEq:
        return BinaryCode{Op::Less2, true};
    case TokenKind::EqEq:
        return BinaryCode{Op::Equals2, false};
    case TokenKind::NotEq:
        return BinaryCode{Op::Equals2, true};
    case TokenKind::EqEqEq:
        return BinaryCode{Op::StrictEquals, false};
    case TokenKind::NotEqEq:
        return BinaryCode{Op::StrictEquals, true};
    default:
        return std::nullopt;
    }
}

// A loop or switch that break (and, for loops, continue) can leave.
struct Breakable {
    Label break_label;
    std::optional<Label> continue_label; // none for a switch
    bool for_in = false;                 // leaving it must pop the names left by Enumerate2
    bool break_used = false;
};

class CodeGen {
public:
    explicit CodeGen(ConstantPoolBuilder& pool) : pool_(pool) {}

    // One code block: hoisted function declarations first, then the statements in order.
    std::vector<uint8_t> block(const std::vector<StmtPtr>& body, bool in_function) {
        Emitter em(pool_);
        em_ = &em;
        in_function_ = in_function;
        for (const StmtPtr& s : body) {
            if (s->kind == StmtKind::Function) {
                statement(*s);
            }
        }
        for (const StmtPtr& s : body) {
            if (s->kind != StmtKind::Function) {
                statement(*s);
            }
        }
        return em.finish();
    }

private:
    [[noreturn]] static void fail(SourcePos pos, std::string message) {
        throw CompileFailure{CompileError{pos, std::move(message)}};
    }

    Emitter& em() { return *em_; }

    void function(const Function& f, SourcePos pos) {
        // The body is its own block with its own labels and loops; the pool is shared.
        Emitter* outer = em_;
        const bool outer_in_function = in_function_;
        std::vector<Breakable> outer_loops = std::move(loops_);
        loops_.clear();
        std::vector<uint8_t> body = block(f.body, true);
        em_ = outer;
        in_function_ = outer_in_function;
        loops_ = std::move(outer_loops);
        ActionDefineFunction def{f.name, f.params, std::move(body)};
        if (def.body.size() > 0xFFFF) {
            fail(pos, "function too long");
        }
        if (payload_size(Action{ActionDefineFunction{def.name, def.params, {}}}) > 0xFFFF) {
            fail(pos, "too many parameters");
        }
        em().emit(std::move(def));
    }

    // ---- statements

    void statement(const Stmt& s) {
        em().set_pos(s.pos);
        switch (s.kind) {
        case StmtKind::Expression:
            expression(*s.expr, false);
            break;
        case StmtKind::Var:
            var_statement(s);
            break;
        case StmtKind::Block:
            for (const StmtPtr& child : s.body) {
                statement(*child);
            }
            break;
        case StmtKind::If:
            if_statement(s);
            break;
        case StmtKind::While:
            while_statement(s);
            break;
        case StmtKind::DoWhile:
            do_while_statement(s);
            break;
        case StmtKind::For:
            for_statement(s);
            break;
        case StmtKind::ForIn:
            for_in_statement(s);
            break;
        case StmtKind::Switch:
            switch_statement(s);
            break;
        case StmtKind::Break:
            break_statement(s);
            break;
        case StmtKind::Continue:
            continue_statement(s);
            break;
        case StmtKind::Return:
            return_statement(s);
            break;
        case StmtKind::Function:
            function(*s.function, s.pos);
            break;
        case StmtKind::Empty:
            break;
        }
    }

    void var_statement(const Stmt& s) {
        for (size_t i = 0; i < s.names.size(); ++i) {
            em().push_string(s.names[i]);
            if (s.inits[i]) {
                expression(*s.inits[i], true);
                em().op(Op::DefineLocal);
            } else {
                em().op(Op::DefineLocal2);
            }
        }
    }

    // Jumps to `target` when the condition is false.
    // A negated condition (!a, a >= b, a != b) branches on its positive form instead of adding a Not.
    void branch_if_false(const Expr& cond, Label target, SourcePos pos) {
        if (cond.kind == ExprKind::Unary && cond.op == TokenKind::Not) {
            expression(*cond.a, true);
        } else if (const auto code = cond.kind == ExprKind::Binary ? binary_code(cond.op) : std::nullopt;
                   code && code->negate) {
            expression(*cond.a, true);
            expression(*cond.b, true);
            em().op(code->op);
        } else {
            expression(cond, true);
            em().op(Op::Not);
        }
        em().branch(Op::If, target, pos);
    }

    void if_statement(const Stmt& s) {
        const Label else_label = em().new_label();
        branch_if_false(*s.expr, else_label, s.pos);
        statement(*s.body[0]);
        if (s.else_branch) {
            const Label end = em().new_label();
            em().branch(Op::Jump, end, s.pos);
            em().bind(else_label);
            statement(*s.else_branch);
            em().bind(end);
        } else {
            em().bind(else_label);
        }
    }

    void loop_body(const Stmt& body, Label break_label, Label continue_label) {
        loops_.push_back(Breakable{break_label, continue_label});
        statement(body);
        loops_.pop_back();
    }

    void while_statement(const Stmt& s) {
        const Label top = em().new_label();
        const Label end = em().new_label();
        em().bind(top);
        branch_if_false(*s.expr, end, s.pos);
        loop_body(*s.body[0], end, top);
        em().branch(Op::Jump, top, s.pos);
        em().bind(end);
    }

    void do_while_statement(const Stmt& s) {
        const Label top = em().new_label();
        const Label next = em().new_label();
        const Label end = em().new_label();
        em().bind(top);
        loop_body(*s.body[0], end, next);
        em().bind(next);
        expression(*s.expr, true);
        em().branch(Op::If, top, s.pos);
        em().bind(end);
    }

    void for_statement(const Stmt& s) {
        if (s.init) {
            statement(*s.init);
        }
        const Label top = em().new_label();
        const Label next = em().new_label();
        const Label end = em().new_label();
        em().bind(top);
        if (s.expr) {
            branch_if_false(*s.expr, end, s.pos);
        }
        loop_body(*s.body[0], end, next);
        em().bind(next);
        if (s.update) {
            expression(*s.update, false);
        }
        em().branch(Op::Jump, top, s.pos);
        em().bind(end);
    }

    // Enumerate2 leaves null and then every name on the stack; each turn takes one name. Leaving the
    // loop early pops the rest up to the null.
    void for_in_statement(const Stmt& s) {
        expression(*s.expr, true);
        em().op(Op::Enumerate2);
        const Label top = em().new_label();
        const Label cleanup = em().new_label();
        const Label end = em().new_label();
        em().bind(top);
        em().emit(ActionStoreRegister{0});
        em().push(PushNull{});
        em().op(Op::Equals2);
        em().branch(Op::If, end, s.pos);
        em().push_string(s.names[0]);
        em().push_register(0);
        em().op(s.is_var ? Op::DefineLocal : Op::SetVariable);
        loops_.push_back(Breakable{cleanup, top, true});
        statement(*s.body[0]);
        const bool break_used = loops_.back().break_used;
        loops_.pop_back();
        em().branch(Op::Jump, top, s.pos);
        if (break_used) {
            em().bind(cleanup);
            pop_enumeration(cleanup, s.pos);
        }
        em().bind(end);
    }

    // Pops names up to and including the null below them; `loop` is bound at the first action.
    void pop_enumeration(Label loop, SourcePos pos) {
        em().push(PushNull{});
        em().op(Op::Equals2);
        em().op(Op::Not);
        em().branch(Op::If, loop, pos);
    }

    // Each case compares a copy of the value; on a match the copy is dropped and control enters the
    // case's body, so bodies (and fall-through between them) run with a clean stack.
    void switch_statement(const Stmt& s) {
        expression(*s.expr, true);
        const Label end = em().new_label();
        std::vector<Label> bodies;
        std::optional<Label> default_label;
        for (const SwitchCase& c : s.cases) {
            bodies.push_back(em().new_label());
            if (!c.test) {
                default_label = bodies.back();
                continue;
            }
            const Label next = em().new_label();
            em().op(Op::PushDuplicate);
            expression(*c.test, true);
            em().op(Op::StrictEquals);
            em().op(Op::Not);
            em().branch(Op::If, next, s.pos);
            em().op(Op::Pop);
            em().branch(Op::Jump, bodies.back(), s.pos);
            em().bind(next);
        }
        em().op(Op::Pop);
        em().branch(Op::Jump, default_label ? *default_label : end, s.pos);
        loops_.push_back(Breakable{end, std::nullopt});
        for (size_t i = 0; i < s.cases.size(); ++i) {
            em().bind(bodies[i]);
            for (const StmtPtr& child : s.cases[i].body) {
                statement(*child);
            }
        }
        loops_.pop_back();
        em().bind(end);
    }

    void break_statement(const Stmt& s) {
        if (loops_.empty()) {
            fail(s.pos, "'break' outside a loop or switch");
        }
        loops_.back().break_used = true;
        em().branch(Op::Jump, loops_.back().break_label, s.pos);
    }

    void continue_statement(const Stmt& s) {
        for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
            if (it->continue_label) {
                em().branch(Op::Jump, *it->continue_label, s.pos);
                return;
            }
        }
        fail(s.pos, "'continue' outside a loop");
    }

    void return_statement(const Stmt& s) {
        if (!in_function_) {
            fail(s.pos, "'return' outside a function");
        }
        if (s.expr) {
            expression(*s.expr, true);
        } else {
            em().push(PushUndefined{});
        }
        const auto for_ins =
            std::count_if(loops_.begin(), loops_.end(), [](const Breakable& b) { return b.for_in; });
        if (for_ins > 0) {
            em().emit(ActionStoreRegister{0});
            em().op(Op::Pop);
            for (long i = 0; i < for_ins; ++i) {
                const Label loop = em().new_label();
                em().bind(loop);
                pop_enumeration(loop, s.pos);
            }
            em().push_register(0);
        }
        em().op(Op::Return);
    }

    // ---- expressions

    // Emits the expression; with `want` its value is left on the stack, otherwise nothing is.
    void expression(const Expr& e, bool want) {
        em().set_pos(e.pos);
        switch (e.kind) {
        case ExprKind::Number:
            em().push_number(e.number);
            break;
        case ExprKind::String:
            em().push_string(e.text);
            break;
        case ExprKind::True:
            em().push(true);
            break;
        case ExprKind::False:
            em().push(false);
            break;
        case ExprKind::Null:
            em().push(PushNull{});
            break;
        case ExprKind::Undefined:
            em().push(PushUndefined{});
            break;
        case ExprKind::This:
            em().push_string("this");
            em().op(Op::GetVariable);
            break;
        case ExprKind::Identifier:
            em().push_string(e.text);
            em().op(Op::GetVariable);
            break;
        case ExprKind::Member:
            expression(*e.a, true);
            em().push_string(e.text);
            em().op(Op::GetMember);
            break;
        case ExprKind::Index:
            expression(*e.a, true);
            expression(*e.b, true);
            em().op(Op::GetMember);
            break;
        case ExprKind::Call:
            call(e, want);
            return;
        case ExprKind::New:
            construct(e);
            break;
        case ExprKind::Object:
            for (size_t i = 0; i < e.keys.size(); ++i) {
                em().push_string(e.keys[i]);
                expression(*e.args[i], true);
            }
            em().push_number(static_cast<double>(e.keys.size()));
            em().op(Op::InitObject);
            break;
        case ExprKind::Array:
            for (auto it = e.args.rbegin(); it != e.args.rend(); ++it) {
                expression(**it, true);
            }
            em().push_number(static_cast<double>(e.args.size()));
            em().op(Op::InitArray);
            break;
        case ExprKind::Function:
            function(*e.function, e.pos);
            break;
        case ExprKind::Unary:
            unary(e);
            break;
        case ExprKind::PreIncrement:
        case ExprKind::PostIncrement:
            increment(e, want);
            return;
        case ExprKind::Binary:
            binary(e);
            break;
        case ExprKind::LogicalAnd:
        case ExprKind::LogicalOr:
            logical(e, want);
            return;
        case ExprKind::Conditional:
            conditional(e, want);
            return;
        case ExprKind::Assign:
            assign(e, want);
            return;
        case ExprKind::Comma:
            expression(*e.a, false);
            expression(*e.b, want);
            return;
        }
        if (!want) {
            em().op(Op::Pop);
        }
    }

    void unary(const Expr& e) {
        if (e.text == "typeof") {
            expression(*e.a, true);
            em().op(Op::TypeOf);
        } else if (e.text == "void") {
            expression(*e.a, false);
            em().push(PushUndefined{});
        } else if (e.text == "delete") {
            delete_expression(*e.a);
        } else if (e.op == TokenKind::Not) {
            expression(*e.a, true);
            em().op(Op::Not);
        } else if (e.op == TokenKind::Minus) {
            if (e.a->kind == ExprKind::Number) {
                em().push_number(-e.a->number);
                return;
            }
            em().push(int32_t{0});
            expression(*e.a, true);
            em().op(Op::Subtract);
        } else if (e.op == TokenKind::Plus) {
            expression(*e.a, true);
            em().op(Op::ToNumber);
        } else { // '~'
            expression(*e.a, true);
            em().push(int32_t{-1});
            em().op(Op::BitXor);
        }
    }

    void delete_expression(const Expr& target) {
        switch (target.kind) {
        case ExprKind::Identifier:
            em().push_string(target.text);
            em().op(Op::Delete2);
            break;
        case ExprKind::Member:
            expression(*target.a, true);
            em().push_string(target.text);
            em().op(Op::Delete);
            break;
        case ExprKind::Index:
            expression(*target.a, true);
            expression(*target.b, true);
            em().op(Op::Delete);
            break;
        default:
            expression(target, false);
            em().push(true);
            break;
        }
    }

    void binary(const Expr& e) {
        expression(*e.a, true);
        expression(*e.b, true);
        if (e.text == "instanceof") {
            em().op(Op::InstanceOf);
            return;
        }
        const BinaryCode code = *binary_code(e.op);
        em().op(code.op);
        if (code.negate) {
            em().op(Op::Not);
        }
    }

    // a && b leaves a when it is false, else b; a || b leaves a when it is true, else b.
    void logical(const Expr& e, bool want) {
        const bool is_and = e.kind == ExprKind::LogicalAnd;
        const Label end = em().new_label();
        expression(*e.a, true);
        if (want) {
            em().op(Op::PushDuplicate);
        }
        if (is_and) {
            em().op(Op::Not);
        }
        em().branch(Op::If, end, e.pos);
        if (want) {
            em().op(Op::Pop);
        }
        expression(*e.b, want);
        em().bind(end);
    }

    void conditional(const Expr& e, bool want) {
        const Label then_label = em().new_label();
        const Label end = em().new_label();
        expression(*e.a, true);
        em().branch(Op::If, then_label, e.pos);
        expression(*e.c, want);
        em().branch(Op::Jump, end, e.pos);
        em().bind(then_label);
        expression(*e.b, want);
        em().bind(end);
    }

    // Pushes what a plain store into `target` needs below the value.
    void store_prefix(const Expr& target) {
        if (target.kind == ExprKind::Identifier) {
            em().push_string(target.text);
        } else {
            expression(*target.a, true);
            if (target.kind == ExprKind::Member) {
                em().push_string(target.text);
            } else {
                expression(*target.b, true);
            }
        }
    }

    // Leaves the store prefix and the current value of `target`; store_updated() then takes the
    // prefix and a new value. The object and key are evaluated once.
    void load_for_update(const Expr& target) {
        switch (target.kind) {
        case ExprKind::Identifier:
            em().push_string(target.text);
            em().push_string(target.text);
            em().op(Op::GetVariable);
            break;
        case ExprKind::Member: // [obj] -> [obj value]; the name is pushed again when storing
            expression(*target.a, true);
            em().op(Op::PushDuplicate);
            em().push_string(target.text);
            em().op(Op::GetMember);
            break;
        default: // [obj obj key] -> [obj key obj key] -> [obj key value]
            expression(*target.a, true);
            em().op(Op::PushDuplicate);
            expression(*target.b, true);
            em().emit(ActionStoreRegister{0});
            em().op(Op::StackSwap);
            em().push_register(0);
            em().op(Op::GetMember);
            break;
        }
    }

    void store_updated(const Expr& target) {
        switch (target.kind) {
        case ExprKind::Identifier:
            em().op(Op::SetVariable);
            break;
        case ExprKind::Member:
            em().push_string(target.text);
            em().op(Op::StackSwap);
            em().op(Op::SetMember);
            break;
        default:
            em().op(Op::SetMember);
            break;
        }
    }

    void store(const Expr& target) {
        em().op(target.kind == ExprKind::Identifier ? Op::SetVariable : Op::SetMember);
    }

    void assign(const Expr& e, bool want) {
        const Expr& target = *e.a;
        if (e.op == TokenKind::Assign) {
            store_prefix(target);
            expression(*e.b, true);
            if (want) {
                em().emit(ActionStoreRegister{0});
            }
            store(target);
        } else {
            load_for_update(target);
            expression(*e.b, true);
            em().op(binary_code(e.op)->op);
            if (want) {
                em().emit(ActionStoreRegister{0});
            }
            store_updated(target);
        }
        if (want) {
            em().push_register(0);
        }
    }

    void increment(const Expr& e, bool want) {
        const Expr& target = *e.a;
        const Op step = e.op == TokenKind::PlusPlus ? Op::Increment : Op::Decrement;
        load_for_update(target);
        const bool keep_old = want && e.kind == ExprKind::PostIncrement;
        if (keep_old) {
            em().op(Op::ToNumber);
            em().emit(ActionStoreRegister{0});
        }
        em().op(step);
        if (want && !keep_old) {
            em().emit(ActionStoreRegister{0});
        }
        store_updated(target);
        if (want) {
            em().push_register(0);
        }
    }

    void arguments_reversed(const Expr& e) {
        for (auto it = e.args.rbegin(); it != e.args.rend(); ++it) {
            expression(**it, true);
        }
        em().push_number(static_cast<double>(e.args.size()));
    }

    void call(const Expr& e, bool want) {
        const Expr& callee = *e.a;
        if (callee.kind == ExprKind::Identifier && builtin(e, want)) {
            return;
        }
        arguments_reversed(e);
        switch (callee.kind) {
        case ExprKind::Identifier:
            em().push_string(callee.text);
            em().op(Op::CallFunction);
            break;
        case ExprKind::Member:
            expression(*callee.a, true);
            em().push_string(callee.text);
            em().op(Op::CallMethod);
            break;
        case ExprKind::Index:
            expression(*callee.a, true);
            expression(*callee.b, true);
            em().op(Op::CallMethod);
            break;
        default: // a function value: called as a method with no name
            expression(callee, true);
            em().push(PushUndefined{});
            em().op(Op::CallMethod);
            break;
        }
        if (!want) {
            em().op(Op::Pop);
        }
    }

    void construct(const Expr& e) {
        const Expr& callee = *e.a;
        arguments_reversed(e);
        switch (callee.kind) {
        case ExprKind::Identifier:
            em().push_string(callee.text);
            em().op(Op::NewObject);
            break;
        case ExprKind::Member:
            expression(*callee.a, true);
            em().push_string(callee.text);
            em().op(Op::NewMethod);
            break;
        case ExprKind::Index:
            expression(*callee.a, true);
            expression(*callee.b, true);
            em().op(Op::NewMethod);
            break;
        default:
            expression(callee, true);
            em().push(PushUndefined{});
            em().op(Op::NewMethod);
            break;
        }
    }

    void expect_args(const Expr& e, std::string_view name, size_t min, size_t max) {
        if (e.args.size() < min || e.args.size() > max) {
            fail(e.pos, "wrong number of arguments to '" + std::string(name) + "'");
        }
    }

    // Flash built-ins called by their bare name; false when the name is none of them.
    bool builtin(const Expr& e, bool want) {
        const std::string& name = e.a->text;
        const std::string key = lower(name);
        struct Simple {
            std::string_view name;
            Op op;
            size_t args;    // 0 or 1
            bool has_value; // leaves a result
        };
        static constexpr Simple kSimple[] = {
            {"play", Op::Play, 0, false},
            {"stop", Op::Stop, 0, false},
            {"nextframe", Op::NextFrame, 0, false},
            {"prevframe", Op::PrevFrame, 0, false},
            {"stopallsounds", Op::StopSounds, 0, false},
            {"trace", Op::Trace, 1, false},
            {"random", Op::RandomNumber, 1, true},
            {"int", Op::ToInteger, 1, true},
            {"string", Op::ToString, 1, true},
            {"number", Op::ToNumber, 1, true},
            {"gettimer", Op::GetTime, 0, true},
            {"targetpath", Op::TargetPath, 1, true},
            {"eval", Op::GetVariable, 1, true},
        };
        for (const Simple& s : kSimple) {
            if (s.name != key) {
                continue;
            }
            expect_args(e, name, s.args, s.args);
            if (s.args == 1) {
                expression(*e.args[0], true);
            }
            em().op(s.op);
            finish_builtin(s.has_value, want);
            return true;
        }
        if (key == "gotoandstop" || key == "gotoandplay") {
            expect_args(e, name, 1, 1);
            goto_frame(*e.args[0], key == "gotoandplay");
            finish_builtin(false, want);
            return true;
        }
        if (key == "geturl") {
            expect_args(e, name, 1, 3);
            get_url(e);
            finish_builtin(false, want);
            return true;
        }
        return false;
    }

    void finish_builtin(bool has_value, bool want) {
        if (has_value && !want) {
            em().op(Op::Pop);
        } else if (!has_value && want) {
            em().push(PushUndefined{});
        }
    }

    // A frame number literal n goes to frame n - 1 (0-based); a label by name; anything else is
    // evaluated at run time.
    void goto_frame(const Expr& frame, bool play) {
        const Op after = play ? Op::Play : Op::Stop;
        if (frame.kind == ExprKind::Number && frame.number == std::floor(frame.number) && frame.number >= 1 &&
            frame.number <= 65536) {
            em().emit(ActionGotoFrame{static_cast<uint16_t>(frame.number - 1)});
            em().op(after);
        } else if (frame.kind == ExprKind::String) {
            if (frame.text.size() + 1 > 0xFFFF) {
                fail(frame.pos, "string too long");
            }
            em().emit(ActionGoToLabel{frame.text});
            em().op(after);
        } else {
            expression(frame, true);
            em().emit(ActionGotoFrame2{play});
        }
    }

    // getURL(url [, target [, "GET" | "POST"]]): GetURL2 with the target "" when omitted.
    void get_url(const Expr& e) {
        expression(*e.args[0], true);
        if (e.args.size() >= 2) {
            expression(*e.args[1], true);
        } else {
            em().push_string("");
        }
        uint8_t flags = 0;
        if (e.args.size() == 3) {
            const Expr& method = *e.args[2];
            const std::string m = method.kind == ExprKind::String ? lower(method.text) : "";
            if (m == "get") {
                flags = 1;
            } else if (m == "post") {
                flags = 2;
            } else {
                fail(method.pos, "the method of 'getURL' must be \"GET\" or \"POST\"");
            }
        }
        em().emit(ActionGetUrl2{flags});
    }

    ConstantPoolBuilder& pool_;
    Emitter* em_ = nullptr;
    bool in_function_ = false;
    std::vector<Breakable> loops_;
};

} // namespace

std::vector<uint8_t> generate(const std::vector<StmtPtr>& program) {
    ConstantPoolBuilder pool;
    CodeGen gen(pool);
    std::vector<uint8_t> body = gen.block(program, false);
    std::vector<uint8_t> out;
    if (!pool.strings().empty()) {
        write_action(ActionConstantPool{pool.strings()}, out);
    }
    out.insert(out.end(), body.begin(), body.end());
    out.push_back(static_cast<uint8_t>(Op::End));
    return out;
}

} // namespace swf::as
