// The OpenType side of a font: HarfBuzz reads the source font file kept beside an .fdb (same name,
// ".ttf") for its character map, glyph substitutions and positions. The .fdb holds the same face's
// glyphs in the same order, so a shaped glyph index is also the .fdb glyph index.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct hb_font_t;

namespace swf {

class Font;

class ShapingFace {
public:
    // Null when the file is missing or is not a font HarfBuzz can read.
    static std::shared_ptr<const ShapingFace> open(const std::filesystem::path& path);
    ~ShapingFace();
    ShapingFace(const ShapingFace&) = delete;
    ShapingFace& operator=(const ShapingFace&) = delete;

    unsigned glyph_count() const { return glyph_count_; }
    unsigned units_per_em() const { return units_per_em_; }
    std::optional<uint32_t> nominal_glyph(char32_t code) const;
    hb_font_t* font() const { return font_; }

private:
    explicit ShapingFace(hb_font_t* font);
    hb_font_t* font_;
    unsigned glyph_count_ = 0;
    unsigned units_per_em_ = 1000;
};

// The faces tried, in order, for characters a gift's face lacks: every Fallback/*.fdb with its ".ttf"
// beside it, sorted by file name. A face's outlines are read the first time a text needs one of its
// characters.
class FallbackFaces {
public:
    // An empty list when the folder does not exist; files without their shaping tables are left out.
    static std::shared_ptr<const FallbackFaces> load(const std::filesystem::path& folder);

    size_t size() const { return faces_.size(); }
    bool has(size_t face, char32_t code) const;
    // The face's font; throws swf::Error when its .fdb cannot be read.
    std::shared_ptr<const Font> font(size_t face) const;

private:
    struct Face {
        std::filesystem::path fdb;
        std::shared_ptr<const ShapingFace> shaping;
        mutable std::once_flag loaded;
        mutable std::shared_ptr<const Font> font;
    };
    std::vector<std::unique_ptr<Face>> faces_;
};

} // namespace swf
