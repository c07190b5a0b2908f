// Splits ActionScript source into tokens, one at a time, tracking line and column.
#pragma once

#include "swf/as/token.h"

#include <string_view> // the source

namespace swf::as {

class Lexer {
public:
    explicit Lexer(std::string_view source) : src_(source) {}

    // The next token; an Error token (text = message) for bad input, End at the end, forever after.
    Token next();

private:
    char peek(size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : '\0'; }
    bool at_end() const { return pos_ >= src_.size(); }
    void advance();
    // Skips blanks and comments; false with `error` set for an unterminated block comment.
    bool skip_space(bool& newline, Token& error);
    Token number(Token t);
    Token string(Token t, char quote);
    Token punctuation(Token t);
    Token error(Token t, std::string message) const;

    std::string_view src_;
    size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
};

} // namespace swf::as
