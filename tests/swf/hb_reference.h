// The reference the text layout is checked against: HarfBuzz's own shaping of one word with one font
// file, and the font file a reader would pick for it (the first of the gift face and the fallback faces,
// by file name, that maps every letter of the word).
#pragma once

#include <hb.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>
#include <vector>

namespace hbref {

struct Glyph {
    uint32_t glyph = 0;
    hb_position_t advance = 0; // font units
};

struct Shaped {
    std::vector<Glyph> glyphs;
    unsigned units_per_em = 1;
    // Advance in the .fdb's 1024-unit EM.
    int32_t em(hb_position_t advance) const { return int32_t(std::lround(advance * 1024.0 / units_per_em)); }
    hb_position_t width() const {
        hb_position_t sum = 0;
        for (const Glyph& g : glyphs) {
            sum += g.advance;
        }
        return sum;
    }
};

inline Shaped Shape(const std::filesystem::path& font_file, std::u32string_view text) {
    hb_blob_t* blob = hb_blob_create_from_file(font_file.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_buffer_t* buffer = hb_buffer_create();
    hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(text.data()), int(text.size()), 0,
                        int(text.size()));
    hb_buffer_guess_segment_properties(buffer);
    hb_shape(font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    Shaped shaped;
    shaped.units_per_em = hb_face_get_upem(face);
    for (unsigned i = 0; i < count; ++i) {
        shaped.glyphs.push_back({info[i].codepoint, pos[i].x_advance});
    }
    hb_buffer_destroy(buffer);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return shaped;
}

inline bool Maps(const std::filesystem::path& font_file, std::u32string_view word) {
    hb_blob_t* blob = hb_blob_create_from_file(font_file.c_str());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    bool all = true;
    for (char32_t c : word) {
        hb_codepoint_t glyph = 0;
        all = all && hb_font_get_nominal_glyph(font, c, &glyph);
    }
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return all;
}

// `face` is the gift's .ttf, e.g. Font/Sans.ttf; the fallbacks are Font/Fallback/*.ttf.
inline std::filesystem::path PickFace(const std::filesystem::path& face, std::u32string_view word) {
    if (Maps(face, word)) {
        return face;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(face.parent_path() / "Fallback")) {
        if (entry.path().extension() == ".ttf") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        if (Maps(file, word)) {
            return file;
        }
    }
    return {};
}

} // namespace hbref
