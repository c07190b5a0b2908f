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

} // namespace
} // namespace movie
