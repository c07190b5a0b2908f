#include "tooltip/markup_length.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace markup {
namespace {

constexpr std::array<int, 7> kFontSizes{8, 10, 12, 14, 18, 24, 36};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::optional<int> ParseLength(std::string_view text, const LengthContext& context, bool fontSize) {
    text = Trim(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    bool seenDigit = false;
    bool seenPoint = false;
    while (digits < text.size()) {
        const char c = text[digits];
        if (c >= '0' && c <= '9') {
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        ++digits;
    }
    if (!seenDigit || digits > 12) {
        return std::nullopt;
    }
    const double number = std::strtod(std::string(text.substr(0, digits)).c_str(), nullptr);
    const std::string_view unit = Trim(text.substr(digits));

    double pixels = 0;
    const double dpi = std::max(1, context.dpiY);
    if (unit.empty()) {
        const bool classic = fontSize && !seenPoint && number >= 1 && number <= 7;
        pixels = classic ? kFontSizes[static_cast<std::size_t>(number) - 1] : number;
    } else if (unit == "px") {
        pixels = number;
    } else if (unit == "%") {
        pixels = context.current * number / 100.0;
    } else if (unit == "em") {
        pixels = context.fontHeight * number;
    } else if (unit == "ex") {
        pixels = context.xHeight * number;
    } else if (unit == "in") {
        pixels = number * dpi;
    } else if (unit == "cm") {
        pixels = number * dpi / 2.54;
    } else if (unit == "mm") {
        pixels = number * dpi / 25.4;
    } else if (unit == "pt") {
        pixels = number * dpi / 72.0;
    } else if (unit == "pc") {
        pixels = number * dpi / 6.0;
    } else {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(std::clamp(pixels, 0.0, double(kMaxLength))));
}

} // namespace markup
