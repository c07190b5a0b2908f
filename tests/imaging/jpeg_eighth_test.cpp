// The DC-only JPEG reader against libjpeg (through libvips) as the oracle: the same 1/8 picture for every
// kind of JPEG it takes, nothing for the kinds it leaves to the full decoder or for damaged files, and
// thumbnails turned upright the way libvips turns the full picture.
#include "imaging/jpeg_eighth.h"
#include "imaging/thumbnail.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <vips/vips8>

#include <cstdlib>

namespace imaging {
namespace {

namespace fs = std::filesystem;

vips::VImage Colourful(int width, int height) {
    vips::VImage xy = vips::VImage::xyz(width, height);
    vips::VImage red = xy.extract_band(0) * (255.0 / width);
    vips::VImage green = xy.extract_band(1) * (255.0 / height);
    vips::VImage blue = ((xy.extract_band(0) + xy.extract_band(1)) * 0.02).sin() * 120 + 128;
    return vips::VImage::bandjoin({red, green, blue})
        .cast(VIPS_FORMAT_UCHAR)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::vector<uint8_t> Save(const vips::VImage& image, vips::VOption* options) {
    VipsBlob* blob = image.jpegsave_buffer(options);
    size_t length = 0;
    const auto* data = static_cast<const uint8_t*>(vips_blob_get(blob, &length));
    std::vector<uint8_t> bytes(data, data + length);
    vips_area_unref(reinterpret_cast<VipsArea*>(blob));
    return bytes;
}

// The mean difference per channel between our 1/8 picture and libjpeg's, which also widens the chroma
// smoothly where we repeat it. libvips drops libjpeg's last partial column and row; they are compared
// without them.
double MeanDifference(const JpegEighth& ours, const std::vector<uint8_t>& jpeg) {
    vips::VImage reference = vips::VImage::new_from_buffer(jpeg.data(), jpeg.size(), "[shrink=8]");
    if (reference.bands() == 1) {
        reference = vips::VImage::bandjoin({reference, reference, reference});
    }
    EXPECT_LE(ours.size.width - reference.width(), 1);
    EXPECT_LE(ours.size.height - reference.height(), 1);
    size_t length = 0;
    auto* pixels = static_cast<uint8_t*>(reference.write_to_memory(&length));
    double sum = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width() * 3; ++x) {
            sum += std::abs(int(pixels[size_t(y) * reference.width() * 3 + x]) -
                            int(ours.rgb[size_t(y) * ours.size.width * 3 + x]));
        }
    }
    g_free(pixels);
    return sum / double(reference.width() * reference.height() * 3);
}

TEST(JpegEighth, MatchesLibjpegAtOneEighth) {
    const vips::VImage picture = Colourful(1001, 777); // sides that are no multiple of a unit
    const struct {
        const char* name;
        vips::VImage image;
        vips::VOption* options;
    } cases[] = {
        {"4:4:4", picture, vips::VImage::option()->set("Q", 92)},
        {"4:2:0", picture,
         vips::VImage::option()->set("Q", 75)->set("subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON)},
        {"grey", picture.colourspace(VIPS_INTERPRETATION_B_W), vips::VImage::option()->set("Q", 85)},
        {"restart markers", picture,
         vips::VImage::option()
             ->set("Q", 80)
             ->set("restart_interval", 3)
             ->set("subsample_mode", VIPS_FOREIGN_SUBSAMPLE_ON)},
        {"own Huffman tables", picture, vips::VImage::option()->set("Q", 60)->set("optimize_coding", true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> jpeg = Save(c.image, c.options);
        const std::optional<JpegEighth> ours = DecodeJpegEighth(jpeg);
        ASSERT_TRUE(ours.has_value());
        EXPECT_EQ(ours->size, (Size{126, 98})); // every started block, as libjpeg gives it
        EXPECT_EQ(ours->orientation, 1);
        EXPECT_LT(MeanDifference(*ours, jpeg), 1.0);
    }
}

TEST(JpegEighth, LeavesOtherKindsAndDamageToTheFullDecoder) {
    const std::vector<uint8_t> good = Save(Colourful(640, 480), vips::VImage::option()->set("Q", 90));
    ASSERT_TRUE(DecodeJpegEighth(good).has_value());
    std::vector<uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2));
    std::vector<uint8_t> markerInData = good;
    markerInData[good.size() / 2] = 0xFF; // a stray marker half way through the scan
    markerInData[good.size() / 2 + 1] = 0xD9;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"progressive", Save(Colourful(640, 480), vips::VImage::option()->set("interlace", true))},
        {"cut in half", cut},
        {"end marker in the data", markerInData},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 200)},
        {"no JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"empty", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(DecodeJpegEighth(c.bytes).has_value());
    }
}

TEST(JpegEighth, ReadsTheExifOrientationInBothByteOrders) {
    // A TIFF header and one IFD entry: Orientation (0x0112), SHORT, count 1, value 6.
    const std::vector<uint8_t> little = {'I',  'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12,
                                         0x01, 3,   0,  1, 0, 0, 0, 6, 0, 0, 0};
    const std::vector<uint8_t> big = {'M',  'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01,
                                      0x12, 0,   3, 0,  0, 0, 1, 0, 6, 0, 0};
    std::vector<uint8_t> outOfRange = little;
    outOfRange[18] = 9;
    std::vector<uint8_t> cut(little.begin(), little.begin() + 16);
    EXPECT_EQ(ReadExifOrientation(little), 6);
    EXPECT_EQ(ReadExifOrientation(big), 6);
    EXPECT_EQ(ReadExifOrientation(outOfRange), 1);
    EXPECT_EQ(ReadExifOrientation(cut), 1);
}

// Four quadrants of their own colour, stored with each orientation: the thumbnail (made from the 1/8
// picture) shows them where libvips's autorot of the full picture does.
TEST(JpegEighth, ThumbnailsComeOutUprightForEveryOrientation) {
    const fs::path folder = test::FreshFolder("jpeg-eighth-orientation");
    const int w = 1600;
    const int h = 1200;
    vips::VImage xy = vips::VImage::xyz(w, h);
    vips::VImage right = (xy.extract_band(0) >= w / 2) / 255;
    vips::VImage bottom = (xy.extract_band(1) >= h / 2) / 255;
    vips::VImage quadrants =
        vips::VImage::bandjoin({right * 230 + 10, bottom * 230 + 10, right * 0 + 128})
            .cast(VIPS_FORMAT_UCHAR)
            .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const Size thumb{120, 100};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const fs::path path = folder / ("o" + std::to_string(orientation) + ".jpg");
        vips::VImage tagged = quadrants.copy();
        tagged.set("orientation", orientation);
        tagged.jpegsave(path.c_str(), vips::VImage::option()->set("Q", 90));
        const std::vector<uint8_t> bytes = test::ReadBytes(path);
        ASSERT_EQ(DecodeJpegEighth(bytes).value().orientation, orientation);

        const Thumbnail ours = MakeThumbnail(path, thumb);
        const vips::VImage upright = vips::VImage::new_from_file(path.c_str()).autorot();
        for (const auto& [fx, fy] : {std::pair{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}}) {
            const std::vector<double> expected =
                upright.getpoint(int(fx * upright.width()), int(fy * upright.height()));
            const uint8_t* got =
                &ours.rgb[(size_t(fy * thumb.height) * thumb.width + size_t(fx * thumb.width)) * 3];
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(got[c], expected[size_t(c)], 12) << "at " << fx << ", " << fy;
            }
        }
    }
}

} // namespace
} // namespace imaging
