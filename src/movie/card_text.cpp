#include "movie/card_text.h"

#include "swf/text_layout.h"
#include "swf/utf8.h"

#include <algorithm>
#include <cstdio>

namespace movie {

std::vector<std::string> SplitString(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        if (!text.empty()) {
            parts.emplace_back(text);
        }
        return parts;
    }
    size_t start = 0;
    for (size_t found = text.find(separator); found != std::string_view::npos;
         found = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, found - start));
        start = found + separator.size();
    }
    if (start < text.size()) {
        parts.emplace_back(text.substr(start));
    }
    return parts;
}

std::string WithoutCarriageReturns(std::string_view line) {
    std::string out;
    for (char c : line) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

bool ReadColour(std::string_view text, Rgb& colour) {
    const std::string copy(text); // scanf needs a terminated string
    unsigned int value = 0;
    if (std::sscanf(copy.c_str(), "#%x", &value) != 1) {
        return false;
    }
    colour = Rgb{uint8_t((value >> 16) & 255), uint8_t((value >> 8) & 255), uint8_t(value & 255)};
    return true;
}

namespace {

bool In(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// Han, kana, CJK punctuation and full-width forms: written without spaces between words.
bool IsCjk(char32_t c) {
    return In(c, 0x2E80, 0x2FFF) || In(c, 0x3000, 0x30FF) || In(c, 0x3100, 0x312F) || In(c, 0x3190, 0x31FF) ||
           In(c, 0x3400, 0x4DBF) || In(c, 0x4E00, 0x9FFF) || In(c, 0xF900, 0xFAFF) || In(c, 0xFF00, 0xFFEF) ||
           In(c, 0x20000, 0x3FFFF);
}

bool NoBreakBefore(char32_t c) {
    static constexpr std::u32string_view closing = U"、。，．・：；？！ー）」』】〕〉》〙〗〟ぁぃぅぇぉっゃゅ"
                                                   U"ょゎゕゖァィゥェォッャュョヮヵヶゝゞヽヾ々〻"
                                                   U"！），．：；？］｝｡｣､･ｧｨｩｪｫｬｭｮｯｰ";
    return closing.find(c) != std::u32string_view::npos;
}

bool NoBreakAfter(char32_t c) {
    static constexpr std::u32string_view opening = U"（「『【〔〈《〘〖〝［｛｢";
    return opening.find(c) != std::u32string_view::npos;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::vector<std::string> BreakPieces(std::string_view word) {
    const std::u32string chars = swf::detail::decode_utf8(word);
    const bool anyCjk = std::any_of(chars.begin(), chars.end(), IsCjk);
    if (!anyCjk) {
        return {std::string(word)};
    }
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i > 0) {
            const char32_t before = chars[i - 1];
            const char32_t after = chars[i];
            if (IsCjk(before) && IsCjk(after) && !NoBreakBefore(after) && !NoBreakAfter(before) &&
                swf::is_cluster_boundary(before, after)) {
                pieces.emplace_back();
            }
        }
        AppendUtf8(pieces.back(), chars[i]);
    }
    return pieces;
}

TitleLines BreakTitle(std::string_view title, double max_width,
                      const std::function<double(std::string_view)>& measure) {
    // Line 1 is the longest run of pieces from the start that fits. A line only grows wider as pieces
    // are added, so the first piece that does not fit is found by bisection: shaping a candidate line
    // costs more than a few comparisons.
    std::vector<std::string> prefixes{""}; // prefixes[k]: line 1 holding the first k pieces
    std::vector<std::string> rest;         // each piece as it follows the one before on line 2
    for (const std::string& word : SplitString(title, " ")) {
        const std::vector<std::string> pieces = BreakPieces(word);
        for (size_t k = 0; k < pieces.size(); ++k) {
            // A word's first piece follows a space; the rest of a word follow on directly.
            const std::string separator = k == 0 ? " " : "";
            prefixes.push_back(prefixes.back() + separator + pieces[k]);
            rest.push_back(separator + pieces[k]);
        }
    }
    size_t fits = 0;                   // pieces known to fit
    size_t too_many = prefixes.size(); // pieces known not to fit (or past the end)
    while (fits + 1 < too_many) {
        const size_t middle = fits + (too_many - fits) / 2;
        (measure(prefixes[middle]) > max_width ? too_many : fits) = middle;
    }
    TitleLines lines;
    lines.line1 = prefixes[fits];
    for (size_t k = fits; k < rest.size(); ++k) {
        // Line 2 always begins with a space.
        lines.line2 += (k == fits && rest[k].front() != ' ' ? " " : "") + rest[k];
    }
    return lines;
}

std::string_view Utf8Prefix(std::string_view text, size_t count) {
    size_t pos = 0;
    for (size_t n = 0; n < count && pos < text.size(); ++n) {
        ++pos;
        while (pos < text.size() && (uint8_t(text[pos]) & 0xC0) == 0x80) {
            ++pos; // continuation bytes belong to the same character
        }
    }
    return text.substr(0, pos);
}

std::vector<std::string> CommentLines(std::string_view comment) {
    std::vector<std::string> lines = SplitString(comment, "\n");
    for (std::string& line : lines) {
        size_t keep = 100;
        std::string_view cut = Utf8Prefix(line, keep);
        // A cut inside a cluster would tear a letter from its marks: cut before the cluster instead.
        while (keep > 0 && cut.size() < line.size()) {
            const std::u32string before =
                swf::detail::decode_utf8(cut.substr(Utf8Prefix(cut, keep - 1).size()));
            const std::u32string after =
                swf::detail::decode_utf8(Utf8Prefix(std::string_view(line).substr(cut.size()), 1));
            if (before.empty() || after.empty() || swf::is_cluster_boundary(before.back(), after.front())) {
                break;
            }
            cut = Utf8Prefix(line, --keep);
        }
        line = std::string(cut);
    }
    return lines;
}

} // namespace movie
