// Small shared value types of the movie library.
#pragma once

#include "swf/tag_code.h"

#include <cstdint>
#include <vector>

namespace swf {

using CharacterId = uint16_t; // 1..65535 inside one movie; 0 is never a character
using Depth = uint16_t;

// One tag as it stands in a file: its code and its body, without the tag header.
struct RawTag {
    TagCode code = TagCode::End;
    std::vector<uint8_t> body;
};

} // namespace swf
