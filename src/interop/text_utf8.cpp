#include "interop/text_utf8.h"

#include "interop/story.h"

#include <cstdint>

namespace interop {

namespace {

// Length of the valid UTF-8 sequence at `i`, or 0.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n;
    uint32_t cp;
    if (b < 0x80) {
        return 1;
    } else if (b >= 0xC2 && b < 0xE0) {
        n = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b < 0xF0) {
        n = 3;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b < 0xF5) {
        n = 4;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return overlong || surrogate || cp > 0x10FFFF ? 0 : n;
}

} // namespace

std::string CheckedText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t n = SequenceLength(bytes, i);
        if (n == 0 || bytes[i] == '\0') {
            throw StoryError("the file is not UTF-8 text (bad byte at offset " + std::to_string(i) + ")");
        }
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            out.append(bytes.substr(i, n));
        }
        i += n;
    }
    return out;
}

size_t CharCount(std::string_view text) {
    size_t n = 0;
    for (char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

std::string FirstChars(std::string_view text, size_t count) {
    size_t i = 0;
    for (size_t n = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && n++ == count) {
            break;
        }
    }
    return std::string(text.substr(0, i));
}

} // namespace interop
