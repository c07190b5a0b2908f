// A .dbl picture (a lossless bitmap as the movie holds it) as a PNG a browser can show.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace web {

// Straight RGBA pixels, row by row from the top, as a PNG.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, std::span<const uint8_t> rgba);

struct DecodedPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> png;
};

// The .dbl file's picture as a PNG. Throws WebError for a file it cannot read (formats 3 and 5 are what
// pictures use).
DecodedPicture DblToPng(std::span<const uint8_t> dbl);

} // namespace web
