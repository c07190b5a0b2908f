// Where a background picture goes on the stage, and to what size a picture is converted.
#pragma once

#include <cstdint>

namespace movie {

// Fill flags of a bitmap fill.
inline constexpr uint8_t kTiledBitmapFill = 0x40;
inline constexpr uint8_t kClippedBitmapFill = 0x41;

// The placement code of a button face picture (no placement; converted at the stage size rules).
inline constexpr int kButtonPicture = -1;

struct PicturePlacement {
    int x = 0;
    int y = 0;
    uint8_t fill_flags = kClippedBitmapFill;
    int width = 0; // the rectangle the fill covers
    int height = 0;
    bool operator==(const PicturePlacement&) const = default;
};

// Places a w x h picture on a stage_w x stage_h stage by placement code: 0-8 the 3 x 3 grid row by row
// from the top left, 9 tiled over the stage, every other code centred (10 and 11 arrive resized). A
// picture at least as large as the stage in both directions starts at the top-left corner; larger in one
// direction only, that coordinate stays 0.
PicturePlacement PlacePicture(int w, int h, int stage_w, int stage_h, int code);

} // namespace movie
