#include "imaging/convert.h"
#include "imaging/picture.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <vips/vips8>

#include <cstdlib>

namespace imaging {
namespace {

using test::FreshFolder;
using test::ReadBytes;
using test::ReadJpegFrame;

Size JpegSize(const std::filesystem::path& path) {
    const auto frame = ReadJpegFrame(ReadBytes(path));
    EXPECT_TRUE(frame.baseline) << path;
    return frame.size;
}

struct ConversionCase {
    Size picture;
    int code;
    Size stage;
    Size expected;
};

TEST(ConvertPictureToJpeg, SizeRules) {
    const auto folder = FreshFolder("convert-sizes");
    const ConversionCase cases[] = {
        {{1000, 100}, 11, {400, 300}, {400, 40}}, // small, keep ratio: FitKeepingRatio
        {{300, 600}, 11, {400, 300}, {150, 300}},
        {{1199, 999}, 11, {640, 480}, {576, 480}},   // just below the 1200 x 1000 rule
        {{1200, 300}, 11, {640, 480}, {640, 480}},   // width 1200 or more: the stage size
        {{300, 1000}, 11, {640, 480}, {640, 480}},   // height 1000 or more: the stage size
        {{100, 50}, 10, {640, 480}, {640, 480}},     // stretched, also when enlarging
        {{3000, 2000}, 4, {640, 480}, {640, 480}},   // wider than 2400: the stage size
        {{2400, 2000}, 0, {640, 480}, {2400, 2000}}, // the largest kept size
        {{2400, 2001}, 8, {640, 480}, {640, 480}},
        {{100, 50}, 9, {640, 480}, {100, 50}}, // tiled: kept
        {{80, 40}, kButtonFace, {640, 480}, {80, 40}},
        {{2500, 100}, kButtonFace, {640, 480}, {640, 480}},
    };
    int index = 0;
    for (const ConversionCase& c : cases) {
        const std::string name = std::to_string(c.picture.width) + "x" + std::to_string(c.picture.height) +
                                 "-code" + std::to_string(c.code);
        SCOPED_TRACE(name);
        const auto source = folder / (name + (index % 2 ? ".png" : ".jpg"));
        test::WriteVipsPicture(source, c.picture.width, c.picture.height);
        const auto target = folder / (std::to_string(index++) + ".jpg");
        EXPECT_EQ(ConvertPictureToJpeg(source, target, c.code, true, c.stage.width, c.stage.height, 80),
                  target.string());
        EXPECT_EQ(JpegSize(target), c.expected);
    }
}

TEST(ConvertPictureToJpeg, ExistingTargetIsKeptUnlessForced) {
    const auto folder = FreshFolder("convert-force");
    test::WriteVipsPicture(folder / "a.png", 200, 100);
    const auto target = folder / "0.jpg";
    ASSERT_EQ(ConvertPictureToJpeg(folder / "a.png", target, 4, false, 640, 480, 80), target.string());
    const auto first = ReadBytes(target);

    // The source changes; without force the old conversion stands.
    test::WriteVipsPicture(folder / "a.png", 50, 60);
    EXPECT_EQ(ConvertPictureToJpeg(folder / "a.png", target, 4, false, 640, 480, 80), target.string());
    EXPECT_EQ(ReadBytes(target), first);
    EXPECT_EQ(JpegSize(target), (Size{200, 100}));

    EXPECT_EQ(ConvertPictureToJpeg(folder / "a.png", target, 4, true, 640, 480, 80), target.string());
    EXPECT_EQ(JpegSize(target), (Size{50, 60}));
}

TEST(ConvertPictureToJpeg, FailuresAreReported) {
    const auto folder = FreshFolder("convert-fail");
    test::WriteVipsPicture(folder / "a.png", 20, 20);
    // Writing fails: "".
    EXPECT_EQ(ConvertPictureToJpeg(folder / "a.png", folder / "no" / "0.jpg", 0, true, 640, 480, 80), "");
    // Reading fails: an error of this module.
    test::WriteBytes(folder / "bad.jpg", {0xFF, 0xD8, 0xFF, 0x00, 0x01});
    EXPECT_THROW(ConvertPictureToJpeg(folder / "bad.jpg", folder / "1.jpg", 0, true, 640, 480, 80), Error);
    EXPECT_THROW(ConvertPictureToJpeg(folder / "none.png", folder / "2.jpg", 0, true, 640, 480, 80), Error);
    EXPECT_FALSE(std::filesystem::exists(folder / "1.jpg"));
}

TEST(ConvertAlbumPicture, FitsTheAlbumStage) {
    const auto folder = FreshFolder("album-sizes");
    const ConversionCase cases[] = {
        {{640, 480}, 0, {}, {640, 480}}, {{641, 480}, 0, {}, {640, 479}},   {{1000, 500}, 0, {}, {640, 320}},
        {{300, 200}, 0, {}, {300, 200}}, {{4000, 3000}, 0, {}, {640, 480}}, {{1200, 2000}, 0, {}, {288, 480}},
    };
    for (const char* ext : {".jpg", ".png", ".gif"}) {
        for (const ConversionCase& c : cases) {
            const auto source =
                folder / (std::to_string(c.picture.width) + "x" + std::to_string(c.picture.height) + ext);
            SCOPED_TRACE(source.filename().string());
            test::WriteVipsPicture(source, c.picture.width, c.picture.height);
            const AlbumPicture result = ConvertAlbumPicture(source, 640, 480, folder / "fallback");
            EXPECT_TRUE(result.converted);
            EXPECT_EQ(result.file, std::filesystem::path(source.string() + ".jpg"));
            EXPECT_EQ(result.size, c.expected);
            EXPECT_EQ(JpegSize(result.file), c.expected);
        }
    }
}

TEST(ConvertAlbumPicture, UnwritableFolderUsesTheFallback) {
    const auto folder = FreshFolder("album-fallback");
    const auto fallback = folder / "Temp";
    std::filesystem::create_directories(fallback);
    std::filesystem::create_directories(folder / "one");
    std::filesystem::create_directories(folder / "two");
    // A folder standing where the converted file would go makes the source's folder unwritable for it.
    for (const char* sub : {"one", "two"}) {
        test::WriteVipsPicture(folder / sub / "a.png", 1000, 500);
        std::filesystem::create_directory(folder / sub / "a.png.jpg");
    }
    const AlbumPicture one = ConvertAlbumPicture(folder / "one" / "a.png", 640, 480, fallback);
    const AlbumPicture two = ConvertAlbumPicture(folder / "two" / "a.png", 640, 480, fallback);
    EXPECT_TRUE(one.converted);
    EXPECT_EQ(one.file.parent_path(), fallback);
    EXPECT_EQ(JpegSize(one.file), (Size{640, 320}));
    EXPECT_NE(one.file, two.file); // same names from different folders do not collide
    EXPECT_EQ(JpegSize(two.file), (Size{640, 320}));

    // Nowhere to write: the source itself, at its own size.
    const AlbumPicture stuck = ConvertAlbumPicture(folder / "one" / "a.png", 640, 480, folder / "missing");
    EXPECT_FALSE(stuck.converted);
    EXPECT_EQ(stuck.file, folder / "one" / "a.png");
    EXPECT_EQ(stuck.size, (Size{1000, 500}));
}

TEST(ConvertAlbumPicture, UnreadablePictureThrows) {
    const auto folder = FreshFolder("album-bad");
    test::WriteBytes(folder / "a.jpg", {'n', 'o', 't'});
    EXPECT_THROW(ConvertAlbumPicture(folder / "a.jpg", 640, 480, folder), Error);
    EXPECT_FALSE(std::filesystem::exists(folder / "a.jpg.jpg"));
}

TEST(ConvertPictureToJpeg, TransparentPicturesBecomeOneLosslessPng) {
    const auto folder = FreshFolder("convert-alpha");
    const auto clear = folder / "clear.png";
    ASSERT_EQ(std::system(("convert -size 20x10 xc:none -fill red -draw 'rectangle 5,2 14,7' '" +
                           clear.string() + "'")
                              .c_str()),
              0);
    test::WriteVipsPicture(folder / "opaque.png", 20, 10);
    const auto target = folder / "0.jpg";
    const auto png = folder / "0.png";
    EXPECT_EQ(ConvertPictureToJpeg(clear, target, 4, true, 640, 480, 80), target.string()); // not asked
    EXPECT_EQ(ConvertPictureToJpeg(clear, target, 4, true, 640, 480, 80, true), png.string());
    EXPECT_FALSE(std::filesystem::exists(target)); // never two conversions that a reuse could mix up
    const Picture kept = Picture::Load(png);
    EXPECT_TRUE(kept.HasTransparency());
    const auto rgba = kept.EncodeRgba();
    ASSERT_EQ(rgba.size(), 20u * 10 * 4);
    EXPECT_EQ(rgba[3], 0);                       // a corner: clear
    EXPECT_EQ(rgba[(5 * 20 + 10) * 4 + 3], 255); // the rectangle: opaque
    EXPECT_EQ(ConvertPictureToJpeg(clear, target, 4, false, 640, 480, 80, true), png.string()); // reused
    EXPECT_EQ(ConvertPictureToJpeg(folder / "opaque.png", target, 4, true, 640, 480, 80, true),
              target.string());
    EXPECT_FALSE(std::filesystem::exists(png));
    EXPECT_FALSE(Picture::Load(target).HasTransparency());
}

TEST(ConvertAlbumPicture, SidewaysPhotosAreMeasuredUpright) {
    const auto folder = FreshFolder("album-upright");
    const auto photo = folder / "portrait.jpg";
    // Stored 80 x 40, tagged "turn 90 degrees clockwise": upright 40 x 80, fitted into 640 x 20.
    vips::VImage stored = vips::VImage::black(80, 40, vips::VImage::option()->set("bands", 3)).copy();
    stored.set(VIPS_META_ORIENTATION, 6);
    stored.jpegsave(photo.c_str());
    EXPECT_EQ(Picture::Load(photo).size(), (Size{40, 80}));
    EXPECT_EQ(ReadPictureSize(photo), (Size{40, 80}));
    const AlbumPicture converted = ConvertAlbumPicture(photo, 640, 20, folder);
    EXPECT_EQ(converted.size, (Size{10, 20}));
    EXPECT_EQ(JpegSize(converted.file), (Size{10, 20}));
}

} // namespace
} // namespace imaging
