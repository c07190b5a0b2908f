#include "swf/utf8.h"

namespace swf::detail {

std::u32string decode_utf8(std::string_view text) {
    constexpr char32_t replacement = 0xFFFD;
    std::u32string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            out.push_back(replacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        for (; j < text.size() && j <= i + static_cast<size_t>(extra); ++j) {
            const auto next = static_cast<unsigned char>(text[j]);
            if ((next & 0xC0) != 0x80) {
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if (j != i + 1 + static_cast<size_t>(extra) || code < minimum || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(replacement);
            i = j > i + 1 ? j : i + 1;
            continue;
        }
        out.push_back(code);
        i = j;
    }
    return out;
}

} // namespace swf::detail
