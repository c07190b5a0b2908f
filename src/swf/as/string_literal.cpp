#include "swf/as/string_literal.h"

#include <cstdint>
#include <cstdio>

namespace swf::as {

std::string string_literal(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\0':
            break;
        default:
            if (uint8_t(c) < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(uint8_t(c)));
                out += hex;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

} // namespace swf::as
