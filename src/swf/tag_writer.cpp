#include "swf/tag_writer.h"

#include "swf/error.h"

#include <limits>

namespace swf {

void append_tag(std::vector<uint8_t>& out, TagCode code, std::span<const uint8_t> body) {
    if (body.size() > std::numeric_limits<uint32_t>::max()) {
        throw Error("tag body too long");
    }
    const auto put16 = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    const uint32_t code_bits = uint32_t(code) << 6;
    if (body.size() < 0x3f) {
        put16(code_bits | uint32_t(body.size()));
    } else {
        put16(code_bits | 0x3f);
        const uint32_t n = uint32_t(body.size());
        put16(n & 0xffff);
        put16(n >> 16);
    }
    out.insert(out.end(), body.begin(), body.end());
}

} // namespace swf
