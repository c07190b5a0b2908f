#include "movie/card_text.h"

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

bool ReadColour(std::string_view text, Rgb& colour) {
    const std::string copy(text); // scanf needs a terminated string
    unsigned int value = 0;
    if (std::sscanf(copy.c_str(), "#%x", &value) != 1) {
        return false;
    }
    colour = Rgb{uint8_t((value >> 16) & 255), uint8_t((value >> 8) & 255), uint8_t(value & 255)};
    return true;
}

TitleLines BreakTitle(std::string_view title, double max_width,
                      const std::function<double(std::string_view)>& measure) {
    TitleLines lines;
    bool line1_full = false;
    for (const std::string& word : SplitString(title, " ")) {
        if (!line1_full) {
            std::string candidate = lines.line1 + " " + word;
            if (measure(candidate) > max_width) {
                line1_full = true;
            } else {
                lines.line1 = std::move(candidate);
                continue;
            }
        }
        lines.line2 += " " + word;
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
        line = std::string(Utf8Prefix(line, 100));
    }
    return lines;
}

} // namespace movie
