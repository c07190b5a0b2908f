#include "tooltip/tip_placement.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace tooltip {
namespace {

int Along(int direction) {
    return std::min(direction & 15, 2);
} // 0 first corner, 1 second, 2 middle

int Compose(TailEdge edge, int along) {
    return static_cast<int>(edge) * 16 + along;
}

// Where the tail's base starts, measured along the edge, for a tail `tw` wide pointing at `anchor`.
int BaseStart(int along, int anchor, int tw) {
    return along == 0 ? anchor : along == 1 ? anchor - tw : anchor - tw / 2;
}

TipRect Union(const TipRect& body, TipPoint p) {
    const int x = std::min(body.x, p.x);
    const int y = std::min(body.y, p.y);
    const int right = std::max(body.Right(), p.x + 1);
    const int bottom = std::max(body.Bottom(), p.y + 1);
    return {x, y, right - x, bottom - y};
}

// Lays the body out for `direction` without regard to screens.
TipRect BodyFor(TipPoint a, int w, int h, const BalloonSizes& s, int direction, bool tail) {
    const int th = tail ? s.tailHeight : 0;
    const int along = Along(direction);
    const auto start = [&](int anchor, int length) {
        return along == 0   ? anchor - s.tailDistance
               : along == 1 ? anchor - length + s.tailDistance
                            : anchor - length / 2;
    };
    switch (EdgeOf(direction)) {
    case TailEdge::Top:
        return {start(a.x, w), a.y + th, w, h};
    case TailEdge::Bottom:
        return {start(a.x, w), a.y - th - h, w, h};
    case TailEdge::Left:
        return {a.x + th, start(a.y, h), w, h};
    case TailEdge::Right:
        return {a.x - th - w, start(a.y, h), w, h};
    }
    return {};
}

// How far a span [low, high) leaves [min, max).
int Overflow(int low, int high, int min, int max) {
    return std::max(0, min - low) + std::max(0, high - max);
}

const TipRect* ScreenFor(TipPoint p, std::span<const TipRect> screens) {
    const TipRect* best = nullptr;
    long long bestDistance = LLONG_MAX;
    for (const TipRect& screen : screens) {
        if (screen.Contains(p)) {
            return &screen;
        }
        const long long dx = std::max({screen.x - p.x, 0, p.x - screen.Right() + 1});
        const long long dy = std::max({screen.y - p.y, 0, p.y - screen.Bottom() + 1});
        const long long distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = &screen;
        }
    }
    return best;
}

} // namespace

TipPlacement PlaceTip(TipPoint anchor, int w, int h, const BalloonSizes& s, int direction,
                      std::span<const TipRect> screens) {
    TipPlacement placement;
    placement.hasTail = s.tailWidth > 0 && s.tailHeight > 0;
    int dir = Compose(EdgeOf(direction), Along(direction));
    const TipRect* screen = ScreenFor(anchor, screens);

    if (screen) {
        const auto overflowX = [&](int d) {
            const TipRect r = Union(BodyFor(anchor, w, h, s, d, placement.hasTail), anchor);
            return Overflow(r.x, r.Right(), screen->x, screen->Right());
        };
        const auto overflowY = [&](int d) {
            const TipRect r = Union(BodyFor(anchor, w, h, s, d, placement.hasTail), anchor);
            return Overflow(r.y, r.Bottom(), screen->y, screen->Bottom());
        };
        const bool vertical = EdgeOf(dir) == TailEdge::Top || EdgeOf(dir) == TailEdge::Bottom;
        // Leaving the screen sideways flips the left/right part of the direction, leaving it at the top
        // or bottom flips the top/bottom part; a flip is kept only when it leaves the screen less.
        const auto flipAlong = [&](int d) {
            const int along = Along(d);
            return along == 2 ? d : Compose(EdgeOf(d), 1 - along);
        };
        const auto flipEdge = [&](int d) {
            const TailEdge e = EdgeOf(d);
            const TailEdge flipped = e == TailEdge::Top      ? TailEdge::Bottom
                                     : e == TailEdge::Bottom ? TailEdge::Top
                                     : e == TailEdge::Left   ? TailEdge::Right
                                                             : TailEdge::Left;
            return Compose(flipped, Along(d));
        };
        if (const int out = overflowX(dir); out > 0) {
            const int flipped = vertical ? flipAlong(dir) : flipEdge(dir);
            if (overflowX(flipped) < out) {
                dir = flipped;
            }
        }
        if (const int out = overflowY(dir); out > 0) {
            const int flipped = vertical ? flipEdge(dir) : flipAlong(dir);
            if (overflowY(flipped) < out) {
                dir = flipped;
            }
        }
    }

    TipRect body = BodyFor(anchor, w, h, s, dir, placement.hasTail);
    if (screen) {
        // Slide the body onto the screen; the tail's point stays at the anchor.
        body.x = std::clamp(body.x, screen->x, std::max(screen->x, screen->Right() - w));
        body.y = std::clamp(body.y, screen->y, std::max(screen->y, screen->Bottom() - h));
    }
    const TailEdge edge = EdgeOf(dir);
    const bool vertical = edge == TailEdge::Top || edge == TailEdge::Bottom;
    // The tail needs the anchor on its own side of the body; a slide across it leaves no room for one.
    if (placement.hasTail) {
        const bool outside = edge == TailEdge::Top      ? anchor.y < body.y
                             : edge == TailEdge::Bottom ? anchor.y >= body.Bottom()
                             : edge == TailEdge::Left   ? anchor.x < body.x
                                                        : anchor.x >= body.Right();
        placement.hasTail = outside;
    }
    if (placement.hasTail) {
        const int length = vertical ? w : h;
        const int origin = vertical ? body.x : body.y;
        const int round = (vertical ? s.roundX : s.roundY) / 2;
        const int low = origin + round;
        const int high = origin + length - round - s.tailWidth;
        int base = BaseStart(Along(dir), vertical ? anchor.x : anchor.y, s.tailWidth);
        base = low <= high ? std::clamp(base, low, high) : origin + (length - s.tailWidth) / 2;
        const int edgeLine = edge == TailEdge::Top      ? body.y
                             : edge == TailEdge::Bottom ? body.Bottom() - 1
                             : edge == TailEdge::Left   ? body.x
                                                        : body.Right() - 1;
        if (vertical) {
            placement.tail[0] = {base, edgeLine};
            placement.tail[1] = {base + s.tailWidth, edgeLine};
        } else {
            placement.tail[0] = {edgeLine, base};
            placement.tail[1] = {edgeLine, base + s.tailWidth};
        }
        placement.tail[2] = anchor;
        placement.window = Union(body, anchor);
    } else {
        placement.window = body;
    }
    placement.body = body;
    placement.direction = dir;
    return placement;
}

} // namespace tooltip
