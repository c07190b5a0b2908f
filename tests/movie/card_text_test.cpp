#include "movie/card_text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace movie {
namespace {

using Parts = std::vector<std::string>;

TEST(SplitStringTest, KeepsEmptyPartsButNotAnEmptyRest) {
    EXPECT_EQ(SplitString("a b", " "), (Parts{"a", "b"}));
    EXPECT_EQ(SplitString("a  b", " "), (Parts{"a", "", "b"}));
    EXPECT_EQ(SplitString("a b ", " "), (Parts{"a", "b"}));
    EXPECT_EQ(SplitString("", " "), Parts{});
    EXPECT_EQ(SplitString(" ", " "), Parts{""});
    EXPECT_EQ(SplitString(" a", " "), (Parts{"", "a"}));
    EXPECT_EQ(SplitString("one\r\ntwo\r\n", "\n"), (Parts{"one\r", "two\r"}));
    EXPECT_EQ(SplitString("a::b", "::"), (Parts{"a", "b"}));
}

TEST(ReadColourTest, ReadsHexAfterTheHashInEitherCase) {
    Rgb c{1, 2, 3};
    EXPECT_TRUE(ReadColour("#2781c4", c));
    EXPECT_EQ(c, (Rgb{0x27, 0x81, 0xC4}));
    EXPECT_TRUE(ReadColour("#FF0000", c));
    EXPECT_EQ(c, (Rgb{255, 0, 0}));
    EXPECT_TRUE(ReadColour("#fff", c)); // one number: 0x000fff
    EXPECT_EQ(c, (Rgb{0, 0x0F, 0xFF}));
}

TEST(ReadColourTest, UnreadableTextCarriesThePreviousColour) {
    // One variable serves background, title and comment in turn.
    Rgb carried;
    EXPECT_TRUE(ReadColour("#102030", carried));
    EXPECT_FALSE(ReadColour("Background\\flower.jpg", carried));
    EXPECT_EQ(carried, (Rgb{0x10, 0x20, 0x30}));
    EXPECT_FALSE(ReadColour("", carried));
    EXPECT_FALSE(ReadColour("#zz", carried));
    EXPECT_FALSE(ReadColour("red", carried));
    EXPECT_EQ(carried, (Rgb{0x10, 0x20, 0x30}));
    Rgb fresh; // starts white
    EXPECT_EQ(fresh, (Rgb{255, 255, 255}));
}

// Every character is 10 units wide.
double TenPerChar(std::string_view s) {
    return 10.0 * double(s.size());
}

TEST(BreakTitleTest, OneLineWhenEverythingFits) {
    TitleLines t = BreakTitle("Happy birthday", 620, TenPerChar);
    EXPECT_EQ(t.line1, " Happy birthday");
    EXPECT_EQ(t.line2, "");
}

TEST(BreakTitleTest, OverflowGoesToLineTwoWithoutLimit) {
    // " aaaa bbbb" is 100 wide: fits exactly; " aaaa bbbb cc" (130) does not.
    TitleLines t = BreakTitle("aaaa bbbb cc d eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee", 100, TenPerChar);
    EXPECT_EQ(t.line1, " aaaa bbbb");
    EXPECT_EQ(t.line2, " cc d eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee");
}

TEST(BreakTitleTest, ShortWordAfterTheBreakStillGoesToLineTwo) {
    TitleLines t = BreakTitle("aaaaaaaa bbbbbbbbb c", 100, TenPerChar);
    EXPECT_EQ(t.line1, " aaaaaaaa");
    EXPECT_EQ(t.line2, " bbbbbbbbb c");
}

TEST(BreakTitleTest, TooWideFirstWordLeavesLineOneEmpty) {
    TitleLines t = BreakTitle("abcdefghijklmnop x", 100, TenPerChar);
    EXPECT_EQ(t.line1, "");
    EXPECT_EQ(t.line2, " abcdefghijklmnop x");
}

TEST(BreakTitleTest, DoubleSpaceMakesAnEmptyWord) {
    TitleLines t = BreakTitle("a  b", 620, TenPerChar);
    EXPECT_EQ(t.line1, " a  b");
    EXPECT_EQ(BreakTitle("", 620, TenPerChar).line1, "");
}

// Each character (not byte) is 10 units wide.
double TenPerLetter(std::string_view s) {
    return 10.0 *
           double(std::count_if(s.begin(), s.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
}

TEST(BreakTitleTest, JapaneseBreaksBetweenCharactersButNotBeforeClosingMarks) {
    struct Case {
        std::string title;
        double width;
        std::string line1, line2;
    };
    for (const Case& c : std::vector<Case>{
             {"お誕生日おめでとう", 50, " お誕生日", " おめでとう"},
             {"Hi お誕生日", 60, " Hi お誕", " 生日"},
             {"日本。です", 30, " 日", " 本。です"},  // never a line starting with "。"
             {"「日本」", 30, " 「日", " 本」"},      // nor one ending in "「"
             {"한국어 문장", 40, " 한국어", " 문장"}, // Korean breaks at spaces
         }) {
        TitleLines t = BreakTitle(c.title, c.width, TenPerLetter);
        EXPECT_EQ(t.line1, c.line1) << c.title;
        EXPECT_EQ(t.line2, c.line2) << c.title;
    }
}

TEST(CommentLinesTest, TheHundredCharacterCutNeverSplitsACluster) {
    // 99 letters, then a letter with a combining mark: the cut comes before the letter.
    const std::string line = std::string(99, 'x') + "e\xCC\x81" + "tail";
    EXPECT_EQ(CommentLines(line)[0], std::string(99, 'x'));
    // A Devanagari conjunct (consonant, virama, consonant) across the cut stays whole.
    const std::string conjunct = std::string(98, 'x') + "\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4";
    EXPECT_EQ(CommentLines(conjunct)[0], std::string(98, 'x'));
}

TEST(CommentLinesTest, CrLfLinesKeepTheirCarriageReturn) {
    EXPECT_EQ(CommentLines("first\r\nsecond"), (Parts{"first\r", "second"}));
    EXPECT_EQ(CommentLines("a\n\nb\n"), (Parts{"a", "", "b"}));
}

TEST(CommentLinesTest, LongLinesAreCutToHundredCharacters) {
    const std::string long_line(150, 'x');
    auto lines = CommentLines(long_line + "\nshort");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(100, 'x'));
    EXPECT_EQ(lines[1], "short");
    // 150 two-byte letters: cut after 100 whole letters, not after 100 bytes.
    std::string umlauts;
    for (int i = 0; i < 150; ++i) {
        umlauts += "\xC3\xA4";
    }
    EXPECT_EQ(CommentLines(umlauts)[0].size(), 200u);
}

} // namespace
} // namespace movie
