// A movie written by the movie library, compressed, imported as a clip into another library movie: the
// host reads back with the reader, with consistent ids and the clip's frames kept.
#include "round_trip_check.h"
#include "swf/clip_import.h"
#include "swf/dbl.h"
#include "swf/movie.h"
#include "swf/swf_dump.h"
#include "swf/swf_file.h"
#include "swf_assembler.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using swf::TagCode;

std::shared_ptr<swf::Shape> rectangle(double w, double h, swf::Rgba c) {
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(shape->add_solid_fill(c));
    shape->move_pen_to(0, 0);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return shape;
}

// Two frames: a rectangle, a bitmap-filled square, a text in Sans with letters beyond ASCII and a
// button in the first; the text removed and a stop action in the second.
std::vector<uint8_t> library_movie() {
    swf::Movie movie;
    movie.set_dimension(200, 100);
    movie.set_rate(12);
    movie.add(rectangle(200, 100, {0, 0, 255, 255}));

    const std::vector<uint8_t> pixels(4 * 4 * 4, 0x80);
    auto bitmap = std::make_shared<swf::Bitmap>(swf::lossless_from_rgba(4, 4, pixels, true), 4, 4);
    auto square = std::make_shared<swf::Shape>();
    square->set_right_fill(square->add_bitmap_fill(bitmap, swf::BitmapFillKind::Tiled));
    square->move_pen_to(0, 0);
    square->draw_line(16, 0);
    square->draw_line(0, 16);
    square->draw_line(-16, 0);
    square->draw_line(0, -16);
    square->end();
    movie.add(square).move_to(150, 10);

    auto font = swf::Font::from_fdb_file(std::filesystem::path(CW_TEST_DATA_DIR) / "Font" / "Sans.fdb");
    auto text = std::make_shared<swf::Text>();
    text->set_font(font);
    text->set_height(20);
    text->set_color({255, 255, 255, 255});
    text->add_string("Héllo Ω Ж");
    swf::DisplayItem text_item = movie.add(text);
    text_item.move_to(10, 40);

    auto button = std::make_shared<swf::Button>();
    button->add_shape(rectangle(60, 30, {0x27, 0x81, 0xc4, 255}), swf::button_state::all);
    button->add_action(swf::Action({0x81, 0x02, 0x00, 0x01, 0x00, 0x00}), swf::button_event::release_over);
    movie.add(button).move_to(20, 60);
    movie.next_frame();
    text_item.remove();
    movie.add(swf::Action({0x07, 0x00}));
    movie.next_frame();
    return movie.to_bytes(9);
}

TEST(LibraryClip, CompressedLibraryMovieImportsIntoAnotherAndReadsBack) {
    const std::vector<uint8_t> source = library_movie();
    ASSERT_GT(source.size(), 8u);
    EXPECT_EQ(source[0], 'C') << "written compressed";
    swftest::write_file(swftest::test_movie_path("library_clip_source.swf"), source);
    const swftest::IdCheck source_ids = swftest::check_ids(swf::read_swf(source));
    EXPECT_TRUE(source_ids.problems.empty()) << source_ids.problems;

    swf::Movie host;
    host.set_dimension(400, 300);
    host.add(rectangle(400, 300, {255, 255, 0, 255}));
    // The same clip object placed twice is defined once; a second clip object is a second import with
    // ids of its own.
    auto clip = swf::PrebuiltClip::from_bytes(source);
    host.add(clip).move_to(100, 100);
    host.add(clip).move_to(300, 100);
    host.add(swf::PrebuiltClip::from_bytes(source)).move_to(100, 200);
    host.next_frame();
    const std::vector<uint8_t> host_bytes = host.to_bytes();
    swftest::write_file(swftest::test_movie_path("library_clip_host.swf"), host_bytes);

    const swf::SwfFile file = swf::read_swf(host_bytes);
    const swftest::IdCheck ids = swftest::check_ids(file);
    EXPECT_TRUE(ids.problems.empty()) << ids.problems;
    // Per clip: its rectangle, bitmap, square, font, text, button face, button and the sprite.
    EXPECT_EQ(ids.defined.size(), 1 + 2 * (source_ids.defined.size() + 1));
    int two_frame_sprites = 0;
    for (const auto& [id, frames] : ids.sprite_frames) {
        two_frame_sprites += frames == 2;
    }
    EXPECT_EQ(two_frame_sprites, 2);
    EXPECT_EQ(file.header.frame_count, 1);

    const std::string listing = swf::dump_swf(host_bytes);
    EXPECT_THAT(listing, testing::HasSubstr("DefineFont2"));
    EXPECT_THAT(listing, testing::HasSubstr("DefineText2"));
    EXPECT_THAT(listing, testing::HasSubstr("DefineButton2"));
    EXPECT_THAT(listing, testing::HasSubstr("frames 2"));

    // The host itself imports again as a clip: sprites stay one level deep, and ids stay consistent.
    swf::CharacterId next = 1;
    const swf::ImportedClip again = swf::import_clip(host_bytes, [&next] { return next++; });
    EXPECT_EQ(again.definitions.size(), ids.defined.size() + 1);
}

} // namespace
