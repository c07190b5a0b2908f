// Thumbnails for the pickers: a picture shrunk on load to an exact size, framed, over white; and the
// plain pixel form they are kept in.
#pragma once

#include "imaging/size.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace imaging {

// 8-bit RGB pixels, rows top to bottom, no padding.
struct Thumbnail {
    Size size;
    std::vector<uint8_t> rgb; // size.width * size.height * 3 bytes
    friend bool operator==(const Thumbnail&, const Thumbnail&) = default;
};

// The picture in `path` scaled to exactly `size` (no aspect correction: the tiles of a picker line up),
// transparency over white, with a 1-pixel grey (128, 128, 128) frame on its outer edge. A photo with a
// thumbnail in its EXIF data of the photo's shape and at least `size` is made from that thumbnail (shrunk
// by area averaging); other JPEGs are decoded by libjpeg-turbo at 1/8, 1/4 or 1/2 of their size and shrunk
// by area averaging (CMYK ones and those smaller than `size` go the general loader's way). Photos come
// out upright by their EXIF orientation.
// Throws imaging::Error when the file cannot be read as a picture or `size` is not positive.
Thumbnail MakeThumbnail(const std::filesystem::path& path, Size size);

// Draws the grey frame of MakeThumbnail into `thumb` (exposed for pictures made by other means).
void DrawThumbnailFrame(Thumbnail& thumb);

} // namespace imaging
