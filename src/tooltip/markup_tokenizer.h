// Splits tooltip mark-up into text and tags. "<<" is a literal "<"; a tag runs to the next ">" and is
// lower-cased whole, attribute values included. An unterminated tag at the end is dropped.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace markup {

struct Tag {
    std::string name; // lower case, without the "/"
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes; // name, value ("" when bare)

    // The value of the first attribute called `name`, or nullptr.
    const std::string* Find(std::string_view name) const;
    bool HasAttribute(std::string_view name) const { return Find(name) != nullptr; }
};

struct Token {
    enum class Kind { Text, Tag };
    Kind kind = Kind::Text;
    std::string text; // Kind::Text: the raw text, entities not yet decoded
    Tag tag;          // Kind::Tag
};

std::vector<Token> Tokenize(std::string_view markup);

// Reads the inside of a tag (between "<" and ">"), already lower-cased.
Tag ParseTag(std::string_view inside);

// Replaces the entities &lt; &gt; &amp; &quot; &apos; &nbsp; &copy; &reg; and numeric &#N; / &#xH;
// by their characters (UTF-8); anything else is kept as written.
std::string DecodeEntities(std::string_view text);

} // namespace markup
