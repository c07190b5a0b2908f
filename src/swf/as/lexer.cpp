// Lexer: identifiers and keywords, numbers, strings with escapes, operators, comments.
#include "swf/as/lexer.h"

#include <charconv> // locale-free number parsing
#include <limits>   // infinity for huge literals

namespace swf::as {

namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool is_hex_digit(char c) {
    return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hex_value(char c) {
    if (is_digit(c)) {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

// Bytes from 0x80 up belong to UTF-8 letters, which identifiers may contain.
bool is_identifier_start(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool is_identifier_part(char c) {
    return is_identifier_start(c) || is_digit(c);
}

void append_utf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

void Lexer::advance() {
    if (at_end()) {
        return;
    }
    if (src_[pos_] == '\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
    }
    ++pos_;
}

Token Lexer::error(Token t, std::string message) const {
    t.kind = TokenKind::Error;
    t.text = std::move(message);
    return t;
}

bool Lexer::skip_space(bool& newline, Token& err) {
    while (!at_end()) {
        const char c = peek();
        if (c == '\n') {
            newline = true;
            advance();
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            advance();
        } else if (c == '/' && peek(1) == '/') {
            while (!at_end() && peek() != '\n') {
                advance();
            }
        } else if (c == '/' && peek(1) == '*') {
            err.pos = {line_, column_};
            advance();
            advance();
            while (!(peek() == '*' && peek(1) == '/')) {
                if (at_end()) {
                    err = error(err, "unterminated comment");
                    return false;
                }
                newline = newline || peek() == '\n';
                advance();
            }
            advance();
            advance();
        } else {
            break;
        }
    }
    return true;
}

Token Lexer::next() {
    Token t;
    bool newline = false;
    if (!skip_space(newline, t)) {
        return t;
    }
    t.newline_before = newline;
    t.pos = {line_, column_};
    if (at_end()) {
        t.kind = TokenKind::End;
        return t;
    }
    const char c = peek();
    if (is_identifier_start(c)) {
        const size_t start = pos_;
        while (!at_end() && is_identifier_part(peek())) {
            advance();
        }
        t.kind = TokenKind::Identifier;
        t.text = std::string(src_.substr(start, pos_ - start));
        return t;
    }
    if (is_digit(c) || (c == '.' && is_digit(peek(1)))) {
        return number(std::move(t));
    }
    if (c == '"' || c == '\'') {
        return string(std::move(t), c);
    }
    return punctuation(std::move(t));
}

Token Lexer::number(Token t) {
    const size_t start = pos_;
    t.kind = TokenKind::Number;
    if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
        advance();
        advance();
        if (!is_hex_digit(peek())) {
            return error(t, "malformed number");
        }
        double value = 0;
        while (is_hex_digit(peek())) {
            value = value * 16 + hex_value(peek());
            advance();
        }
        t.number = value;
    } else {
        while (is_digit(peek())) {
            advance();
        }
        if (peek() == '.') {
            advance();
            while (is_digit(peek())) {
                advance();
            }
        }
        if (peek() == 'e' || peek() == 'E') {
            advance();
            if (peek() == '+' || peek() == '-') {
                advance();
            }
            if (!is_digit(peek())) {
                return error(t, "malformed number");
            }
            while (is_digit(peek())) {
                advance();
            }
        }
        const char* first = src_.data() + start;
        const char* last = src_.data() + pos_;
        const auto result = std::from_chars(first, last, t.number);
        if (result.ec == std::errc::result_out_of_range) {
            t.number = std::numeric_limits<double>::infinity();
        } else if (result.ec != std::errc() || result.ptr != last) {
            return error(t, "malformed number");
        }
    }
    if (is_identifier_part(peek())) {
        return error(t, "malformed number");
    }
    t.text = std::string(src_.substr(start, pos_ - start));
    return t;
}

Token Lexer::string(Token t, char quote) {
    t.kind = TokenKind::String;
    advance(); // opening quote
    std::string value;
    while (true) {
        if (at_end() || peek() == '\n' || peek() == '\r') {
            return error(t, "unterminated string");
        }
        const char c = peek();
        if (c == quote) {
            advance();
            break;
        }
        if (c == '\0') {
            return error(t, "null character in string");
        }
        if (c != '\\') {
            value += c;
            advance();
            continue;
        }
        advance(); // backslash
        const char e = peek();
        if (at_end()) {
            return error(t, "unterminated string");
        }
        if (e == 'x' || e == 'u') {
            const int digits = e == 'x' ? 2 : 4;
            uint32_t cp = 0;
            for (int i = 1; i <= digits; ++i) {
                if (!is_hex_digit(peek(i))) {
                    return error(t, "bad escape sequence");
                }
                cp = cp * 16 + static_cast<uint32_t>(hex_value(peek(i)));
            }
            for (int i = 0; i <= digits; ++i) {
                advance();
            }
            if (cp == 0) {
                return error(t, "null character in string");
            }
            append_utf8(value, cp);
            continue;
        }
        switch (e) {
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 't':
            value += '\t';
            break;
        case 'b':
            value += '\b';
            break;
        case 'f':
            value += '\f';
            break;
        case '\n':
            break; // a line continuation
        case '\0':
            return error(t, "null character in string");
        default:
            value += e;
            break; // \" \' \\ and any other character stand for themselves
        }
        advance();
    }
    t.text = std::move(value);
    return t;
}

Token Lexer::punctuation(Token t) {
    // Longest match: each operator character may be followed by the characters that extend it.
    const auto take = [&](size_t length, TokenKind kind) {
        t.text = std::string(src_.substr(pos_, length));
        for (size_t i = 0; i < length; ++i) {
            advance();
        }
        t.kind = kind;
        return t;
    };
    const char c1 = peek(1);
    const char c2 = peek(2);
    switch (peek()) {
    case '(':
        return take(1, TokenKind::LParen);
    case ')':
        return take(1, TokenKind::RParen);
    case '{':
        return take(1, TokenKind::LBrace);
    case '}':
        return take(1, TokenKind::RBrace);
    case '[':
        return take(1, TokenKind::LBracket);
    case ']':
        return take(1, TokenKind::RBracket);
    case ';':
        return take(1, TokenKind::Semicolon);
    case ',':
        return take(1, TokenKind::Comma);
    case '.':
        return take(1, TokenKind::Dot);
    case ':':
        return take(1, TokenKind::Colon);
    case '?':
        return take(1, TokenKind::Question);
    case '~':
        return take(1, TokenKind::Tilde);
    case '+':
        return c1 == '+'   ? take(2, TokenKind::PlusPlus)
               : c1 == '=' ? take(2, TokenKind::PlusAssign)
                           : take(1, TokenKind::Plus);
    case '-':
        return c1 == '-'   ? take(2, TokenKind::MinusMinus)
               : c1 == '=' ? take(2, TokenKind::MinusAssign)
                           : take(1, TokenKind::Minus);
    case '*':
        return c1 == '=' ? take(2, TokenKind::StarAssign) : take(1, TokenKind::Star);
    case '/':
        return c1 == '=' ? take(2, TokenKind::SlashAssign) : take(1, TokenKind::Slash);
    case '%':
        return c1 == '=' ? take(2, TokenKind::PercentAssign) : take(1, TokenKind::Percent);
    case '^':
        return c1 == '=' ? take(2, TokenKind::CaretAssign) : take(1, TokenKind::Caret);
    case '&':
        return c1 == '&'   ? take(2, TokenKind::AmpAmp)
               : c1 == '=' ? take(2, TokenKind::AmpAssign)
                           : take(1, TokenKind::Amp);
    case '|':
        return c1 == '|'   ? take(2, TokenKind::PipePipe)
               : c1 == '=' ? take(2, TokenKind::PipeAssign)
                           : take(1, TokenKind::Pipe);
    case '!':
        return c1 != '='   ? take(1, TokenKind::Not)
               : c2 == '=' ? take(3, TokenKind::NotEqEq)
                           : take(2, TokenKind::NotEq);
    case '=':
        return c1 != '='   ? take(1, TokenKind::Assign)
               : c2 == '=' ? take(3, TokenKind::EqEqEq)
                           : take(2, TokenKind::EqEq);
    case '<':
        if (c1 == '<') {
            return c2 == '=' ? take(3, TokenKind::ShlAssign) : take(2, TokenKind::Shl);
        }
        return c1 == '=' ? take(2, TokenKind::LessEq) : take(1, TokenKind::Less);
    case '>':
        if (c1 == '>' && c2 == '>') {
            return peek(3) == '=' ? take(4, TokenKind::UShrAssign) : take(3, TokenKind::UShr);
        }
        if (c1 == '>') {
            return c2 == '=' ? take(3, TokenKind::ShrAssign) : take(2, TokenKind::Shr);
        }
        return c1 == '=' ? take(2, TokenKind::GreaterEq) : take(1, TokenKind::Greater);
    default:
        break;
    }
    const unsigned char c = static_cast<unsigned char>(peek());
    std::string shown = c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "\\x";
    if (shown == "\\x") {
        static constexpr char kHex[] = "0123456789ABCDEF";
        shown += kHex[c >> 4];
        shown += kHex[c & 15];
    }
    return error(t, "unexpected character '" + shown + "'");
}

} // namespace swf::as
