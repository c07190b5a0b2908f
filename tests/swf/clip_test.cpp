// Prebuilt clips: a movie written by the library, compressed, brought into another as a sprite.
#include "swf/error.h"
#include "swf/movie.h"
#include "swf_walk.h"
#include "test_fonts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes small_compressed_movie() {
    swf::Movie movie;
    movie.set_dimension(100, 100);
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(shape->add_solid_fill({0, 128, 0, 255}));
    shape->move_pen_to(0, 0);
    shape->draw_line(50, 0);
    shape->draw_line(0, 50);
    shape->draw_line(-50, 0);
    shape->draw_line(0, -50);
    auto text = std::make_shared<swf::Text>();
    text->set_font(swf_test::abc());
    text->set_height(20);
    text->add_string("ABC");
    movie.add(shape);
    movie.add(text).move_to(5, 80);
    movie.next_frame();
    return movie.to_bytes(9);
}

TEST(clip_test, an_imported_movie_becomes_one_sprite_in_the_host_id_space) {
    const auto clip = swf::PrebuiltClip::from_bytes(small_compressed_movie());
    swf::Movie host;
    host.set_dimension(200, 200);
    auto background = std::make_shared<swf::Shape>();
    background->set_right_fill(background->add_solid_fill({255, 255, 255, 255}));
    background->move_pen_to(0, 0);
    background->draw_line(200, 0);
    background->draw_line(0, 200);
    background->draw_line(-200, 0);
    background->draw_line(0, -200);
    host.add(background);
    host.add(clip).move_to(50, 50);
    host.add(clip).move_to(120, 120); // the same clip again: defined once
    host.next_frame();
    const Bytes file = host.to_bytes();
    swf_test::save_test_movie(file, "writer_clip_host.swf");
    const auto walked = swf_test::walk(file);
    EXPECT_EQ(walked.count(39), 1); // DefineSprite
    EXPECT_EQ(walked.count(32), 2); // host shape and clip shape
    std::set<uint16_t> defined;
    uint16_t sprite = 0;
    for (const auto& tag : walked.tags) {
        if (tag.code == 32 || tag.code == 33 || tag.code == 48 || tag.code == 39) {
            EXPECT_TRUE(defined.insert(swf_test::u16_at(tag.body, 0)).second) << "id defined twice";
        }
        if (tag.code == 39) {
            sprite = swf_test::u16_at(tag.body, 0);
        }
    }
    EXPECT_EQ(defined, (std::set<uint16_t>{1, 2, 3, 4, 5}));
    int placed_sprite = 0;
    for (const auto& tag : walked.tags) {
        if (tag.code == 26 && (tag.body[0] & 0x02) && swf_test::u16_at(tag.body, 3) == sprite) {
            ++placed_sprite;
        }
    }
    EXPECT_EQ(placed_sprite, 2);
}

TEST(clip_test, unreadable_clips_are_refused_when_loaded) {
    EXPECT_THROW(swf::PrebuiltClip::from_file("/no/such/clip.swf"), swf::Error);
    EXPECT_THROW(swf::PrebuiltClip::from_bytes({'F', 'W', 'S', 6, 1, 2}), swf::Error);
    Bytes truncated = small_compressed_movie();
    truncated.resize(truncated.size() / 2);
    EXPECT_THROW(swf::PrebuiltClip::from_bytes(truncated), swf::Error);
}

} // namespace
