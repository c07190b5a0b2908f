// Importing a whole SWF file as a prebuilt clip: its characters move into the host movie's id space and
// its frames become one DefineSprite.
#pragma once

#include "swf/raw_tag.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace swf {

struct ImportedClip {
    // Definition tags ready to write into the host movie, every character id already in the host's id
    // space; the last one is the DefineSprite that holds the clip's frames.
    std::vector<RawTag> definitions;
    CharacterId sprite_id = 0;
};

// Reads a whole SWF file (FWS or CWS, any version up to 10) and remaps every character id it defines or
// uses through fresh ids from `next_id`. Tags that make no sense inside a sprite are dropped and unknown
// tags are skipped. Throws swf::Error on malformed input (bad lengths, truncated zlib data, ids out of range).
ImportedClip import_clip(std::span<const uint8_t> file, const std::function<CharacterId()>& next_id);

} // namespace swf
