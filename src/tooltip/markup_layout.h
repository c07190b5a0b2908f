// Measures and places a parsed mark-up Document: lines end only at "br" (no word wrapping), each line is
// aligned in the area, items sit on the line's baseline or by their vertical alignment, tables are
// measured first (columns as wide as their widest cell, rows as high as their highest) and placed as
// one item of their line. The result is a list of boxes a drawer paints in order.
#pragma once

#include "tooltip/markup_document.h"

#include <string_view>
#include <vector>

namespace markup {

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
    bool operator==(const Rect&) const = default;
};

struct FontInfo {
    int ascent = 0;
    int descent = 0;
    int xHeight = 0;
};

// Font and picture measurements, supplied by the drawing side (or FixedMetrics without one).
class Metrics {
public:
    virtual ~Metrics() = default;
    virtual FontInfo Font(const TextStyle& style) const = 0;
    virtual int TextWidth(const TextStyle& style, std::string_view text) const = 0;
    // The natural size of a picture; 0 x 0 when it does not exist.
    virtual Size ImageSize(const ImageRef& image) const = 0;
};

// Measurements without a font library: every character is half the font size wide (six tenths when
// bold), pictures are 16 x 16. Used by the fuzzer and by tests of the layout rules.
class FixedMetrics final : public Metrics {
public:
    FontInfo Font(const TextStyle& style) const override;
    int TextWidth(const TextStyle& style, std::string_view text) const override;
    Size ImageSize(const ImageRef& image) const override;
};

struct Box {
    enum class Kind { Text, Rule, Image, Fill, Frame };
    Kind kind = Kind::Text;
    Rect rect;
    // Text: the style in force (hover style for the hot link), the text and its baseline.
    const TextStyle* style = nullptr;
    std::string_view text;
    int baseline = 0;
    int link = -1;
    // Image
    const ImageRef* image = nullptr;
    int imageIndex = -1;
    bool hot = false;
    // Rule: colour. Fill: effect with begin, middle and end colours. Frame: width, light and dark colours.
    Colour colour{};
    int effect = 0;
    Colour mid{};
    Colour end{};
    int frameWidth = 1;
};

// The link and the picture under the mouse; -1 for none.
struct Hot {
    int link = -1;
    int image = -1;
    bool operator==(const Hot&) const = default;
};

struct LayoutResult {
    Size size;
    std::vector<Box> boxes;
};

inline constexpr int kMaxExtent = 1 << 20; // sizes are kept below this, whatever the input

// Lays the document out in an area `areaWidth` wide (0: as wide as its widest line).
LayoutResult Layout(const Document& doc, const Metrics& metrics, int areaWidth = 0, Hot hot = {},
                    int dpiY = 96);

// The link and picture at a point of a laid-out document.
Hot HitTest(const LayoutResult& layout, int x, int y);

} // namespace markup
