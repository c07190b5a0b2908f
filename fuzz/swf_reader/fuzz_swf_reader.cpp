// Feeds arbitrary bytes to the SWF reader: the clip import (as the Flash test load does) and the listing.
// Malformed input must end in swf::Error; anything else (a crash, a leak, another exception) is a bug.
#include "swf/clip_import.h"
#include "swf/error.h"
#include "swf/swf_dump.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    uint32_t next = 0;
    const auto next_id = [&next]() -> swf::CharacterId {
        if (next >= 0xFFFF) {
            throw swf::Error("out of ids");
        }
        return swf::CharacterId(++next);
    };
    try {
        swf::import_clip(file, next_id);
    } catch (const swf::Error&) {
    }
    try {
        swf::dump_swf(file);
    } catch (const swf::Error&) {
    }
    return 0;
}
