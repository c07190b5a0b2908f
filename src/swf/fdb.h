// .fdb font files: the 4 bytes "fdb0", then the body of a DefineFont2 tag without its font id (flags,
// language, name, glyph count, offset table, glyph shapes, code table and, with the layout flag,
// ascent, descent, leading, advances, bounds and kerning pairs). Glyph coordinates, advances and
// kerning are on a 1024-unit EM square, y down.
#pragma once

#include "swf/tags.h"

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// Reads an .fdb file into a DefineFont2 (id 0) with its glyphs in the file's order: a whole face keeps
// the source font's glyph numbers, so shaped glyph indices apply unchanged (Font looks a character up
// by the first glyph listed under its code; code 0 marks glyphs only shaping reaches). Narrow and wide
// offsets and codes are both accepted. Throws swf::Error on malformed input.
DefineFont2 read_fdb(std::span<const uint8_t> file);

// The .fdb file of `font` (its id is not stored).
std::vector<uint8_t> write_fdb(const DefineFont2& font);

} // namespace swf
