// A readable listing of an SWF file: its header and every tag with the details that matter when
// debugging a movie (ids, depths, matrices, glyph counts, action bytes).
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace swf {

// One line per tag, sprite contents indented. Throws swf::Error when the header or the tag list cannot be
// read; a tag whose body is malformed is listed with the reason and the listing goes on.
std::string dump_swf(std::span<const uint8_t> file);

} // namespace swf
