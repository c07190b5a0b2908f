// One line of text laid out as glyph runs in visual order (left to right). With shaping tables the
// line is split into runs of one bidi level, one face (the font's own, else the first fallback face
// that has the character) and one script; the runs are ordered by the Unicode bidirectional algorithm
// (FriBidi) and shaped by HarfBuzz. Lines of characters the font draws without shaping (Latin, Greek,
// Cyrillic and punctuation it maps itself) take the font's own glyphs and kerning pairs, as do fonts
// without shaping tables. Advances and offsets are in the .fdb's 1024-unit EM, y down.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace swf {

class Font;

struct PlacedGlyph {
    size_t glyph = 0;    // index into the font's glyphs
    int32_t advance = 0; // to the next glyph's origin, kerning included
    int32_t x_offset = 0;
    int32_t y_offset = 0;
};

struct GlyphRun {
    const Font* font = nullptr;
    std::shared_ptr<const Font> fallback; // set when `font` is a fallback face (it owns it)
    std::vector<PlacedGlyph> glyphs;
    int64_t em_width() const;
};

struct LineLayout {
    std::vector<GlyphRun> runs;
    // The first character no face has (drawn as the replacement glyph).
    std::optional<char32_t> missing;
};

// Throws swf::Error when a fallback face that is needed cannot be read.
LineLayout lay_out_line(const Font& font, std::u32string_view text);

// False where a line must not be cut between `before` and `after`: inside a cluster (before a
// combining mark, joiner or variation selector, after a joiner or a virama).
bool is_cluster_boundary(char32_t before, char32_t after);

} // namespace swf
