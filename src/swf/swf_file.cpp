#include "swf/swf_file.h"

#include "swf/error.h"

#include <algorithm>
#include <zlib.h>

namespace swf {

namespace {

// Never reserve more than this up front, whatever a header claims; the buffer grows if the data is real.
constexpr size_t kMaxPrealloc = size_t(16) << 20;

// Inflates the zlib stream `in` into at most `expected` bytes. A stream that stops before its end and
// before `expected` bytes came out is truncated; bytes beyond `expected` are ignored.
std::vector<uint8_t> inflate_limited(std::span<const uint8_t> in, size_t expected) {
    std::vector<uint8_t> out;
    out.reserve(std::min(expected, kMaxPrealloc));
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        throw Error("cannot start zlib decompression");
    }
    zs.next_in = const_cast<Bytef*>(in.data());
    zs.avail_in = uInt(std::min<size_t>(in.size(), UINT32_MAX));
    uint8_t chunk[16384];
    int rc = Z_OK;
    while (out.size() < expected) {
        const size_t want = std::min(sizeof chunk, expected - out.size());
        zs.next_out = chunk;
        zs.avail_out = uInt(want);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (want - zs.avail_out));
        if (rc == Z_STREAM_END) {
            break;
        }
        if (rc != Z_OK) {
            const std::string why = zs.msg ? zs.msg : (rc == Z_BUF_ERROR ? "data ends early" : "bad data");
            inflateEnd(&zs);
            throw Error("compressed data is corrupt or truncated after " + std::to_string(out.size()) +
                        " bytes: " + why);
        }
    }
    inflateEnd(&zs);
    return out;
}

} // namespace

std::string describe_tag(TagCode code, size_t offset) {
    std::string name(tag_name(code));
    if (name.empty()) {
        name = "tag";
    }
    return name + " (" + std::to_string(unsigned(code)) + ") at offset " + std::to_string(offset);
}

std::vector<TagView> read_tags(ByteReader& r) {
    std::vector<TagView> tags;
    while (!r.at_end()) {
        TagView tag;
        tag.offset = r.file_offset();
        const uint16_t code_and_length = r.u16();
        tag.code = TagCode(code_and_length >> 6);
        uint32_t length = code_and_length & 0x3f;
        if (length == 0x3f) {
            length = r.u32();
        }
        if (length > r.remaining()) {
            throw Error(describe_tag(tag.code, tag.offset) + ": length " + std::to_string(length) +
                        " runs past the end of the data (" + std::to_string(r.remaining()) + " bytes left)");
        }
        tag.body_offset = r.file_offset();
        tag.body = r.bytes(length);
        if (tag.code == TagCode::End) {
            break;
        }
        tags.push_back(tag);
    }
    return tags;
}

SwfFile read_swf(std::span<const uint8_t> file) {
    if (file.size() < 8) {
        throw Error("not an SWF file: only " + std::to_string(file.size()) + " bytes");
    }
    SwfFile swf;
    const std::string signature(file.begin(), file.begin() + 3);
    if (signature == "CWS") {
        swf.header.compressed = true;
    } else if (signature == "ZWS") {
        throw Error("LZMA-compressed SWF files are not supported");
    } else if (signature != "FWS") {
        throw Error("not an SWF file: no FWS or CWS signature");
    }
    ByteReader head(file.subspan(3, 5), 3);
    swf.header.version = head.u8();
    swf.header.file_length = head.u32();
    if (swf.header.version == 0 || swf.header.version > kMaxReadVersion) {
        throw Error("SWF version " + std::to_string(swf.header.version) + " is not supported (1 to " +
                    std::to_string(kMaxReadVersion) + " are)");
    }
    if (swf.header.compressed) {
        if (swf.header.file_length < 8) {
            throw Error("bad file length " + std::to_string(swf.header.file_length) + " in the header");
        }
        swf.data.reserve(std::min<size_t>(swf.header.file_length, kMaxPrealloc));
        swf.data.assign(file.begin(), file.begin() + 8);
        const auto body = inflate_limited(file.subspan(8), swf.header.file_length - 8);
        swf.data.insert(swf.data.end(), body.begin(), body.end());
    } else {
        swf.data.assign(file.begin(), file.end());
    }
    ByteReader r(std::span<const uint8_t>(swf.data).subspan(8), 8);
    swf.header.frame_size = read_rect(r);
    swf.header.frame_rate = r.u16();
    swf.header.frame_count = r.u16();
    swf.tags = read_tags(r);
    return swf;
}

} // namespace swf
