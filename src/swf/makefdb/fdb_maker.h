// Makes .fdb font files from TrueType/OpenType fonts: "fdb0" followed by the body of a DefineFont2 tag
// without its font id, glyphs on a 1024-unit EM square with y growing downwards, wide codes, layout and
// kerning included. The file holds every glyph of the face in the face's own glyph order, so the glyph
// indices a shaper returns for the source font index the file directly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace swf::makefdb {

// Units per EM of the glyph coordinates, advances and kerning in an .fdb file.
inline constexpr int kFdbEmUnits = 1024;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The characters whose kerning pairs an .fdb lists (for text drawn without shaping): Latin, Greek,
// Cyrillic, common punctuation, currency and letter-like symbols, and the replacement character.
bool is_covered(char32_t code);

// Reads `font_file` with FreeType and returns the whole .fdb file. Each glyph's code is the lowest BMP
// character mapped to it, 0 for glyphs only shaping reaches. Outlines keep their quadratic curves;
// cubic curves are split into quadratic ones. When the font lacks U+FFFD its missing-glyph shape (glyph
// 0) carries that code. Throws swf::Error when the font cannot be read or has more than 65,535 glyphs.
std::vector<uint8_t> make_fdb(const std::filesystem::path& font_file);

} // namespace swf::makefdb
