#include "movie/picture_layout.h"

#include <gtest/gtest.h>

namespace movie {
namespace {

TEST(PlacePictureTest, GridCodesOnA640x480Stage) {
    struct Case {
        int code, x, y;
    };
    const Case cases[] = {{0, 0, 0},     {1, 270, 0},    {2, 540, 0},    {3, 0, 215},
                          {4, 270, 215}, {5, 540, 215},  {6, 0, 430},    {7, 270, 430},
                          {8, 540, 430}, {10, 270, 215}, {11, 270, 215}, {57, 270, 215}};
    for (const Case& c : cases) {
        PicturePlacement p = PlacePicture(100, 50, 640, 480, c.code);
        EXPECT_EQ(p, (PicturePlacement{c.x, c.y, kClippedBitmapFill, 100, 50})) << "code " << c.code;
    }
}

TEST(PlacePictureTest, TileCoversTheStage) {
    EXPECT_EQ(PlacePicture(100, 50, 640, 480, 9), (PicturePlacement{0, 0, kTiledBitmapFill, 640, 480}));
}

TEST(PlacePictureTest, HalfDifferencesAreTruncated) {
    EXPECT_EQ(PlacePicture(101, 51, 640, 480, 4).x, 269); // 269.5
    EXPECT_EQ(PlacePicture(101, 51, 640, 480, 4).y, 214); // 214.5
}

TEST(PlacePictureTest, LargePicturesStartAtTheCorner) {
    // At least as large as the stage: top left, clipped, even for the tile code.
    EXPECT_EQ(PlacePicture(2400, 2000, 640, 480, 8),
              (PicturePlacement{0, 0, kClippedBitmapFill, 2400, 2000}));
    EXPECT_EQ(PlacePicture(640, 480, 640, 480, 9), (PicturePlacement{0, 0, kClippedBitmapFill, 640, 480}));
    // Larger in one direction only: that coordinate stays 0.
    EXPECT_EQ(PlacePicture(800, 50, 640, 480, 8), (PicturePlacement{0, 430, kClippedBitmapFill, 800, 50}));
    EXPECT_EQ(PlacePicture(100, 600, 640, 480, 8), (PicturePlacement{540, 0, kClippedBitmapFill, 100, 600}));
    EXPECT_EQ(PlacePicture(100, 600, 640, 480, 9), (PicturePlacement{0, 0, kTiledBitmapFill, 640, 480}));
}

TEST(FitKeepingRatioTest, TouchesTheStageOnTwoSides) {
    EXPECT_EQ(FitKeepingRatio(1000, 100, 400, 300), (Size{400, 40}));
    EXPECT_EQ(FitKeepingRatio(300, 600, 400, 300), (Size{150, 300}));
    EXPECT_EQ(FitKeepingRatio(40, 30, 400, 300), (Size{400, 300}));  // same ratio: width decides
    EXPECT_EQ(FitKeepingRatio(100, 33, 640, 480), (Size{640, 211})); // 211.2 truncated
    EXPECT_EQ(FitKeepingRatio(10000, 1, 640, 480), (Size{640, 1}));  // never zero
}

TEST(PlanConversionTest, SizeRules) {
    // Codes up to 9 and the button face keep pictures up to 2400 x 2000.
    EXPECT_FALSE(PlanConversion(2400, 2000, 0, 640, 480).resize);
    EXPECT_FALSE(PlanConversion(100, 50, kButtonPicture, 640, 480).resize);
    EXPECT_FALSE(PlanConversion(100, 50, 9, 640, 480).resize);
    // Larger pictures are resized to the stage.
    EXPECT_EQ(PlanConversion(3000, 2000, 4, 640, 480).size, (Size{640, 480}));
    EXPECT_TRUE(PlanConversion(3000, 2000, 4, 640, 480).resize);
    EXPECT_TRUE(PlanConversion(2400, 2001, kButtonPicture, 640, 480).resize);
    // Stretch always resizes to the stage.
    EXPECT_TRUE(PlanConversion(100, 50, 10, 640, 480).resize);
    EXPECT_EQ(PlanConversion(100, 50, 10, 640, 480).size, (Size{640, 480}));
    // Keep ratio: fitted below 1200 x 1000, the stage size from there on.
    EXPECT_EQ(PlanConversion(1000, 100, 11, 400, 300).size, (Size{400, 40}));
    EXPECT_EQ(PlanConversion(300, 600, 11, 400, 300).size, (Size{150, 300}));
    EXPECT_TRUE(PlanConversion(300, 600, 11, 400, 300).resize);
    EXPECT_EQ(PlanConversion(1200, 100, 11, 400, 300).size, (Size{400, 300}));
    EXPECT_EQ(PlanConversion(100, 1000, 11, 400, 300).size, (Size{400, 300}));
}

} // namespace
} // namespace movie
