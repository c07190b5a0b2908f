// Fonts: outlines loaded from an .fdb file (fdb.h), or a device font the player supplies by name.
// A movie writes a font as one DefineFont2 holding only the glyphs its texts use. A font read together
// with its shaping tables (shaping.h) lays out text with HarfBuzz and FriBidi and draws characters it
// lacks from its fallback faces (text_layout.h).
#pragma once

#include "swf/character.h"
#include "swf/shaping.h"
#include "swf/tags.h"
#include "swf/text_layout.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace swf {

class Font final : public Character {
public:
    // Throws swf::Error when the file cannot be read or is malformed. The shaping tables are the font
    // file beside it (same name, ".ttf") when that holds the same number of glyphs.
    static std::shared_ptr<Font> from_fdb_file(const std::filesystem::path& path);
    // With the given shaping tables; throws swf::Error when their glyph count differs from the file's.
    static std::shared_ptr<Font> from_fdb_file(const std::filesystem::path& path,
                                               std::shared_ptr<const ShapingFace> shaping);
    static std::shared_ptr<Font> from_fdb_bytes(std::span<const uint8_t> fdb);
    // A font the player renders itself; it has no outlines, so it measures every string as 0 wide
    // and cannot draw static text (Text::add_string throws swf::Error with it).
    static std::shared_ptr<Font> device(std::string name);

    explicit Font(DefineFont2 definition);

    const std::string& name() const { return definition_.name; }
    bool is_device() const { return device_; }
    const DefineFont2& definition() const { return definition_; }

    // The line laid out with this font (text_layout.h). The last few lines are kept: a line is usually
    // measured and then drawn.
    LineLayout layout(std::u32string_view text) const;

    const ShapingFace* shaping() const { return shaping_.get(); }
    const FallbackFaces* fallbacks() const { return fallbacks_.get(); }
    void set_fallbacks(std::shared_ptr<const FallbackFaces> fallbacks) { fallbacks_ = std::move(fallbacks); }

    // Width of a UTF-8 string at `height` pixels, in pixels: the laid-out advances (glyph advances plus
    // kerning) in EM units, times the height in twips, divided by 1024 (integer division), per face run.
    double string_width(std::string_view utf8, double height) const;
    int32_t string_width_twips(std::u32string_view text, Twips height) const;

    // The glyph drawn for `code`: its own, else U+FFFD, else the first glyph. Empty fonts have none.
    std::optional<size_t> glyph_for(char32_t code) const;
    // The glyph listed under `code` in the code table, if any.
    std::optional<size_t> own_glyph(char32_t code) const;
    int16_t kerning(uint16_t left, uint16_t right) const;

private:
    void encode(CharacterId id, const detail::EncodeContext& context,
                std::vector<uint8_t>& out) const override;

    DefineFont2 definition_;
    std::unordered_map<uint32_t, int16_t> kerning_; // (left << 16 | right) -> adjustment
    std::vector<uint32_t>
        glyph_by_code_; // by UCS-2 code: glyph + 1, 0 for none (a table: looked up per character)
    std::optional<size_t> replacement_glyph_;
    std::shared_ptr<const ShapingFace> shaping_;
    std::shared_ptr<const FallbackFaces> fallbacks_;
    bool device_ = false;

    struct CachedLine {
        std::u32string text;
        LineLayout layout;
    };
    mutable std::mutex cache_mutex_;
    mutable std::vector<CachedLine> cache_; // most recent last
};

} // namespace swf
