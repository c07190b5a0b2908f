#include "tooltip/markup_style.h"

#include <algorithm>
#include <charconv>

namespace markup {
namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view text) {
    text = Trim(text);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

void SetLength(int& target, std::string_view value, const TextStyle& style, int dpiY) {
    if (const auto length = ParseLength(value, MakeLengthContext(style, target, dpiY))) {
        target = *length;
    }
}

} // namespace

std::string ToLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

LengthContext MakeLengthContext(const TextStyle& style, int current, int dpiY) {
    return {current, style.size, ApproxXHeight(style), dpiY};
}

std::string_view DefaultStyleSheetText() {
    return "body {font-size: 10pt; color:black; font-family:Verdana}\n"
           "p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\n"
           "h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\n"
           "h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\n"
           "h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\n"
           "pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\n"
           "code {color:#990000; font-family:Arial}\n"
           "a:link {text-decoration:none; color:blue}\n"
           "a:hover {text-decoration:underline; color:blue}\n"
           "sub {font-size:65%; vertical-align:bottom}\n"
           "sup {font-size:65%; vertical-align:top}\n"
           "big {font-size:125%}\n"
           "small {font-size:75%}\n"
           ".cpp-comment {color:green; font-style:italic}\n";
}

StyleSheet StyleSheet::Default() {
    static const StyleSheet sheet = Parse(DefaultStyleSheetText());
    return sheet;
}

StyleSheet StyleSheet::Parse(std::string_view text) {
    StyleSheet sheet;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto open = text.find('{', pos);
        if (open == std::string_view::npos) {
            break;
        }
        const auto close = text.find('}', open + 1);
        // One rule per line: whatever stands on earlier lines before the brace is not part of it.
        std::string_view selectors = Trim(text.substr(pos, open - pos));
        if (const auto newline = selectors.find_last_of('\n'); newline != std::string_view::npos) {
            selectors.remove_prefix(newline + 1);
        }
        const std::string_view body =
            text.substr(open + 1, (close == std::string_view::npos ? text.size() : close) - open - 1);
        pos = close == std::string_view::npos ? text.size() : close + 1;

        std::vector<Declaration> declarations;
        std::size_t start = 0;
        while (start <= body.size()) {
            auto end = body.find(';', start);
            if (end == std::string_view::npos) {
                end = body.size();
            }
            const std::string_view piece = body.substr(start, end - start);
            start = end + 1;
            const auto colon = piece.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            const std::string property = ToLower(Trim(piece.substr(0, colon)));
            const std::string_view value = Trim(piece.substr(colon + 1));
            if (!property.empty()) {
                declarations.push_back({property, std::string(value)});
            }
        }
        std::size_t s = 0;
        while (s <= selectors.size()) {
            auto comma = selectors.find(',', s);
            if (comma == std::string_view::npos) {
                comma = selectors.size();
            }
            const std::string selector = ToLower(Trim(selectors.substr(s, comma - s)));
            s = comma + 1;
            if (!selector.empty()) {
                sheet.rules_.emplace_back(selector, declarations);
            }
        }
    }
    return sheet;
}

bool StyleSheet::Has(std::string_view selector) const {
    return std::any_of(rules_.begin(), rules_.end(),
                       [&](const auto& rule) { return rule.first == selector; });
}

void StyleSheet::Apply(std::string_view selector, TextStyle& style, const StyleEnvironment& env) const {
    for (const auto& [name, declarations] : rules_) {
        if (name != selector) {
            continue;
        }
        for (const auto& declaration : declarations) {
            ApplyDeclaration(declaration, style, env);
        }
    }
}

void ApplyDeclaration(const Declaration& declaration, TextStyle& style, const StyleEnvironment& env) {
    const std::string& p = declaration.property;
    const std::string value = ToLower(Unquote(declaration.value));

    if (p == "font-size") {
        if (const auto size = ParseLength(value, MakeLengthContext(style, style.size, env.dpiY), true)) {
            style.size = std::max(1, *size);
        }
    } else if (p == "font-family") {
        if (!value.empty()) {
            style.face = std::string(Unquote(declaration.value));
        }
    } else if (p == "font-style") {
        if (value == "normal") {
            style.italic = false;
        } else if (value == "italic" || value == "oblique") {
            style.italic = true;
        }
    } else if (p == "font-weight") {
        if (value == "normal") {
            style.weight = 400;
        } else if (value == "bold") {
            style.weight = 700;
        } else if (value == "bolder") {
            style.weight = std::min(kMaxWeight, style.weight + 300);
        } else if (value == "lighter") {
            style.weight = std::max(100, style.weight - 300);
        } else if (const auto weight = ParseInt(value)) {
            style.weight = std::clamp(*weight, 100, kMaxWeight);
        }
    } else if (p == "text-align") {
        if (value == "left") {
            style.align = HAlign::Left;
        } else if (value == "center") {
            style.align = HAlign::Center;
        } else if (value == "right") {
            style.align = HAlign::Right;
        }
    } else if (p == "vertical-align") {
        if (value == "baseline") {
            style.valign = VAlign::Baseline;
        } else if (value == "top") {
            style.valign = VAlign::Top;
        } else if (value == "middle" || value == "vcenter") {
            style.valign = VAlign::Middle;
        } else if (value == "bottom") {
            style.valign = VAlign::Bottom;
        }
    } else if (p == "text-transform") {
        if (value == "none") {
            style.transform = Transform::None;
        } else if (value == "uppercase") {
            style.transform = Transform::Upper;
        } else if (value == "lowercase") {
            style.transform = Transform::Lower;
        } else if (value == "capitalize") {
            style.transform = Transform::Capitalize;
        }
    } else if (p == "text-decoration") {
        if (value == "none" || value == "underline" || value == "line-through" || value == "overline") {
            style.underline = value == "underline";
            style.strikeout = value == "line-through";
            style.overline = value == "overline";
        }
    } else if (p == "color") {
        if (const auto colour = ParseColour(value, env.systemColours)) {
            style.colour = *colour;
        }
    } else if (p == "background-color") {
        if (value == "transparent") {
            style.opaque = false;
        } else if (const auto colour = ParseColour(value, env.systemColours)) {
            style.opaque = true;
            style.background = *colour;
        }
    } else if (p == "border-color") {
        if (const auto colour = ParseColour(value, env.systemColours)) {
            style.borderColour = *colour;
        }
    } else if (p == "border-width") {
        if (value == "thin") {
            style.borderWidth = 1;
        } else if (value == "medium") {
            style.borderWidth = 3;
        } else if (value == "thick") {
            style.borderWidth = 5;
        } else {
            SetLength(style.borderWidth, value, style, env.dpiY);
        }
    } else if (p == "border-style") {
        static constexpr std::pair<std::string_view, BorderStyle> kStyles[] = {
            {"none", BorderStyle::None},
            {"solid", BorderStyle::Solid},
            {"dotted", BorderStyle::Dotted},
            {"dashed", BorderStyle::Dashed},
            {"double", BorderStyle::Double}};
        for (const auto& [name, borderStyle] : kStyles) {
            if (value == name) {
                style.borderStyle = borderStyle;
            }
        }
    } else if (p == "margin-left") {
        SetLength(style.margin.left, value, style, env.dpiY);
    } else if (p == "margin-top") {
        SetLength(style.margin.top, value, style, env.dpiY);
    } else if (p == "margin-right") {
        SetLength(style.margin.right, value, style, env.dpiY);
    } else if (p == "margin-bottom") {
        SetLength(style.margin.bottom, value, style, env.dpiY);
    } else if (p == "padding-left") {
        SetLength(style.padding.left, value, style, env.dpiY);
    } else if (p == "padding-top") {
        SetLength(style.padding.top, value, style, env.dpiY);
    } else if (p == "padding-right") {
        SetLength(style.padding.right, value, style, env.dpiY);
    } else if (p == "padding-bottom") {
        SetLength(style.padding.bottom, value, style, env.dpiY);
    }
}

} // namespace markup
