// JPEG and DBL bitmaps, and the bitmap fills that show them.
#include "swf/dbl.h"
#include "swf/error.h"
#include "swf/movie.h"
#include "swf_walk.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Bytes = std::vector<uint8_t>;

const std::filesystem::path red_jpeg =
    std::filesystem::path(CW_TEST_SOURCE_DIR) / "tests/swf/data/red_8x4.jpg";

TEST(bitmap_test, dbl_short_form_by_hand) {
    // "DBL", type 2, length 6 big-endian, then format 5, width 1, height 1, one byte of data.
    const Bytes file{'D', 'B', 'L', 0x02, 0x00, 0x06, 0x05, 0x01, 0x00, 0x01, 0x00, 0xAA};
    const swf::DefineBitsLossless bitmap = swf::read_dbl(file);
    EXPECT_EQ(bitmap.version, 2);
    EXPECT_EQ(bitmap.format, 5);
    EXPECT_EQ(bitmap.width, 1);
    EXPECT_EQ(bitmap.height, 1);
    EXPECT_EQ(bitmap.zlib_data, (Bytes{0xAA}));
    EXPECT_EQ(swf::write_dbl(bitmap), file);
    // a length that also counts the 2-byte id is accepted
    Bytes counted_id = file;
    counted_id[5] = 0x08;
    EXPECT_EQ(swf::read_dbl(counted_id).zlib_data, (Bytes{0xAA}));
}

TEST(bitmap_test, dbl_long_form_and_palette) {
    swf::DefineBitsLossless big{0, 1, 3, 300, 200, 15, Bytes(70000, 0x55)};
    const Bytes file = swf::write_dbl(big);
    EXPECT_EQ(file[2], 'l');
    EXPECT_EQ((Bytes{file.begin() + 4, file.begin() + 8}), (Bytes{0x00, 0x01, 0x11, 0x76})); // 70006
    const auto back = swf::read_dbl(file);
    EXPECT_EQ(back.format, 3);
    EXPECT_EQ(back.palette_size_minus_one, 15);
    EXPECT_EQ(back.width, 300);
    EXPECT_EQ(back.height, 200);
    EXPECT_EQ(back.zlib_data.size(), 70000u);
}

TEST(bitmap_test, malformed_dbl_files_are_refused) {
    const Bytes good{'D', 'B', 'L', 0x01, 0x00, 0x06, 0x05, 0x01, 0x00, 0x01, 0x00, 0xAA};
    const std::vector<std::pair<size_t, uint8_t>> damage{{0, 'X'},  {2, 'Q'},  {3, 0x03},
                                                         {5, 0x40}, {6, 0x07}, {7, 0x00}};
    for (const auto& [at, value] : damage) {
        Bytes bad = good;
        bad[at] = value;
        if (at == 7) {
            bad[8] = 0; // width 0
        }
        EXPECT_THROW(swf::read_dbl(bad), swf::Error) << "byte " << at;
    }
    EXPECT_THROW(swf::read_dbl(Bytes(good.begin(), good.begin() + 8)), swf::Error);
    EXPECT_THROW(swf::read_dbl(Bytes{}), swf::Error);
    EXPECT_THROW(swf::Bitmap::from_dbl_file("/no/such/picture.dbl"), swf::Error);
}

TEST(bitmap_test, dbl_bitmap_in_a_movie_is_a_lossless_tag_with_a_long_header) {
    const Bytes rgba{255, 0, 0, 128};
    const auto bitmap =
        swf::Bitmap::from_dbl_bytes(swf::write_dbl(swf::lossless_from_rgba(1, 1, rgba, true)));
    EXPECT_EQ(bitmap->width(), 1);
    EXPECT_EQ(bitmap->height(), 1);
    swf::Movie movie;
    movie.add(bitmap);
    const auto walked = swf_test::walk(movie.to_bytes());
    ASSERT_EQ(walked.tags[0].code, 36);
    EXPECT_TRUE(walked.tags[0].long_header);
    EXPECT_LT(walked.tags[0].body.size(), 63u);
}

TEST(bitmap_test, rgba_pixels_become_premultiplied_argb) {
    const Bytes rgba{200, 100, 50, 128};
    const auto lossless = swf::lossless_from_rgba(1, 1, rgba, true);
    Bytes pixels(4);
    uLongf size = 4;
    ASSERT_EQ(uncompress(pixels.data(), &size, lossless.zlib_data.data(),
                         static_cast<uLong>(lossless.zlib_data.size())),
              Z_OK);
    EXPECT_EQ(pixels, (Bytes{128, 100, 50, 25}));
    EXPECT_THROW(swf::lossless_from_rgba(2, 2, rgba, true), swf::Error);
}

TEST(bitmap_test, jpeg_size_and_tag) {
    const auto bitmap = swf::Bitmap::from_jpeg_file(red_jpeg);
    EXPECT_EQ(bitmap->width(), 8);
    EXPECT_EQ(bitmap->height(), 4);
    swf::Movie movie;
    movie.set_dimension(40, 20);
    movie.add(bitmap).move_to(4, 2);
    movie.next_frame();
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_jpeg.swf");
    const auto walked = swf_test::walk(file);
    ASSERT_EQ(walked.tags[0].code, 21);
    std::ifstream in(red_jpeg, std::ios::binary);
    Bytes expected{0x01, 0x00};
    expected.insert(expected.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    EXPECT_EQ(walked.tags[0].body, expected);
}

TEST(bitmap_test, non_jpeg_data_is_refused) {
    EXPECT_THROW(swf::Bitmap::from_jpeg_bytes({}), swf::Error);
    EXPECT_THROW(swf::Bitmap::from_jpeg_bytes({0xFF, 0xD8, 0xFF, 0xD9}), swf::Error);
    EXPECT_THROW(swf::Bitmap::from_jpeg_bytes({'G', 'I', 'F', '8'}), swf::Error);
    EXPECT_THROW(swf::Bitmap::from_jpeg_bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x40}), swf::Error);
    EXPECT_THROW(swf::Bitmap::from_jpeg_file("/no/such/picture.jpg"), swf::Error);
}

TEST(bitmap_test, clipped_and_tiled_fills_carry_their_flags_and_the_pixel_scale) {
    const auto bitmap = swf::Bitmap::from_jpeg_file(red_jpeg);
    swf::Movie movie;
    movie.set_dimension(100, 40);
    int x = 0;
    for (auto kind : {swf::BitmapFillKind::Clipped, swf::BitmapFillKind::Tiled}) {
        auto shape = std::make_shared<swf::Shape>();
        shape->set_right_fill(shape->add_bitmap_fill(bitmap, kind));
        shape->move_pen_to(0, 0);
        shape->draw_line(40, 0);
        shape->draw_line(0, 40);
        shape->draw_line(-40, 0);
        shape->draw_line(0, -40);
        movie.add(shape).move_to(x, 0);
        x += 50;
    }
    movie.next_frame();
    const Bytes file = movie.to_bytes();
    swf_test::save_test_movie(file, "writer_fills.swf");
    const auto walked = swf_test::walk(file);
    std::vector<uint8_t> kinds;
    for (const auto& tag : walked.tags) {
        if (tag.code == 32) {
            swf_test::BitCursor c(tag.body, 2);
            c.skip_rect();
            EXPECT_EQ(c.u8(), 1);
            kinds.push_back(c.u8());
            EXPECT_EQ(c.u16(), 1); // the one bitmap, defined once
            c.align();
            EXPECT_EQ(c.u(1), 1u); // has scale
            const int bits = static_cast<int>(c.u(5));
            EXPECT_EQ(c.s(bits), 20 << 16);
            EXPECT_EQ(c.s(bits), 20 << 16);
        }
    }
    EXPECT_EQ(kinds, (std::vector<uint8_t>{0x41, 0x40}));
    EXPECT_EQ(walked.count(21), 1);
}

} // namespace
