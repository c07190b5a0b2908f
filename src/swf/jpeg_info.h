// Finding the size of a JPEG picture from its frame header.
#pragma once

#include <cstdint>
#include <span>

namespace swf::detail {

struct JpegSize {
    int width = 0;
    int height = 0;
};

// Throws swf::Error when the data is not a JPEG stream with a frame header.
JpegSize jpeg_size(std::span<const uint8_t> jpeg);

} // namespace swf::detail
