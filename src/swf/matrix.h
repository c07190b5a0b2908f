// A 2-D transform as movies store it: scale and rotate/skew terms in 16.16 fixed point, the
// translation in twips.
#pragma once

#include "swf/twips.h"

#include <cstdint>

namespace swf {

struct Matrix {
    static constexpr int32_t one = 1 << 16; // 1.0 in 16.16 fixed point

    int32_t scale_x = one;
    int32_t scale_y = one;
    int32_t rotate_skew0 = 0;
    int32_t rotate_skew1 = 0;
    Twips translate_x;
    Twips translate_y;

    static Matrix translate(Twips x, Twips y) {
        Matrix m;
        m.translate_x = x;
        m.translate_y = y;
        return m;
    }
    static Matrix scale(int32_t fixed_x, int32_t fixed_y) {
        Matrix m;
        m.scale_x = fixed_x;
        m.scale_y = fixed_y;
        return m;
    }

    friend bool operator==(const Matrix&, const Matrix&) = default;
};

// An axis-aligned rectangle in twips (the format's RECT).
struct Rect {
    Twips x_min;
    Twips x_max;
    Twips y_min;
    Twips y_max;

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace swf
