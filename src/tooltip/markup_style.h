// The text state of the tooltip mark-up and its style sheet: rules of declarations keyed by selector
// ("body", "h1", "a:link", ".class"), applied over the inherited state in the order they were written.
#pragma once

#include "tooltip/markup_colour.h"
#include "tooltip/markup_length.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace markup {

enum class HAlign { Left, Center, Right };
enum class VAlign { Baseline, Top, Middle, Bottom };
enum class Transform { None, Upper, Lower, Capitalize };
enum class BorderStyle { None, Solid, Dotted, Dashed, Double };

struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Edges&) const = default;
};

struct TextStyle {
    std::string face = "Verdana";
    int size = 16; // character cell height in pixels
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool overline = false;
    Colour colour{};
    bool opaque = false; // background mode: opaque paints `background` behind the text
    Colour background{255, 255, 255};
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Baseline;
    Transform transform = Transform::None;
    Edges margin;
    Edges padding;
    Colour borderColour{};
    int borderWidth = 0;
    BorderStyle borderStyle = BorderStyle::None;

    bool operator==(const TextStyle&) const = default;
};

inline constexpr int kMaxWeight = 900;

struct Declaration {
    std::string property; // lower case
    std::string value;    // as written, trimmed
};

// What a declaration needs besides the state it changes.
struct StyleEnvironment {
    const SystemColours* systemColours = nullptr;
    int dpiY = 96;
};

class StyleSheet {
public:
    // The built-in sheet.
    static StyleSheet Default();
    // Reads rules "selector { property: value; ... }"; malformed pieces are skipped. Selectors may be
    // grouped with commas.
    static StyleSheet Parse(std::string_view text);

    // Applies every rule of `selector` in order; later declarations win.
    void Apply(std::string_view selector, TextStyle& style, const StyleEnvironment& env) const;
    bool Has(std::string_view selector) const;

    std::size_t RuleCount() const { return rules_.size(); }

private:
    std::vector<std::pair<std::string, std::vector<Declaration>>> rules_;
};

// The default sheet's text, one rule per line.
std::string_view DefaultStyleSheetText();

// Applies one declaration; values that cannot be read leave the state as it was.
void ApplyDeclaration(const Declaration& declaration, TextStyle& style, const StyleEnvironment& env);

// An approximation of the x height, used for "ex" before real font metrics exist.
inline int ApproxXHeight(const TextStyle& style) {
    return style.size / 2;
}

LengthContext MakeLengthContext(const TextStyle& style, int current, int dpiY);

std::string ToLower(std::string_view text);

} // namespace markup
