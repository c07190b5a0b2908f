// Picture sizes and the two fitting rules the movie builders use.
#pragma once

namespace imaging {

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Scales a picture up or down so that it touches the stage on two sides and keeps its width:height ratio.
// The computed side is truncated toward zero (never below 1).
Size FitKeepingRatio(int pictureWidth, int pictureHeight, int stageWidth, int stageHeight);

// The picture's own size when it fits the box; otherwise the largest size of the same ratio inside the
// box (pictures are never enlarged). The computed side is truncated toward zero (never below 1).
Size FitInsideBox(int width, int height, int maxWidth, int maxHeight);

} // namespace imaging
