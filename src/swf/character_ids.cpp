#include "swf/character_ids.h"

#include "swf/byte_reader.h"
#include "swf/error.h"
#include "swf/swf_records.h"

#include <string>

namespace swf {

namespace {

// Bitmap fills that name this id (or 0) have no bitmap; authoring tools write them that way.
constexpr uint16_t kNoBitmap = 0xFFFF;

class SlotFinder {
public:
    explicit SlotFinder(std::span<const uint8_t> body) : r_(body) {}

    std::vector<IdSlot> find(TagCode code);

private:
    void defines() { slot(true); }
    void uses() { slot(false); }
    void slot(bool defines) {
        slots_.push_back({r_.position(), defines});
        r_.u16();
    }
    void optional_use() {
        const size_t at = r_.position();
        const uint16_t id = r_.u16();
        if (id != 0) {
            slots_.push_back({at, false});
        }
    }

    void shape(int version);
    void morph_shape(int version);
    void fill_styles(int version, bool morph);
    void fill_style(int version, bool morph);
    void gradient(int version, bool morph, bool focal);
    void line_styles(int version, bool morph);
    void shape_records(int version);
    void button(int version);
    void filters();
    void sound_info();
    void text(int version);
    void edit_text();
    void place_object2();
    void place_object3();

    ByteReader r_;
    std::vector<IdSlot> slots_;
};

std::vector<IdSlot> SlotFinder::find(TagCode code) {
    switch (code) {
    case TagCode::DefineShape:
        shape(1);
        break;
    case TagCode::DefineShape2:
        shape(2);
        break;
    case TagCode::DefineShape3:
        shape(3);
        break;
    case TagCode::DefineShape4:
        shape(4);
        break;
    case TagCode::DefineMorphShape:
        morph_shape(1);
        break;
    case TagCode::DefineMorphShape2:
        morph_shape(2);
        break;
    case TagCode::DefineButton:
        button(1);
        break;
    case TagCode::DefineButton2:
        button(2);
        break;
    case TagCode::DefineText:
        text(1);
        break;
    case TagCode::DefineText2:
        text(2);
        break;
    case TagCode::DefineEditText:
        edit_text();
        break;
    case TagCode::PlaceObject2:
        place_object2();
        break;
    case TagCode::PlaceObject3:
        place_object3();
        break;
    case TagCode::DefineButtonSound:
        uses();
        for (int i = 0; i < 4; ++i) {
            const size_t at = r_.position();
            if (r_.u16() != 0) {
                slots_.push_back({at, false});
                sound_info();
            }
        }
        break;
    case TagCode::DefineBits:
    case TagCode::DefineBitsJpeg2:
    case TagCode::DefineBitsJpeg3:
    case TagCode::DefineBitsJpeg4:
    case TagCode::DefineBitsLossless:
    case TagCode::DefineBitsLossless2:
    case TagCode::DefineFont:
    case TagCode::DefineFont2:
    case TagCode::DefineFont3:
    case TagCode::DefineFont4:
    case TagCode::DefineSound:
    case TagCode::DefineVideoStream:
    case TagCode::DefineBinaryData:
    case TagCode::DefineSprite:
        defines();
        break;
    case TagCode::PlaceObject:
    case TagCode::RemoveObject:
    case TagCode::StartSound:
    case TagCode::DefineFontInfo:
    case TagCode::DefineFontInfo2:
    case TagCode::DefineFontAlignZones:
    case TagCode::DefineFontName:
    case TagCode::CsmTextSettings:
    case TagCode::DefineScalingGrid:
    case TagCode::DefineButtonCxform:
    case TagCode::VideoFrame:
    case TagCode::DoInitAction:
        uses();
        break;
    default:
        break;
    }
    return std::move(slots_);
}

void SlotFinder::shape(int version) {
    defines();
    read_rect(r_);
    if (version == 4) {
        read_rect(r_); // edge bounds
        r_.u8();       // winding rule and stroke hints
    }
    fill_styles(version, false);
    line_styles(version, false);
    shape_records(version);
}

void SlotFinder::morph_shape(int version) {
    defines();
    read_rect(r_);
    read_rect(r_);
    if (version == 2) {
        read_rect(r_);
        read_rect(r_);
        r_.u8();
    }
    r_.u32(); // offset of the end edges
    fill_styles(version, true);
    line_styles(version, true);
    // The edges carry no styles of their own, so no ids.
}

void SlotFinder::fill_styles(int version, bool morph) {
    unsigned count = r_.u8();
    if (count == 0xFF && (morph || version >= 2)) {
        count = r_.u16();
    }
    for (unsigned i = 0; i < count; ++i) {
        fill_style(version, morph);
    }
}

void SlotFinder::fill_style(int version, bool morph) {
    const uint8_t type = r_.u8();
    switch (type) {
    case 0x00:
        r_.skip(morph ? 8 : (version >= 3 ? 4 : 3));
        break;
    case 0x10:
    case 0x12:
    case 0x13:
        read_matrix(r_);
        if (morph) {
            read_matrix(r_);
        }
        gradient(version, morph, type == 0x13);
        break;
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43: {
        const size_t at = r_.position();
        const uint16_t id = r_.u16();
        if (id != kNoBitmap && id != 0) {
            slots_.push_back({at, false});
        }
        read_matrix(r_);
        if (morph) {
            read_matrix(r_);
        }
        break;
    }
    default:
        throw Error("unknown fill style type " + std::to_string(type));
    }
}

void SlotFinder::gradient(int version, bool morph, bool focal) {
    const unsigned count = r_.u8() & 0x0f;
    if (morph) {
        r_.skip(count * 10); // start ratio, start RGBA, end ratio, end RGBA
        if (focal) {
            r_.skip(4);
        }
        return;
    }
    r_.skip(count * (version >= 3 ? 5 : 4));
    if (focal) {
        r_.skip(2);
    }
}

void SlotFinder::line_styles(int version, bool morph) {
    unsigned count = r_.u8();
    if (count == 0xFF && (morph || version >= 2)) {
        count = r_.u16();
    }
    const bool styles2 = morph ? version == 2 : version == 4;
    for (unsigned i = 0; i < count; ++i) {
        r_.u16(); // width
        if (morph) {
            r_.u16(); // end width
        }
        if (!styles2) {
            r_.skip(morph ? 8 : (version >= 3 ? 4 : 3));
            continue;
        }
        const uint8_t flags = r_.u8();
        r_.u8(); // no-close flag and end cap
        const unsigned join = (flags >> 4) & 3;
        const bool has_fill = (flags & 0x08) != 0;
        if (join == 2) {
            r_.u16(); // miter limit
        }
        if (has_fill) {
            fill_style(morph ? version : 4, morph);
        } else {
            r_.skip(morph ? 8 : 4);
        }
    }
}

void SlotFinder::shape_records(int version) {
    BitReader bits(r_);
    unsigned fill_bits = bits.ub(4);
    unsigned line_bits = bits.ub(4);
    for (;;) {
        if (bits.flag()) { // edge
            const bool straight = bits.flag();
            const unsigned n = bits.ub(4) + 2;
            if (straight) {
                if (bits.flag()) {
                    bits.sb(n);
                    bits.sb(n);
                } else {
                    bits.flag();
                    bits.sb(n);
                }
            } else {
                for (int i = 0; i < 4; ++i) {
                    bits.sb(n);
                }
            }
            continue;
        }
        const unsigned flags = bits.ub(5);
        if (flags == 0) {
            return; // end of shape
        }
        if (flags & 0x01) {
            const unsigned n = bits.ub(5);
            bits.sb(n);
            bits.sb(n);
        }
        if (flags & 0x02) {
            bits.ub(fill_bits);
        }
        if (flags & 0x04) {
            bits.ub(fill_bits);
        }
        if (flags & 0x08) {
            bits.ub(line_bits);
        }
        if (flags & 0x10) { // new styles start at a byte boundary
            bits.align();
            fill_styles(version, false);
            line_styles(version, false);
            fill_bits = bits.ub(4);
            line_bits = bits.ub(4);
        }
    }
}

void SlotFinder::button(int version) {
    defines();
    if (version == 2) {
        r_.u8();  // track as menu
        r_.u16(); // offset of the actions
    }
    for (;;) {
        const uint8_t flags = r_.u8();
        if (flags == 0) {
            return; // the actions that follow name no characters
        }
        uses();
        r_.u16(); // depth
        read_matrix(r_);
        if (version == 2) {
            read_cxform(r_, true);
            if (flags & 0x10) {
                filters();
            }
            if (flags & 0x20) {
                r_.u8(); // blend mode
            }
        }
    }
}

void SlotFinder::filters() {
    const unsigned count = r_.u8();
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t id = r_.u8();
        switch (id) {
        case 0: // drop shadow
            r_.skip(23);
            break;
        case 1: // blur
            r_.skip(9);
            break;
        case 2: // glow
            r_.skip(15);
            break;
        case 3: // bevel
            r_.skip(27);
            break;
        case 4: // gradient glow
        case 7: // gradient bevel
            r_.skip(size_t(r_.u8()) * 5 + 19);
            break;
        case 5: { // convolution
            const size_t x = r_.u8();
            const size_t y = r_.u8();
            r_.skip(8 + 4 * x * y + 5);
            break;
        }
        case 6: // colour matrix
            r_.skip(80);
            break;
        default:
            throw Error("unknown filter " + std::to_string(id));
        }
    }
}

void SlotFinder::sound_info() {
    const uint8_t flags = r_.u8();
    if (flags & 0x01) {
        r_.u32();
    }
    if (flags & 0x02) {
        r_.u32();
    }
    if (flags & 0x04) {
        r_.u16();
    }
    if (flags & 0x08) {
        r_.skip(size_t(r_.u8()) * 8);
    }
}

void SlotFinder::text(int version) {
    defines();
    read_rect(r_);
    read_matrix(r_);
    const unsigned glyph_bits = r_.u8();
    const unsigned advance_bits = r_.u8();
    for (;;) {
        const uint8_t flags = r_.u8();
        if (flags == 0) {
            return;
        }
        if (flags & 0x08) {
            uses(); // font
        }
        if (flags & 0x04) {
            r_.skip(version == 2 ? 4 : 3);
        }
        if (flags & 0x01) {
            r_.u16();
        }
        if (flags & 0x02) {
            r_.u16();
        }
        if (flags & 0x08) {
            r_.u16(); // height
        }
        const size_t glyphs = r_.u8();
        r_.skip((glyphs * (glyph_bits + advance_bits) + 7) / 8);
    }
}

void SlotFinder::edit_text() {
    defines();
    read_rect(r_);
    const uint8_t flags1 = r_.u8();
    r_.u8();
    if (flags1 & 0x01) {
        uses(); // font
    }
}

void SlotFinder::place_object2() {
    const uint8_t flags = r_.u8();
    r_.u16(); // depth
    if (flags & 0x02) {
        uses();
    }
}

void SlotFinder::place_object3() {
    const uint8_t flags = r_.u8();
    const uint8_t flags2 = r_.u8();
    r_.u16(); // depth
    if ((flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02))) {
        r_.string(); // class name
    }
    if (flags & 0x02) {
        uses();
    }
}

} // namespace

TagRole tag_role(TagCode code) {
    switch (code) {
    case TagCode::DefineShape:
    case TagCode::DefineShape2:
    case TagCode::DefineShape3:
    case TagCode::DefineShape4:
    case TagCode::DefineMorphShape:
    case TagCode::DefineMorphShape2:
    case TagCode::DefineBits:
    case TagCode::JpegTables:
    case TagCode::DefineBitsJpeg2:
    case TagCode::DefineBitsJpeg3:
    case TagCode::DefineBitsJpeg4:
    case TagCode::DefineBitsLossless:
    case TagCode::DefineBitsLossless2:
    case TagCode::DefineButton:
    case TagCode::DefineButton2:
    case TagCode::DefineButtonSound:
    case TagCode::DefineButtonCxform:
    case TagCode::DefineFont:
    case TagCode::DefineFont2:
    case TagCode::DefineFont3:
    case TagCode::DefineFont4:
    case TagCode::DefineFontInfo:
    case TagCode::DefineFontInfo2:
    case TagCode::DefineFontAlignZones:
    case TagCode::DefineFontName:
    case TagCode::CsmTextSettings:
    case TagCode::DefineText:
    case TagCode::DefineText2:
    case TagCode::DefineEditText:
    case TagCode::DefineSound:
    case TagCode::DefineSprite:
    case TagCode::DefineVideoStream:
    case TagCode::DefineBinaryData:
    case TagCode::DefineScalingGrid:
    case TagCode::DoInitAction:
        return TagRole::Definition;
    case TagCode::ShowFrame:
    case TagCode::PlaceObject:
    case TagCode::PlaceObject2:
    case TagCode::PlaceObject3:
    case TagCode::RemoveObject:
    case TagCode::RemoveObject2:
    case TagCode::DoAction:
    case TagCode::FrameLabel:
    case TagCode::StartSound:
    case TagCode::SoundStreamHead:
    case TagCode::SoundStreamHead2:
    case TagCode::SoundStreamBlock:
    case TagCode::VideoFrame:
    case TagCode::SetTabIndex:
        return TagRole::Timeline;
    case TagCode::End:
    case TagCode::SetBackgroundColor:
    case TagCode::Protect:
    case TagCode::ExportAssets:
    case TagCode::ImportAssets:
    case TagCode::ImportAssets2:
    case TagCode::EnableDebugger:
    case TagCode::EnableDebugger2:
    case TagCode::ScriptLimits:
    case TagCode::FileAttributes:
    case TagCode::SymbolClass:
    case TagCode::Metadata:
    case TagCode::DoAbc:
    case TagCode::DefineSceneAndFrameLabelData:
    case TagCode::StartSound2:
        return TagRole::Dropped;
    }
    return TagRole::Unknown;
}

std::vector<IdSlot> character_id_slots(TagCode code, std::span<const uint8_t> body) {
    return SlotFinder(body).find(code);
}

} // namespace swf
