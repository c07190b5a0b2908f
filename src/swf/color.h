// Colours and colour transforms as movies store them.
#pragma once

#include <cstdint>
#include <optional>

namespace swf {

struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A colour transform with alpha, multiply terms only (the add terms are always 0 here). Factors are 8.8
// fixed point as the format stores them: 256 means 1.0.
struct ColorTransform {
    int16_t red_mult = 256;
    int16_t green_mult = 256;
    int16_t blue_mult = 256;
    int16_t alpha_mult = 256;

    static ColorTransform multiply(float r, float g, float b, float a);

    friend bool operator==(const ColorTransform&, const ColorTransform&) = default;
};

} // namespace swf
