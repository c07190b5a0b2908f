#include "imaging/picture.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <vips/vips8>

namespace imaging {
namespace {

using test::FreshFolder;
using test::ReadBytes;
using test::ReadJpegFrame;

TEST(PictureLoad, ReadsEveryOfferedFormat) {
    const auto folder = FreshFolder("formats");
    const struct {
        const char* name;
        bool magick;
    } files[] = {{"a.jpg", false}, {"a.gif", false}, {"a.png", false},
                 {"a.bmp", true},  {"a.ico", true},  {"a.pcx", true}};
    for (const auto& f : files) {
        const auto path = folder / f.name;
        if (f.magick) {
            test::WriteMagickPicture(path, 64, 48);
        } else {
            test::WriteVipsPicture(path, 64, 48);
        }
        SCOPED_TRACE(f.name);
        Picture picture = Picture::Load(path);
        EXPECT_EQ(picture.size(), (Size{64, 48}));
        // Decoding all of it works too, and gives a JPEG of the same size.
        EXPECT_EQ(ReadJpegFrame(picture.EncodeJpeg(80)).size, (Size{64, 48}));
        EXPECT_EQ(ReadPictureSize(path), (Size{64, 48}));
    }
}

TEST(PictureLoad, ReadsWindowsMetafilesByExtensionAndSignature) {
    const auto folder = FreshFolder("metafile");
    test::WriteMetafile(folder / "a.wmf", 64, 48);
    test::WriteMetafile(folder / "renamed.bin", 64, 48);
    for (const char* name : {"a.wmf", "renamed.bin"}) {
        SCOPED_TRACE(name);
        Picture picture = Picture::Load(folder / name);
        EXPECT_EQ(picture.size(), (Size{64, 48}));
        picture.SaveJpeg(folder / "out.jpg", 90);
        // The rectangle is red: the centre pixel of the saved picture is.
        vips::VImage saved = vips::VImage::new_from_file((folder / "out.jpg").c_str());
        const std::vector<double> centre = saved.getpoint(32, 24);
        ASSERT_EQ(centre.size(), 3u);
        EXPECT_GT(centre[0], 200);
        EXPECT_LT(centre[1], 60);
        EXPECT_LT(centre[2], 60);
    }
}

TEST(PictureLoad, FlattensTransparencyOverWhite) {
    const auto folder = FreshFolder("alpha");
    const auto path = folder / "clear.png";
    ASSERT_EQ(std::system(("convert -size 20x10 xc:none '" + path.string() + "'").c_str()), 0);
    Picture::Load(path).SaveJpeg(folder / "out.jpg", 90);
    vips::VImage saved = vips::VImage::new_from_file((folder / "out.jpg").c_str());
    EXPECT_EQ(saved.bands(), 3);
    EXPECT_GT(saved.min(), 250);
}

TEST(PictureLoad, RefusesWhatIsNotAPicture) {
    const auto folder = FreshFolder("refuse");
    test::WriteBytes(folder / "empty.jpg", {});
    test::WriteBytes(folder / "text.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    std::vector<uint8_t> noise(4096);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    }
    test::WriteBytes(folder / "noise.gif", noise);
    test::WriteBytes(folder / "fake.wmf", noise);
    for (const char* name : {"empty.jpg", "text.png", "noise.gif", "fake.wmf", "missing.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(Picture::Load(folder / name), Error);
        EXPECT_EQ(ReadPictureSize(folder / name), std::nullopt);
    }
    EXPECT_THROW(Picture::LoadFromBuffer(noise), Error);
    EXPECT_THROW(Picture::LoadFromBuffer({}), Error);
}

TEST(PictureLoad, CorruptPixelDataNeverCrashes) {
    const auto folder = FreshFolder("corrupt");
    test::WriteVipsPicture(folder / "whole.png", 300, 200);
    test::WriteVipsPicture(folder / "whole.jpg", 300, 200);
    for (const char* name : {"whole.png", "whole.jpg"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = ReadBytes(folder / name);
        // Header intact, pixel data cut short and then scrambled.
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2));
        for (size_t i = cut.size() / 2; i < cut.size(); i += 7) {
            cut[i] ^= 0x5A;
        }
        const auto path = folder / (std::string("cut-") + name);
        test::WriteBytes(path, cut);
        // Either the damage is reported or the decoder fills in what is missing; both are fine.
        try {
            Picture picture = Picture::Load(path);
            EXPECT_EQ(picture.size(), (Size{300, 200}));
            const auto jpeg = picture.EncodeJpeg(75);
            EXPECT_EQ(ReadJpegFrame(jpeg).size, (Size{300, 200}));
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()), "");
        }
    }
}

TEST(PictureLoad, FromBufferReadsTheBytes) {
    const auto folder = FreshFolder("buffer");
    test::WriteVipsPicture(folder / "a.png", 33, 17);
    Picture picture = Picture::LoadFromBuffer(ReadBytes(folder / "a.png"));
    EXPECT_EQ(picture.size(), (Size{33, 17}));
    EXPECT_EQ(ReadJpegFrame(picture.Resized({10, 40}).EncodeJpeg(50)).size, (Size{10, 40}));
    test::WriteMetafile(folder / "a.wmf", 30, 20);
    EXPECT_EQ(Picture::LoadFromBuffer(ReadBytes(folder / "a.wmf")).size(), (Size{30, 20}));
}

TEST(PictureResize, GivesExactlyTheAskedSize) {
    const auto folder = FreshFolder("resize");
    test::WriteVipsPicture(folder / "a.png", 1001, 667);
    Picture picture = Picture::Load(folder / "a.png");
    const Size targets[] = {{640, 480}, {641, 479}, {1, 1}, {3, 900}, {2000, 17}, {1001, 667}, {999, 666}};
    for (const Size& target : targets) {
        SCOPED_TRACE(std::to_string(target.width) + "x" + std::to_string(target.height));
        Picture resized = picture.Resized(target);
        EXPECT_EQ(resized.size(), target);
        EXPECT_EQ(ReadJpegFrame(resized.EncodeJpeg(90)).size, target);
    }
    EXPECT_THROW(picture.Resized({0, 10}), Error);
}

TEST(PictureLoad, LargeJpegsDecodeAtAReducedSize) {
    const auto folder = FreshFolder("shrink");
    test::WriteVipsPicture(folder / "big.jpg", 4000, 3000);
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.jpg", {640, 480}).size(), (Size{1000, 750}));
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.jpg", {640, 479}).size(), (Size{1000, 750}));
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.jpg", {1001, 10}).size(), (Size{2000, 1500}));
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.jpg", {2001, 10}).size(), (Size{4000, 3000}));
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.jpg", {400, 300}).size(), (Size{500, 375}));
    // Other formats are read whole.
    test::WriteVipsPicture(folder / "big.png", 1600, 1200);
    EXPECT_EQ(Picture::LoadAtLeast(folder / "big.png", {100, 100}).size(), (Size{1600, 1200}));
}

TEST(PictureSave, WritesABaselineJpegAndReplacesTheTarget) {
    const auto folder = FreshFolder("save");
    test::WriteVipsPicture(folder / "a.png", 120, 90);
    test::WriteBytes(folder / "out.jpg", {'o', 'l', 'd'});
    Picture::Load(folder / "a.png").SaveJpeg(folder / "out.jpg", 0);
    const auto frame = ReadJpegFrame(ReadBytes(folder / "out.jpg"));
    EXPECT_TRUE(frame.baseline);
    EXPECT_FALSE(frame.progressive);
    EXPECT_EQ(frame.size, (Size{120, 90}));
    // Only the target is left in the folder: no temporary files.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
    }
    EXPECT_EQ(files, 2);
    // Higher quality, bigger file.
    const auto low = Picture::Load(folder / "a.png").EncodeJpeg(10);
    const auto high = Picture::Load(folder / "a.png").EncodeJpeg(100);
    EXPECT_LT(low.size(), high.size());
}

TEST(PictureSave, UnwritableTargetThrowsAndKeepsTheOldFile) {
    const auto folder = FreshFolder("save-fail");
    test::WriteVipsPicture(folder / "a.png", 20, 20);
    Picture picture = Picture::Load(folder / "a.png");
    EXPECT_THROW(picture.SaveJpeg(folder / "missing-folder" / "out.jpg", 80), Error);
    // A folder in the target's place cannot be replaced by a file.
    std::filesystem::create_directory(folder / "taken.jpg");
    EXPECT_THROW(picture.SaveJpeg(folder / "taken.jpg", 80), Error);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.jpg"));
}

} // namespace
} // namespace imaging
