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
    LineLayout line = font_->layout(detail::decode_utf8(utf8));
    if (line.missing && !missing_) {
        missing_ = line.missing;
    }
    for (GlyphRun& run : line.runs) {
        std::shared_ptr<const Font> font = run.fallback ? run.fallback : font_;
        const auto width = static_cast<int32_t>(run.em_width() * height_.value / em_units);
        runs_.push_back(Run{std::move(font), color_, height_, pen_x_, std::move(run.glyphs)});
        pen_x_.value += width;
    }
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

        // Glyph positions are the running EM width scaled to twips, so the advances add up to
        // exactly the measured string width. A glyph moved by shaping (a mark, a raised or lowered
        // glyph) starts a record of its own at its offset; the next record returns to the baseline.
        int64_t em_position = 0;
        int32_t twips_position = 0;
        int32_t record_dx = 0;
        int32_t record_dy = 0;
        auto scaled = [&](int64_t em) { return static_cast<int32_t>(em * run.height.value / em_units); };
        for (size_t i = 0; i < run.glyphs.size(); ++i) {
            const PlacedGlyph& glyph = run.glyphs[i];
            const int32_t dx = scaled(glyph.x_offset);
            const int32_t dy = scaled(glyph.y_offset);
            const bool first = tag.records.empty() || i == 0;
            if (first || dx != record_dx || dy != record_dy ||
                tag.records.back().glyphs.size() == max_glyphs_per_record) {
                TextRecord record;
                if (i == 0) {
                    record.font_id = font_id;
                    record.color = run.color;
                    record.height = run.height;
                }
                record.x_offset = Twips{run.x.value + twips_position + dx};
                if (i == 0 || dy != record_dy) {
                    record.y_offset = Twips{dy};
                }
                tag.records.push_back(std::move(record));
                record_dx = dx;
                record_dy = dy;
            }
            em_position += glyph.advance;
            const int32_t next = scaled(em_position);
            const uint32_t index = subset.index_of(glyph.glyph).value_or(0);
            tag.records.back().glyphs.push_back(GlyphEntry{index, next - twips_position});
            twips_position = next;
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
