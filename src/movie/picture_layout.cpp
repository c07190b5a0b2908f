#include "movie/picture_layout.h"

#include <algorithm>

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

Size FitKeepingRatio(int picture_w, int picture_h, int stage_w, int stage_h) {
    if (picture_w <= 0 || picture_h <= 0) {
        return Size{stage_w, stage_h};
    }
    const double stage_ratio = double(stage_w) / stage_h;
    const double picture_ratio = double(picture_w) / picture_h;
    if (stage_ratio > picture_ratio) {
        // A sliver of a picture still keeps one pixel, so it can be resized.
        return Size{std::max(1, int(picture_w * (double(stage_h) / picture_h))), stage_h};
    }
    return Size{stage_w, std::max(1, int(picture_h * (double(stage_w) / picture_w)))};
}

ConversionPlan PlanConversion(int w, int h, int code, int stage_w, int stage_h) {
    ConversionPlan plan;
    plan.size = Size{stage_w, stage_h};
    if (code == 11 && w < 1200 && h < 1000) {
        plan.size = FitKeepingRatio(w, h, stage_w, stage_h);
    }
    plan.resize = !(code <= 9 && w <= 2400 && h <= 2000);
    return plan;
}

} // namespace movie
