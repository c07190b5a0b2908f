// Where a balloon tip goes: its tail's point at the anchor, the body on the side the direction code
// asks for, flipped at the screen's edges and slid so that the whole tip stays on one screen.
#pragma once

#include <span>

namespace tooltip {

struct TipPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TipPoint&) const = default;
};

struct TipRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; } // exclusive
    int Bottom() const { return y + height; }
    bool Contains(TipPoint p) const { return p.x >= x && p.y >= y && p.x < Right() && p.y < Bottom(); }
    bool Contains(const TipRect& r) const {
        return r.x >= x && r.y >= y && r.Right() <= Right() && r.Bottom() <= Bottom();
    }
    bool operator==(const TipRect&) const = default;
};

// Direction codes: the high part names the edge carrying the tail, the low part where along it.
namespace direction {
inline constexpr int kTopLeft = 0; // tail on the top edge: the tip opens below the point
inline constexpr int kTopRight = 1;
inline constexpr int kTopMiddle = 2;
inline constexpr int kBottomLeft = 16; // tail on the bottom edge: the tip opens above the point
inline constexpr int kBottomRight = 17;
inline constexpr int kBottomMiddle = 18;
inline constexpr int kLeftTop = 32; // tail on the left edge: the tip opens right of the point
inline constexpr int kLeftBottom = 33;
inline constexpr int kLeftMiddle = 34;
inline constexpr int kRightTop = 48; // tail on the right edge: the tip opens left of the point
inline constexpr int kRightBottom = 49;
inline constexpr int kRightMiddle = 50;
} // namespace direction

enum class TailEdge { Top, Bottom, Left, Right };

inline TailEdge EdgeOf(int direction) {
    return static_cast<TailEdge>((direction >> 4) & 3);
}

struct BalloonSizes {
    int roundX = 16;
    int roundY = 16;
    int marginX = 12;
    int marginY = 12;
    int tailWidth = 12;
    int tailHeight = 16;
    int tailDistance = 16; // from the corner to the tail

    static BalloonSizes Balloon() { return {}; }
    static BalloonSizes Rectangle() { return {0, 0, 3, 1, 0, 0, 0}; }
};

struct TipPlacement {
    TipRect window;    // body and tail together
    TipRect body;      // the rounded rectangle
    TipPoint tail[3];  // two base points on the body's edge, then the point (the anchor)
    int direction = 0; // after the flips
    bool hasTail = false;
};

// Places a body of `body` size (margins included) for a tail pointing at `anchor`. The screen holding the
// anchor (else the nearest one) bounds the tip; without screens nothing is bounded.
TipPlacement PlaceTip(TipPoint anchor, int bodyWidth, int bodyHeight, const BalloonSizes& sizes,
                      int direction, std::span<const TipRect> screens);

} // namespace tooltip
