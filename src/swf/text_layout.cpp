#include "swf/text_layout.h"

#include "swf/error.h"
#include "swf/font.h"
#include "swf/shaping.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

constexpr double em_units = 1024;
constexpr char32_t replacement_character = 0xFFFD;

bool in(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// Characters that need no shaping: they are drawn as they are, with the kerning pairs of the .fdb.
bool is_plain(char32_t c) {
    return in(c, 0x20, 0x7E) || in(c, 0xA0, 0x24F) || in(c, 0x2B0, 0x2FF) || in(c, 0x370, 0x3FF) ||
           in(c, 0x400, 0x482) || in(c, 0x48A, 0x52F) || in(c, 0x1E00, 0x1FFF) || in(c, 0x2010, 0x2027) ||
           in(c, 0x2030, 0x205E) || in(c, 0x20A0, 0x20CF) || in(c, 0x2100, 0x214F) ||
           c == replacement_character;
}

// Characters with no ink of their own that shaping hides; they are never reported as missing.
bool is_default_ignorable(char32_t c) {
    return c == 0xAD || c == 0x34F || c == 0x61C || in(c, 0x115F, 0x1160) || in(c, 0x17B4, 0x17B5) ||
           in(c, 0x180B, 0x180F) || in(c, 0x200B, 0x200F) || in(c, 0x202A, 0x202E) || in(c, 0x2060, 0x206F) ||
           c == 0x3164 || in(c, 0xFE00, 0xFE0F) || c == 0xFEFF || c == 0xFFA0 || in(c, 0xFFF0, 0xFFF8) ||
           in(c, 0xE0000, 0xE0FFF);
}

bool is_mark(char32_t c) {
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

// Stays with the character before it, in its face and its cluster.
bool joins_previous(char32_t c) {
    return is_mark(c) || c == 0x200C || c == 0x200D || in(c, 0xFE00, 0xFE0F) || in(c, 0xE0100, 0xE01EF) ||
           in(c, 0x1F3FB, 0x1F3FF);
}

bool is_plain_for(const Font& font, std::u32string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [&](char32_t c) { return is_plain(c) && font.own_glyph(c); });
}

LineLayout plain_layout(const Font& font, std::u32string_view text) {
    LineLayout line;
    GlyphRun run;
    run.font = &font;
    const auto& glyphs = font.definition().glyphs;
    std::vector<size_t> drawn;
    for (char32_t c : text) {
        const auto glyph = font.glyph_for(c);
        if (!font.own_glyph(c) && c != replacement_character && !line.missing) {
            line.missing = c;
        }
        if (glyph) {
            drawn.push_back(*glyph);
        }
    }
    for (size_t i = 0; i < drawn.size(); ++i) {
        const Glyph& glyph = glyphs[drawn[i]];
        int32_t advance = glyph.advance;
        if (i + 1 < drawn.size()) {
            advance += font.kerning(glyph.code, glyphs[drawn[i + 1]].code);
        }
        run.glyphs.push_back(PlacedGlyph{drawn[i], advance, 0, 0});
    }
    line.runs.push_back(std::move(run));
    return line;
}

struct Item {
    size_t start = 0;
    size_t length = 0;
    size_t face = 0; // 0: the font itself, k: fallback face k - 1
    FriBidiLevel level = 0;
    hb_script_t script = HB_SCRIPT_INVALID;
};

std::vector<FriBidiLevel> bidi_levels(const std::u32string& text) {
    const auto n = static_cast<FriBidiStrIndex>(text.size());
    const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
    std::vector<FriBidiCharType> types(text.size());
    std::vector<FriBidiBracketType> brackets(text.size());
    std::vector<FriBidiLevel> levels(text.size(), 0);
    fribidi_get_bidi_types(chars, n, types.data());
    fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON; // from the first strong character
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction, levels.data()) ==
        0) {
        std::fill(levels.begin(), levels.end(), FriBidiLevel{0});
    }
    return levels;
}

bool is_han_or_kana(hb_script_t script) {
    return script == HB_SCRIPT_HAN || script == HB_SCRIPT_HIRAGANA || script == HB_SCRIPT_KATAKANA ||
           script == HB_SCRIPT_BOPOMOFO;
}

// Common and inherited characters (spaces, digits, punctuation, marks) take the script around them.
// Kanji and kana mixed in one Japanese word stay one run: they shape alike.
std::vector<hb_script_t> scripts(const std::u32string& text) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> result(text.size(), HB_SCRIPT_INVALID);
    hb_script_t last = HB_SCRIPT_INVALID;
    for (size_t i = 0; i < text.size(); ++i) {
        const hb_script_t script = hb_unicode_script(unicode, text[i]);
        if (script != HB_SCRIPT_COMMON && script != HB_SCRIPT_INHERITED && script != HB_SCRIPT_UNKNOWN &&
            !(is_han_or_kana(script) && is_han_or_kana(last))) {
            last = script;
        }
        result[i] = last;
    }
    const auto first =
        std::find_if(result.begin(), result.end(), [](hb_script_t s) { return s != HB_SCRIPT_INVALID; });
    if (first != result.end()) {
        std::fill(result.begin(), first, *first);
    }
    return result;
}

// Reverses, from the highest level down to the lowest odd one, every sequence of items at that level or
// higher (rule L2 of the bidirectional algorithm, on whole items).
void to_visual_order(std::vector<Item>& items) {
    FriBidiLevel highest = 0;
    FriBidiLevel lowest_odd = 255;
    for (const Item& item : items) {
        highest = std::max(highest, item.level);
        if (item.level % 2 == 1) {
            lowest_odd = std::min(lowest_odd, item.level);
        }
    }
    for (int level = highest; level >= lowest_odd && level > 0; --level) {
        for (size_t i = 0; i < items.size();) {
            if (items[i].level < level) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < items.size() && items[end].level >= level) {
                ++end;
            }
            std::reverse(items.begin() + static_cast<std::ptrdiff_t>(i),
                         items.begin() + static_cast<std::ptrdiff_t>(end));
            i = end;
        }
    }
}

struct BufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

int32_t to_em(hb_position_t value, double scale) {
    return static_cast<int32_t>(std::lround(value * scale));
}

LineLayout shaped_layout(const Font& font, std::u32string_view input) {
    LineLayout line;
    const ShapingFace& own = *font.shaping();
    const FallbackFaces* fallbacks = font.fallbacks();
    const size_t face_count = 1 + (fallbacks ? fallbacks->size() : 0);
    std::u32string text(input);

    std::vector<size_t> faces(text.size(), 0);
    auto has = [&](size_t face, char32_t c) {
        return face == 0 ? own.nominal_glyph(c).has_value() : fallbacks->has(face - 1, c);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (i > 0 && joins_previous(c) && has(faces[i - 1], c)) {
            faces[i] = faces[i - 1];
            continue;
        }
        size_t face = 0;
        while (face < face_count && !has(face, c)) {
            ++face;
        }
        if (face == face_count) {
            face = i > 0 ? faces[i - 1] : 0;
            if (!is_default_ignorable(c)) {
                line.missing = line.missing.value_or(c);
                text[i] = replacement_character;
                face = 0;
            }
        }
        faces[i] = face;
    }

    const std::vector<FriBidiLevel> levels = bidi_levels(text);
    const std::vector<hb_script_t> script_of = scripts(text);
    std::vector<Item> items;
    for (size_t i = 0; i < text.size(); ++i) {
        if (items.empty() || items.back().face != faces[i] || items.back().level != levels[i] ||
            items.back().script != script_of[i]) {
            items.push_back(Item{i, 0, faces[i], levels[i], script_of[i]});
        }
        ++items.back().length;
    }
    to_visual_order(items);

    // One buffer per thread, kept: lines are short and many.
    thread_local const std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    for (const Item& item : items) {
        const std::u32string_view chars = std::u32string_view(text).substr(item.start, item.length);
        if (item.face == 0 && item.level % 2 == 0 && is_plain_for(font, chars)) {
            // Spaces, digits and Latin words between the shaped runs: as on a line of their own.
            line.runs.push_back(std::move(plain_layout(font, chars).runs.front()));
            continue;
        }
        GlyphRun run;
        const ShapingFace* shaping = &own;
        run.font = &font;
        if (item.face > 0) {
            run.fallback = fallbacks->font(item.face - 1);
            run.font = run.fallback.get();
            shaping = run.font->shaping();
        }
        hb_buffer_clear_contents(buffer.get());
        hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(text.data()),
                            static_cast<int>(text.size()), static_cast<unsigned>(item.start),
                            static_cast<int>(item.length));
        hb_buffer_set_direction(buffer.get(), item.level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        if (item.script != HB_SCRIPT_INVALID) {
            hb_buffer_set_script(buffer.get(), item.script);
        }
        hb_buffer_guess_segment_properties(buffer.get());
        hb_shape(shaping->font(), buffer.get(), nullptr, 0);

        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &count);
        const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer.get(), &count);
        const auto& glyphs = run.font->definition().glyphs;
        const double scale = em_units / shaping->units_per_em();
        for (unsigned g = 0; g < count; ++g) {
            size_t glyph = info[g].codepoint;
            if (glyph >= glyphs.size()) {
                glyph = run.font->glyph_for(replacement_character).value_or(0);
            }
            // The .fdb's rounded advance plus what shaping changed (kerning, marks set to zero).
            const hb_position_t nominal = hb_font_get_glyph_h_advance(shaping->font(), info[g].codepoint);
            PlacedGlyph placed;
            placed.glyph = glyph;
            placed.advance = glyphs[glyph].advance + to_em(position[g].x_advance - nominal, scale);
            placed.x_offset = to_em(position[g].x_offset, scale);
            placed.y_offset = -to_em(position[g].y_offset, scale);
            run.glyphs.push_back(placed);
        }
        line.runs.push_back(std::move(run));
    }
    return line;
}

} // namespace

int64_t GlyphRun::em_width() const {
    int64_t width = 0;
    for (const PlacedGlyph& glyph : glyphs) {
        width += glyph.advance;
    }
    return width;
}

LineLayout lay_out_line(const Font& font, std::u32string_view text) {
    if (!font.shaping() || is_plain_for(font, text)) {
        return plain_layout(font, text);
    }
    return shaped_layout(font, text);
}

bool is_cluster_boundary(char32_t before, char32_t after) {
    if (joins_previous(after) || before == 0x200D) {
        return false;
    }
    return hb_unicode_combining_class(hb_unicode_funcs_get_default(), before) !=
           HB_UNICODE_COMBINING_CLASS_VIRAMA;
}

} // namespace swf
