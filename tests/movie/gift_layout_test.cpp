#include "movie/gift_layout.h"

#include <gtest/gtest.h>

namespace movie {
namespace {

TEST(FrameRateTest, SlideShowInterval) {
    EXPECT_EQ(SlideShowRate(""), 0);
    EXPECT_EQ(SlideShowRate("0"), 0);
    EXPECT_EQ(SlideShowRate("0.0"), 0);
    EXPECT_EQ(SlideShowRate("abc"), 0);
    EXPECT_EQ(SlideShowRate("0.5"), 2);
    EXPECT_DOUBLE_EQ(SlideShowRate("10"), 0.1);
    EXPECT_DOUBLE_EQ(SlideShowRate("3"), 1.0 / 3);
    EXPECT_DOUBLE_EQ(SlideShowRate("0.01"), 100);
}

TEST(FrameRateTest, RateZeroIsWrittenAsTwelve) {
    EXPECT_EQ(WrittenFrameRate(""), 12);
    EXPECT_EQ(WrittenFrameRate("0"), 12);
    EXPECT_EQ(WrittenFrameRate("-2"), 12);
    EXPECT_EQ(WrittenFrameRate("0.5"), 2);
    EXPECT_DOUBLE_EQ(WrittenFrameRate("10"), 0.1);
    EXPECT_EQ(WrittenFrameRate("100000"), 1.0 / 256); // smallest rate the file holds
    EXPECT_EQ(WrittenFrameRate("0.0001"), 255.0 + 255.0 / 256);
}

TEST(ButtonLayoutTest, OverFaceWrapsModulo256) {
    EXPECT_EQ(OverFaceColour(Rgb{0x27, 0x81, 0xC4}), (Rgb{0x13, 0x6D, 0xB0}));
    EXPECT_EQ(OverFaceColour(Rgb{0x10, 0x00, 0x14}), (Rgb{0xFC, 0xEC, 0x00}));
}

TEST(ButtonLayoutTest, RowAdvancesByWidthPlusFifteen) {
    EXPECT_EQ(NextButtonX(kFirstButtonX, 60), 95);
    EXPECT_EQ(NextButtonX(95, 60), 170);
    EXPECT_EQ(NextButtonX(20, 80), 115);
    EXPECT_EQ(NextButtonX(20, 33.7f), 68); // truncated
    EXPECT_EQ(NextButtonX(20, -1), 34);    // size never known
}

TEST(ButtonLayoutTest, CaptionsAreCentredOnTheFace) {
    EXPECT_EQ(CaptionPosition(20, 60, 30, 40, 480, false), (Point{30, 443}));
    // Wider than the face: overhangs both sides.
    EXPECT_EQ(CaptionPosition(20, 60, 30, 100, 480, false), (Point{0, 443}));
    EXPECT_EQ(CaptionPosition(95, 80, 40, 20, 480, false), (Point{125, 448}));
    EXPECT_EQ(CaptionPosition(95, 60, 30, 20, 480, true), (Point{95, 440}));
}

TEST(CreditTest, TextAndWhoIsTheProgram) {
    EXPECT_EQ(CreditText("Cardwright"), "Created By: Cardwright");
    EXPECT_EQ(CreditText("Ann"), "Created By: Ann & Cardwright");
    EXPECT_EQ(CreditText("cardwright"), "Created By: cardwright & Cardwright"); // case-sensitive
    EXPECT_TRUE(AuthorIsProgram("Cardwright"));
    EXPECT_FALSE(AuthorIsProgram("Cardwright "));
}

TEST(CreditTest, WhichCardsShowTheItems) {
    EXPECT_TRUE(ShowsCredit(1, 1, 3));
    EXPECT_TRUE(ShowsCredit(1, 0, 0));
    EXPECT_FALSE(ShowsCredit(1, 0, 2));
    EXPECT_FALSE(ShowsCredit(0, 1, 0));
    EXPECT_FALSE(ShowsCredit(0, 0, 0));
}

TEST(CreditTest, PositionsOnA640x480Stage) {
    CreditPositions p = PlaceCredit(640, 480, 120);
    EXPECT_EQ(p.credit_button, (Point{500, 450}));
    EXPECT_EQ(p.author_button, (Point{340, 450}));
    EXPECT_EQ(p.shadow, (Point{522, 472}));
    EXPECT_EQ(p.text, (Point{520, 470}));
}

} // namespace
} // namespace movie
