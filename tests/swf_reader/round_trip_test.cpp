// A movie imported as a clip into a host movie: the host file reads back, every character it uses is
// defined before the use and only once, and the clip keeps its frames.
#include "round_trip_check.h"
#include "swf/character_ids.h"
#include "swf/clip_import.h"
#include "swf/error.h"
#include "swf/swf_file.h"
#include "swf/tag_writer.h"
#include "swf_assembler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using swf::TagCode;
using namespace swftest;

// A small but varied movie: bitmaps, a shape filled with one, a font, a text, a button, a nested
// sprite, frames that place and remove them, and file-level tags.
Bytes varied_movie(uint8_t version, bool compressed) {
    std::vector<Bytes> tags;
    tags.push_back(tag(TagCode::FileAttributes, Bytes{0, 0, 0, 0}));
    tags.push_back(tag(TagCode::SetBackgroundColor, Bytes{0x20, 0x40, 0x80}));
    const Bytes pixels = compress(Bytes(4 * 4 * 4, 0xff));
    Asm bitmap;
    bitmap.u16(10).u8(5).u16(4).u16(4).raw(pixels);
    tags.push_back(tag(TagCode::DefineBitsLossless2, bitmap.bytes(), true));
    Asm shape;
    shape.u16(11)
        .rect(0, 80, 0, 80)
        .u8(1)
        .u8(0x41)
        .u16(10)
        .ub(1, 1)
        .ub(22, 5)
        .sb(20 << 16, 22)
        .sb(20 << 16, 22);
    shape.ub(0, 1).ub(0, 5).flush().u8(0).ub(1, 4).ub(0, 4);
    shape.ub(0, 1).ub(0x03, 5).ub(1, 5).sb(0, 1).sb(0, 1).ub(1, 1);
    for (int dx : {80, -80}) {
        shape.ub(1, 1).ub(1, 1).ub(7, 4).ub(0, 1).ub(0, 1).sb(dx, 9);
        shape.ub(1, 1).ub(1, 1).ub(7, 4).ub(0, 1).ub(1, 1).sb(dx, 9);
    }
    shape.ub(0, 6);
    tags.push_back(tag(TagCode::DefineShape3, shape.bytes()));
    Asm font;
    font.u16(12).u8(0x04).u8(0).u8(1).raw({'F'}).u16(1).u16(4).u16(6).ub(1, 4).ub(0, 4).ub(0, 6).flush().u16(
        'A');
    tags.push_back(tag(TagCode::DefineFont2, font.bytes()));
    Asm text;
    text.u16(13).rect(0, 400, 0, 400).identity().u8(1).u8(8);
    text.u8(0x8d).u16(12).raw({0, 0, 0, 0xff}).u16(0).u16(400).u8(1).ub(0, 1).sb(100, 8).flush().u8(0);
    tags.push_back(tag(TagCode::DefineText2, text.bytes()));
    Asm button;
    button.u16(14).u8(0).u16(0).u8(0x0f).u16(11).u16(1).identity().no_cxform().u8(0);
    tags.push_back(tag(TagCode::DefineButton2, button.bytes()));
    Asm sprite;
    sprite.u16(15).u16(2);
    Asm inner_place;
    inner_place.u8(0x06).u16(1).u16(11).translate(100, 100);
    sprite.raw(tag(TagCode::PlaceObject2, inner_place.bytes())).raw(tag(TagCode::ShowFrame, Bytes{}));
    sprite.raw(tag(TagCode::RemoveObject2, Bytes{1, 0})).raw(tag(TagCode::ShowFrame, Bytes{})).u16(0);
    tags.push_back(tag(TagCode::DefineSprite, sprite.bytes()));
    for (auto [depth, id] : {std::pair{1, 11}, {2, 13}, {3, 14}, {4, 15}}) {
        Asm place;
        place.u8(0x06).u16(uint16_t(depth)).u16(uint16_t(id)).translate(depth * 200, depth * 100);
        tags.push_back(tag(TagCode::PlaceObject2, place.bytes()));
    }
    tags.push_back(tag(TagCode::ShowFrame, Bytes{}));
    tags.push_back(tag(TagCode::RemoveObject2, Bytes{2, 0}));
    tags.push_back(tag(TagCode::ShowFrame, Bytes{}));
    tags.push_back(tag(TagCode::DoAction, Bytes{0x07, 0x00}));
    tags.push_back(tag(TagCode::ShowFrame, Bytes{}));
    return movie(tags, version, compressed, 3);
}

// A host movie with a shape of its own at id 1, the clip's definitions after it and the clip placed.
Bytes host_with_clip(const Bytes& clip_file, swf::CharacterId& sprite_id) {
    swf::CharacterId next = 1;
    Asm own;
    own.u16(next++).rect(0, 100, 0, 100).u8(1).u8(0).raw({0, 0x80, 0, 0xff}).u8(0).ub(0, 4).ub(0, 4).ub(0, 6);
    const auto clip = swf::import_clip(clip_file, [&next] { return next++; });
    sprite_id = clip.sprite_id;
    std::vector<Bytes> tags = {tag(TagCode::DefineShape3, own.bytes())};
    for (const swf::RawTag& t : clip.definitions) {
        tags.push_back(tag(t.code, t.body, t.code == TagCode::DefineBitsLossless2));
    }
    Asm place_own;
    place_own.u8(0x02).u16(1).u16(1);
    Asm place_clip;
    place_clip.u8(0x02).u16(2).u16(clip.sprite_id);
    tags.push_back(tag(TagCode::PlaceObject2, place_own.bytes()));
    tags.push_back(tag(TagCode::PlaceObject2, place_clip.bytes()));
    tags.push_back(tag(TagCode::ShowFrame, Bytes{}));
    return movie(tags, 6, false, 1);
}

TEST(RoundTrip, ImportedMovieReadsBackWithEveryIdDefinedOnceBeforeUse) {
    int n = 0;
    for (uint8_t version : {6, 10}) {
        for (bool compressed : {false, true}) {
            swf::CharacterId sprite_id = 0;
            const Bytes host = host_with_clip(varied_movie(version, compressed), sprite_id);
            write_file(test_movie_path("clip_round_trip_" + std::to_string(n++) + ".swf"), host);

            const swf::SwfFile file = swf::read_swf(host);
            const IdCheck check = check_ids(file);
            EXPECT_TRUE(check.problems.empty()) << check.problems;
            // Host shape, bitmap, shape, font, text, button, nested sprite and the clip itself.
            EXPECT_EQ(check.defined.size(), 8u);
            EXPECT_EQ(sprite_id, 8);
            EXPECT_TRUE(check.defined.contains(sprite_id));
            EXPECT_EQ(check.sprite_frames.at(sprite_id), 3);
            EXPECT_EQ(check.sprite_frames.at(7), 2) << "the nested sprite keeps its frames";
        }
    }
}

} // namespace

namespace {

// The fuzzer's seeds are meant to be good movies of every kind the import rewrites: each one imports, and
// a host holding it has consistent ids.
TEST(RoundTrip, EverySeedOfTheFuzzCorpusImportsCleanly) {
    const auto dir = std::filesystem::path(CW_TEST_SOURCE_DIR) / "fuzz" / "swf_reader" / "corpus";
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        swf::CharacterId sprite_id = 0;
        Bytes host;
        ASSERT_NO_THROW(host = host_with_clip(file, sprite_id)) << entry.path();
        const IdCheck check = check_ids(swf::read_swf(host));
        EXPECT_TRUE(check.problems.empty()) << entry.path() << ": " << check.problems;
        EXPECT_TRUE(check.defined.contains(sprite_id));
        ++seeds;
    }
    EXPECT_GE(seeds, 8);
}

} // namespace
