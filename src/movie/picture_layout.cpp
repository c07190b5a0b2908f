#include "movie/picture_layout.h"

namespace movie {

PicturePlacement PlacePicture(int w, int h, int stage_w, int stage_h, int code) {
    PicturePlacement p{0, 0, kClippedBitmapFill, w, h};
    if (w >= stage_w && h >= stage_h) {
        return p;
    }
    if (code == 9) {
        return PicturePlacement{0, 0, kTiledBitmapFill, stage_w, stage_h};
    }
    if (code < 0 || code > 8) {
        code = 4;
    }
    const int column = code % 3;
    const int row = code / 3;
    // Half differences are taken in floating point and truncated toward zero.
    const int centre_x = int((double(stage_w) - w) / 2);
    const int centre_y = int((double(stage_h) - h) / 2);
    if (w < stage_w) {
        p.x = column == 0 ? 0 : column == 1 ? centre_x : stage_w - w;
    }
    if (h < stage_h) {
        p.y = row == 0 ? 0 : row == 1 ? centre_y : stage_h - h;
    }
    return p;
}

} // namespace movie
