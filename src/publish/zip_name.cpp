#include "publish/zip_name.h"

#include <array>
#include <cstdint>
#include <optional>

namespace publish {

namespace {

// The characters of CP437's bytes 0x80 to 0xFF.
constexpr std::array<char32_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Decodes one UTF-8 sequence at `pos`, advancing it; nullopt on a malformed or overlong sequence.
std::optional<char32_t> next_code_point(std::string_view s, std::size_t& pos) {
    const auto lead = std::uint8_t(s[pos]);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (pos + length > s.size()) {
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const auto b = std::uint8_t(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kShortest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return cp;
}

std::optional<char> to_cp437(char32_t cp) {
    if (cp >= 0x20 && cp < 0x7F) {
        return char(cp);
    }
    for (std::size_t i = 0; i < kCp437High.size(); ++i) {
        if (kCp437High[i] == cp) {
            return char(0x80 + i);
        }
    }
    return std::nullopt; // control characters and everything CP437 lacks
}

} // namespace

ZipName EncodeZipName(std::string_view name) {
    std::string cp437;
    bool fits = true;
    for (std::size_t pos = 0; pos < name.size();) {
        const std::optional<char32_t> cp = next_code_point(name, pos);
        if (!cp) {
            return ZipName{std::string(name), false};
        }
        if (fits) {
            if (std::optional<char> c = to_cp437(*cp)) {
                cp437.push_back(*c);
            } else {
                fits = false;
            }
        }
    }
    if (fits) {
        return ZipName{std::move(cp437), false};
    }
    return ZipName{std::string(name), true};
}

} // namespace publish
