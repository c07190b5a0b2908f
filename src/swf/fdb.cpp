#include "swf/fdb.h"

#include "swf/byte_reader.h"
#include "swf/writer.h"

#include <algorithm>

namespace swf {

namespace {

constexpr uint8_t flag_has_layout = 0x80;
constexpr uint8_t flag_small_text = 0x20;
constexpr uint8_t flag_wide_offsets = 0x08;
constexpr uint8_t flag_wide_codes = 0x04;
constexpr uint8_t flag_italic = 0x02;
constexpr uint8_t flag_bold = 0x01;

} // namespace

DefineFont2 read_fdb(std::span<const uint8_t> file) {
    ByteReader in(file, "font file");
    const auto magic = in.bytes(4);
    if (!std::equal(magic.begin(), magic.end(), "fdb0")) {
        in.fail("not an .fdb file (no \"fdb0\" signature)");
    }
    DefineFont2 font;
    const uint8_t flags = in.u8();
    font.bold = (flags & flag_bold) != 0;
    font.italic = (flags & flag_italic) != 0;
    font.small_text = (flags & flag_small_text) != 0;
    const bool wide_offsets = (flags & flag_wide_offsets) != 0;
    const bool wide_codes = (flags & flag_wide_codes) != 0;
    font.language = in.u8();
    const uint8_t name_length = in.u8();
    const auto name = in.bytes(name_length);
    font.name.assign(name.begin(), name.end());
    while (!font.name.empty() && font.name.back() == '\0') {
        font.name.pop_back();
    }

    const size_t count = in.u16();
    const size_t table_start = in.position();
    auto read_offset = [&] { return wide_offsets ? size_t{in.u32()} : size_t{in.u16()}; };
    std::vector<size_t> offsets(count + 1);
    for (size_t& offset : offsets) {
        offset = read_offset(); // the last one is the code table offset
    }
    const size_t table_size = (count + 1) * (wide_offsets ? 4 : 2);
    for (size_t i = 0; i < count; ++i) {
        if (offsets[i] < table_size || offsets[i] > offsets[i + 1]) {
            in.fail("glyph offset table out of order");
        }
    }
    if (offsets[count] < table_size || offsets[count] > in.remaining() + table_size) {
        in.fail("code table offset out of range");
    }
    font.glyphs.resize(count);
    for (size_t i = 0; i < count; ++i) {
        in.seek(table_start + offsets[i]);
        const auto shape = in.bytes(offsets[i + 1] - offsets[i]);
        font.glyphs[i].shape.assign(shape.begin(), shape.end());
    }
    in.seek(table_start + offsets[count]);
    for (Glyph& glyph : font.glyphs) {
        glyph.code = wide_codes ? in.u16() : in.u8();
    }
    if (flags & flag_has_layout) {
        FontLayout layout;
        layout.ascent = in.i16();
        layout.descent = in.i16();
        layout.leading = in.i16();
        for (Glyph& glyph : font.glyphs) {
            glyph.advance = in.i16();
        }
        for (Glyph& glyph : font.glyphs) {
            glyph.bounds = in.rect();
        }
        const size_t kerning_count = in.u16();
        if (kerning_count * (wide_codes ? 6 : 4) > in.remaining()) {
            in.fail("kerning table truncated");
        }
        layout.kerning.resize(kerning_count);
        for (KerningPair& pair : layout.kerning) {
            pair.left = wide_codes ? in.u16() : in.u8();
            pair.right = wide_codes ? in.u16() : in.u8();
            pair.adjustment = in.i16();
        }
        font.layout = std::move(layout);
    }

    return font;
}

std::vector<uint8_t> write_fdb(const DefineFont2& font) {
    const std::vector<uint8_t> body = write_tag_body(font);
    std::vector<uint8_t> file(4 + body.size() - 2);
    const char magic[] = "fdb0";
    std::copy(magic, magic + 4, file.begin());
    std::copy(body.begin() + 2, body.end(), file.begin() + 4); // without the font id
    return file;
}

} // namespace swf
