// Placement of balloon tips: the tail at the anchor, flips at the screen edges, two screens.
#include "tooltip/tip_placement.h"

#include <gtest/gtest.h>

namespace tooltip {
namespace {

const TipRect kScreen{0, 0, 1000, 800};

TEST(tip_placement_test, tail_points_at_the_anchor_on_the_side_asked_for) {
    const BalloonSizes sizes;
    const TipPlacement p =
        PlaceTip({500, 400}, 200, 100, sizes, direction::kTopRight, std::span(&kScreen, 1));
    EXPECT_EQ(p.direction, direction::kTopRight);
    EXPECT_EQ(p.body.y, 400 + sizes.tailHeight) << "below the point";
    EXPECT_EQ(p.body.Right() - sizes.tailDistance, 500) << "tail near the right corner";
    EXPECT_TRUE(p.hasTail);
    EXPECT_EQ(p.tail[2], (TipPoint{500, 400}));
    EXPECT_EQ(p.tail[0].y, p.body.y);
    EXPECT_EQ(p.window, (TipRect{p.body.x, 400, 200, 100 + sizes.tailHeight}));
}

TEST(tip_placement_test, flips_at_each_screen_edge_and_stays_on_screen) {
    struct Case {
        TipPoint anchor;
        int direction;
        int expected;
    } const cases[] = {
        {{500, 780}, direction::kTopRight, direction::kBottomRight}, // bottom edge: opens above
        {{500, 10}, direction::kBottomLeft, direction::kTopLeft},    // top edge: opens below
        {{20, 400}, direction::kTopRight, direction::kTopLeft},  // left edge: tail moves to the left corner
        {{990, 400}, direction::kTopLeft, direction::kTopRight}, // right edge
        {{20, 400}, direction::kRightMiddle, direction::kLeftMiddle},
        {{980, 400}, direction::kLeftTop, direction::kRightTop},
        {{500, 790}, direction::kLeftTop, direction::kLeftBottom},
        {{995, 795}, direction::kTopLeft, direction::kBottomRight}, // a corner flips both ways
    };
    for (const auto& c : cases) {
        const TipPlacement p =
            PlaceTip(c.anchor, 200, 100, BalloonSizes{}, c.direction, std::span(&kScreen, 1));
        EXPECT_EQ(p.direction, c.expected) << c.anchor.x << "," << c.anchor.y;
        EXPECT_TRUE(kScreen.Contains(p.window)) << c.anchor.x << "," << c.anchor.y;
        EXPECT_TRUE(p.hasTail);
        EXPECT_EQ(p.tail[2], c.anchor);
    }
}

TEST(tip_placement_test, middle_tail_slides_and_a_wide_tip_stays_on_screen) {
    const TipPlacement p =
        PlaceTip({5, 400}, 300, 50, BalloonSizes{}, direction::kTopMiddle, std::span(&kScreen, 1));
    EXPECT_TRUE(kScreen.Contains(p.window));
    EXPECT_EQ(p.body.x, 0);
    EXPECT_GE(p.tail[0].x, p.body.x);
    EXPECT_LE(p.tail[1].x, p.body.Right());
}

TEST(tip_placement_test, the_screen_holding_the_anchor_bounds_the_tip) {
    // A wide left screen and a shorter right one: the virtual desktop's bounding box has a corner no
    // screen shows.
    const TipRect screens[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 720}};
    const TipPlacement p = PlaceTip({2500, 700}, 200, 100, BalloonSizes{}, direction::kTopLeft, screens);
    EXPECT_TRUE(screens[1].Contains(p.window));
    EXPECT_EQ(p.direction, direction::kBottomLeft);
    const TipPlacement off = PlaceTip({-50, 500}, 200, 100, BalloonSizes{}, direction::kTopLeft, screens);
    EXPECT_TRUE(screens[0].Contains(off.body)) << "a point off every screen uses the nearest one";
}

TEST(tip_placement_test, rectangle_style_has_no_tail) {
    const TipPlacement p =
        PlaceTip({100, 100}, 80, 20, BalloonSizes::Rectangle(), direction::kTopLeft, std::span(&kScreen, 1));
    EXPECT_FALSE(p.hasTail);
    EXPECT_EQ(p.window, p.body);
    EXPECT_EQ(p.body.y, 100);
}

} // namespace
} // namespace tooltip
