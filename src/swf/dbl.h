// .dbl bitmap files: "D", "B", then "l" (a 4-byte length follows) or "L" (a 2-byte length), a type byte
// (1 DefineBitsLossless, 2 DefineBitsLossless2), the length big-endian, then that many bytes: the
// tag body without its character id (format byte, width, height, palette size for format 3, and the
// zlib-compressed palette and pixels).
#pragma once

#include "swf/tags.h"

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// Throws swf::Error on malformed input. The result has id 0.
DefineBitsLossless read_dbl(std::span<const uint8_t> file);

// The .dbl file of `bitmap` (the long form when the body does not fit 16 bits).
std::vector<uint8_t> write_dbl(const DefineBitsLossless& bitmap);

// A 32-bit lossless bitmap (format 5) from straight RGBA pixels, row by row from the top; with
// `with_alpha` it is a DefineBitsLossless2 (colours premultiplied by alpha as the format wants).
DefineBitsLossless lossless_from_rgba(uint16_t width, uint16_t height, std::span<const uint8_t> rgba,
                                      bool with_alpha);

} // namespace swf
