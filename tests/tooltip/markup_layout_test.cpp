// Layout of the tooltip mark-up with fixed measurements: lines, tabs, tables, rules, hit tests.
#include "tooltip/markup_layout.h"
#include "tooltip/markup_parser.h"
#include "tooltip/tip_texts.h"

#include <gtest/gtest.h>

namespace markup {
namespace {

LayoutResult Lay(const Document& doc, Hot hot = {}, int width = 0) {
    static const FixedMetrics metrics;
    return Layout(doc, metrics, width, hot);
}

std::vector<const Box*> BoxesOf(const LayoutResult& layout, Box::Kind kind) {
    std::vector<const Box*> out;
    for (const Box& box : layout.boxes) {
        if (box.kind == kind) {
            out.push_back(&box);
        }
    }
    return out;
}

TEST(markup_layout_test, tab_and_line_feed_outside_pre_take_no_room) {
    const Document plain = Parse("ab");
    const Document skipped = Parse("a\t\n\rb");
    EXPECT_EQ(Lay(plain).size, Lay(skipped).size);
    const Size tagged = Lay(Parse("a<t>b")).size;
    EXPECT_GT(tagged.width, Lay(plain).size.width);
    EXPECT_EQ(Lay(Parse("a<br>b")).size.height, 2 * Lay(plain).size.height);
    EXPECT_EQ(Lay(Parse("a<br 3>b")).size.height, 4 * Lay(plain).size.height);
}

TEST(markup_layout_test, bold_is_wider_and_lines_align) {
    EXPECT_GT(Lay(Parse("<b>word</b>")).size.width, Lay(Parse("word")).size.width);
    const LayoutResult layout = Lay(Parse("<center>ab</center><br>abcdef<br><right>ab"));
    const auto texts = BoxesOf(layout, Box::Kind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1]->rect.x, 0);
    EXPECT_EQ(texts[0]->rect.x, (texts[1]->rect.width - texts[0]->rect.width) / 2);
    EXPECT_EQ(texts[2]->rect.x, texts[1]->rect.width - texts[2]->rect.width);
}

TEST(markup_layout_test, baseline_and_vertical_alignment) {
    const LayoutResult layout = Lay(Parse("<font size=7>Big</font>small<sup>up</sup>"));
    const auto texts = BoxesOf(layout, Box::Kind::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->baseline, texts[1]->baseline);
    EXPECT_EQ(texts[2]->rect.y, 0) << "sup sits at the top of the line";
}

TEST(markup_layout_test, table_columns_take_their_widest_cell) {
    const LayoutResult layout =
        Lay(Parse("<table cellspacing=0 cellpadding=0><tr><td>a</td><td bgcolor=red>bb</td></tr>"
                  "<tr><td>aaaa</td><td>b</td></tr></table>"));
    const auto texts = BoxesOf(layout, Box::Kind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1]->rect.x, texts[2]->rect.width) << "second column starts after the widest first cell";
    const auto fills = BoxesOf(layout, Box::Kind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->colour, (Colour{255, 0, 0}));
    EXPECT_EQ(fills[0]->rect.x, texts[1]->rect.x);
    EXPECT_EQ(layout.size.width, texts[2]->rect.width + texts[1]->rect.width);
}

TEST(markup_layout_test, cells_spanning_rows_and_columns) {
    const LayoutResult layout = Lay(Parse("<table cellspacing=0 cellpadding=0>"
                                          "<tr><td rowspan=2 bgcolor=red>tall</td><td>a</td></tr>"
                                          "<tr><td>b</td></tr>"
                                          "<tr><td colspan=2 bgcolor=blue>wide wide wide</td></tr></table>"));
    const auto texts = BoxesOf(layout, Box::Kind::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2]->rect.x, texts[1]->rect.x) << "b goes beside the tall cell, under a";
    const auto fills = BoxesOf(layout, Box::Kind::Fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0]->rect.height, 2 * texts[1]->rect.height);
    EXPECT_EQ(fills[1]->rect.width, layout.size.width);
    EXPECT_EQ(layout.size.width, texts[3]->rect.width) << "the wide cell widens the last column";
}

TEST(markup_layout_test, table_widths_in_percent_and_length) {
    const LayoutResult wide = Lay(Parse("a long line of text here<br><table width=100% cellspacing=0 "
                                        "bgcolor=red><tr><td>x</td></tr></table>"));
    const auto fills = BoxesOf(wide, Box::Kind::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->rect.width, wide.size.width) << "the whole width of the widest line";
    EXPECT_EQ(BoxesOf(Lay(Parse("<table width=50% bgcolor=red><tr><td>x</td></tr></table>"), {}, 400),
                      Box::Kind::Fill)[0]
                  ->rect.width,
              200);
    EXPECT_EQ(Lay(Parse("<table width=300px><tr><td>x</td></tr></table>")).size.width, 300);
    EXPECT_EQ(Lay(Parse("<table width=250%><tr><td>x</td></tr></table>"), {}, 100).size.width, 100)
        << "never more than the area";
}

TEST(markup_layout_test, rule_spans_the_area_and_fixed_width) {
    const LayoutResult full = Lay(Parse("abcd<br><hr size=3 color=blue>"), {}, 200);
    const auto rules = BoxesOf(full, Box::Kind::Rule);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0]->rect.width, 200);
    EXPECT_EQ(rules[0]->rect.height, 3);
    EXPECT_EQ(rules[0]->colour, (Colour{0, 0, 255}));
    EXPECT_EQ(BoxesOf(Lay(Parse("<hr width=50%>"), {}, 100), Box::Kind::Rule)[0]->rect.width, 50);
    EXPECT_EQ(Lay(Parse("<hr width=40px>")).size.width, 40);
}

TEST(markup_layout_test, hit_test_finds_links_and_hover_style_is_used) {
    const Document doc = Parse("go <a msg=1>here</a><bmp idres=165>");
    const LayoutResult layout = Lay(doc);
    const auto texts = BoxesOf(layout, Box::Kind::Text);
    ASSERT_EQ(texts.size(), 2u);
    const Rect link = texts[1]->rect;
    EXPECT_EQ(HitTest(layout, link.x + 1, link.y + 1), (Hot{0, -1}));
    EXPECT_EQ(HitTest(layout, 0, 0), Hot{});
    const Box* image = BoxesOf(layout, Box::Kind::Image)[0];
    EXPECT_EQ(HitTest(layout, image->rect.x + 1, image->rect.y + 1), (Hot{-1, 0}));
    EXPECT_FALSE(texts[1]->style->underline);
    const LayoutResult hot = Lay(doc, {0, 0});
    EXPECT_TRUE(BoxesOf(hot, Box::Kind::Text)[1]->style->underline);
    EXPECT_TRUE(BoxesOf(hot, Box::Kind::Image)[0]->hot);
}

TEST(markup_layout_test, welcome_text_measures_to_a_plausible_tip) {
    const LayoutResult layout = Lay(Parse(tooltip::kWelcomeText));
    // 27 lines of the 13-pixel body font; the first also holds the 16-pixel picture on its baseline.
    EXPECT_EQ(layout.size.height, 26 * 13 + 16 + 3);
    EXPECT_GT(layout.size.width, 300);
    EXPECT_LT(layout.size.width, 1000);
}

} // namespace
} // namespace markup
