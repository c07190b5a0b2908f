#include "swf/text.h"

#include "swf/error.h"
#include "swf/movie_state.h"
#include "swf/utf8.h"
#include "swf/writer.h"

#include <algorithm>

namespace swf {

namespace {

constexpr int64_t em_units = 1024;
constexpr size_t max_glyphs_per_record = 255;

} // namespace

void Text::set_font(std::shared_ptr<const Font> font) {
    font_ = std::move(font);
}

void Text::set_color(Rgba color) {
    color_ = color;
}

void Text::set_height(double height) {
    const Twips twips = Twips::from_pixels(height);
    if (twips.value < 0 || twips.value > 0xFFFF) {
        throw Error("text height out of range");
    }
    height_ = twips;
}

void Text::add_string(std::string_view utf8) {
    if (!font_) {
        throw Error("a text needs a font before strings are added");
    }
    if (font_->is_device()) {
        throw Error("the device font " + font_->name() + " cannot draw static text");
    }
    std::u32string text = detail::decode_utf8(utf8);
    const int32_t width = font_->string_width_twips(text, height_);
    runs_.push_back(Run{font_, color_, height_, pen_x_, std::move(text)});
    pen_x_.value += width;
}

double Text::string_width(std::string_view utf8) const {
    return font_ ? font_->string_width(utf8, height_.to_pixels()) : 0.0;
}

void Text::define_dependencies(detail::DefineContext& context) const {
    // Fonts come before the texts that use them; a font set but not yet used is defined too.
    for (const Run& run : runs_) {
        context.require(run.font);
    }
    if (font_ && !font_->is_device()) {
        context.require(font_);
    }
}

void Text::encode(CharacterId id, const detail::EncodeContext& context, std::vector<uint8_t>& out) const {
    DefineText2 tag;
    tag.id = id;
    int32_t x_min = 0;
    int32_t x_max = 0;
    int32_t y_min = 0;
    int32_t y_max = 0;
    for (const Run& run : runs_) {
        const Font& font = *run.font;
        const CharacterId font_id = context.id_of(font);
        const detail::FontSubset& subset = context.subset(font);
        const auto& glyphs = font.definition().glyphs;

        // Glyph positions are the running EM width scaled to twips, so the advances add up to
        // exactly the measured string width.
        std::vector<GlyphEntry> entries;
        int64_t em_position = 0;
        int32_t twips_position = 0;
        std::vector<size_t> drawn;
        for (char32_t c : run.text) {
            if (const auto glyph = font.glyph_for(c)) {
                drawn.push_back(*glyph);
            }
        }
        for (size_t i = 0; i < drawn.size(); ++i) {
            const Glyph& glyph = glyphs[drawn[i]];
            em_position += glyph.advance;
            if (i + 1 < drawn.size()) {
                em_position += font.kerning(glyph.code, glyphs[drawn[i + 1]].code);
            }
            const auto next = static_cast<int32_t>(em_position * run.height.value / em_units);
            entries.push_back(GlyphEntry{subset.index_of(glyph.code).value_or(0), next - twips_position});
            twips_position = next;
        }

        for (size_t start = 0; start < entries.size(); start += max_glyphs_per_record) {
            TextRecord record;
            if (start == 0) {
                record.font_id = font_id;
                record.color = run.color;
                record.height = run.height;
                record.y_offset = Twips{0};
            }
            int32_t offset = run.x.value;
            for (size_t i = 0; i < start; ++i) {
                offset += entries[i].advance;
            }
            record.x_offset = Twips{offset};
            const size_t end = std::min(entries.size(), start + max_glyphs_per_record);
            record.glyphs.assign(entries.begin() + static_cast<std::ptrdiff_t>(start),
                                 entries.begin() + static_cast<std::ptrdiff_t>(end));
            tag.records.push_back(std::move(record));
        }

        const int64_t ascent = font.definition().layout ? font.definition().layout->ascent : em_units;
        const int64_t descent = font.definition().layout ? font.definition().layout->descent : 0;
        x_min = std::min(x_min, run.x.value);
        x_max = std::max(x_max, run.x.value + twips_position);
        y_min = std::min(y_min, static_cast<int32_t>(-ascent * run.height.value / em_units));
        y_max = std::max(y_max, static_cast<int32_t>(descent * run.height.value / em_units));
    }
    tag.bounds = Rect{Twips{x_min}, Twips{x_max}, Twips{y_min}, Twips{y_max}};
    write_tag(tag, out);
}

} // namespace swf
