// Text written into HTML or XML, as text or as an attribute value.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The five characters mark-up gives a meaning become entities; a NUL, which no page may hold, is dropped.
// Every other character is kept as it is.
inline std::string EscapeMarkup(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '\0':
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace app
