// Lengths in twips, the unit of every coordinate in a movie file (1 pixel = 20 twips).
#pragma once

#include <cmath>
#include <cstdint>

namespace swf {

struct Twips {
    static constexpr int per_pixel = 20;

    int32_t value = 0;

    // Pixels as the library's callers give them (fractions allowed), rounded to the nearest twip.
    static Twips from_pixels(double pixels) {
        return Twips{static_cast<int32_t>(std::lround(pixels * per_pixel))};
    }
    double to_pixels() const { return static_cast<double>(value) / per_pixel; }

    friend bool operator==(Twips, Twips) = default;
};

} // namespace swf
