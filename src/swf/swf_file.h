// Reading an SWF file: the header (FWS, or CWS whose bytes after the 8-byte header are zlib data) and the
// list of tags, each body cut out by its length so that a bad tag cannot run into the next one.
#pragma once

#include "swf/byte_reader.h"
#include "swf/swf_records.h"
#include "swf/tag_code.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace swf {

struct SwfHeader {
    bool compressed = false;
    uint8_t version = 0;
    uint32_t file_length = 0; // as the header states it: the uncompressed length
    RectTwips frame_size;
    uint16_t frame_rate = 0; // 8.8 fixed point frames per second
    uint16_t frame_count = 0;
};

// One tag inside the file's bytes. `offset` is where its header starts in the uncompressed file.
struct TagView {
    TagCode code = TagCode::End;
    size_t offset = 0;
    size_t body_offset = 0;
    std::span<const uint8_t> body;
};

// The uncompressed file and its top-level tags (up to, not including, the End tag). The tag views point
// into `data`, so the object can be moved but not copied.
class SwfFile {
public:
    SwfFile() = default;
    SwfFile(const SwfFile&) = delete;
    SwfFile& operator=(const SwfFile&) = delete;
    SwfFile(SwfFile&&) = default;
    SwfFile& operator=(SwfFile&&) = default;

    SwfHeader header;
    std::vector<uint8_t> data;
    std::vector<TagView> tags;
};

// Newest SWF version this reader accepts.
inline constexpr uint8_t kMaxReadVersion = 10;

// Reads the header and the tag list; throws swf::Error on anything malformed.
SwfFile read_swf(std::span<const uint8_t> file);

// Reads tags from `r` until an End tag (consumed, not returned) or the end of the data.
std::vector<TagView> read_tags(ByteReader& r);

// "DefineShape3 (32) at offset 120", for error messages.
std::string describe_tag(TagCode code, size_t offset);

} // namespace swf
