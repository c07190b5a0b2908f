// Tokens of ActionScript source, each with the place it starts.
#pragma once

#include "swf/as/compiler.h"

#include <string> // decoded text

namespace swf::as {

enum class TokenKind {
    End,        // end of the source
    Error,      // a lexical error; the token's text is the message
    Identifier, // also every keyword; the parser tells them apart
    Number,
    String,
    // punctuation
    LParen,
    RParen,
    LBrace,
    RBrace,
    LBracket,
    RBracket,
    Semicolon,
    Comma,
    Dot,
    Colon,
    Question,
    // operators
    Plus,
    Minus,
    Star,
    Slash,
    Percent,
    PlusPlus,
    MinusMinus,
    Not,
    Tilde,
    Amp,
    Pipe,
    Caret,
    AmpAmp,
    PipePipe,
    Shl,
    Shr,
    UShr,
    Less,
    Greater,
    LessEq,
    GreaterEq,
    EqEq,
    NotEq,
    EqEqEq,
    NotEqEq,
    Assign,
    PlusAssign,
    MinusAssign,
    StarAssign,
    SlashAssign,
    PercentAssign,
    ShlAssign,
    ShrAssign,
    UShrAssign,
    AmpAssign,
    PipeAssign,
    CaretAssign,
};

struct Token {
    TokenKind kind = TokenKind::End;
    SourcePos pos;
    std::string text;            // identifier name, decoded string, source spelling otherwise
    double number = 0;           // value of a Number token
    bool newline_before = false; // a line break lies between this token and the one before
};

} // namespace swf::as
