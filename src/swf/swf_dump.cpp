#include "swf/swf_dump.h"

#include "swf/character_ids.h"
#include "swf/error.h"
#include "swf/swf_file.h"

#include <cstdio>
#include <string>

namespace swf {

namespace {

std::string format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

std::string hex(std::span<const uint8_t> bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += format(i == 0 ? "%02x" : " %02x", bytes[i]);
    }
    return out;
}

std::string matrix_text(const MatrixRecord& m) {
    return format("matrix [%.4g %.4g %.4g %.4g %d %d]", m.scale_x / 65536.0, m.rotate_skew0 / 65536.0,
                  m.rotate_skew1 / 65536.0, m.scale_y / 65536.0, m.translate_x, m.translate_y);
}

std::string cxform_text(const CxformRecord& c) {
    return format("cxform mult [%d %d %d %d] add [%d %d %d %d]", c.mult[0], c.mult[1], c.mult[2], c.mult[3],
                  c.add[0], c.add[1], c.add[2], c.add[3]);
}

std::string rect_text(const RectTwips& r) {
    return format("(%d, %d)-(%d, %d)", r.x_min, r.y_min, r.x_max, r.y_max);
}

// Sprites inside sprites are listed this deep at most; players do not nest them at all.
constexpr int kMaxNesting = 8;

class Dumper {
public:
    std::string run(std::span<const uint8_t> file);

private:
    void tags(const std::vector<TagView>& list, int indent);
    std::string details(const TagView& tag, int indent);
    std::string place_object2(ByteReader& r, bool version3);
    std::string text(ByteReader& r, bool rgba);
    std::string button2(ByteReader& r);
    std::string font2(ByteReader& r);

    std::string out_;
};

std::string Dumper::run(std::span<const uint8_t> file) {
    const SwfFile swf = read_swf(file);
    const SwfHeader& h = swf.header;
    out_ += format("%s version %u, file length %u, frame %s twips (%d x %d px), rate %.2f, %u frames\n",
                   h.compressed ? "CWS" : "FWS", h.version, h.file_length, rect_text(h.frame_size).c_str(),
                   (h.frame_size.x_max - h.frame_size.x_min) / 20,
                   (h.frame_size.y_max - h.frame_size.y_min) / 20, h.frame_rate / 256.0, h.frame_count);
    tags(swf.tags, 0);
    return std::move(out_);
}

void Dumper::tags(const std::vector<TagView>& list, int indent) {
    for (const TagView& tag : list) {
        const std::string_view name = tag_name(tag.code);
        out_ += std::string(size_t(indent) * 2, ' ');
        out_ +=
            format("%6zu %s (%u) %zu bytes", tag.offset, name.empty() ? "unknown" : std::string(name).c_str(),
                   unsigned(tag.code), tag.body.size());
        std::string more;
        try {
            more = details(tag, indent);
        } catch (const Error& e) {
            more = std::string(": malformed: ") + e.what();
        }
        out_ += more;
        out_ += '\n';
        if (tag.code == TagCode::DefineSprite && indent >= kMaxNesting) {
            out_ += std::string(size_t(indent + 1) * 2, ' ') + "(sprites nested too deep to list)\n";
        } else if (tag.code == TagCode::DefineSprite) {
            try {
                ByteReader r(tag.body, tag.body_offset);
                r.skip(4);
                tags(read_tags(r), indent + 1);
            } catch (const Error& e) {
                out_ += std::string(size_t(indent + 1) * 2, ' ') + "malformed: " + e.what() + "\n";
            }
        }
    }
}

std::string Dumper::details(const TagView& tag, int) {
    ByteReader r(tag.body, tag.body_offset);
    std::string s;
    // Ids first, for every tag that names characters.
    const auto slots = character_id_slots(tag.code, tag.body);
    std::string uses;
    for (const IdSlot& slot : slots) {
        const unsigned id = tag.body[slot.offset] | (tag.body[slot.offset + 1] << 8);
        if (slot.defines) {
            s += format(": id %u", id);
        } else {
            uses += (uses.empty() ? "" : ",") + std::to_string(id);
        }
    }
    switch (tag.code) {
    case TagCode::SetBackgroundColor: {
        const auto c = r.bytes(3);
        s += format(": #%02X%02X%02X", c[0], c[1], c[2]);
        break;
    }
    case TagCode::PlaceObject: {
        uses.clear();
        const unsigned id = r.u16();
        const unsigned depth = r.u16();
        s += format(": id %u depth %u ", id, depth) + matrix_text(read_matrix(r));
        break;
    }
    case TagCode::PlaceObject2:
        uses.clear();
        s += place_object2(r, false);
        break;
    case TagCode::PlaceObject3:
        uses.clear();
        s += place_object2(r, true);
        break;
    case TagCode::RemoveObject: {
        uses.clear();
        const unsigned id = r.u16();
        s += format(": id %u depth %u", id, unsigned(r.u16()));
        break;
    }
    case TagCode::RemoveObject2:
        s += format(": depth %u", unsigned(r.u16()));
        break;
    case TagCode::DoAction:
        s += ": " + hex(r.rest());
        break;
    case TagCode::DoInitAction:
        r.u16();
        s += format(": sprite %u: ", unsigned(tag.body[0] | tag.body[1] << 8)) + hex(r.rest());
        uses.clear();
        break;
    case TagCode::FrameLabel:
        s += ": \"" + r.string() + "\"";
        break;
    case TagCode::DefineSprite:
        r.u16();
        s += format(" frames %u", unsigned(r.u16()));
        break;
    case TagCode::DefineShape:
    case TagCode::DefineShape2:
    case TagCode::DefineShape3:
    case TagCode::DefineShape4:
    case TagCode::DefineText:
    case TagCode::DefineText2:
    case TagCode::DefineEditText:
    case TagCode::DefineMorphShape:
    case TagCode::DefineMorphShape2:
        r.u16();
        s += " bounds " + rect_text(read_rect(r));
        if (tag.code == TagCode::DefineText || tag.code == TagCode::DefineText2) {
            s += text(r, tag.code == TagCode::DefineText2);
        }
        break;
    case TagCode::DefineButton2:
        s += button2(r);
        uses.clear();
        break;
    case TagCode::DefineFont2:
    case TagCode::DefineFont3:
        r.u16();
        s += font2(r);
        break;
    case TagCode::DefineBitsLossless:
    case TagCode::DefineBitsLossless2: {
        r.u16();
        const unsigned fmt = r.u8();
        const unsigned w = r.u16();
        s += format(" format %u size %u x %u", fmt, w, unsigned(r.u16()));
        break;
    }
    default:
        break;
    }
    if (!uses.empty()) {
        s += " uses " + uses;
    }
    return s;
}

std::string Dumper::place_object2(ByteReader& r, bool version3) {
    const uint8_t flags = r.u8();
    const uint8_t flags2 = version3 ? r.u8() : 0;
    std::string s = format(": depth %u", unsigned(r.u16()));
    if (version3 && ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02)))) {
        s += " class \"" + r.string() + "\"";
    }
    if (flags & 0x01) {
        s += " move";
    }
    if (flags & 0x02) {
        s += format(" id %u", unsigned(r.u16()));
    }
    if (flags & 0x04) {
        s += " " + matrix_text(read_matrix(r));
    }
    if (flags & 0x08) {
        s += " " + cxform_text(read_cxform(r, true));
    }
    if (flags & 0x10) {
        s += format(" ratio %u", unsigned(r.u16()));
    }
    if (flags & 0x20) {
        s += " name \"" + r.string() + "\"";
    }
    if (flags & 0x40) {
        s += format(" clip depth %u", unsigned(r.u16()));
    }
    if (flags & 0x80) {
        s += " clip actions";
    }
    return s;
}

std::string Dumper::text(ByteReader& r, bool rgba) {
    std::string s = " " + matrix_text(read_matrix(r));
    const unsigned glyph_bits = r.u8();
    const unsigned advance_bits = r.u8();
    for (;;) {
        const uint8_t flags = r.u8();
        if (flags == 0) {
            return s;
        }
        s += "; record";
        if (flags & 0x08) {
            s += format(" font %u", unsigned(r.u16()));
        }
        if (flags & 0x04) {
            const auto c = r.bytes(rgba ? 4 : 3);
            s += format(" colour #%02X%02X%02X", c[0], c[1], c[2]);
            if (rgba) {
                s += format("%02X", c[3]);
            }
        }
        if (flags & 0x01) {
            s += format(" x %d", int(r.i16()));
        }
        if (flags & 0x02) {
            s += format(" y %d", int(r.i16()));
        }
        if (flags & 0x08) {
            s += format(" height %u", unsigned(r.u16()));
        }
        const size_t glyphs = r.u8();
        s += format(" glyphs %zu", glyphs);
        r.skip((glyphs * (glyph_bits + advance_bits) + 7) / 8);
    }
}

std::string Dumper::button2(ByteReader& r) {
    r.u16();
    std::string s = r.u8() & 1 ? " menu" : "";
    const size_t action_offset = r.u16();
    const size_t records_start = r.position();
    for (;;) {
        const uint8_t flags = r.u8();
        if (flags == 0) {
            break;
        }
        const unsigned id = r.u16();
        const unsigned depth = r.u16();
        s += format("; states %u id %u depth %u ", flags & 0x0f, id, depth) + matrix_text(read_matrix(r));
        const CxformRecord c = read_cxform(r, true);
        (void)c;
        if (flags & 0x30) {
            s += " (filters or blend mode)";
            return s;
        }
    }
    if (action_offset == 0) {
        return s;
    }
    const size_t at = records_start - 2 + action_offset;
    if (at < r.position()) {
        throw Error("action offset points into the button records");
    }
    r.skip(at - r.position());
    for (;;) {
        const size_t size = r.u16();
        const uint16_t condition = r.u16();
        const auto actions = size == 0 ? r.rest() : r.bytes(size < 4 ? 0 : size - 4);
        s += format("; on 0x%04x: ", unsigned(condition)) + hex(actions);
        if (size == 0 || r.at_end()) {
            return s;
        }
    }
}

std::string Dumper::font2(ByteReader& r) {
    const uint8_t flags = r.u8();
    r.u8(); // language
    const auto name = r.bytes(r.u8());
    const unsigned glyphs = r.u16();
    std::string s = format(" \"%s\" flags 0x%02x glyphs %u", std::string(name.begin(), name.end()).c_str(),
                           flags, glyphs);
    if (flags & 0x80) {
        s += " with layout";
    }
    return s;
}

} // namespace

std::string dump_swf(std::span<const uint8_t> file) {
    return Dumper().run(file);
}

} // namespace swf
