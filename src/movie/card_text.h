// Text helpers of a card frame: splitting, colour strings, title line breaking and comment lines.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace movie {

// Splits `text` at every `separator`: each part before a separator is kept (empty parts too); the rest
// after the last separator only when it is not empty. "a b" -> {a, b}; "a  b" -> {a, "", b};
// "a b " -> {a, b}; "" -> {}.
std::vector<std::string> SplitString(std::string_view text, std::string_view separator);

struct Rgb {
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    bool operator==(const Rgb&) const = default;
};

// Reads a "#RRGGBB" string as one hexadecimal number after the "#" (the scanf pattern "#%x"). Returns
// false and leaves `colour` as it was when the text does not match, so one variable can carry the last
// readable colour from the background to the title and the comment.
bool ReadColour(std::string_view text, Rgb& colour);

// The two title lines: words (split at single spaces) go to line 1 while line1 + " " + word measures at
// most `max_width`; from the first word that does not fit, every word goes to line 2. Both lines begin
// with a space when they hold a word. A word of Chinese or Japanese may also break between two of its
// characters (BreakPieces); its pieces follow each other without a space.
struct TitleLines {
    std::string line1;
    std::string line2;
};
TitleLines BreakTitle(std::string_view title, double max_width,
                      const std::function<double(std::string_view)>& measure);

// A word cut where it may break without a space: between two Chinese or Japanese characters, except
// before closing punctuation and small kana or after opening punctuation. Other words stay whole.
std::vector<std::string> BreakPieces(std::string_view word);

// The comment split at line feeds; a carriage return stays at the end of its line. Each line is cut to
// its first 100 characters (whole UTF-8 characters, never half of one), or fewer so that the cut never
// falls inside a cluster (a letter with its marks, a conjunct).
std::vector<std::string> CommentLines(std::string_view comment);

// A line as it is drawn: a carriage return before a line feed belongs to the line but is no glyph
// (drawn, it would show the font's replacement box).
std::string WithoutCarriageReturns(std::string_view line);

// The first `count` characters of UTF-8 text (all of it when shorter).
std::string_view Utf8Prefix(std::string_view text, size_t count);

} // namespace movie
