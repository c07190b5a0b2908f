// The tag writers against bytes worked out by hand from the format, plus the bit-level helpers.
#include "swf/bit_writer.h"
#include "swf/error.h"
#include "swf/writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct TagCase {
    std::string name;
    swf::Tag tag;
    Bytes bytes; // header and body
};

swf::DefineShape3 small_shape() {
    swf::DefineShape3 shape;
    shape.id = 1;
    shape.bounds = {swf::Twips{0}, swf::Twips{20}, swf::Twips{0}, swf::Twips{20}};
    shape.fill_styles.push_back(swf::SolidFill{{255, 0, 0, 255}});
    shape.records.push_back(swf::StyleChange{std::nullopt, std::nullopt, 1});
    shape.records.push_back(swf::StraightEdge{swf::Twips{20}, swf::Twips{0}});
    shape.records.push_back(swf::StraightEdge{swf::Twips{0}, swf::Twips{20}});
    return shape;
}

swf::DefineShape3 bitmap_shape() {
    swf::DefineShape3 shape;
    shape.id = 2;
    shape.fill_styles.push_back(
        swf::BitmapFill{swf::BitmapFillKind::Tiled, 1, swf::Matrix::scale(20 << 16, 20 << 16)});
    return shape;
}

swf::DefineButton2 small_button() {
    swf::DefineButton2 button;
    button.id = 2;
    button.records.push_back(swf::ButtonRecord{15, 1, 1, {}, {}});
    button.actions.push_back(swf::ButtonCondAction{0x08, {0x07, 0x00}});
    return button;
}

swf::DefineText2 small_text() {
    swf::DefineText2 text;
    text.id = 3;
    swf::TextRecord record;
    record.font_id = 1;
    record.color = swf::Rgba{0x10, 0x20, 0x30, 0xFF};
    record.x_offset = swf::Twips{0};
    record.y_offset = swf::Twips{0};
    record.height = swf::Twips{240};
    record.glyphs = {{0, 100}, {1, 120}};
    text.records.push_back(record);
    return text;
}

swf::DefineFont2 small_font() {
    swf::DefineFont2 font;
    font.id = 4;
    font.name = "A";
    font.glyphs.push_back(swf::Glyph{{0x10, 0x00}, 'A', 500, {}});
    font.layout = swf::FontLayout{900, 200, 0, {}};
    return font;
}

swf::PlaceObject2 placement() {
    swf::PlaceObject2 place;
    place.depth = 1;
    place.character_id = 3;
    place.matrix = swf::Matrix::translate(swf::Twips{20}, swf::Twips{40});
    return place;
}

swf::PlaceObject2 move_with_colour() {
    swf::PlaceObject2 move;
    move.depth = 2;
    move.is_move = true;
    move.matrix = swf::Matrix::translate(swf::Twips{-20}, swf::Twips{0});
    move.color_transform = swf::ColorTransform{256, 256, 256, 128};
    return move;
}

std::vector<TagCase> tag_cases() {
    return {
        {"ShowFrame", swf::ShowFrame{}, {0x40, 0x00}},
        {"End", swf::End{}, {0x00, 0x00}},
        {"SetBackgroundColor", swf::SetBackgroundColor{{1, 2, 3, 255}}, {0x43, 0x02, 0x01, 0x02, 0x03}},
        {"RemoveObject2", swf::RemoveObject2{5}, {0x02, 0x07, 0x05, 0x00}},
        {"DoAction", swf::DoAction{{0x07, 0x00}}, {0x02, 0x03, 0x07, 0x00}},
        {"PlaceObject2", placement(), {0x88, 0x06, 0x06, 0x01, 0x00, 0x03, 0x00, 0x0E, 0x51, 0x40}},
        // move flag, matrix with a negative translation, alpha multiplied by 0.5 (mult terms, 10 bits)
        {"PlaceObject2 move",
         move_with_colour(),
         {0x8C, 0x06, 0x0D, 0x02, 0x00, 0x0D, 0x60, 0x00, 0x69, 0x00, 0x40, 0x10, 0x02, 0x00}},
        {"DefineShape3", small_shape(), {0x14, 0x08, 0x01, 0x00, 0x30, 0x0A, 0x00, 0xA0, 0x01, 0x00, 0xFF,
                                         0x00, 0x00, 0xFF, 0x00, 0x10, 0x13, 0xA0, 0xA6, 0x8A, 0x80, 0x00}},
        // tiled bitmap fill of bitmap 1 with the matrix scale 20 (16.16 fixed point, 22 bits)
        {"DefineShape3 bitmap fill",
         bitmap_shape(),
         {0x11, 0x08, 0x02, 0x00, 0x00, 0x01, 0x40, 0x01, 0x00, 0xD9, 0x40, 0x00, 0x05, 0x00, 0x00, 0x00,
          0x00, 0x10, 0x00}},
        {"DefineButton2", small_button(), {0x93, 0x08, 0x02, 0x00, 0x00, 0x0A, 0x00, 0x0F, 0x01, 0x00, 0x01,
                                           0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x07, 0x00}},
        {"DefineText2", small_text(), {0x58, 0x08, 0x03, 0x00, 0x00, 0x00, 0x01, 0x08, 0x8F,
                                       0x01, 0x00, 0x10, 0x20, 0x30, 0xFF, 0x00, 0x00, 0x00,
                                       0x00, 0xF0, 0x00, 0x02, 0x32, 0x5E, 0x00, 0x00}},
        {"DefineFont2", small_font(), {0x1B, 0x0C, 0x04, 0x00, 0x84, 0x00, 0x01, 0x41, 0x01, 0x00,
                                       0x04, 0x00, 0x06, 0x00, 0x10, 0x00, 0x41, 0x00, 0x84, 0x03,
                                       0xC8, 0x00, 0x00, 0x00, 0xF4, 0x01, 0x00, 0x00, 0x00}},
        {"DefineBitsJPEG2",
         swf::DefineBitsJpeg2{7, {0xFF, 0xD8, 0xFF, 0xD9}},
         {0x46, 0x05, 0x07, 0x00, 0xFF, 0xD8, 0xFF, 0xD9}},
        // always the long header, even for a short body
        {"DefineBitsLossless2",
         swf::DefineBitsLossless{9, 2, 5, 1, 1, 0, {0xAA}},
         {0x3F, 0x09, 0x08, 0x00, 0x00, 0x00, 0x09, 0x00, 0x05, 0x01, 0x00, 0x01, 0x00, 0xAA}},
        {"DefineBitsLossless palette",
         swf::DefineBitsLossless{9, 1, 3, 2, 1, 1, {0xAA}},
         {0x3F, 0x05, 0x09, 0x00, 0x00, 0x00, 0x09, 0x00, 0x03, 0x02, 0x00, 0x01, 0x00, 0x01, 0xAA}},
        {"raw StartSound",
         swf::RawTag{swf::TagCode::StartSound, {0x01, 0x00, 0x00}},
         {0xC3, 0x03, 0x01, 0x00, 0x00}},
    };
}

TEST(writer_test, tags_match_hand_worked_bytes) {
    for (const TagCase& c : tag_cases()) {
        Bytes out;
        swf::write_tag(c.tag, out);
        EXPECT_EQ(out, c.bytes) << c.name;
    }
}

TEST(writer_test, header_switches_to_long_form_above_62_bytes) {
    Bytes out;
    swf::write_tag(swf::DoAction{Bytes(62, 0)}, out);
    EXPECT_EQ(out.size(), 2u + 62u);
    EXPECT_EQ(out[0], 0x3E); // short: length 62 in the low 6 bits
    out.clear();
    swf::write_tag(swf::DoAction{Bytes(63, 0)}, out);
    ASSERT_EQ(out.size(), 6u + 63u);
    EXPECT_EQ((Bytes{out.begin(), out.begin() + 6}), (Bytes{0x3F, 0x03, 0x3F, 0x00, 0x00, 0x00}));
}

TEST(writer_test, long_edges_are_split_into_pieces_that_fit) {
    swf::DefineShape3 shape;
    shape.fill_styles.push_back(swf::SolidFill{});
    shape.records.push_back(swf::StraightEdge{swf::Twips{200000}, swf::Twips{0}});
    const Bytes body = swf::write_tag_body(shape);
    // Each piece fits the 17-bit limit, so more than one edge is written: the body is longer than a
    // single 4+17-bit edge would make it.
    swf::DefineShape3 short_shape = shape;
    short_shape.records[0] = swf::StraightEdge{swf::Twips{60000}, swf::Twips{0}};
    EXPECT_GT(body.size(), swf::write_tag_body(short_shape).size());
}

TEST(writer_test, button_actions_chain_by_size_and_the_last_has_zero) {
    swf::DefineButton2 button = small_button();
    button.actions.insert(button.actions.begin(), swf::ButtonCondAction{0x04, {0x06, 0x00}});
    const Bytes body = swf::write_tag_body(button);
    const size_t first = 3 + 0x0A; // action offset counts from its own field at byte 3
    ASSERT_EQ(body[3], 0x0A);
    EXPECT_EQ((Bytes{body.begin() + first, body.end()}),
              (Bytes{0x06, 0x00, 0x04, 0x00, 0x06, 0x00, 0x00, 0x00, 0x08, 0x00, 0x07, 0x00}));
}

TEST(writer_test, button_without_actions_has_offset_zero) {
    swf::DefineButton2 button = small_button();
    button.actions.clear();
    const Bytes body = swf::write_tag_body(button);
    EXPECT_EQ(body[3], 0);
    EXPECT_EQ(body[4], 0);
}

TEST(writer_test, font_offsets_widen_when_shapes_pass_64k) {
    swf::DefineFont2 font = small_font();
    font.glyphs[0].shape.assign(70000, 0);
    const Bytes body = swf::write_tag_body(font);
    EXPECT_EQ(body[2] & 0x08, 0x08);
    // offsets now 4 bytes: first glyph right after the 2-entry table
    EXPECT_EQ((Bytes{body.begin() + 8, body.begin() + 12}), (Bytes{0x08, 0x00, 0x00, 0x00}));
}

TEST(writer_test, bit_counts) {
    EXPECT_EQ(swf::detail::count_ubits(0), 0);
    EXPECT_EQ(swf::detail::count_ubits(1), 1);
    EXPECT_EQ(swf::detail::count_ubits(255), 8);
    EXPECT_EQ(swf::detail::count_sbits(0), 0);
    EXPECT_EQ(swf::detail::count_sbits(1), 2);
    EXPECT_EQ(swf::detail::count_sbits(-1), 1);
    EXPECT_EQ(swf::detail::count_sbits(-2), 2);
    EXPECT_EQ(swf::detail::count_sbits(-3), 3);
    EXPECT_EQ(swf::detail::count_sbits(127), 8);
    EXPECT_EQ(swf::detail::count_sbits(-128), 8);
}

TEST(writer_test, frame_rate_is_floor_of_rate_times_256) {
    EXPECT_EQ(swf::frame_rate_fixed(0), 0);
    EXPECT_EQ(swf::frame_rate_fixed(2), 512);
    EXPECT_EQ(swf::frame_rate_fixed(0.1), 25);
    EXPECT_EQ(swf::frame_rate_fixed(1.0 / 3.0), 85);
    EXPECT_EQ(swf::frame_rate_fixed(33), 8448);
    EXPECT_EQ(swf::frame_rate_fixed(-1), 0);
    EXPECT_EQ(swf::frame_rate_fixed(1000), 0xFFFF);
}

TEST(writer_test, file_header_and_compression) {
    swf::MovieHeader header;
    header.stage = {swf::Twips{0}, swf::Twips{20}, swf::Twips{0}, swf::Twips{20}};
    header.frame_rate = 512;
    header.frame_count = 1;
    const Bytes tags{0x40, 0x00, 0x00, 0x00};
    const Bytes plain = swf::write_swf_file(header, tags, -1);
    // 8-byte header, 4-byte RECT, rate, count, then the tags: 20 bytes
    const Bytes expected{'F',  'W',  'S',  6,    20,   0,    0,    0,    0x30, 0x0A,
                         0x00, 0xA0, 0x00, 0x02, 0x01, 0x00, 0x40, 0x00, 0x00, 0x00};
    EXPECT_EQ(plain, expected);

    const Bytes packed = swf::write_swf_file(header, tags, 9);
    EXPECT_EQ((Bytes{packed.begin(), packed.begin() + 8}), (Bytes{'C', 'W', 'S', 6, 20, 0, 0, 0}));
    EXPECT_THROW(swf::write_swf_file(header, tags, 10), swf::Error);
}

} // namespace
