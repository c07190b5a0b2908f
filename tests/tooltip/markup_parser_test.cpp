// Tags of the tooltip mark-up: what each does to the text state, and text that is malformed.
#include "tooltip/markup_parser.h"
#include "tooltip/markup_tokenizer.h"
#include "tooltip/tip_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace markup {
namespace {

// The text items of a document, in order.
std::vector<const Item*> Texts(const std::vector<Item>& items) {
    std::vector<const Item*> out;
    for (const Item& item : items) {
        if (item.kind == Item::Kind::Text) {
            out.push_back(&item);
        }
    }
    return out;
}

const Item& TextItem(const Document& doc, std::string_view text) {
    for (const Item* item : Texts(doc.items)) {
        if (item->text == text) {
            return *item;
        }
    }
    ADD_FAILURE() << "no text item \"" << text << "\"";
    static const Item none;
    return none;
}

std::string AllText(const Document& doc) {
    std::string out;
    for (const Item* item : Texts(doc.items)) {
        out += item->text;
    }
    return out;
}

TEST(markup_tokenizer_test, tags_are_lower_cased_whole) {
    const auto tokens = Tokenize("<A HREF=\"Http://X.org/Page\" Msg=Go>x<<</A >");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].tag.name, "a");
    EXPECT_EQ(*tokens[0].tag.Find("href"), "http://x.org/page");
    EXPECT_EQ(*tokens[0].tag.Find("msg"), "go");
    EXPECT_EQ(tokens[1].text, "x<");
    EXPECT_TRUE(tokens[2].tag.closing);
    const Tag bare = ParseTag("bmp idres=165 mask hotstyle='s'");
    EXPECT_EQ(*bare.Find("mask"), "");
    EXPECT_EQ(*bare.Find("hotstyle"), "s");
}

TEST(markup_parser_test, nested_bold_caps_at_900_and_each_close_restores) {
    const Document doc = Parse("a<b>b<b>c</b>d</b>e");
    EXPECT_EQ(TextItem(doc, "a").style.weight, 400);
    EXPECT_EQ(TextItem(doc, "b").style.weight, 800);
    EXPECT_EQ(TextItem(doc, "c").style.weight, 900);
    EXPECT_EQ(TextItem(doc, "d").style.weight, 800);
    EXPECT_EQ(TextItem(doc, "e").style.weight, 400);
}

TEST(markup_parser_test, font_colour_forms_give_the_same_red) {
    for (const char* colour : {"#ff0000", "red", "255", "RED", "#FF0000"}) {
        const Document doc = Parse(std::string("<font color=") + colour + ">x</font>");
        EXPECT_EQ(TextItem(doc, "x").style.colour, (Colour{255, 0, 0})) << colour;
    }
    EXPECT_EQ(TextItem(Parse("<font color=bogus>x</font>"), "x").style.colour, (Colour{0, 0, 0}));
}

TEST(markup_parser_test, font_sizes) {
    EXPECT_EQ(TextItem(Parse("x"), "x").style.size, 13); // the body rule's 10 pt
    EXPECT_EQ(TextItem(Parse("<font size=3>x</font>"), "x").style.size, 12);
    EXPECT_EQ(TextItem(Parse("<font size=+1>x</font>"), "x").style.size, 8);
    EXPECT_EQ(TextItem(Parse("<font size=200%>x</font>"), "x").style.size, 26);
    EXPECT_EQ(TextItem(Parse("<big>x</big>"), "x").style.size, 16);
}

TEST(markup_parser_test, less_than_and_entities) {
    EXPECT_EQ(AllText(Parse("a << b")), "a < b");
    EXPECT_EQ(AllText(Parse("<<<b>x</b>")), "<x");
    EXPECT_EQ(AllText(Parse("&lt;b&gt; &amp;")), "<b> &");
}

TEST(markup_parser_test, tab_and_line_feed_outside_pre_are_skipped) {
    const Document plain = Parse("a\tb\r\nc");
    EXPECT_EQ(AllText(plain), "abc");
    EXPECT_EQ(plain.items.size(), 1u);
    const Document pre = Parse("<pre>a\tb\nc</pre>");
    std::vector<Item::Kind> kinds;
    for (const Item& item : pre.items) {
        kinds.push_back(item.kind);
    }
    EXPECT_EQ(kinds, (std::vector{Item::Kind::Text, Item::Kind::Tab, Item::Kind::Text, Item::Kind::Break,
                                  Item::Kind::Text}));
    EXPECT_EQ(pre.items[0].style.face, "Courier");
}

TEST(markup_parser_test, unknown_tags_and_attributes_are_ignored) {
    const Document doc = Parse("<p>a</p><blink speed=9>b</blink><b colour=red what>c</b><string idres=5>");
    EXPECT_EQ(AllText(doc), "abc");
    EXPECT_EQ(TextItem(doc, "ab").style.weight, 400) << "the p rule is not applied";
    EXPECT_EQ(TextItem(doc, "c").style.colour, (Colour{0, 0, 0}));
}

TEST(markup_parser_test, unclosed_and_misnested_tags) {
    struct Case {
        const char* markup;
        const char* text;
        int weight;
        bool italic;
    } const cases[] = {
        {"<b>a", "a", 800, false},         // unclosed: lasts to the end
        {"<b><i>a</b>z", "z", 400, false}, // closing b also ends the i opened inside it
        {"<i>a</b>z", "az", 400, true},    // a stray close is ignored
        {"</b></i></font></table></td>z", "z", 400, false},
        {"<b>a</body>z", "z", 400, false}, // closing the body ends everything
        {"<b>z<", "z", 800, false},        // an unterminated tag is dropped
        {"<b>z<i", "z", 800, false},
        {"<>z", "z", 400, false},
    };
    for (const auto& c : cases) {
        const Document doc = Parse(c.markup);
        const Item& item = TextItem(doc, c.text);
        EXPECT_EQ(item.style.weight, c.weight) << c.markup;
        EXPECT_EQ(item.style.italic, c.italic) << c.markup;
    }
}

TEST(markup_parser_test, links_carry_msg_and_hover_style) {
    const Document doc = Parse("<a msg=\"Go\"><b>x</b></a><a href=\"HTTP://A.B\">y</a>z");
    ASSERT_EQ(doc.links.size(), 2u);
    EXPECT_EQ(doc.links[0].msg, "go");
    EXPECT_EQ(doc.links[1].href, "http://a.b");
    const Item& x = TextItem(doc, "x");
    EXPECT_EQ(x.link, 0);
    EXPECT_EQ(x.style.weight, 800);
    EXPECT_FALSE(x.style.underline);
    EXPECT_TRUE(x.hoverStyle.underline);
    EXPECT_EQ(x.style.colour, (Colour{0, 0, 255}));
    EXPECT_EQ(TextItem(doc, "z").link, -1);
}

TEST(markup_parser_test, cascade_from_a_given_sheet) {
    const StyleSheet sheet = StyleSheet::Parse("body {color: green; font-size: 20px}\n.warn {color: red}\n"
                                               "h1 {font-weight: bold}\n.warn {font-style: italic}");
    ParseOptions options;
    options.styleSheet = &sheet;
    const Document doc = Parse("a<span class=warn>b<h1>c</h1></span><span class=none>d</span>", options);
    EXPECT_EQ(TextItem(doc, "a").style.colour, (Colour{0, 128, 0}));
    const Item& b = TextItem(doc, "b");
    EXPECT_EQ(b.style.colour, (Colour{255, 0, 0}));
    EXPECT_TRUE(b.style.italic);
    EXPECT_EQ(b.style.size, 20) << "inherited from body";
    const Item& c = TextItem(doc, "c");
    EXPECT_EQ(c.style.weight, 700);
    EXPECT_EQ(c.style.colour, (Colour{255, 0, 0})) << "h1 sets no colour here, so the span's stays";
    EXPECT_EQ(TextItem(doc, "d").style.colour, (Colour{0, 128, 0}));
}

TEST(markup_parser_test, font_style_letters_and_background) {
    const Document doc =
        Parse("<font style=biuso>a<font style=-b-i+u>b</font></font><font bkgnd=yellow>c</font>");
    const TextStyle& a = TextItem(doc, "a").style;
    EXPECT_TRUE(a.weight == 700 && a.italic && a.underline && a.strikeout && a.overline);
    const TextStyle& b = TextItem(doc, "b").style;
    EXPECT_TRUE(b.weight == 400 && !b.italic && b.underline);
    const TextStyle& c = TextItem(doc, "c").style;
    EXPECT_TRUE(c.opaque);
    EXPECT_EQ(c.background, (Colour{255, 255, 0}));
}

TEST(markup_parser_test, text_transform) {
    const StyleSheet sheet =
        StyleSheet::Parse(".u {text-transform:uppercase} .c {text-transform:capitalize}");
    ParseOptions options;
    options.styleSheet = &sheet;
    EXPECT_EQ(AllText(Parse("<span class=u>ab c</span>", options)), "AB C");
    EXPECT_EQ(AllText(Parse("<span class=c>hello big world</span>", options)), "Hello Big World");
}

TEST(markup_parser_test, tables_rows_cells_and_their_attributes) {
    const Document doc = Parse("<table border=1 cellpadding=4><tr bgcolor=red><td>a</td><td bgcolor=#00ff00 "
                               "bgeffect=softbump colspan=2 align=right>b<b>c</td></tr><tr><td>d</table>e");
    ASSERT_EQ(doc.items.size(), 2u);
    ASSERT_EQ(doc.items[0].kind, Item::Kind::Table);
    const Table& table = *doc.items[0].table;
    EXPECT_EQ(table.attributes.border, 1);
    EXPECT_EQ(table.attributes.cellPadding, 4);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0].attributes.bgColour, (Colour{255, 0, 0}));
    ASSERT_EQ(table.rows[0].cells.size(), 2u);
    const Cell& b = table.rows[0].cells[1];
    EXPECT_EQ(b.attributes.bgEffect, 13);
    EXPECT_EQ(b.attributes.colSpan, 2);
    EXPECT_EQ(b.items[0].style.align, HAlign::Right);
    EXPECT_EQ(b.items[1].style.weight, 800);
    EXPECT_EQ(table.rows[1].cells[0].items[0].text, "d");
    EXPECT_EQ(doc.items[1].text, "e");
    EXPECT_EQ(doc.items[1].style.weight, 400) << "the unclosed b ends with its cell";
    EXPECT_EQ(doc.items[1].style.align, HAlign::Left);
}

TEST(markup_parser_test, hostile_nesting_is_bounded) {
    std::string deep;
    for (int i = 0; i < 100; ++i) {
        deep += "<table><tr><td>";
    }
    deep += "x";
    const Document doc = Parse(deep);
    int depth = 0;
    const std::vector<Item>* items = &doc.items;
    while (!items->empty() && items->front().kind == Item::Kind::Table) {
        ++depth;
        items = &items->front().table->rows.front().cells.front().items;
    }
    EXPECT_EQ(depth, kMaxTableDepth);
    EXPECT_EQ(Parse(std::string(100000, '<') + "b>").items.size(), 1u);
    EXPECT_EQ(Parse("<br 100000>").items[0].count, kMaxRepeat);
}

TEST(markup_parser_test, effects_by_name_and_number) {
    EXPECT_EQ(ParseEffect("transparent"), -1);
    EXPECT_EQ(ParseEffect("3vgradient"), 6);
    EXPECT_EQ(ParseEffect("metal"), 15);
    EXPECT_EQ(ParseEffect("42"), 42);
    EXPECT_EQ(ParseEffect("-1"), -1);
}

TEST(markup_parser_test, welcome_text_has_three_command_links_and_its_picture) {
    const Document doc = Parse(tooltip::kWelcomeText);
    ASSERT_EQ(doc.links.size(), 4u);
    EXPECT_EQ(doc.links[0].msg, tooltip::kWelcomePreview);
    EXPECT_EQ(doc.links[1].msg, tooltip::kWelcomeHelpMovie);
    EXPECT_EQ(doc.links[2].msg, tooltip::kWelcomeOpen);
    EXPECT_EQ(doc.links[3].href.rfind("mailto:", 0), 0u);
    EXPECT_EQ(TextItem(doc, "Cardwright").style.colour, (Colour{255, 0, 0}));
    const auto image = std::find_if(doc.items.begin(), doc.items.end(),
                                    [](const Item& item) { return item.kind == Item::Kind::Image; });
    ASSERT_NE(image, doc.items.end());
    EXPECT_EQ(image->image.idres, tooltip::kWelcomePicture);
    EXPECT_TRUE(image->image.mask);
    EXPECT_EQ(image->image.hotStyle, "s");
    for (const auto& tip : tooltip::kControlTips) {
        EXPECT_FALSE(AllText(Parse(tip.text)).empty()) << tip.id;
    }
}

} // namespace
} // namespace markup
