// Serialising tags and whole movie files. One writer per tag struct (tags.h); each derives bit widths,
// lengths and flags from the values it is given.
#pragma once

#include "swf/tags.h"

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

TagCode tag_code(const Tag& tag);

// The tag's body, without its header.
std::vector<uint8_t> write_tag_body(const Tag& tag);

// Appends the tag header and body to `out`: the short header for bodies of at most 62 bytes, the long
// one otherwise (DefineBitsLossless and DefineBitsLossless2 always use the long one).
void write_tag(const Tag& tag, std::vector<uint8_t>& out);
void write_raw_tag(TagCode code, std::span<const uint8_t> body, std::vector<uint8_t>& out);

struct MovieHeader {
    uint8_t version = 6;
    Rect stage;
    uint16_t frame_rate = 0; // 8.8 fixed point: floor(rate * 256)
    uint16_t frame_count = 0;
};

// The 8.8 fixed-point frame rate: floor(rate * 256), 0 for negative or unusable rates, at most 0xFFFF.
uint16_t frame_rate_fixed(double frames_per_second);

// A whole file: the header followed by `tags` (which must end with the End tag). With a
// `compression_level` of 0..9 the file is "CWS" with everything after the first 8 bytes zlib-compressed;
// -1 writes an uncompressed "FWS" file. The length in the header is always the uncompressed length.
std::vector<uint8_t> write_swf_file(const MovieHeader& header, std::span<const uint8_t> tags,
                                    int compression_level);

} // namespace swf
