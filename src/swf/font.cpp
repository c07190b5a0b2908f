#include "swf/font.h"

#include "swf/error.h"
#include "swf/fdb.h"
#include "swf/file_bytes.h"
#include "swf/movie_state.h"
#include "swf/text_layout.h"
#include "swf/utf8.h"
#include "swf/writer.h"

namespace swf {

namespace {

constexpr int64_t em_units = 1024;
constexpr char32_t replacement_character = 0xFFFD;

} // namespace

Font::Font(DefineFont2 definition) : definition_(std::move(definition)) {
    definition_.id = 0;
    if (!definition_.glyphs.empty()) {
        glyph_by_code_.assign(0x10000, 0);
    }
    for (size_t i = definition_.glyphs.size(); i-- > 0;) { // backwards: a code listed twice keeps its first
        if (definition_.glyphs[i].code != 0) {             // 0: a glyph only shaping reaches
            glyph_by_code_[definition_.glyphs[i].code] = static_cast<uint32_t>(i + 1);
        }
    }
    if (const auto own = own_glyph(replacement_character)) {
        replacement_glyph_ = own;
    } else if (!definition_.glyphs.empty()) {
        replacement_glyph_ = 0;
    }
    if (definition_.layout) {
        for (const KerningPair& pair : definition_.layout->kerning) {
            kerning_.try_emplace((uint32_t{pair.left} << 16) | pair.right, pair.adjustment);
        }
    }
}

std::shared_ptr<Font> Font::from_fdb_bytes(std::span<const uint8_t> fdb) {
    return std::make_shared<Font>(read_fdb(fdb));
}

std::shared_ptr<Font> Font::from_fdb_file(const std::filesystem::path& path) {
    auto font = from_fdb_bytes(detail::read_file_bytes(path, "font file"));
    auto shaping = ShapingFace::open(std::filesystem::path(path).replace_extension(".ttf"));
    // An .fdb made from part of a face cannot be indexed by the face's glyph numbers: no shaping then.
    if (shaping && shaping->glyph_count() == font->definition_.glyphs.size()) {
        font->shaping_ = std::move(shaping);
    }
    return font;
}

std::shared_ptr<Font> Font::from_fdb_file(const std::filesystem::path& path,
                                          std::shared_ptr<const ShapingFace> shaping) {
    auto font = from_fdb_bytes(detail::read_file_bytes(path, "font file"));
    if (shaping && shaping->glyph_count() != font->definition_.glyphs.size()) {
        throw Error(path.string() + " does not hold the glyphs of the font file beside it");
    }
    font->shaping_ = std::move(shaping);
    return font;
}

std::shared_ptr<Font> Font::device(std::string name) {
    if (name.empty()) {
        throw Error("a device font needs a name");
    }
    DefineFont2 definition;
    definition.name = std::move(name);
    auto font = std::make_shared<Font>(std::move(definition));
    font->device_ = true;
    return font;
}

std::optional<size_t> Font::own_glyph(char32_t code) const {
    if (code < glyph_by_code_.size() && glyph_by_code_[code] != 0) {
        return glyph_by_code_[code] - 1;
    }
    return std::nullopt;
}

std::optional<size_t> Font::glyph_for(char32_t code) const {
    if (const auto own = own_glyph(code)) {
        return own;
    }
    return replacement_glyph_;
}

LineLayout Font::layout(std::u32string_view text) const {
    constexpr size_t kept = 4;
    {
        const std::lock_guard lock(cache_mutex_);
        for (const CachedLine& line : cache_) {
            if (line.text == text) {
                return line.layout;
            }
        }
    }
    LineLayout line = lay_out_line(*this, text);
    const std::lock_guard lock(cache_mutex_);
    if (cache_.size() == kept) {
        cache_.erase(cache_.begin());
    }
    cache_.push_back(CachedLine{std::u32string(text), line});
    return line;
}

int16_t Font::kerning(uint16_t left, uint16_t right) const {
    const auto it = kerning_.find((uint32_t{left} << 16) | right);
    return it == kerning_.end() ? int16_t{0} : it->second;
}

int32_t Font::string_width_twips(std::u32string_view text, Twips height) const {
    int32_t width = 0;
    for (const GlyphRun& run : layout(text).runs) {
        width += static_cast<int32_t>(run.em_width() * height.value / em_units);
    }
    return width;
}

double Font::string_width(std::string_view utf8, double height) const {
    const int32_t twips = string_width_twips(detail::decode_utf8(utf8), Twips::from_pixels(height));
    return Twips{twips}.to_pixels();
}

void Font::encode(CharacterId id, const detail::EncodeContext& context, std::vector<uint8_t>& out) const {
    DefineFont2 tag;
    tag.id = id;
    tag.bold = definition_.bold;
    tag.italic = definition_.italic;
    tag.small_text = definition_.small_text;
    tag.language = definition_.language;
    tag.name = definition_.name;
    if (!device_) {
        const detail::FontSubset& subset = context.subset(*this);
        // Glyphs only shaping reaches keep code 0 in the written code table.
        tag.glyphs.reserve(subset.glyphs.size());
        for (size_t glyph : subset.glyphs) {
            tag.glyphs.push_back(definition_.glyphs[glyph]);
        }
        FontLayout layout;
        if (definition_.layout) {
            layout.ascent = definition_.layout->ascent;
            layout.descent = definition_.layout->descent;
            layout.leading = definition_.layout->leading;
            for (const KerningPair& pair : definition_.layout->kerning) {
                if (subset.has_code(pair.left) && subset.has_code(pair.right)) {
                    layout.kerning.push_back(pair);
                }
            }
        }
        tag.layout = std::move(layout);
    }
    write_tag(tag, out);
}

} // namespace swf
