// The SWF reader's building blocks, the Flash test load, tag names and the swfdump listing.
#include "swf/byte_reader.h"
#include "swf/clip_import.h"
#include "swf/error.h"
#include "swf/flash_test_load.h"
#include "swf/swf_dump.h"
#include "swf/swf_file.h"
#include "swf_assembler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using swf::TagCode;
using testing::HasSubstr;
using namespace swftest;

TEST(ByteReader, ReadsLittleEndianAndRefusesToReadPastTheEnd) {
    const Bytes data = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 'h', 'i', 0, 0xfe};
    swf::ByteReader r(data, 100);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_EQ(r.string(), "hi");
    EXPECT_EQ(r.file_offset(), 109u);
    try {
        r.u16();
        FAIL() << "read past the end";
    } catch (const swf::Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("offset 109"));
    }
    EXPECT_EQ(r.u8(), 0xfe) << "a refused read consumes nothing";
    swf::ByteReader unterminated(std::span<const uint8_t>(data).first(8));
    unterminated.skip(6);
    EXPECT_THROW(unterminated.string(), swf::Error);
}

TEST(BitReader, ReadsSignedAndUnsignedFieldsAcrossBytes) {
    Asm a;
    a.ub(5, 3).sb(-3, 7).sb(1000, 12).ub(0xffffffff, 32).sb(-1, 1);
    const Bytes data = a.bytes();
    swf::ByteReader r(data);
    swf::BitReader bits(r);
    EXPECT_EQ(bits.ub(3), 5u);
    EXPECT_EQ(bits.sb(7), -3);
    EXPECT_EQ(bits.sb(12), 1000);
    EXPECT_EQ(bits.ub(32), 0xffffffffu);
    EXPECT_EQ(bits.sb(1), -1);
    EXPECT_EQ(bits.ub(0), 0u);
    bits.align();
    EXPECT_TRUE(r.at_end());
    EXPECT_THROW(bits.ub(1), swf::Error);
    EXPECT_THROW(bits.ub(33), swf::Error);
}

TEST(SwfFile, ReadsHeadersAndTagsOfPlainAndCompressedFiles) {
    const Bytes long_body(100, 0xab);
    for (bool compressed : {false, true}) {
        const Bytes file = movie({tag(TagCode::SetBackgroundColor, Bytes{1, 2, 3}),
                                  tag(TagCode::DoAction, long_body), tag(TagCode::ShowFrame, Bytes{}, true)},
                                 7, compressed, 1);
        const swf::SwfFile swf = swf::read_swf(file);
        EXPECT_EQ(swf.header.compressed, compressed);
        EXPECT_EQ(swf.header.version, 7);
        EXPECT_EQ(swf.header.frame_size.x_max, 11000);
        EXPECT_EQ(swf.header.frame_size.y_max, 8000);
        EXPECT_EQ(swf.header.frame_rate, 12 << 8);
        EXPECT_EQ(swf.header.frame_count, 1);
        EXPECT_EQ(swf.header.file_length, swf.data.size());
        ASSERT_EQ(swf.tags.size(), 3u);
        EXPECT_EQ(swf.tags[0].offset, 21u);
        EXPECT_EQ(swf.tags[0].body_offset, 23u);
        EXPECT_EQ(swf.tags[1].body.size(), 100u);
        EXPECT_EQ(swf.tags[1].body_offset, 26u + 6u) << "long header";
        EXPECT_EQ(swf.tags[2].code, TagCode::ShowFrame);
    }
}

TEST(SwfFile, StopsAtTheEndTagAndAcceptsAFileWithoutOne) {
    Bytes file = movie({tag(TagCode::ShowFrame, Bytes{})});
    const Bytes end_and_junk = {0, 0, 0xde, 0xad};
    file.resize(file.size() - 2);
    EXPECT_EQ(swf::read_swf(file).tags.size(), 1u);
    file.insert(file.end(), end_and_junk.begin(), end_and_junk.end());
    EXPECT_EQ(swf::read_swf(file).tags.size(), 1u);
}

TEST(SwfFile, CompressedHeaderLengthBoundsTheInflatedData) {
    // A header claiming less than the stream holds: the extra bytes are not inflated, and the tags end
    // where the claimed length ends.
    Bytes file = movie({tag(TagCode::ShowFrame, Bytes{}), tag(TagCode::ShowFrame, Bytes{})}, 6, true);
    const uint32_t shorter = 8 + 13 + 2;
    file[4] = uint8_t(shorter);
    file[5] = file[6] = file[7] = 0;
    const swf::SwfFile swf = swf::read_swf(file);
    EXPECT_EQ(swf.data.size(), shorter);
    EXPECT_EQ(swf.tags.size(), 1u);
    file[4] = 4; // shorter than the header itself
    EXPECT_THROW(swf::read_swf(file), swf::Error);
}

TEST(TagName, NamesTagsAsTheFormatSpellsThem) {
    EXPECT_EQ(swf::tag_name(TagCode::DefineShape3), "DefineShape3");
    EXPECT_EQ(swf::tag_name(TagCode::JpegTables), "JPEGTables");
    EXPECT_EQ(swf::tag_name(TagCode::DefineBitsJpeg2), "DefineBitsJPEG2");
    EXPECT_EQ(swf::tag_name(TagCode::DoAbc), "DoABC");
    EXPECT_EQ(swf::tag_name(TagCode::End), "End");
    EXPECT_EQ(swf::tag_name(TagCode(3)), "");
    EXPECT_EQ(swf::tag_name(TagCode(1000)), "");
}

TEST(FlashTestLoad, PassesReadableClipsAndReportsBrokenOnes) {
    Asm shape;
    shape.u16(1).rect(0, 10, 0, 10).u8(0).u8(0).ub(0, 4).ub(0, 4).ub(0, 6);
    Asm place;
    place.u8(0x02).u16(1).u16(1);
    const Bytes good = movie({tag(TagCode::DefineShape3, shape.bytes()),
                              tag(TagCode::PlaceObject2, place.bytes()), tag(TagCode::ShowFrame, Bytes{})},
                             6, true);
    const auto good_path = test_movie_path("flash_test_load_good.swf");
    write_file(good_path, good);
    EXPECT_TRUE(swf::flash_test_load(good_path).ok);

    const auto dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "flash-test-load";
    std::filesystem::create_directories(dir);
    Bytes broken = good;
    broken.resize(broken.size() / 2);
    write_file(dir / "broken.swf", broken);
    const auto result = swf::flash_test_load(dir / "broken.swf");
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.error, HasSubstr("compressed data"));

    // Only names ending in ".swf" exactly are read; a file that does not open is not an error.
    write_file(dir / "broken.SWF", broken);
    EXPECT_TRUE(swf::flash_test_load(dir / "broken.SWF").ok);
    EXPECT_TRUE(swf::flash_test_load(dir / "missing.swf").ok);
    EXPECT_TRUE(swf::flash_test_load(".swf").ok);
}

TEST(SwfDump, ListsHeaderTagsIdsDepthsMatricesGlyphsAndActions) {
    Asm font;
    font.u16(1).u8(0x84).u8(0).u8(4).raw({'S', 'a', 'n', 's'}).u16(0).u16(0).u16(0);
    Asm text;
    text.u16(2).rect(0, 100, 0, 100).identity().u8(1).u8(8);
    text.u8(0x8d).u16(1).raw({0x11, 0x22, 0x33, 0xff}).u16(40).u16(480).u8(3);
    text.ub(0, 1).sb(10, 8).ub(0, 1).sb(10, 8).ub(0, 1).sb(10, 8).flush().u8(0);
    Asm place;
    place.u8(0x06).u16(1).u16(2).translate(200, 400);
    Asm button;
    button.u16(3).u8(0).u16(0).u8(0x0f).u16(2).u16(1).identity().no_cxform().u8(0);
    const Bytes file =
        movie({tag(TagCode::SetBackgroundColor, Bytes{0xff, 0x80, 0}),
               tag(TagCode::DefineFont2, font.bytes()), tag(TagCode::DefineText2, text.bytes()),
               tag(TagCode::PlaceObject2, place.bytes()), tag(TagCode::DefineButton2, button.bytes()),
               tag(TagCode::DoAction, Bytes{0x07, 0x00}), tag(TagCode::ShowFrame, Bytes{})});
    const std::string listing = swf::dump_swf(file);
    EXPECT_THAT(listing, HasSubstr("FWS version 6"));
    EXPECT_THAT(listing, HasSubstr("(550 x 400 px), rate 12.00, 1 frames"));
    EXPECT_THAT(listing, HasSubstr("SetBackgroundColor (9) 3 bytes: #FF8000"));
    EXPECT_THAT(listing,
                HasSubstr("DefineFont2 (48) 15 bytes: id 1 \"Sans\" flags 0x84 glyphs 0 with layout"));
    EXPECT_THAT(listing, HasSubstr("record font 1 colour #112233FF x 40 height 480 glyphs 3"));
    EXPECT_THAT(listing, HasSubstr("PlaceObject2 (26) 10 bytes: depth 1 id 2 matrix [1 0 0 1 200 400]"));
    EXPECT_THAT(listing, HasSubstr("states 15 id 2 depth 1"));
    EXPECT_THAT(listing, HasSubstr("DoAction (12) 2 bytes: 07 00"));

    Bytes bad = file;
    bad[0] = 'X';
    EXPECT_THROW(swf::dump_swf(bad), swf::Error);
}

TEST(SwfDump, DeeplyNestedSpritesAreListedToALimit) {
    Bytes nested;
    for (int level = 0; level < 400; ++level) {
        Asm body;
        body.u16(uint16_t(level + 1)).u16(1).raw(nested).u16(0);
        nested = tag(TagCode::DefineSprite, body.bytes());
    }
    const Bytes file = movie({nested});
    EXPECT_THAT(swf::dump_swf(file), HasSubstr("nested too deep"));
    // The import keeps only the outer sprite: sprites may not be defined inside sprites.
    swf::CharacterId next = 1;
    const auto clip = swf::import_clip(file, [&next] { return next++; });
    EXPECT_EQ(clip.definitions.size(), 2u);
}

} // namespace
