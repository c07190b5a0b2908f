// Lengths of the tooltip mark-up: a number and a unit (%, px, ex, em, in, cm, mm, pt, pc).
#pragma once

#include <optional>
#include <string_view>

namespace markup {

// What relative and physical units are measured against.
struct LengthContext {
    int current = 0;     // the value the length replaces ("%" is a share of it)
    int fontHeight = 16; // "em"
    int xHeight = 8;     // "ex"
    int dpiY = 96;       // physical units use the device's vertical resolution
};

// Parses a length in pixels. A leading + or - is dropped; a bare number is pixels, except for font
// sizes, where 1 to 7 are the classic sizes 8, 10, 12, 14, 18, 24 and 36 pixels. Nothing for a text that
// is no length (no digits, an unknown unit). Results are kept within 0..kMaxLength.
std::optional<int> ParseLength(std::string_view text, const LengthContext& context, bool fontSize = false);

inline constexpr int kMaxLength = 4096;

} // namespace markup
