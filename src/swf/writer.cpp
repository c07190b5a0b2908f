#include "swf/writer.h"

#include "swf/bit_writer.h"
#include "swf/error.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace swf {

using detail::BitWriter;
using detail::count_sbits;
using detail::count_ubits;

namespace {

// ---- shared structures --------------------------------------------------------------------------

void write_color_transform(BitWriter& w, const ColorTransform& cx) {
    const bool has_mult = cx != ColorTransform{};
    w.flag(false); // no add terms
    w.flag(has_mult);
    if (has_mult) {
        const int bits = std::max({count_sbits(cx.red_mult), count_sbits(cx.green_mult),
                                   count_sbits(cx.blue_mult), count_sbits(cx.alpha_mult)});
        w.ubits(4, static_cast<uint32_t>(bits));
        for (int16_t term : {cx.red_mult, cx.green_mult, cx.blue_mult, cx.alpha_mult}) {
            w.sbits(bits, term);
        }
    } else {
        w.ubits(4, 0);
    }
    w.flush();
}

void write_rgba(BitWriter& w, Rgba c) {
    w.u8(c.r);
    w.u8(c.g);
    w.u8(c.b);
    w.u8(c.a);
}

// ---- shapes -------------------------------------------------------------------------------------

void write_fill_style(BitWriter& w, const FillStyle& style) {
    if (const auto* solid = std::get_if<SolidFill>(&style)) {
        w.u8(0x00);
        write_rgba(w, solid->color);
    } else {
        const auto& bitmap = std::get<BitmapFill>(style);
        w.u8(static_cast<uint8_t>(bitmap.kind));
        w.u16(bitmap.bitmap_id);
        w.matrix(bitmap.matrix);
    }
}

// A straight edge's deltas must fit 17 signed bits (NumBits is 4 bits plus 2); longer edges are
// written as several collinear pieces.
constexpr int max_edge_bits = 17;

void write_straight_edge(BitWriter& w, int32_t dx, int32_t dy) {
    const int bits = std::max({2, count_sbits(dx), count_sbits(dy)});
    if (bits > max_edge_bits) {
        const int32_t half_x = dx / 2;
        const int32_t half_y = dy / 2;
        write_straight_edge(w, half_x, half_y);
        write_straight_edge(w, dx - half_x, dy - half_y);
        return;
    }
    w.ubits(2, 0b11); // edge record, straight
    w.ubits(4, static_cast<uint32_t>(bits - 2));
    if (dx != 0 && dy != 0) {
        w.flag(true); // general line
        w.sbits(bits, dx);
        w.sbits(bits, dy);
    } else {
        w.flag(false);
        w.flag(dx == 0); // vertical
        w.sbits(bits, dx == 0 ? dy : dx);
    }
}

void write_style_change(BitWriter& w, const StyleChange& change, int fill_bits) {
    if (!change.move_to && !change.fill_style0 && !change.fill_style1) {
        return; // all flags clear would read as the end record
    }
    w.flag(false); // non-edge record
    w.flag(false); // new styles
    w.flag(false); // line style
    w.flag(change.fill_style1.has_value());
    w.flag(change.fill_style0.has_value());
    w.flag(change.move_to.has_value());
    if (change.move_to) {
        const auto [x, y] = *change.move_to;
        const int bits = std::max({1, count_sbits(x.value), count_sbits(y.value)});
        w.ubits(5, static_cast<uint32_t>(bits));
        w.sbits(bits, x.value);
        w.sbits(bits, y.value);
    }
    if (change.fill_style0) {
        w.ubits(fill_bits, *change.fill_style0);
    }
    if (change.fill_style1) {
        w.ubits(fill_bits, *change.fill_style1);
    }
}

void write_define_shape3(BitWriter& w, const DefineShape3& shape) {
    w.u16(shape.id);
    w.rect(shape.bounds);
    const size_t fills = shape.fill_styles.size();
    if (fills >= 0xFF) {
        w.u8(0xFF);
        w.u16(static_cast<uint16_t>(fills));
    } else {
        w.u8(static_cast<uint8_t>(fills));
    }
    for (const FillStyle& style : shape.fill_styles) {
        write_fill_style(w, style);
    }
    w.u8(0); // no line styles
    const int fill_bits = count_ubits(static_cast<uint32_t>(fills));
    w.ubits(4, static_cast<uint32_t>(fill_bits));
    w.ubits(4, 0);
    for (const ShapeRecord& record : shape.records) {
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            write_style_change(w, *change, fill_bits);
        } else {
            const auto& edge = std::get<StraightEdge>(record);
            write_straight_edge(w, edge.dx.value, edge.dy.value);
        }
    }
    w.ubits(6, 0); // end record
    w.flush();
}

// ---- bitmaps ------------------------------------------------------------------------------------

void write_define_bits_jpeg2(BitWriter& w, const DefineBitsJpeg2& bits) {
    w.u16(bits.id);
    w.bytes(bits.jpeg_data);
}

void write_define_bits_lossless(BitWriter& w, const DefineBitsLossless& bits) {
    w.u16(bits.id);
    w.u8(bits.format);
    w.u16(bits.width);
    w.u16(bits.height);
    if (bits.format == 3) {
        w.u8(bits.palette_size_minus_one);
    }
    w.bytes(bits.zlib_data);
}

// ---- fonts and texts ----------------------------------------------------------------------------

void write_define_font2(BitWriter& w, const DefineFont2& font) {
    const size_t count = font.glyphs.size();
    size_t shape_bytes = 0;
    for (const Glyph& glyph : font.glyphs) {
        shape_bytes += glyph.shape.size();
    }
    // Offsets count from the start of the offset table, which ends with the code table offset.
    const bool wide_offsets = (count + 1) * 2 + shape_bytes > 0xFFFF;
    const size_t offset_size = wide_offsets ? 4 : 2;

    w.u16(font.id);
    uint8_t flags = 0x04; // wide codes
    flags |= font.layout ? 0x80 : 0;
    flags |= font.small_text ? 0x20 : 0;
    flags |= wide_offsets ? 0x08 : 0;
    flags |= font.italic ? 0x02 : 0;
    flags |= font.bold ? 0x01 : 0;
    w.u8(flags);
    w.u8(font.language);
    const size_t name_length = std::min<size_t>(font.name.size(), 255);
    w.u8(static_cast<uint8_t>(name_length));
    w.text(std::string_view(font.name).substr(0, name_length));
    w.u16(static_cast<uint16_t>(count));
    size_t offset = (count + 1) * offset_size;
    auto write_offset = [&](size_t value) {
        if (wide_offsets) {
            w.u32(static_cast<uint32_t>(value));
        } else {
            w.u16(static_cast<uint16_t>(value));
        }
    };
    for (const Glyph& glyph : font.glyphs) {
        write_offset(offset);
        offset += glyph.shape.size();
    }
    write_offset(offset); // the code table follows the shapes
    for (const Glyph& glyph : font.glyphs) {
        w.bytes(glyph.shape);
    }
    for (const Glyph& glyph : font.glyphs) {
        w.u16(glyph.code);
    }
    if (font.layout) {
        w.i16(font.layout->ascent);
        w.i16(font.layout->descent);
        w.i16(font.layout->leading);
        for (const Glyph& glyph : font.glyphs) {
            w.i16(glyph.advance);
        }
        for (const Glyph& glyph : font.glyphs) {
            w.rect(glyph.bounds);
        }
        w.u16(static_cast<uint16_t>(font.layout->kerning.size()));
        for (const KerningPair& pair : font.layout->kerning) {
            w.u16(pair.left);
            w.u16(pair.right);
            w.i16(pair.adjustment);
        }
    }
}

void write_define_text2(BitWriter& w, const DefineText2& text) {
    w.u16(text.id);
    w.rect(text.bounds);
    w.matrix(text.matrix);
    int glyph_bits = 1;
    int advance_bits = 1;
    for (const TextRecord& record : text.records) {
        for (const GlyphEntry& glyph : record.glyphs) {
            glyph_bits = std::max(glyph_bits, count_ubits(glyph.index));
            advance_bits = std::max(advance_bits, count_sbits(glyph.advance));
        }
    }
    w.u8(static_cast<uint8_t>(glyph_bits));
    w.u8(static_cast<uint8_t>(advance_bits));
    for (const TextRecord& record : text.records) {
        if (record.glyphs.size() > 255) {
            throw Error("a text record holds more than 255 glyphs");
        }
        uint8_t flags = 0x80;
        flags |= record.font_id ? 0x08 : 0;
        flags |= record.color ? 0x04 : 0;
        flags |= record.y_offset ? 0x02 : 0;
        flags |= record.x_offset ? 0x01 : 0;
        w.u8(flags);
        if (record.font_id) {
            w.u16(*record.font_id);
        }
        if (record.color) {
            write_rgba(w, *record.color);
        }
        if (record.x_offset) {
            w.i16(static_cast<int16_t>(record.x_offset->value));
        }
        if (record.y_offset) {
            w.i16(static_cast<int16_t>(record.y_offset->value));
        }
        if (record.font_id) {
            w.u16(static_cast<uint16_t>(record.height.value));
        }
        w.u8(static_cast<uint8_t>(record.glyphs.size()));
        for (const GlyphEntry& glyph : record.glyphs) {
            w.ubits(glyph_bits, glyph.index);
            w.sbits(advance_bits, glyph.advance);
        }
        w.flush();
    }
    w.u8(0); // end of records
}

// ---- buttons ------------------------------------------------------------------------------------

void write_define_button2(BitWriter& w, std::vector<uint8_t>& out, const DefineButton2& button) {
    w.u16(button.id);
    w.u8(button.track_as_menu ? 1 : 0);
    const size_t action_offset_at = w.size();
    w.u16(0); // action offset, patched below
    for (const ButtonRecord& record : button.records) {
        w.u8(record.states & 0x0F);
        w.u16(record.character_id);
        w.u16(record.depth);
        w.matrix(record.matrix);
        write_color_transform(w, record.color_transform);
    }
    w.u8(0); // end of records
    if (!button.actions.empty()) {
        const size_t offset = w.size() - action_offset_at;
        if (offset > 0xFFFF) {
            throw Error("a button has too many records");
        }
        out[action_offset_at] = static_cast<uint8_t>(offset);
        out[action_offset_at + 1] = static_cast<uint8_t>(offset >> 8);
    }
    for (size_t i = 0; i < button.actions.size(); ++i) {
        const ButtonCondAction& action = button.actions[i];
        const bool last = i + 1 == button.actions.size();
        const size_t size = 4 + action.action_bytes.size();
        if (!last && size > 0xFFFF) {
            throw Error("a button action is too long");
        }
        w.u16(last ? 0 : static_cast<uint16_t>(size));
        w.u16(action.conditions);
        w.bytes(action.action_bytes);
    }
}

// ---- display list and control tags --------------------------------------------------------------

void write_place_object2(BitWriter& w, const PlaceObject2& place) {
    uint8_t flags = 0;
    flags |= place.color_transform ? 0x08 : 0;
    flags |= place.matrix ? 0x04 : 0;
    flags |= place.character_id ? 0x02 : 0;
    flags |= place.is_move ? 0x01 : 0;
    w.u8(flags);
    w.u16(place.depth);
    if (place.character_id) {
        w.u16(*place.character_id);
    }
    if (place.matrix) {
        w.matrix(*place.matrix);
    }
    if (place.color_transform) {
        write_color_transform(w, *place.color_transform);
    }
}

struct BodyWriter {
    BitWriter& w;
    std::vector<uint8_t>& out;

    void operator()(const ShowFrame&) {}
    void operator()(const End&) {}
    void operator()(const SetBackgroundColor& tag) {
        w.u8(tag.color.r);
        w.u8(tag.color.g);
        w.u8(tag.color.b);
    }
    void operator()(const DefineShape3& tag) { write_define_shape3(w, tag); }
    void operator()(const DefineBitsJpeg2& tag) { write_define_bits_jpeg2(w, tag); }
    void operator()(const DefineBitsLossless& tag) { write_define_bits_lossless(w, tag); }
    void operator()(const DefineFont2& tag) { write_define_font2(w, tag); }
    void operator()(const DefineText2& tag) { write_define_text2(w, tag); }
    void operator()(const DefineButton2& tag) { write_define_button2(w, out, tag); }
    void operator()(const PlaceObject2& tag) { write_place_object2(w, tag); }
    void operator()(const RemoveObject2& tag) { w.u16(tag.depth); }
    void operator()(const DoAction& tag) { w.bytes(tag.action_bytes); }
    void operator()(const RawTag& tag) { w.bytes(tag.body); }
};

struct CodeOf {
    TagCode operator()(const ShowFrame&) const { return TagCode::ShowFrame; }
    TagCode operator()(const End&) const { return TagCode::End; }
    TagCode operator()(const SetBackgroundColor&) const { return TagCode::SetBackgroundColor; }
    TagCode operator()(const DefineShape3&) const { return TagCode::DefineShape3; }
    TagCode operator()(const DefineBitsJpeg2&) const { return TagCode::DefineBitsJpeg2; }
    TagCode operator()(const DefineBitsLossless& tag) const {
        return tag.version == 2 ? TagCode::DefineBitsLossless2 : TagCode::DefineBitsLossless;
    }
    TagCode operator()(const DefineFont2&) const { return TagCode::DefineFont2; }
    TagCode operator()(const DefineText2&) const { return TagCode::DefineText2; }
    TagCode operator()(const DefineButton2&) const { return TagCode::DefineButton2; }
    TagCode operator()(const PlaceObject2&) const { return TagCode::PlaceObject2; }
    TagCode operator()(const RemoveObject2&) const { return TagCode::RemoveObject2; }
    TagCode operator()(const DoAction&) const { return TagCode::DoAction; }
    TagCode operator()(const RawTag& tag) const { return tag.code; }
};

bool always_long_header(TagCode code) {
    return code == TagCode::DefineBitsLossless || code == TagCode::DefineBitsLossless2;
}

void write_header(TagCode code, size_t length, std::vector<uint8_t>& out) {
    if (length > 0x7FFFFFFF) {
        throw Error("a tag is too long to write");
    }
    const auto code_bits = static_cast<uint16_t>(static_cast<uint16_t>(code) << 6);
    if (length <= 62 && !always_long_header(code)) {
        const auto short_header = static_cast<uint16_t>(code_bits | length);
        out.push_back(static_cast<uint8_t>(short_header));
        out.push_back(static_cast<uint8_t>(short_header >> 8));
        return;
    }
    const auto long_header = static_cast<uint16_t>(code_bits | 0x3F);
    out.push_back(static_cast<uint8_t>(long_header));
    out.push_back(static_cast<uint8_t>(long_header >> 8));
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(length >> shift));
    }
}

} // namespace

TagCode tag_code(const Tag& tag) {
    return std::visit(CodeOf{}, tag);
}

std::vector<uint8_t> write_tag_body(const Tag& tag) {
    std::vector<uint8_t> body;
    {
        BitWriter w(body);
        std::visit(BodyWriter{w, body}, tag);
    }
    return body;
}

void write_tag(const Tag& tag, std::vector<uint8_t>& out) {
    const std::vector<uint8_t> body = write_tag_body(tag);
    write_raw_tag(tag_code(tag), body, out);
}

void write_raw_tag(TagCode code, std::span<const uint8_t> body, std::vector<uint8_t>& out) {
    write_header(code, body.size(), out);
    out.insert(out.end(), body.begin(), body.end());
}

uint16_t frame_rate_fixed(double frames_per_second) {
    if (!(frames_per_second > 0)) {
        return 0;
    }
    const double fixed = std::floor(frames_per_second * 256.0);
    return fixed >= 65535.0 ? 0xFFFF : static_cast<uint16_t>(fixed);
}

std::vector<uint8_t> write_swf_file(const MovieHeader& header, std::span<const uint8_t> tags,
                                    int compression_level) {
    if (compression_level < -1 || compression_level > 9) {
        throw Error("compression level must be -1 (none) or 0 to 9");
    }
    std::vector<uint8_t> rest; // everything after the 8-byte file header
    rest.reserve(tags.size() + 32);
    {
        BitWriter w(rest);
        w.rect(header.stage);
        w.u16(header.frame_rate);
        w.u16(header.frame_count);
    }
    rest.insert(rest.end(), tags.begin(), tags.end());
    const uint64_t file_length = 8 + rest.size();
    if (file_length > 0xFFFFFFFFu) {
        throw Error("the movie is too large for a SWF file");
    }

    std::vector<uint8_t> file;
    const bool compressed = compression_level >= 0;
    file.push_back(compressed ? 'C' : 'F');
    file.push_back('W');
    file.push_back('S');
    file.push_back(header.version);
    for (int shift = 0; shift < 32; shift += 8) {
        file.push_back(static_cast<uint8_t>(file_length >> shift));
    }
    if (!compressed) {
        file.insert(file.end(), rest.begin(), rest.end());
        return file;
    }
    uLongf packed_size = compressBound(static_cast<uLong>(rest.size()));
    file.resize(8 + packed_size);
    if (compress2(file.data() + 8, &packed_size, rest.data(), static_cast<uLong>(rest.size()),
                  compression_level) != Z_OK) {
        throw Error("compressing the movie failed");
    }
    file.resize(8 + packed_size);
    return file;
}

} // namespace swf
