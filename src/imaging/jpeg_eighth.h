// A fast look at a baseline JPEG at one eighth of its size, for thumbnails of camera photos. An 8 x 8
// block's average colour is its DC coefficient, so the picture at 1/8 needs only those: the entropy
// decoder steps over the AC coefficients without storing or transforming them, which is most of the work
// of a full decode. Only the common kind is handled (baseline or extended Huffman, 8-bit, one scan,
// grey or YCbCr); anything else, and any damaged file, gives nullopt for the full decoder to deal with.
#pragma once

#include "imaging/size.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace imaging {

struct JpegEighth {
    Size size;                // ceil(width / 8) x ceil(height / 8) of the stored (not turned) picture
    std::vector<uint8_t> rgb; // 3 bytes a pixel, rows top to bottom
    int orientation = 1;      // the EXIF orientation tag (1..8), 1 when there is none
};

// Works in the bytes it is given; with kJpegEighthSlack bytes of spare capacity it needs no other memory
// of their size.
std::optional<JpegEighth> DecodeJpegEighth(std::vector<uint8_t> jpeg);
inline constexpr size_t kJpegEighthSlack = 4096; // more than the bits of one unit (10 blocks of 64 codes)

// The EXIF orientation (1..8) of a TIFF structure (the APP1 payload after "Exif\0\0"); 1 when absent.
int ReadExifOrientation(std::span<const uint8_t> tiff);

} // namespace imaging
