#include "imaging/error.h"
#include "imaging/thumbnail.h"
#include "imaging/thumbnail_cache.h"
#include "test_pictures.h"

#include <gtest/gtest.h>
#include <libexif/exif-data.h>
#include <vips/vips8>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>

namespace imaging {
namespace {

namespace fs = std::filesystem;
using test::FreshFolder;

Thumbnail Solid(Size size, uint8_t r, uint8_t g, uint8_t b) {
    Thumbnail t{size, {}};
    for (int i = 0; i < size.width * size.height; ++i) {
        t.rgb.insert(t.rgb.end(), {r, g, b});
    }
    return t;
}

// A solid-colour picture file (PPM, which the picture library reads like any other format).
void WriteSolid(const fs::path& path, Size size, uint8_t r, uint8_t g, uint8_t b) {
    test::WriteBytes(path, EncodePpm(Solid(size, r, g, b)));
}

std::array<uint8_t, 3> Pixel(const Thumbnail& t, int x, int y) {
    const uint8_t* p = &t.rgb[(size_t(y) * t.size.width + x) * 3];
    return {p[0], p[1], p[2]};
}

void Touch(const fs::path& path, int secondsLater) {
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(secondsLater));
}

TEST(MakeThumbnail, ExactSizeGreyFrameAndPictureInside) {
    const auto folder = FreshFolder("thumb-make");
    WriteSolid(folder / "red.ppm", {400, 100}, 255, 0, 0); // 4:1 squeezed into 120 x 100, no aspect kept
    const Thumbnail t = MakeThumbnail(folder / "red.ppm", {120, 100});
    ASSERT_EQ(t.size, (Size{120, 100}));
    ASSERT_EQ(t.rgb.size(), 120u * 100 * 3);
    using P = std::array<uint8_t, 3>;
    EXPECT_EQ(Pixel(t, 0, 0), (P{128, 128, 128}));
    EXPECT_EQ(Pixel(t, 119, 99), (P{128, 128, 128}));
    EXPECT_EQ(Pixel(t, 60, 0), (P{128, 128, 128}));
    EXPECT_EQ(Pixel(t, 60, 50), (P{255, 0, 0}));
    EXPECT_EQ(Pixel(t, 1, 1), (P{255, 0, 0}));
}

TEST(MakeThumbnail, LargeJpegShrinksOnLoad) {
    const auto folder = FreshFolder("thumb-jpeg");
    test::WriteVipsPicture(folder / "photo.jpg", 1600, 1200);
    EXPECT_EQ(MakeThumbnail(folder / "photo.jpg", {120, 60}).size, (Size{120, 60}));
}

vips::VImage SolidImage(int width, int height, double r, double g, double b) {
    return (vips::VImage::black(width, height) + std::vector<double>{r, g, b})
        .cast(VIPS_FORMAT_UCHAR)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::vector<uint8_t> JpegBytes(const vips::VImage& image) {
    VipsBlob* blob = image.jpegsave_buffer(vips::VImage::option()->set("Q", 90));
    size_t length = 0;
    const auto* data = static_cast<const uint8_t*>(vips_blob_get(blob, &length));
    std::vector<uint8_t> bytes(data, data + length);
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

// A photo as a camera writes it: an EXIF segment (libexif) with the orientation and the embedded
// thumbnail `thumbnail` (any bytes; none when empty), right after the JPEG's start marker.
void WriteCameraPhoto(const fs::path& path, const vips::VImage& photo, const std::vector<uint8_t>& thumbnail,
                      int orientation) {
    ExifData* exif = exif_data_new();
    exif_data_set_byte_order(exif, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(exif->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, ExifShort(orientation));
    exif_entry_unref(entry);
    if (!thumbnail.empty()) {
        exif->data = static_cast<unsigned char*>(std::malloc(thumbnail.size())); // freed by libexif
        std::memcpy(exif->data, thumbnail.data(), thumbnail.size());
        exif->size = static_cast<unsigned int>(thumbnail.size());
    }
    unsigned char* segment = nullptr;
    unsigned int length = 0;
    exif_data_save_data(exif, &segment, &length);
    exif_data_unref(exif);
    const std::vector<uint8_t> jpeg = JpegBytes(photo);
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), {0xFF, 0xE1, uint8_t((length + 2) >> 8), uint8_t((length + 2) & 0xFF)});
    out.insert(out.end(), segment, segment + length);
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    std::free(segment);
    test::WriteBytes(path, out);
}

// A red photo whose embedded thumbnail is blue: the thumbnail shows blue only where the embedded one is
// taken, and red where the photo itself must be read.
TEST(MakeThumbnail, TakesTheCameraThumbnailOnlyWhereItFits) {
    const auto folder = FreshFolder("thumb-exif");
    const vips::VImage photo = SolidImage(1600, 1200, 220, 20, 20);
    const struct {
        const char* name;
        std::vector<uint8_t> thumbnail;
        bool embeddedUsed;
    } cases[] = {
        {"fits", JpegBytes(SolidImage(160, 120, 20, 20, 220)), true},
        {"another shape (barred)", JpegBytes(SolidImage(160, 90, 20, 20, 220)), false},
        {"smaller than the tile", JpegBytes(SolidImage(80, 60, 20, 20, 220)), false},
        {"damaged", std::vector<uint8_t>(600, 0x5A), false},
    };
    for (const auto& c : cases) {
        const fs::path path = folder / (std::string(c.name) + ".jpg");
        WriteCameraPhoto(path, photo, c.thumbnail, 1);
        const auto centre = Pixel(MakeThumbnail(path, {120, 100}), 60, 50);
        EXPECT_NEAR(centre[0], c.embeddedUsed ? 20 : 220, 12) << c.name;
        EXPECT_NEAR(centre[2], c.embeddedUsed ? 220 : 20, 12) << c.name;
    }
}

// Four quadrants of their own colour (blue `blue`), 8-bit sRGB.
vips::VImage Quadrants(int w, int h, double blue) {
    vips::VImage xy = vips::VImage::xyz(w, h);
    vips::VImage right = (xy.extract_band(0) >= w / 2) / 255;
    vips::VImage bottom = (xy.extract_band(1) >= h / 2) / 255;
    return vips::VImage::bandjoin({right * 230 + 10, bottom * 230 + 10, right * 0 + blue})
        .cast(VIPS_FORMAT_UCHAR)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

// Expects the thumbnail to show, at the centre of each quadrant, what libvips shows of the whole file
// turned upright and made sRGB; `blue` overrides the blue expected (it tells which picture was read).
void ExpectQuadrantsLikeLibvips(const Thumbnail& ours, const fs::path& path, std::optional<int> blue = {}) {
    vips::VImage upright = vips::VImage::new_from_file(path.c_str()).autorot();
    upright = upright.colourspace(VIPS_INTERPRETATION_sRGB);
    for (const auto& [fx, fy] : {std::pair{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}}) {
        const std::vector<double> expected =
            upright.getpoint(int(fx * upright.width()), int(fy * upright.height()));
        const auto got = Pixel(ours, int(fx * ours.size.width), int(fy * ours.size.height));
        EXPECT_NEAR(got[0], expected[0], 12) << "at " << fx << ", " << fy;
        EXPECT_NEAR(got[1], expected[1], 12) << "at " << fx << ", " << fy;
        EXPECT_NEAR(got[2], blue ? *blue : expected[2], 12) << "at " << fx << ", " << fy;
    }
}

// Quadrants stored with each orientation, with an embedded thumbnail (made from it) and without one
// (the photo decoded shrunk): the thumbnail shows them where libvips's autorot of the full photo does.
TEST(MakeThumbnail, PhotosComeOutUprightForEveryOrientation) {
    const auto folder = FreshFolder("thumb-exif-orientation");
    for (const bool embedded : {true, false}) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            SCOPED_TRACE(std::string(embedded ? "embedded thumbnail, " : "no thumbnail, ") + "orientation " +
                         std::to_string(orientation));
            const fs::path path = folder / ((embedded ? "e" : "n") + std::to_string(orientation) + ".jpg");
            // The embedded picture is bluer than the photo, so the blue tells which of the two was read.
            WriteCameraPhoto(path, Quadrants(1600, 1200, 60),
                             embedded ? JpegBytes(Quadrants(160, 120, 200)) : std::vector<uint8_t>(),
                             orientation);
            ExpectQuadrantsLikeLibvips(MakeThumbnail(path, {120, 100}), path, embedded ? 200 : 60);
        }
    }
}

// Every kind of JPEG comes out as libvips shows it, whether decoded shrunk by libjpeg-turbo or left to the
// general loader (CMYK, smaller than the tile).
TEST(MakeThumbnail, EveryKindOfJpegShowsWhatLibvipsShows) {
    const auto folder = FreshFolder("thumb-jpeg-kinds");
    using vips::VImage;
    const VImage photo = Quadrants(1600, 1200, 90);
    const struct {
        const char* name;
        VImage picture;
    } cases[] = {
        {"4:2:0", photo},
        {"4:4:4", photo},
        {"progressive", photo},
        {"greyscale", photo.colourspace(VIPS_INTERPRETATION_B_W)},
        {"cmyk", photo.icc_export(VImage::option()->set("output_profile", "cmyk"))},
        {"smaller than the tile", Quadrants(100, 60, 90)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = folder / (std::string(c.name) + ".jpg");
        const std::string_view name = c.name;
        c.picture.jpegsave(path.c_str(),
                           VImage::option()
                               ->set("Q", 90)
                               ->set("interlace", name == "progressive")
                               ->set("subsample_mode", name == "4:4:4" ? VIPS_FOREIGN_SUBSAMPLE_OFF
                                                                       : VIPS_FOREIGN_SUBSAMPLE_ON));
        ExpectQuadrantsLikeLibvips(MakeThumbnail(path, {120, 100}), path);
    }
}

// A JPEG damaged inside its scan shows as much as is there, as libvips shows it; one that cannot be
// decoded at all is refused.
TEST(MakeThumbnail, DamagedJpegShowsWhatIsLeftOrIsRefused) {
    const auto folder = FreshFolder("thumb-jpeg-damaged");
    test::WriteVipsPicture(folder / "whole.jpg", 1600, 1200);
    const std::vector<uint8_t> whole = test::ReadBytes(folder / "whole.jpg");
    const Thumbnail intact = MakeThumbnail(folder / "whole.jpg", {120, 100});
    std::vector<uint8_t> zeroHeight = whole;
    for (size_t i = 0; i + 6 < zeroHeight.size(); ++i) {
        if (zeroHeight[i] == 0xFF &&
            zeroHeight[i + 1] == 0xC0) { // the frame header: length, precision, height
            zeroHeight[i + 5] = zeroHeight[i + 6] = 0;
            break;
        }
    }
    // A progressive JPEG whose last scan is repeated 600 times: each repeat is a pass over the picture.
    vips::VImage::new_from_file((folder / "whole.jpg").c_str())
        .jpegsave((folder / "progressive.jpg").c_str(), vips::VImage::option()->set("interlace", true));
    const std::vector<uint8_t> progressive = test::ReadBytes(folder / "progressive.jpg");
    size_t lastScan = 0;
    for (size_t i = 0; i + 1 < progressive.size(); ++i) {
        lastScan = progressive[i] == 0xFF && progressive[i + 1] == 0xDA ? i : lastScan;
    }
    std::vector<uint8_t> manyScans(progressive.begin(), progressive.end() - 2); // without the end marker
    for (int i = 0; i < 600; ++i) {
        manyScans.insert(manyScans.end(), progressive.begin() + std::ptrdiff_t(lastScan),
                         progressive.end() - 2);
    }
    manyScans.insert(manyScans.end(), {0xFF, 0xD9});
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        bool readable;
    } cases[] = {
        {"cut in half", {whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 2)}, true},
        {"cut inside the header", {whole.begin(), whole.begin() + 300}, false},
        {"height zero", zeroHeight, false},
        {"empty", {}, false},
        {"600 scans", manyScans, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = folder / (std::string(c.name) + ".jpg");
        test::WriteBytes(path, c.bytes);
        if (!c.readable) {
            EXPECT_THROW(MakeThumbnail(path, {120, 100}), Error);
            continue;
        }
        const Thumbnail t = MakeThumbnail(path, {120, 100});
        for (int k = 0; k < 3; ++k) { // the top is there, the bottom grey
            EXPECT_NEAR(Pixel(t, 60, 20)[k], Pixel(intact, 60, 20)[k], 6);
            EXPECT_NEAR(Pixel(t, 60, 90)[k], 128, 6);
        }
    }
}

TEST(MakeThumbnail, RefusesWhatIsNoPicture) {
    const auto folder = FreshFolder("thumb-bad");
    test::WriteBytes(folder / "junk.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3});
    EXPECT_THROW(MakeThumbnail(folder / "junk.jpg", {120, 100}), Error);
    EXPECT_THROW(MakeThumbnail(folder / "missing.png", {120, 100}), Error);
    WriteSolid(folder / "ok.ppm", {10, 10}, 0, 0, 0);
    EXPECT_THROW(MakeThumbnail(folder / "ok.ppm", {0, 100}), Error);
}

TEST(ThumbnailIndex, ReadsGoodLinesAndSkipsBadOnes) {
    const std::string header = std::string(kThumbnailIndexHeader) + "\n";
    const struct {
        const char* name;
        std::string text;
        size_t entries;
    } cases[] = {
        {"good", header + "120 100 5 77 0123abcd.ppm\t/pics/a b.jpg\n", 1},
        {"unreadable mark", header + "120 60 5 -3 -\t/pics/x.gif\n", 1},
        {"wrong header", "cardwright thumbnails 2\n120 100 5 77 0a.ppm\t/a\n", 0},
        {"no header", "120 100 5 77 0a.ppm\t/a\n", 0},
        {"cut-off last line", header + "120 100 5 77 0a.ppm\t/a", 0},
        {"no tab", header + "120 100 5 77 0a.ppm /a\n", 0},
        {"empty path", header + "120 100 5 77 0a.ppm\t\n", 0},
        {"escaping name", header + "120 100 5 77 ../0a.ppm\t/a\n", 0},
        {"upper-case name", header + "120 100 5 77 0A.ppm\t/a\n", 0},
        {"zero width", header + "0 100 5 77 0a.ppm\t/a\n", 0},
        {"huge height", header + "120 5000 5 77 0a.ppm\t/a\n", 0},
        {"negative size", header + "120 100 -5 77 0a.ppm\t/a\n", 0},
        {"number overflow", header + "120 100 5 99999999999999999999 0a.ppm\t/a\n", 0},
        {"extra field", header + "120 100 5 77 0a.ppm 9\t/a\n", 0},
        {"one bad among good", header + "1 1 1 1 -\t/a\nbad\n2 2 2 2 -\t/b\n", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseThumbnailIndex(c.text).size(), c.entries);
    }
}

TEST(ThumbnailIndex, LinesReadBackAsWritten) {
    const ThumbnailIndexEntry entries[] = {
        {"/home/a/Flower pics/Flower.JPG", 123456, -987654321, {120, 100}, "00ff.ppm"},
        {"/x\twith tab.png", 1, 2, {4096, 1}, ""},
    };
    std::string text = std::string(kThumbnailIndexHeader) + "\n";
    for (const auto& e : entries) {
        text += FormatThumbnailIndexLine(e);
    }
    const auto back = ParseThumbnailIndex(text);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], entries[0]);
    EXPECT_EQ(back[1], entries[1]);
    EXPECT_EQ(FormatThumbnailIndexLine({"/a\nb.png", 1, 2, {1, 1}, ""}), "");
}

TEST(ThumbnailPpm, RefusesAnotherSizeOrShortData) {
    const Thumbnail t = Solid({3, 2}, 1, 2, 3);
    const std::vector<uint8_t> bytes = EncodePpm(t);
    const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_EQ(DecodePpm(view, {3, 2}), t);
    EXPECT_FALSE(DecodePpm(view, {2, 3}));
    EXPECT_FALSE(DecodePpm(view.substr(0, view.size() - 1), {3, 2}));
    EXPECT_FALSE(DecodePpm(std::string(view) + "x", {3, 2}));
}

TEST(ThumbnailCache, SecondOpeningReadsTheCache) {
    const auto folder = FreshFolder("thumb-cache-hit");
    WriteSolid(folder / "blue.ppm", {50, 50}, 0, 0, 255);
    const Size size{120, 100};
    const ThumbnailResult first = ThumbnailCache(folder / "cache").Obtain(folder / "blue.ppm", size);
    ASSERT_TRUE(first.thumb);
    EXPECT_FALSE(first.fromCache);

    ThumbnailCache again(folder / "cache"); // a later opening reads the index back
    EXPECT_EQ(again.EntryCount(), 1u);
    const ThumbnailResult second = again.Obtain(folder / "blue.ppm", size);
    EXPECT_TRUE(second.fromCache);
    EXPECT_EQ(second.thumb, first.thumb);
    // Another size of the same file is another thumbnail.
    EXPECT_FALSE(again.Obtain(folder / "blue.ppm", {120, 60}).fromCache);
}

TEST(ThumbnailCache, ChangedFileGetsAFreshThumbnail) {
    const auto folder = FreshFolder("thumb-cache-changed");
    const fs::path pic = folder / "pic.ppm";
    WriteSolid(pic, {50, 50}, 0, 0, 255);
    ThumbnailCache(folder / "cache").Obtain(pic, {120, 100});

    WriteSolid(pic, {50, 50}, 0, 255, 0); // same size in bytes: only the time tells
    Touch(pic, 5);
    ThumbnailCache cache(folder / "cache");
    const ThumbnailResult result = cache.Obtain(pic, {120, 100});
    EXPECT_FALSE(result.fromCache);
    ASSERT_TRUE(result.thumb);
    EXPECT_EQ(Pixel(*result.thumb, 60, 50), (std::array<uint8_t, 3>{0, 255, 0}));
    EXPECT_TRUE(ThumbnailCache(folder / "cache").Obtain(pic, {120, 100}).fromCache);
    // The old thumbnail's file is gone: one PPM for one picture.
    int ppms = 0;
    for (const auto& entry : fs::directory_iterator(folder / "cache")) {
        ppms += entry.path().extension() == ".ppm";
    }
    EXPECT_EQ(ppms, 1);
}

TEST(ThumbnailCache, UnreadablePictureIsRememberedUntilItChanges) {
    const auto folder = FreshFolder("thumb-cache-bad");
    const fs::path pic = folder / "bad.png";
    test::WriteBytes(pic, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    const ThumbnailResult first = ThumbnailCache(folder / "cache").Obtain(pic, {120, 100});
    EXPECT_FALSE(first.thumb);
    EXPECT_FALSE(first.error.empty());
    const ThumbnailResult second = ThumbnailCache(folder / "cache").Obtain(pic, {120, 100});
    EXPECT_TRUE(second.fromCache);
    EXPECT_FALSE(second.thumb);

    WriteSolid(pic, {8, 8}, 255, 255, 255); // repaired
    Touch(pic, 5);
    EXPECT_TRUE(ThumbnailCache(folder / "cache").Obtain(pic, {120, 100}).thumb);
}

TEST(ThumbnailCache, DamagedThumbnailFileIsMadeAgain) {
    const auto folder = FreshFolder("thumb-cache-damaged");
    const fs::path pic = folder / "pic.ppm";
    WriteSolid(pic, {20, 20}, 9, 9, 9);
    ThumbnailCache(folder / "cache").Obtain(pic, {30, 20});
    for (const auto& entry : fs::directory_iterator(folder / "cache")) {
        if (entry.path().extension() == ".ppm") {
            test::WriteBytes(entry.path(), {'P', '6'});
        }
    }
    const ThumbnailResult result = ThumbnailCache(folder / "cache").Obtain(pic, {30, 20});
    EXPECT_FALSE(result.fromCache);
    EXPECT_TRUE(result.thumb);
}

} // namespace
} // namespace imaging
