#include "swf/shaping.h"

#include "swf/error.h"
#include "swf/font.h"

#include <hb.h>

#include <algorithm>

namespace swf {

std::shared_ptr<const ShapingFace> ShapingFace::open(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return nullptr;
    }
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob) {
        return nullptr;
    }
    hb_face_t* face = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face) == 0) {
        hb_face_destroy(face);
        return nullptr;
    }
    hb_font_t* font = hb_font_create(face);
    hb_face_destroy(face);
    return std::shared_ptr<const ShapingFace>(new ShapingFace(font));
}

ShapingFace::ShapingFace(hb_font_t* font) : font_(font) {
    hb_face_t* face = hb_font_get_face(font);
    glyph_count_ = hb_face_get_glyph_count(face);
    units_per_em_ = std::max(1u, hb_face_get_upem(face));
    // Positions in font units: the layout scales them to the .fdb's EM square itself.
    hb_font_set_scale(font, int(units_per_em_), int(units_per_em_));
}

ShapingFace::~ShapingFace() {
    hb_font_destroy(font_);
}

std::optional<uint32_t> ShapingFace::nominal_glyph(char32_t code) const {
    hb_codepoint_t glyph = 0;
    if (hb_font_get_nominal_glyph(font_, code, &glyph) && glyph != 0) {
        return glyph;
    }
    return std::nullopt;
}

std::shared_ptr<const FallbackFaces> FallbackFaces::load(const std::filesystem::path& folder) {
    auto list = std::make_shared<FallbackFaces>();
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".fdb") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& fdb : files) {
        auto shaping = ShapingFace::open(std::filesystem::path(fdb).replace_extension(".ttf"));
        if (!shaping) {
            continue;
        }
        auto face = std::make_unique<Face>();
        face->fdb = fdb;
        face->shaping = std::move(shaping);
        list->faces_.push_back(std::move(face));
    }
    return list;
}

bool FallbackFaces::has(size_t face, char32_t code) const {
    return face < faces_.size() && faces_[face]->shaping->nominal_glyph(code).has_value();
}

std::shared_ptr<const Font> FallbackFaces::font(size_t face) const {
    if (face >= faces_.size()) {
        throw Error("no such fallback face");
    }
    const Face& f = *faces_[face];
    std::call_once(f.loaded, [&] { f.font = Font::from_fdb_file(f.fdb, f.shaping); });
    if (!f.font) {
        throw Error("the fallback face " + f.fdb.string() + " could not be read");
    }
    return f.font;
}

} // namespace swf
