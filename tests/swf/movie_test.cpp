// Whole movies: header, frames, character ids, depths, definition order and the display list.
#include "swf/dbl.h"
#include "swf/error.h"
#include "swf/movie.h"
#include "swf_walk.h"
#include "test_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using swf_test::walk;
using Bytes = std::vector<uint8_t>;

enum Code : uint16_t {
    End = 0,
    ShowFrame = 1,
    SetBackgroundColor = 9,
    DoAction = 12,
    StartSound = 15,
    DefineSound = 14,
    DefineBitsLossless = 20,
    PlaceObject2 = 26,
    RemoveObject2 = 28,
    DefineShape3 = 32,
    DefineText2 = 33,
    DefineButton2 = 34,
    DefineBitsLossless2 = 36,
    DefineFont2 = 48,
    FileAttributes = 69,
};

std::shared_ptr<swf::Shape> rectangle(double w, double h, swf::Rgba color) {
    auto shape = std::make_shared<swf::Shape>();
    shape->set_right_fill(shape->add_solid_fill(color));
    shape->move_pen_to(0, 0);
    shape->draw_line(w, 0);
    shape->draw_line(0, h);
    shape->draw_line(-w, 0);
    shape->draw_line(0, -h);
    shape->end();
    return shape;
}

std::shared_ptr<swf::Bitmap> small_dbl() {
    const Bytes rgba{255, 0, 0, 255, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 255, 255};
    return swf::Bitmap::from_dbl_bytes(swf::write_dbl(swf::lossless_from_rgba(2, 2, rgba, false)));
}

// Place tags of a walked movie: (depth, character id or 0, is move).
struct Place {
    uint16_t depth;
    uint16_t character;
    bool move;
    bool operator==(const Place&) const = default;
};

std::vector<Place> places(const swf_test::WalkedMovie& movie) {
    std::vector<Place> out;
    for (const auto& tag : movie.tags) {
        if (tag.code == PlaceObject2) {
            const uint8_t flags = tag.body[0];
            const uint16_t character = (flags & 0x02) ? swf_test::u16_at(tag.body, 3) : 0;
            out.push_back({swf_test::u16_at(tag.body, 1), character, (flags & 0x01) != 0});
        }
    }
    return out;
}

std::vector<uint16_t> defined_ids(const swf_test::WalkedMovie& movie) {
    std::vector<uint16_t> out;
    for (const auto& tag : movie.tags) {
        if (tag.code == DefineShape3 || tag.code == DefineText2 || tag.code == DefineButton2 ||
            tag.code == DefineFont2 || tag.code == DefineBitsLossless || tag.code == DefineBitsLossless2) {
            out.push_back(swf_test::u16_at(tag.body, 0));
        }
    }
    return out;
}

TEST(movie_test, empty_movie_has_one_frame_and_no_optional_tags) {
    swf::Movie movie;
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_empty.swf");
    const auto walked = walk(file);
    EXPECT_EQ(walked.signature, "FWS");
    EXPECT_EQ(walked.version, 6);
    EXPECT_EQ(walked.frame_count, 1);
    EXPECT_EQ(walked.codes(), (std::vector<uint16_t>{ShowFrame, End}));
    EXPECT_EQ(walked.count(FileAttributes), 0);
    EXPECT_EQ(walked.count(SetBackgroundColor), 0);
}

TEST(movie_test, stage_rate_and_background) {
    swf::Movie movie;
    movie.set_dimension(640, 480);
    movie.set_rate(0.5);
    movie.set_background(33, 34, 35);
    const auto walked = walk(movie.to_bytes());
    EXPECT_EQ(walked.stage_width_twips, 12800);
    EXPECT_EQ(walked.stage_height_twips, 9600);
    EXPECT_EQ(walked.frame_rate, 128);
    ASSERT_EQ(walked.tags.front().code, SetBackgroundColor);
    EXPECT_EQ(walked.tags.front().body, (Bytes{33, 34, 35}));

    movie.set_rate(0);
    EXPECT_EQ(walk(movie.to_bytes()).frame_rate, 0);
    movie.set_rate(1.0 / 3.0);
    EXPECT_EQ(walk(movie.to_bytes()).frame_rate, 85);
}

TEST(movie_test, dependencies_are_defined_before_their_users_and_ids_and_depths_count_up) {
    swf::Movie movie;
    movie.set_dimension(200, 100);
    const auto bitmap = small_dbl();
    auto picture = std::make_shared<swf::Shape>();
    picture->set_right_fill(picture->add_bitmap_fill(bitmap, swf::BitmapFillKind::Clipped));
    picture->move_pen_to(0, 0);
    picture->draw_line(2, 0);
    picture->draw_line(0, 2);
    picture->draw_line(-2, 0);
    picture->draw_line(0, -2);
    movie.add(picture);

    auto text = std::make_shared<swf::Text>();
    text->set_font(swf_test::abc());
    text->set_height(20);
    text->add_string("ABC");
    movie.add(text);

    auto button = std::make_shared<swf::Button>();
    button->add_shape(rectangle(60, 30, {0, 0, 255, 255}), swf::button_state::up);
    button->add_shape(rectangle(60, 30, {0, 255, 0, 255}), swf::button_state::over | swf::button_state::hit);
    button->add_action(swf::Action({0x07, 0x00}), swf::button_event::release_over);
    movie.add(button);
    movie.next_frame();

    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_order.swf");
    const auto walked = walk(file);
    EXPECT_EQ(walked.codes(),
              (std::vector<uint16_t>{DefineBitsLossless, DefineShape3, PlaceObject2, DefineFont2, DefineText2,
                                     PlaceObject2, DefineShape3, DefineShape3, DefineButton2, PlaceObject2,
                                     ShowFrame, End}));
    EXPECT_EQ(defined_ids(walked), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(places(walked), (std::vector<Place>{{1, 2, false}, {2, 4, false}, {3, 7, false}}));
    // the shape's bitmap fill names the bitmap (fill style after id and a 1-byte empty-ish bounds)
    const auto& define_shape = walked.tags[1].body;
    swf_test::BitCursor cursor(define_shape, 2);
    cursor.skip_rect();
    EXPECT_EQ(cursor.u8(), 1);    // one fill style
    EXPECT_EQ(cursor.u8(), 0x41); // clipped bitmap
    EXPECT_EQ(cursor.u16(), 1);   // the bitmap's id
    // the button's records name the two shapes with their state flags
    const auto& define_button = walked.tags[8].body;
    EXPECT_EQ(define_button[5], 0x01);
    EXPECT_EQ(swf_test::u16_at(define_button, 6), 5);
    EXPECT_EQ(define_button[12], 0x0A);
    EXPECT_EQ(swf_test::u16_at(define_button, 13), 6);
}

TEST(movie_test, shared_characters_are_defined_once) {
    swf::Movie movie;
    const auto face = rectangle(60, 30, {10, 20, 30, 255});
    for (int frame = 0; frame < 3; ++frame) {
        auto button = std::make_shared<swf::Button>();
        button->add_shape(face, swf::button_state::all);
        auto item = movie.add(button);
        movie.next_frame();
        item.remove();
    }
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_shared_face.swf");
    const auto walked = walk(file);
    EXPECT_EQ(walked.count(DefineShape3), 1);
    EXPECT_EQ(walked.count(DefineButton2), 3);
    EXPECT_EQ(walked.frame_count, 3);
    EXPECT_EQ(places(walked), (std::vector<Place>{{1, 2, false}, {2, 3, false}, {3, 4, false}}));
}

TEST(movie_test, removal_and_later_moves_are_written_in_their_frame) {
    swf::Movie movie;
    auto a = movie.add(rectangle(10, 10, {}));
    auto b = movie.add(rectangle(10, 10, {}));
    a.move_to(10, 40); // same frame: part of the placement
    movie.next_frame();
    b.remove();
    a.move_to(-1, 2); // later frame: a move tag
    a.set_color_mult(1, 1, 1, 0.5f);
    b.move_to(5, 5); // removed: nothing to write
    b.remove();      // twice: nothing more
    movie.next_frame();
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_moves.swf");
    const auto walked = walk(file);
    EXPECT_EQ(walked.codes(),
              (std::vector<uint16_t>{DefineShape3, PlaceObject2, DefineShape3, PlaceObject2, ShowFrame,
                                     RemoveObject2, PlaceObject2, ShowFrame, End}));
    EXPECT_EQ(places(walked), (std::vector<Place>{{1, 1, false}, {2, 2, false}, {1, 0, true}}));
    swf_test::BitCursor first(walked.tags[1].body, 5);
    EXPECT_EQ(first.matrix(), std::make_pair(200, 800));
    const auto& move = walked.tags[6].body;
    EXPECT_EQ(move[0], 0x0D); // move, matrix, colour transform
    swf_test::BitCursor moved(move, 3);
    EXPECT_EQ(moved.matrix(), std::make_pair(-20, 40));
    EXPECT_EQ(walked.tags[5].body, (Bytes{0x02, 0x00}));
}

TEST(movie_test, open_frame_is_ended_but_trailing_removals_are_dropped) {
    swf::Movie open;
    open.add(rectangle(10, 10, {}));
    auto walked = walk(open.to_bytes());
    EXPECT_EQ(walked.frame_count, 1);
    EXPECT_EQ(walked.codes(), (std::vector<uint16_t>{DefineShape3, PlaceObject2, ShowFrame, End}));
    EXPECT_EQ(open.frame_count(), 0); // writing does not change the movie

    swf::Movie closed;
    auto item = closed.add(rectangle(10, 10, {}));
    closed.next_frame();
    item.remove();
    walked = walk(closed.to_bytes());
    EXPECT_EQ(walked.frame_count, 1);
    EXPECT_EQ(walked.codes(), (std::vector<uint16_t>{DefineShape3, PlaceObject2, ShowFrame, End}));
}

TEST(movie_test, frame_actions_and_foreign_tags_stay_in_their_frame) {
    swf::Movie movie;
    movie.add(swf::Action({0x07, 0x00}));
    const swf::CharacterId sound = movie.allocate_id();
    EXPECT_EQ(sound, 1);
    movie.add_definition(swf::RawTag{swf::TagCode::DefineSound, {0x01, 0x00, 0x22}});
    movie.add_control_tag(swf::RawTag{swf::TagCode::StartSound, {0x01, 0x00, 0x00}});
    movie.next_frame();
    movie.add(swf::Action({}));
    movie.next_frame();
    const auto walked = walk(movie.to_bytes());
    EXPECT_EQ(walked.codes(), (std::vector<uint16_t>{DoAction, DefineSound, StartSound, ShowFrame, DoAction,
                                                     ShowFrame, End}));
    EXPECT_EQ(walked.tags[0].body, (Bytes{0x07, 0x00}));
    EXPECT_EQ(walked.tags[4].body, (Bytes{0x00})); // an empty action is just End
    // the next character continues after the allocated id
    swf::Movie next;
    next.allocate_id();
    next.add(rectangle(1, 1, {}));
    EXPECT_EQ(defined_ids(walk(next.to_bytes())), (std::vector<uint16_t>{2}));
}

TEST(movie_test, running_out_of_character_ids_is_an_error) {
    swf::Movie movie;
    for (int i = 1; i <= 65535; ++i) {
        ASSERT_EQ(movie.allocate_id(), i);
    }
    EXPECT_THROW(movie.allocate_id(), swf::Error);
    EXPECT_THROW(movie.add(rectangle(1, 1, {})), swf::Error);
}

TEST(movie_test, running_out_of_depths_is_an_error) {
    swf::Movie movie;
    const auto shape = rectangle(1, 1, {});
    for (int i = 1; i <= 65535; ++i) {
        ASSERT_EQ(movie.add(shape).depth(), i);
    }
    EXPECT_THROW(movie.add(shape), swf::Error);
}

TEST(movie_test, compressed_file_holds_the_same_movie) {
    swf::Movie movie;
    movie.set_dimension(100, 50);
    movie.add(rectangle(100, 50, {255, 0, 0, 255}));
    movie.next_frame();
    const Bytes plain = movie.to_bytes();
    const Bytes packed = movie.to_bytes(9);
    swf_test::save_test_movie(packed, "writer_compressed.swf");
    const auto walked_plain = walk(plain);
    const auto walked_packed = walk(packed);
    EXPECT_EQ(walked_packed.signature, "CWS");
    EXPECT_EQ(walked_packed.file_length, plain.size());
    ASSERT_EQ(walked_packed.tags.size(), walked_plain.tags.size());
    for (size_t i = 0; i < walked_plain.tags.size(); ++i) {
        EXPECT_EQ(walked_packed.tags[i].code, walked_plain.tags[i].code);
        EXPECT_EQ(walked_packed.tags[i].body, walked_plain.tags[i].body);
    }
    EXPECT_THROW(movie.to_bytes(12), swf::Error);
}

TEST(movie_test, write_file_replaces_the_target_and_reports_failures) {
    swf::Movie movie;
    movie.add(rectangle(10, 10, {}));
    const auto dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-movies";
    std::filesystem::create_directories(dir);
    const auto path = dir / "writer_write_file.swf";
    {
        std::ofstream old(path);
        old << "previous content";
    }
    movie.write_file(path);
    std::ifstream in(path, std::ios::binary);
    const Bytes written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, movie.to_bytes());
    EXPECT_FALSE(std::filesystem::exists(dir / "writer_write_file.swf.part"));
    EXPECT_THROW(movie.write_file(dir / "no-such-folder" / "x.swf"), swf::Error);
}

TEST(movie_test, display_items_outlive_their_movie_safely) {
    swf::DisplayItem item;
    {
        swf::Movie movie;
        item = movie.add(rectangle(1, 1, {}));
        EXPECT_EQ(item.depth(), 1);
    }
    EXPECT_THROW(item.move_to(1, 1), swf::Error);
    EXPECT_THROW(item.remove(), swf::Error);
    swf::DisplayItem unset;
    EXPECT_THROW(unset.remove(), swf::Error);
}

TEST(movie_test, refusals_of_bad_use) {
    auto button = std::make_shared<swf::Button>();
    EXPECT_THROW(button->add_shape(rectangle(1, 1, {}), 0), swf::Error);
    EXPECT_THROW(button->add_shape(rectangle(1, 1, {}), 16), swf::Error);
    EXPECT_THROW(button->add_shape(nullptr, 1), swf::Error);

    swf::Text text;
    EXPECT_THROW(text.add_string("A"), swf::Error); // no font
    text.set_font(swf::Font::device("_sans"));
    EXPECT_THROW(text.add_string("A"), swf::Error);
    EXPECT_EQ(text.string_width("A"), 0.0);

    swf::Shape shape;
    shape.end();
    EXPECT_THROW(shape.draw_line(1, 1), swf::Error);
    swf::Shape other;
    EXPECT_THROW(other.set_left_fill(swf::Shape::Fill{3}), swf::Error);

    swf::Movie movie;
    EXPECT_THROW(movie.add(std::shared_ptr<const swf::Shape>{}), swf::Error);
}

TEST(movie_test, a_card_like_movie_with_every_kind_of_item) {
    // Three frames: a full-stage rectangle, a title, a clipped and a tiled picture, two buttons sharing
    // a face, and frame actions; everything removed after its frame.
    swf::Movie movie;
    movie.set_dimension(320, 240);
    movie.set_rate(12);
    movie.set_background(33, 33, 33);
    const auto font = swf_test::abc();
    const auto bitmap = small_dbl();
    const auto face = rectangle(60, 30, {0x27, 0x81, 0xC4, 255});
    for (int frame = 0; frame < 3; ++frame) {
        movie.add(swf::Action({0x07, 0x00})); // stop
        std::vector<swf::DisplayItem> items;
        items.push_back(movie.add(rectangle(320, 240, {255, 255, 255, 255})));
        for (auto kind : {swf::BitmapFillKind::Clipped, swf::BitmapFillKind::Tiled}) {
            auto picture = std::make_shared<swf::Shape>();
            picture->set_right_fill(picture->add_bitmap_fill(bitmap, kind));
            picture->move_pen_to(0, 0);
            picture->draw_line(40, 0);
            picture->draw_line(0, 40);
            picture->draw_line(-40, 0);
            picture->draw_line(0, -40);
            items.push_back(movie.add(picture));
            items.back().move_to(kind == swf::BitmapFillKind::Clipped ? 10 : 60, 100);
        }
        auto title = std::make_shared<swf::Text>();
        title->set_font(font);
        title->set_color({255, 0, 0, 255});
        title->set_height(24);
        items.push_back(movie.add(title));
        items.back().move_to(10, 40);
        title->add_string(" ABC CAB"); // strings may follow the placement
        for (int link = 0; link < 2; ++link) {
            auto button = std::make_shared<swf::Button>();
            button->add_shape(face, swf::button_state::all);
            button->add_action(swf::Action({0x81, 0x02, 0x00, 0x02, 0x00, 0x06, 0x00}),
                               swf::button_event::release_over);
            items.push_back(movie.add(button));
            items.back().move_to(20 + 75 * link, 180);
        }
        items.push_back(movie.add(bitmap));
        items.back().set_color_mult(1, 1, 1, 0.25f);
        movie.next_frame();
        for (auto& item : items) {
            movie.remove(item);
        }
    }
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_card_like.swf");
    const auto walked = walk(file);
    EXPECT_EQ(walked.frame_count, 3);
    EXPECT_EQ(walked.count(ShowFrame), 3);
    EXPECT_EQ(walked.count(DefineFont2), 1);
    EXPECT_EQ(walked.count(DefineBitsLossless), 1);
    EXPECT_EQ(walked.count(DefineText2), 3);
    EXPECT_EQ(walked.count(DoAction), 3);
    // depths keep growing: 7 items per frame
    const auto placed = places(walked);
    ASSERT_EQ(placed.size(), 21u);
    for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].depth, i + 1);
    }
    swf_test::save_test_movie(movie.to_bytes(6), "writer_card_like_compressed.swf");
}

} // namespace
