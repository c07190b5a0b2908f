#include "imaging/size.h"

#include <gtest/gtest.h>

namespace imaging {
namespace {

struct FitCase {
    Size picture;
    Size box;
    Size expected;
};

TEST(FitKeepingRatio, TouchesTheStageOnTwoSides) {
    const FitCase cases[] = {
        {{1000, 100}, {400, 300}, {400, 40}}, // wide picture: full width
        {{300, 600}, {400, 300}, {150, 300}}, // tall picture: full height
        {{100, 50}, {640, 480}, {640, 320}},  // small pictures are enlarged
        {{640, 480}, {640, 480}, {640, 480}}, // same ratio: the stage itself
        {{333, 250}, {640, 480}, {639, 480}}, // 333 * 480 / 250 = 639.36, truncated
        {{100, 333}, {640, 480}, {144, 480}}, // 100 * 480 / 333 = 144.14, truncated
        {{30000, 1}, {640, 480}, {640, 1}},   // a side never vanishes
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(FitKeepingRatio(c.picture.width, c.picture.height, c.box.width, c.box.height), c.expected)
            << c.picture.width << "x" << c.picture.height;
    }
}

TEST(FitInsideBox, ShrinksOnlyWhatDoesNotFit) {
    const FitCase cases[] = {
        {{640, 480}, {640, 480}, {640, 480}}, // exactly the box: unchanged
        {{641, 480}, {640, 480}, {640, 479}}, // 480 / (641 / 640) = 479.25
        {{1000, 500}, {640, 480}, {640, 320}},  {{300, 200}, {640, 480}, {300, 200}}, // never enlarged
        {{640, 481}, {640, 480}, {638, 480}}, // 640 / (481 / 480) = 638.67
        {{4000, 3000}, {640, 480}, {640, 480}}, {{3000, 4000}, {640, 480}, {360, 480}},
        {{100, 5000}, {640, 480}, {9, 480}},    {{50000, 10}, {640, 480}, {640, 1}}, // 0.128 would vanish
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(FitInsideBox(c.picture.width, c.picture.height, c.box.width, c.box.height), c.expected)
            << c.picture.width << "x" << c.picture.height;
    }
}

} // namespace
} // namespace imaging
