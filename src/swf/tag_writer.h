// Appending a tag (header and body) to a byte buffer, the way the reader reads it back.
#pragma once

#include "swf/tag_code.h"

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// Short header for bodies up to 62 bytes, long header otherwise.
void append_tag(std::vector<uint8_t>& out, TagCode code, std::span<const uint8_t> body);

} // namespace swf
