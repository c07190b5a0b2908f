// Clip import: every kind of character reference moves into the host's id space, sprites hold the
// frames, tags without a place in a sprite are dropped, and malformed files are refused with an error.
#include "swf/character_ids.h"
#include "swf/clip_import.h"
#include "swf/error.h"
#include "swf/swf_file.h"
#include "swf_assembler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace {

using swf::TagCode;
using namespace swftest;

constexpr swf::CharacterId kFirstHostId = 100;

// Imports with host ids handed out from 100 upwards, in the order the file defines its characters.
swf::ImportedClip import(const Bytes& file) {
    swf::CharacterId next = kFirstHostId;
    return swf::import_clip(file, [&next] { return next++; });
}

const swf::RawTag& find(const swf::ImportedClip& clip, TagCode code, size_t nth = 0) {
    for (const swf::RawTag& t : clip.definitions) {
        if (t.code == code && nth-- == 0) {
            return t;
        }
    }
    throw std::runtime_error("tag not in the clip");
}

// Timeline tags of the clip's sprite (the last definition).
std::vector<swf::TagView> sprite_tags(const swf::ImportedClip& clip) {
    const swf::RawTag& sprite = clip.definitions.back();
    swf::ByteReader r(sprite.body);
    r.skip(4);
    return swf::read_tags(r);
}

Bytes lossless(uint16_t id) {
    const Bytes pixels =
        compress(Bytes{0xff, 0xff, 0, 0, 0xff, 0, 0xff, 0, 0xff, 0, 0, 0xff, 0xff, 0xff, 0xff, 0xff});
    Asm a;
    a.u16(id).u8(5).u16(2).u16(2).raw(pixels);
    return tag(TagCode::DefineBitsLossless2, a.bytes(), true);
}

Bytes solid_shape3(uint16_t id) {
    Asm a;
    a.u16(id).rect(0, 200, 0, 200).u8(1).u8(0).raw({0xff, 0, 0, 0xff}).u8(0);
    a.ub(1, 4).ub(0, 4);
    a.ub(0, 1).ub(0x03, 5).ub(1, 5).sb(0, 1).sb(0, 1).ub(1, 1);  // move to (0,0), fill 0 = 1
    a.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(0, 1).sb(200, 16); // horizontal line
    a.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(1, 1).sb(200, 16); // vertical line
    a.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(0, 1).sb(-200, 16);
    a.ub(1, 1).ub(1, 1).ub(14, 4).ub(0, 1).ub(1, 1).sb(-200, 16);
    a.ub(0, 6);
    return tag(TagCode::DefineShape3, a.bytes());
}

Bytes place2(uint16_t depth, uint16_t id) {
    Asm a;
    a.u8(0x06).u16(depth).u16(id).translate(0, 0);
    return tag(TagCode::PlaceObject2, a.bytes());
}

Bytes show_frame() {
    return tag(TagCode::ShowFrame, Bytes{});
}

TEST(ClipImport, ShapeFillsNamingBitmapsIncludingNewStylesAreRemapped) {
    // DefineShape3 with a clipped bitmap fill, then a style change bringing a tiled fill of another
    // bitmap; a DefineShape (version 1) and a DefineShape4 whose line style is filled with a bitmap.
    Asm s3;
    s3.u16(3).rect(0, 100, 0, 100).u8(1).u8(0x41);
    const size_t first_fill = s3.here();
    s3.u16(1).identity().u8(0);
    s3.ub(1, 4).ub(0, 4);
    s3.ub(0, 1).ub(0x12, 5).ub(1, 1); // fill 0, new styles
    s3.flush().u8(1).u8(0x40);
    const size_t second_fill = s3.here();
    s3.u16(2).identity().u8(0);
    s3.ub(1, 4).ub(0, 4);
    s3.ub(0, 1).ub(0x01, 5).ub(2, 5).sb(1, 2).sb(1, 2);                // move
    s3.ub(1, 1).ub(0, 1).ub(0, 4).sb(1, 2).sb(1, 2).sb(1, 2).sb(1, 2); // curve
    s3.ub(0, 6);

    Asm s1;
    s1.u16(4).rect(0, 10, 0, 10).u8(1).u8(0x43);
    const size_t v1_fill = s1.here();
    s1.u16(2).identity().u8(1).u16(20).raw({0, 0, 0}).ub(0, 4).ub(0, 4).ub(0, 6);

    Asm s4;
    s4.u16(5).rect(0, 10, 0, 10).rect(0, 10, 0, 10).u8(0).u8(0);
    s4.u8(1).u16(20).u8(0x08).u8(0).u8(0x42); // one LINESTYLE2 with a fill
    const size_t line_fill = s4.here();
    s4.u16(1).identity().ub(0, 4).ub(1, 4).ub(0, 6);

    const auto clip =
        import(movie({lossless(1), lossless(2), tag(TagCode::DefineShape3, s3.bytes()),
                      tag(TagCode::DefineShape, s1.bytes()), tag(TagCode::DefineShape4, s4.bytes())}));
    const auto& shape3 = find(clip, TagCode::DefineShape3).body;
    EXPECT_EQ(read16(shape3, 0), 102);
    EXPECT_EQ(read16(shape3, first_fill), 100);
    EXPECT_EQ(read16(shape3, second_fill), 101);
    const auto& shape1 = find(clip, TagCode::DefineShape).body;
    EXPECT_EQ(read16(shape1, 0), 103);
    EXPECT_EQ(read16(shape1, v1_fill), 101);
    const auto& shape4 = find(clip, TagCode::DefineShape4).body;
    EXPECT_EQ(read16(shape4, 0), 104);
    EXPECT_EQ(read16(shape4, line_fill), 100);
    EXPECT_EQ(read16(find(clip, TagCode::DefineBitsLossless2, 1).body, 0), 101);
    EXPECT_EQ(clip.sprite_id, 105);
}

TEST(ClipImport, BitmapFillWithoutBitmapStaysAsItIs) {
    Asm s;
    s.u16(1).rect(0, 10, 0, 10).u8(1).u8(0x41).u16(0xFFFF).identity().u8(0).ub(0, 4).ub(0, 4).ub(0, 6);
    const auto clip = import(movie({tag(TagCode::DefineShape2, s.bytes())}));
    const auto& body = find(clip, TagCode::DefineShape2).body;
    EXPECT_EQ(read16(body, 0), 100);
    EXPECT_EQ(read16(body, body.size() - 6), 0xFFFF);
}

TEST(ClipImport, MorphShapeBitmapFillsAreRemapped) {
    Asm m;
    m.u16(2).rect(0, 10, 0, 10).rect(0, 20, 0, 20).u32(0).u8(2);
    m.u8(0x00).raw({1, 2, 3, 4, 5, 6, 7, 8});
    m.u8(0x41);
    const size_t fill = m.here();
    m.u16(1).identity().identity();
    m.u8(0).ub(0, 4).ub(0, 4).ub(0, 6).ub(0, 4).ub(0, 4).ub(0, 6);
    const auto clip = import(movie({lossless(1), tag(TagCode::DefineMorphShape, m.bytes())}));
    const auto& body = find(clip, TagCode::DefineMorphShape).body;
    EXPECT_EQ(read16(body, 0), 101);
    EXPECT_EQ(read16(body, fill), 100);
}

TEST(ClipImport, ButtonRecordsSoundsAndColourTransformsAreRemapped) {
    Asm b2;
    b2.u16(3).u8(0).u16(0).u8(0x0d);
    const size_t up = b2.here();
    b2.u16(1).u16(1).identity().no_cxform().u8(0x02);
    const size_t over = b2.here();
    b2.u16(2).u16(2).translate(20, 20).no_cxform().u8(0x08 | 0x20);
    const size_t hit = b2.here();
    b2.u16(1).u16(3).identity().no_cxform().u8(1); // blend mode
    b2.u8(0);

    Asm b1;
    b1.u16(4).u8(0x0f);
    const size_t v1_record = b1.here();
    b1.u16(2).u16(1).identity().u8(0).u8(0); // no records left, no actions

    Asm sound;
    sound.u16(5).u8(0x32).u32(4).raw({0xff, 0xfb, 0x90, 0x00});
    Asm bsound;
    bsound.u16(3).u16(0);
    const size_t over_sound = bsound.here();
    bsound.u16(5).u8(0x0f).u32(1).u32(2).u16(3).u8(1).u32(0).u16(0).u16(0);
    bsound.u16(0);
    const size_t release_sound = bsound.here();
    bsound.u16(5).u8(0);
    Asm cx;
    cx.u16(4).ub(0, 1).ub(0, 1).ub(0, 4).flush();

    const auto clip = import(movie(
        {solid_shape3(1), solid_shape3(2), tag(TagCode::DefineButton2, b2.bytes()),
         tag(TagCode::DefineButton, b1.bytes()), tag(TagCode::DefineSound, sound.bytes()),
         tag(TagCode::DefineButtonSound, bsound.bytes()), tag(TagCode::DefineButtonCxform, cx.bytes())}));
    const auto& button2 = find(clip, TagCode::DefineButton2).body;
    EXPECT_EQ(read16(button2, 0), 102);
    EXPECT_EQ(read16(button2, up), 100);
    EXPECT_EQ(read16(button2, over), 101);
    EXPECT_EQ(read16(button2, hit), 100);
    const auto& button1 = find(clip, TagCode::DefineButton).body;
    EXPECT_EQ(read16(button1, 0), 103);
    EXPECT_EQ(read16(button1, v1_record), 101);
    const auto& sounds = find(clip, TagCode::DefineButtonSound).body;
    EXPECT_EQ(read16(sounds, 0), 102);
    EXPECT_EQ(read16(sounds, 2), 0) << "no sound stays no sound";
    EXPECT_EQ(read16(sounds, over_sound), 104);
    EXPECT_EQ(read16(sounds, release_sound), 104);
    EXPECT_EQ(read16(find(clip, TagCode::DefineButtonCxform).body, 0), 103);
}

TEST(ClipImport, TextRecordsEditTextAndFontTagsNameTheRemappedFont) {
    Asm font;
    font.u16(7).u8(0x84).u8(0).u8(1).raw({'F'}).u16(0).u16(4).u16(4);
    Asm text;
    text.u16(8).rect(0, 100, 0, 100).identity().u8(1).u8(8);
    text.u8(0x8f);
    const size_t first_font = text.here();
    text.u16(7)
        .raw({0, 0, 0, 0xff})
        .u16(10)
        .u16(20)
        .u16(240)
        .u8(2)
        .ub(0, 1)
        .sb(10, 8)
        .ub(1, 1)
        .sb(-3, 8)
        .flush();
    text.u8(0x81).u16(5).u8(1).ub(0, 1).sb(4, 8).flush(); // x offset only
    text.u8(0x88);
    const size_t second_font = text.here();
    text.u16(9).u16(100).u8(0);
    text.u8(0);
    Asm font2;
    font2.u16(9).u8(0x04).u8(0).u8(0).u16(0).u16(2).u16(2);
    Asm edit;
    edit.u16(10).rect(0, 10, 0, 10).u8(0x01).u8(0x00).u16(9).u16(240);
    Asm info;
    info.u16(7).u8(1).raw({'F'}).u8(0x04);
    Asm zones;
    zones.u16(9).u8(0);
    Asm csm;
    csm.u16(8).u8(0).u32(0).u32(0).u8(0);
    Asm name;
    name.u16(9).str("F").str("");

    const auto clip = import(
        movie({tag(TagCode::DefineFont2, font.bytes()), tag(TagCode::DefineFont2, font2.bytes()),
               tag(TagCode::DefineText2, text.bytes()), tag(TagCode::DefineEditText, edit.bytes()),
               tag(TagCode::DefineFontInfo2, info.bytes()), tag(TagCode::DefineFontAlignZones, zones.bytes()),
               tag(TagCode::CsmTextSettings, csm.bytes()), tag(TagCode::DefineFontName, name.bytes())}));
    EXPECT_EQ(read16(find(clip, TagCode::DefineFont2, 0).body, 0), 100);
    EXPECT_EQ(read16(find(clip, TagCode::DefineFont2, 1).body, 0), 101);
    const auto& t = find(clip, TagCode::DefineText2).body;
    EXPECT_EQ(read16(t, 0), 102);
    EXPECT_EQ(read16(t, first_font), 100);
    EXPECT_EQ(read16(t, second_font), 101);
    const auto& e = find(clip, TagCode::DefineEditText).body;
    EXPECT_EQ(read16(e, 0), 103);
    EXPECT_EQ(read16(e, e.size() - 4), 101);
    EXPECT_EQ(read16(find(clip, TagCode::DefineFontInfo2).body, 0), 100);
    EXPECT_EQ(read16(find(clip, TagCode::DefineFontAlignZones).body, 0), 101);
    EXPECT_EQ(read16(find(clip, TagCode::CsmTextSettings).body, 0), 102);
    EXPECT_EQ(read16(find(clip, TagCode::DefineFontName).body, 0), 101);
}

TEST(ClipImport, PlaceRemoveAndSoundTagsGoIntoTheSpriteRemapped) {
    Asm place1;
    place1.u16(1).u16(1).translate(20, 40);
    Asm place3;
    place3.u8(0x02).u8(0x08).u16(3).str("Thing").u16(2);
    Asm remove1;
    remove1.u16(1).u16(1);
    Asm remove2;
    remove2.u16(2);
    Asm sound;
    sound.u16(3).u8(0x32).u32(4).raw({0xff, 0xfb, 0x90, 0x00});
    Asm start;
    start.u16(3).u8(0);
    const auto clip = import(movie(
        {solid_shape3(1), solid_shape3(2), tag(TagCode::DefineSound, sound.bytes()),
         tag(TagCode::PlaceObject, place1.bytes()), place2(2, 2), tag(TagCode::PlaceObject3, place3.bytes()),
         tag(TagCode::StartSound, start.bytes()), show_frame(), tag(TagCode::RemoveObject, remove1.bytes()),
         tag(TagCode::RemoveObject2, remove2.bytes()), show_frame()}));
    const auto tags = sprite_tags(clip);
    ASSERT_EQ(tags.size(), 8u);
    EXPECT_EQ(tags[0].code, TagCode::PlaceObject);
    EXPECT_EQ(read16(tags[0].body, 0), 100);
    EXPECT_EQ(read16(tags[1].body, 3), 101);
    EXPECT_EQ(tags[2].code, TagCode::PlaceObject3);
    EXPECT_EQ(read16(tags[2].body, 10), 101);
    EXPECT_EQ(read16(tags[3].body, 0), 102);
    EXPECT_EQ(tags[5].code, TagCode::RemoveObject);
    EXPECT_EQ(read16(tags[5].body, 0), 100);
    EXPECT_EQ(read16(tags[6].body, 0), 2) << "RemoveObject2 names a depth, not a character";
    EXPECT_EQ(read16(clip.definitions.back().body, 2), 2) << "frame count";
}

TEST(ClipImport, NestedSpritesAreRemappedAndKeepOnlyTimelineTags) {
    Asm inner;
    inner.u16(2).u16(2);
    inner.raw(place2(1, 1)).raw(tag(TagCode::SetBackgroundColor, Bytes{1, 2, 3})).raw(show_frame());
    inner.raw(tag(TagCode::RemoveObject2, Bytes{1, 0})).raw(show_frame()).u16(0);
    Asm init;
    init.u16(2).u8(0x07).u8(0);
    const auto clip = import(movie({solid_shape3(1), tag(TagCode::DefineSprite, inner.bytes()),
                                    tag(TagCode::DoInitAction, init.bytes()), place2(1, 2), show_frame()}));
    const auto& nested = find(clip, TagCode::DefineSprite, 0).body;
    EXPECT_EQ(read16(nested, 0), 101);
    EXPECT_EQ(read16(nested, 2), 2);
    swf::ByteReader r(nested);
    r.skip(4);
    const auto tags = swf::read_tags(r);
    ASSERT_EQ(tags.size(), 4u);
    EXPECT_EQ(tags[0].code, TagCode::PlaceObject2);
    EXPECT_EQ(read16(tags[0].body, 3), 100);
    EXPECT_EQ(tags[1].code, TagCode::ShowFrame);
    EXPECT_EQ(read16(find(clip, TagCode::DoInitAction).body, 0), 101);
    EXPECT_EQ(read16(sprite_tags(clip)[0].body, 3), 101);
}

TEST(ClipImport, WholeFileTagsAreDroppedAndUnknownTagsSkipped) {
    const auto clip = import(
        movie({tag(TagCode::FileAttributes, Bytes{0, 0, 0, 0}),
               tag(TagCode::SetBackgroundColor, Bytes{0, 0, 0}), tag(TagCode::Protect, Bytes{}),
               tag(TagCode::EnableDebugger2, Bytes{0, 0, 0}), tag(TagCode::ScriptLimits, Bytes{0, 1, 0, 1}),
               tag(TagCode::Metadata, Bytes{'x', 0}), tag(TagCode::ExportAssets, Bytes{0, 0}),
               tag(TagCode(200), Bytes{9, 9, 9}), tag(TagCode::DoAction, Bytes{0x07, 0x00}), show_frame()},
              8));
    ASSERT_EQ(clip.definitions.size(), 1u);
    EXPECT_EQ(clip.definitions[0].code, TagCode::DefineSprite);
    const auto tags = sprite_tags(clip);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].code, TagCode::DoAction);
    EXPECT_EQ(tags[1].code, TagCode::ShowFrame);
}

TEST(ClipImport, FrameCountFollowsShowFramesAndAnOpenFrameIsClosed) {
    EXPECT_EQ(read16(import(movie({show_frame(), show_frame(), show_frame()})).definitions.back().body, 2),
              3);
    const auto open = import(movie({solid_shape3(1), show_frame(), place2(1, 1)}));
    EXPECT_EQ(read16(open.definitions.back().body, 2), 2);
    EXPECT_EQ(sprite_tags(open).back().code, TagCode::ShowFrame);
    EXPECT_EQ(read16(import(movie({})).definitions.back().body, 2), 1) << "an empty file is one empty frame";
}

TEST(ClipImport, DefineBitsIsJoinedWithTheJpegTables) {
    const Bytes tables = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x02, 0xFF, 0xD9};
    const Bytes image = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0xFF, 0xD9};
    Asm bits;
    bits.u16(4).raw(image);
    const auto clip =
        import(movie({tag(TagCode::JpegTables, tables), tag(TagCode::DefineBits, bits.bytes())}));
    const auto& jpeg = find(clip, TagCode::DefineBitsJpeg2).body;
    EXPECT_EQ(jpeg, (Bytes{100, 0, 0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x02, 0xFF, 0xC0, 0x00, 0x02, 0xFF, 0xD9}));
    for (const auto& t : clip.definitions) {
        EXPECT_NE(t.code, TagCode::JpegTables);
    }
}

TEST(ClipImport, CompressedFilesOfEveryVersionUpToTenImport) {
    for (uint8_t version : {1, 6, 10}) {
        const auto clip = import(movie({solid_shape3(1), place2(1, 1), show_frame()}, version, true));
        EXPECT_EQ(clip.sprite_id, 101) << int(version);
        EXPECT_EQ(read16(sprite_tags(clip)[0].body, 3), 100);
    }
}

TEST(ClipImport, MalformedFilesAreRefusedWithAReason) {
    const auto refused = [](const Bytes& file, const std::string& reason) {
        try {
            import(file);
            ADD_FAILURE() << "accepted, expected: " << reason;
        } catch (const swf::Error& e) {
            EXPECT_THAT(e.what(), testing::HasSubstr(reason));
        }
    };
    refused(Bytes{'F', 'W', 'S'}, "not an SWF file");
    refused(Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not an SWF file");
    refused(movie({}, 11), "version 11 is not supported");
    Bytes zws = movie({});
    zws[0] = 'Z';
    refused(zws, "LZMA");

    // A tag whose length runs past the end of the file.
    Bytes bad_length = movie({solid_shape3(1)});
    bad_length.resize(bad_length.size() - 10);
    refused(bad_length, "DefineShape3 (32) at offset 21: length");

    // A truncated zlib stream.
    Bytes truncated = movie({solid_shape3(1), show_frame()}, 6, true);
    truncated.resize(truncated.size() - 8);
    refused(truncated, "truncated");
    Bytes corrupt = movie({solid_shape3(1), show_frame()}, 6, true);
    corrupt[9] ^= 0xff;
    refused(corrupt, "compressed data");

    // Ids out of range: used before any definition, defined twice, id 0.
    refused(movie({place2(1, 7)}), "uses character 7, which is not defined");
    refused(movie({solid_shape3(1), solid_shape3(1)}), "defines character 1 a second time");
    refused(movie({solid_shape3(0)}), "character id 0");
    Asm font_info;
    font_info.u16(42).u8(0).u8(0);
    refused(movie({tag(TagCode::DefineFontInfo, font_info.bytes())}), "DefineFontInfo (13)");

    // A tag body cut short inside its records, and an unknown fill style.
    Bytes shape = solid_shape3(1);
    Bytes short_shape(shape.begin() + 2, shape.begin() + 12);
    refused(movie({tag(TagCode::DefineShape3, short_shape)}), "unexpected end of data");
    Asm odd;
    odd.u16(1).rect(0, 1, 0, 1).u8(1).u8(0x77);
    refused(movie({tag(TagCode::DefineShape3, odd.bytes())}), "unknown fill style type 119");

    // A nested sprite with a tag running past its body.
    Asm inner;
    inner.u16(2).u16(1).u16(uint16_t(TagCode::PlaceObject2) << 6 | 20).u8(0);
    refused(movie({tag(TagCode::DefineSprite, inner.bytes())}),
            "DefineSprite (39) at offset 21: PlaceObject2");
}

TEST(ClipImport, HostRunningOutOfIdsStopsTheImport) {
    int given = 0;
    const auto next_id = [&given]() -> swf::CharacterId {
        if (given == 2) {
            throw swf::Error("no more character ids");
        }
        return swf::CharacterId(500 + given++);
    };
    EXPECT_THROW(swf::import_clip(movie({solid_shape3(1), solid_shape3(2), solid_shape3(3)}), next_id),
                 swf::Error);
}

TEST(ClipImport, EveryPrefixAndByteFlipOfAMovieIsReadOrRefusedCleanly) {
    const Bytes file =
        movie({lossless(1), solid_shape3(2), place2(1, 2), tag(TagCode::DoAction, Bytes{0x07, 0}),
               show_frame(), tag(TagCode::RemoveObject2, Bytes{1, 0}), show_frame()});
    for (bool compressed : {false, true}) {
        const Bytes f = compressed ? movie({solid_shape3(2), place2(1, 2), show_frame()}, 6, true) : file;
        size_t accepted = 0;
        for (size_t n = 0; n <= f.size(); ++n) {
            try {
                import(Bytes(f.begin(), f.begin() + long(n)));
                ++accepted;
            } catch (const swf::Error&) {
            }
        }
        EXPECT_GE(accepted, 1u);
        for (size_t i = 0; i < f.size(); ++i) {
            for (uint8_t mask : {0x01, 0x80, 0xff}) {
                Bytes g = f;
                g[i] ^= mask;
                try {
                    import(g);
                } catch (const swf::Error&) {
                }
            }
        }
    }
}

} // namespace
