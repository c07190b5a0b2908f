// A passage's text taken apart: every link form, the mark-up and macros of the story formats, and the
// lines that must read back as they are.
#include "interop/passage_text.h"

#include <gtest/gtest.h>

namespace {

using interop::ParsePassage;
using interop::StoryFormat;

struct LinkCase {
    const char* text;
    const char* caption;
    const char* target;
};

TEST(PassageText, EveryLinkFormGivesCaptionAndTarget) {
    const LinkCase cases[] = {
        {"[[Garden]]", "Garden", "Garden"},
        {"[[Go out|Garden]]", "Go out", "Garden"},
        {"[[Go out->Garden]]", "Go out", "Garden"},
        {"[[Garden<-Go out]]", "Go out", "Garden"},
        {"[[a->b->Garden]]", "a->b", "Garden"}, // the rightmost arrow divides
        {"[[Garden<-b<-a]]", "b<-a", "Garden"}, // the leftmost arrow divides
        {"[[a|b|Garden]]", "a|b", "Garden"},    // the last bar divides
        {"[[Go|Garden][$key to true]]", "Go", "Garden"},
        {"<<link \"Go\" \"Garden\">><</link>>", "Go", "Garden"},
        {"<<button [[Go|Garden]]>><</button>>", "Go", "Garden"},
        {"<<link \"Go\">><<set $x to 1>><<goto \"Garden\">><</link>>", "Go", "Garden"},
        {"(link-goto: \"Go\", \"Garden\")", "Go", "Garden"},
        {"(link-goto: \"Garden\")", "Garden", "Garden"},
        {"(link: \"Go\")[(goto: \"Garden\")]", "Go", "Garden"},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto content = ParsePassage(c.text, StoryFormat::Unknown);
        ASSERT_EQ(content.links.size(), 1u);
        EXPECT_EQ(content.links[0].caption, c.caption);
        EXPECT_EQ(content.links[0].target, c.target);
        EXPECT_EQ(content.text, "");
    }
}

TEST(PassageText, LinksKeepTheirOrderAndTheirLinesGo) {
    const auto c = ParsePassage("You stand in a hall.\n[[North]] [[South]]\n[[Back|Start]] or stay.",
                                StoryFormat::Unknown);
    ASSERT_EQ(c.links.size(), 3u);
    EXPECT_EQ(c.links[0].target, "North");
    EXPECT_EQ(c.links[1].target, "South");
    EXPECT_EQ(c.links[2].target, "Start");
    EXPECT_EQ(c.text, "You stand in a hall.\n or stay.");
}

struct MarkupCase {
    StoryFormat format;
    const char* text;
    const char* expected;
    const char* removed; // one of the things named as removed
};

TEST(PassageText, MarkupAndMacrosAreRemovedAndNamed) {
    const MarkupCase cases[] = {
        // Harlowe
        {StoryFormat::Harlowe, "(set: $gold to 5)You have gold.", "You have gold.", "(set:)"},
        {StoryFormat::Harlowe, "(if: $key is true)[The door opens.](else:)[It is locked.]",
         "The door opens.It is locked.", "(if:)"},
        {StoryFormat::Harlowe, "''Bold'' and //italic// and **strong**", "Bold and italic and strong",
         "formatting ''"},
        {StoryFormat::Harlowe, "|dream>[A dream] ends", "A dream ends", "Harlowe named hook"},
        {StoryFormat::Harlowe, "You have $gold coins.", "You have  coins.", "variable $gold"},
        // SugarCube
        {StoryFormat::SugarCube, "<<set $hp to 10>>\nHealth: <<print $hp>>", "Health: ", "<<set>>"},
        {StoryFormat::SugarCube, "<<if $hp gt 5>>Strong<<else>>Weak<</if>>", "StrongWeak", "<<if>>"},
        {StoryFormat::SugarCube, "A [img[tree.png]] tree", "A  tree", "image"},
        {StoryFormat::SugarCube, "/* note to self */Text", "Text", "comment"},
        {StoryFormat::SugarCube, "<<script>>alert(1)<</script>>Text", "Text", "<<script>>"},
        {StoryFormat::SugarCube, "Keep \"\"\"<<this>>\"\"\" as is", "Keep <<this>> as is", ""},
        // Chapbook
        {StoryFormat::Chapbook, "hp: 10\nname: 'Ann'\n--\nHello {back link}", "Hello ",
         "Chapbook variables section"},
        {StoryFormat::Chapbook, "[align center]\nTitle", "Title", "Chapbook modifier [align center]"},
        // Snowman and plain HTML
        {StoryFormat::Snowman, "<% s.seen = true %>Hi <b>there</b>", "Hi there", "script <% %>"},
        {StoryFormat::Snowman, "# A heading\nText", "A heading\nText", "heading #"},
        {StoryFormat::Unknown, "<img src=\"a.png\">A picture", "A picture", "image"},
        {StoryFormat::Unknown, "Line<br>break", "Line\nbreak", ""},
        {StoryFormat::Unknown, "See http://example.org/x", "See http://example.org/x", ""},
    };
    for (const MarkupCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto content = ParsePassage(c.text, c.format);
        EXPECT_EQ(content.text, c.expected);
        if (*c.removed) {
            EXPECT_NE(std::find(content.removed.begin(), content.removed.end(), c.removed),
                      content.removed.end())
                << ::testing::PrintToString(content.removed);
        }
    }
}

TEST(PassageText, ScoreAndConditionMacrosOfTheTweeWriterReadBack) {
    const auto c =
        ParsePassage("<<set $score to 0>>\n"
                     "<<link \"Next\">><<set $score += 5>><<if $score >= 10>><<goto \"Win\">><<else>><<goto "
                     "\"Lose\">><</if>><</link>>\n"
                     "<<link \"Back\">><<set $score -= 3>><<goto \"Start\">><</link>>\n"
                     "<<link \"Odd\">><<if $score is 4>><<else>><<goto \"Start\">><</if>><</link>>",
                     StoryFormat::SugarCube);
    EXPECT_TRUE(c.resetsScore);
    EXPECT_TRUE(c.removed.empty()) << ::testing::PrintToString(c.removed);
    ASSERT_EQ(c.links.size(), 3u);
    EXPECT_EQ(c.links[0].score, 5);
    EXPECT_EQ(c.links[0].compare, ">=");
    EXPECT_EQ(c.links[0].compareValue, 10);
    EXPECT_EQ(c.links[0].thenTarget, "Win");
    EXPECT_EQ(c.links[0].target, "Lose");
    EXPECT_EQ(c.links[1].score, -3);
    EXPECT_EQ(c.links[1].compare, "");
    EXPECT_EQ(c.links[1].target, "Start");
    EXPECT_EQ(c.links[2].compare, "=");
    EXPECT_EQ(c.links[2].thenTarget, std::nullopt);
    EXPECT_TRUE(c.links[2].setter.empty());
}

TEST(PassageText, PlainTextIsToldFromMarkup) {
    for (const char* plain : {"Hello, world.", "5 * 3 = 15", "a < b and c > d", "Price: $5", "", "  "}) {
        EXPECT_TRUE(interop::IsPlainText(plain)) << plain;
    }
    for (const char* markup :
         {"[[x]]", "<<if>>", "''b''", ":: Header", "$gold", "<b>", "/* c */", "x\n:: y"}) {
        EXPECT_FALSE(interop::IsPlainText(markup)) << markup;
    }
}

} // namespace
