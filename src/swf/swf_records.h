// Small bit-packed records shared by many tags (rectangle, matrix, colour transform), as the reader sees
// them. Each read_* function starts at a byte boundary and leaves the reader at the next one.
#pragma once

#include "swf/byte_reader.h"

#include <cstdint>

namespace swf {

struct RectTwips {
    int32_t x_min = 0;
    int32_t x_max = 0;
    int32_t y_min = 0;
    int32_t y_max = 0;
};

// Scale and rotate-skew are 16.16 fixed point; translation in twips.
struct MatrixRecord {
    int32_t scale_x = 1 << 16;
    int32_t scale_y = 1 << 16;
    int32_t rotate_skew0 = 0;
    int32_t rotate_skew1 = 0;
    int32_t translate_x = 0;
    int32_t translate_y = 0;
};

// Multiply terms are 8.8 fixed point (256 = unchanged), add terms are added to 0..255 components.
struct CxformRecord {
    int32_t mult[4] = {256, 256, 256, 256}; // red, green, blue, alpha
    int32_t add[4] = {0, 0, 0, 0};
};

RectTwips read_rect(ByteReader& r);
MatrixRecord read_matrix(ByteReader& r);
CxformRecord read_cxform(ByteReader& r, bool with_alpha);

} // namespace swf
