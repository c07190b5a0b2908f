// Colours, lengths, entities and the style sheet of the tooltip mark-up.
#include "tooltip/markup_colour.h"
#include "tooltip/markup_length.h"
#include "tooltip/markup_style.h"
#include "tooltip/markup_tokenizer.h"

#include <gtest/gtest.h>

namespace markup {
namespace {

TEST(markup_colour_test, every_form_of_a_colour) {
    const SystemColours system{{"infobackground", Colour{1, 2, 3}}};
    struct Case {
        const char* text;
        std::optional<Colour> expected;
    } const cases[] = {
        {"#ff0000", Colour{255, 0, 0}},
        {"red", Colour{255, 0, 0}},
        {"255", Colour{255, 0, 0}},      // a colour reference keeps red in the low byte
        {"0xff0000", Colour{0, 0, 255}}, // ... and blue in the third
        {"16711680", Colour{0, 0, 255}},
        {"#2781c4", Colour{0x27, 0x81, 0xC4}},
        {"lightgrey", Colour{0xD3, 0xD3, 0xD3}},
        {"darkslategray", Colour{0x2F, 0x4F, 0x4F}},
        {"yellowgreen", Colour{0x9A, 0xCD, 0x32}},
        {"aliceblue", Colour{0xF0, 0xF8, 0xFF}},
        {"infobackground", Colour{1, 2, 3}},
        {"#fff", std::nullopt}, // exactly six digits
        {"#ff00zz", std::nullopt},
        {"lightgray", std::nullopt}, // only "lightgrey" is spelled with an e
        {"nocolour", std::nullopt},
        {"", std::nullopt},
        {"0x", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseColour(c.text, &system), c.expected) << c.text;
    }
    EXPECT_EQ(ParseColour("infobackground"), std::nullopt) << "system colours come from the caller";
    EXPECT_EQ(SystemColourNames().size(), 28u);
}

TEST(markup_length_test, every_unit) {
    const LengthContext context{20, 16, 7, 96};
    struct Case {
        const char* text;
        bool fontSize;
        std::optional<int> expected;
    } const cases[] = {
        {"12", false, 12},
        {"12px", false, 12},
        {"50%", false, 10},
        {"2em", false, 32},
        {"2ex", false, 14},
        {"1in", false, 96},
        {"2.54cm", false, 96},
        {"25.4mm", false, 96},
        {"10pt", false, 13},
        {"1pc", false, 16},
        {"+4", false, 4},
        {"-4px", false, 4},
        {" 7 px ", false, 7},
        {"3", true, 12},
        {"+1", true, 8},
        {"7", true, 36},
        {"8", true, 8},
        {"3px", true, 3},
        {"1.5", true, 2},
        {"px", false, std::nullopt},
        {"12furlongs", false, std::nullopt},
        {"", false, std::nullopt},
        {"99999999", false, kMaxLength},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseLength(c.text, context, c.fontSize), c.expected) << c.text;
    }
    EXPECT_EQ(ParseLength("1in", {0, 16, 8, 120}), 120) << "physical units follow the device resolution";
}

TEST(markup_entities_test, known_entities_decode_and_others_stay) {
    struct Case {
        const char* text;
        const char* expected;
    } const cases[] = {
        {"a &lt;b&gt; &amp; &quot;c&quot;", "a <b> & \"c\""},
        {"&#65;&#x42;", "AB"},
        {"&nbsp;", "\xC2\xA0"},
        {"&copy;", "\xC2\xA9"},
        {"fish & chips", "fish & chips"},
        {"&unknown;", "&unknown;"},
        {"&#0; &#xD800; &#x110000;", "&#0; &#xD800; &#x110000;"},
        {"&lt", "&lt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeEntities(c.text), c.expected) << c.text;
    }
}

TEST(markup_style_test, default_sheet_values) {
    const StyleSheet sheet = StyleSheet::Default();
    EXPECT_EQ(sheet.RuleCount(), 17u);
    TextStyle body;
    sheet.Apply("body", body, {});
    EXPECT_EQ(body.size, 13); // 10 pt at 96 dpi
    EXPECT_EQ(body.face, "Verdana");
    TextStyle h2 = body;
    sheet.Apply("h2", h2, {});
    EXPECT_EQ(h2.colour, (Colour{0xFF, 0x99, 0x00}));
    EXPECT_EQ(h2.weight, 700);
    TextStyle pre = body;
    sheet.Apply("pre", pre, {});
    EXPECT_EQ(pre.face, "Courier");
    EXPECT_TRUE(pre.opaque);
    EXPECT_EQ(pre.background, (Colour{0xFB, 0xED, 0xBB}));
    TextStyle sub = body;
    sheet.Apply("sub", sub, {});
    EXPECT_EQ(sub.size, 8); // 65 % of 13
    EXPECT_EQ(sub.valign, VAlign::Bottom);
    TextStyle hover = body;
    sheet.Apply("a:hover", hover, {});
    EXPECT_TRUE(hover.underline);
    EXPECT_EQ(hover.colour, (Colour{0, 0, 255}));
}

TEST(markup_style_test, later_rules_win_and_bad_values_keep_the_state) {
    const StyleSheet sheet =
        StyleSheet::Parse("h1 { color: red; font-size: 20px }\n"
                          "garbage without braces\n"
                          "h1, .note {color:#00ff00; font-weight: bolder; nonsense}\n"
                          "h1 {color: notacolour; font-size: big; text-transform: capitalize}");
    TextStyle style;
    sheet.Apply("h1", style, {});
    EXPECT_EQ(style.colour, (Colour{0, 255, 0}));
    EXPECT_EQ(style.size, 20);
    EXPECT_EQ(style.weight, 700);
    EXPECT_EQ(style.transform, Transform::Capitalize);
    TextStyle note;
    sheet.Apply(".note", note, {});
    EXPECT_EQ(note.colour, (Colour{0, 255, 0}));
    EXPECT_FALSE(sheet.Has("p"));
}

TEST(markup_style_test, properties_and_their_values) {
    const SystemColours system{{"window", Colour{9, 9, 9}}};
    const StyleEnvironment env{&system, 96};
    struct Case {
        const char* property;
        const char* value;
        bool (*check)(const TextStyle&);
    } const cases[] = {
        {"font-style", "oblique", [](const TextStyle& s) { return s.italic; }},
        {"font-weight", "950", [](const TextStyle& s) { return s.weight == 900; }},
        {"font-weight", "lighter", [](const TextStyle& s) { return s.weight == 100; }},
        {"text-align", "right", [](const TextStyle& s) { return s.align == HAlign::Right; }},
        {"vertical-align", "vcenter", [](const TextStyle& s) { return s.valign == VAlign::Middle; }},
        {"text-decoration", "line-through", [](const TextStyle& s) { return s.strikeout && !s.underline; }},
        {"text-decoration", "overline", [](const TextStyle& s) { return s.overline; }},
        {"background-color", "window",
         [](const TextStyle& s) {
             return s.opaque && s.background == Colour{9, 9, 9};
         }},
        {"background-color", "transparent", [](const TextStyle& s) { return !s.opaque; }},
        {"border-width", "thick", [](const TextStyle& s) { return s.borderWidth == 5; }},
        {"border-style", "dashed", [](const TextStyle& s) { return s.borderStyle == BorderStyle::Dashed; }},
        {"margin-left", "1em", [](const TextStyle& s) { return s.margin.left == 16; }},
        {"padding-bottom", "3px", [](const TextStyle& s) { return s.padding.bottom == 3; }},
        {"font-family", "'Courier New'", [](const TextStyle& s) { return s.face == "Courier New"; }},
    };
    for (const auto& c : cases) {
        TextStyle style;
        style.opaque = true;
        ApplyDeclaration({c.property, c.value}, style, env);
        EXPECT_TRUE(c.check(style)) << c.property << ": " << c.value;
    }
}

} // namespace
} // namespace markup
