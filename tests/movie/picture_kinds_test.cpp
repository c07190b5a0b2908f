// Pictures as people have them: transparent PNGs stay transparent in the movie (a lossless bitmap with
// alpha), opaque ones stay JPEG, and photos carrying an orientation tag are placed upright. The movies
// written here are also played by tests/e2e (pictures.suite.mjs).
#include "album/photo_album.h"
#include "gift_fixture.h"

#include <vips/vips8>
#include <zlib.h>

namespace gifttest {
namespace {

constexpr uint16_t kJpeg2 = 21;     // DefineBitsJPEG2
constexpr uint16_t kLossless2 = 36; // DefineBitsLossless2
constexpr double kRed[] = {220, 30, 30};
constexpr double kBlue[] = {30, 30, 220};

vips::VImage Solid(int width, int height, const double (&rgb)[3]) {
    return (vips::VImage::black(width, height, vips::VImage::option()->set("bands", 3)) +
            std::vector<double>{rgb[0], rgb[1], rgb[2]})
        .cast(VIPS_FORMAT_UCHAR);
}

// A red w x h button face with rounded corners of radius r: the corners fully transparent.
void WriteRoundedFace(const fs::path& file, int w, int h, int r) {
    (void)VIPS_INIT("picture_kinds_test");
    vips::VImage alpha = vips::VImage::black(w, h).cast(VIPS_FORMAT_UCHAR);
    alpha.draw_rect({255}, r, 0, w - 2 * r, h, vips::VImage::option()->set("fill", true));
    alpha.draw_rect({255}, 0, r, w, h - 2 * r, vips::VImage::option()->set("fill", true));
    for (const auto& [cx, cy] : {std::pair{r, r}, {w - 1 - r, r}, {r, h - 1 - r}, {w - 1 - r, h - 1 - r}}) {
        alpha.draw_circle({255}, cx, cy, r, vips::VImage::option()->set("fill", true));
    }
    Solid(w, h, kRed).bandjoin(alpha).pngsave(file.c_str());
}

// A photo stored as a 120 x 60 landscape, red left half and blue right half, tagged orientation 6
// ("turn 90 degrees clockwise to view"): upright it is 60 x 120, red on top, blue below.
void WriteSidewaysPhoto(const fs::path& file) {
    (void)VIPS_INIT("picture_kinds_test");
    vips::VImage stored = Solid(60, 60, kRed).join(Solid(60, 60, kBlue), VIPS_DIRECTION_HORIZONTAL).copy();
    stored.set(VIPS_META_ORIENTATION, 6);
    fs::create_directories(file.parent_path());
    stored.jpegsave(file.c_str(), vips::VImage::option()->set("Q", 95));
}

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t expected) {
    std::vector<uint8_t> out(expected);
    uLongf length = static_cast<uLongf>(expected);
    EXPECT_EQ(uncompress(out.data(), &length, data, static_cast<uLong>(size)), Z_OK);
    EXPECT_EQ(length, expected);
    return out;
}

// The one bitmap tag of a movie.
const probe::Tag& OnlyBitmap(const probe::Movie& m) {
    const probe::Tag* found = nullptr;
    for (const probe::Tag& tag : m.tags) {
        if (tag.code == kJpeg2 || tag.code == kLossless2 || tag.code == 20 || tag.code == 35) {
            EXPECT_EQ(found, nullptr) << "more than one bitmap";
            found = &tag;
        }
    }
    if (found == nullptr) {
        ADD_FAILURE() << "no bitmap in the movie";
        static const probe::Tag none;
        return none;
    }
    return *found;
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b.at(at) | b.at(at + 1) << 8);
}

TEST_F(GiftTest, TransparentButtonPictureKeepsItsAlpha) {
    project = PlainProject(2);
    project.cards[0]->m_strBackground = "#30A050";
    project.cards[0]->m_pLinks->AddLink("", 1, 0, -1, "", 0, 0);
    WriteRoundedFace(assets / "round.png", 80, 40, 14);
    project.settings.m_strButton = (assets / "round.png").string();
    const probe::Movie m = Build("transparent_button", 0);
    EXPECT_TRUE(fs::exists(work / "Temp" / "generate_button.png"));
    EXPECT_FALSE(fs::exists(work / "Temp" / "generate_button.jpg"));

    const probe::Tag& tag = OnlyBitmap(m);
    ASSERT_EQ(tag.code, kLossless2);
    // id, format 5 (32-bit), width, height, then premultiplied ARGB pixels, zlib-compressed.
    ASSERT_GT(tag.body.size(), 7u);
    EXPECT_EQ(tag.body[2], 5);
    ASSERT_EQ(U16(tag.body, 3), 80);
    ASSERT_EQ(U16(tag.body, 5), 40);
    const auto argb = Inflate(tag.body.data() + 7, tag.body.size() - 7, 80 * 40 * 4);
    const auto pixel = [&](int x, int y) {
        const size_t at = size_t(y * 80 + x) * 4;
        return std::vector<uint8_t>(argb.begin() + long(at), argb.begin() + long(at) + 4);
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<uint8_t>{0, 0, 0, 0}));   // a corner: nothing
    EXPECT_EQ(pixel(79, 39), (std::vector<uint8_t>{0, 0, 0, 0})); // the opposite corner
    EXPECT_EQ(pixel(40, 20), (std::vector<uint8_t>{255, 220, 30, 30}));
}

TEST_F(GiftTest, OpaquePicturesStayJpeg) {
    project = PlainProject(1);
    WritePicture(assets / "opaque.png", 100, 50, 10, 200, 10);
    project.cards[0]->m_strBackground = (assets / "opaque.png").string();
    project.cards[0]->m_nBgAlign = 0;
    const probe::Movie m = Build("opaque_png_background", 0);
    EXPECT_EQ(OnlyBitmap(m).code, kJpeg2);
    EXPECT_TRUE(fs::exists(work / "Temp" / "0.jpg"));
    EXPECT_FALSE(fs::exists(work / "Temp" / "0.png"));
}

TEST_F(GiftTest, SidewaysPhotoBackgroundIsPlacedUpright) {
    project = PlainProject(1);
    project.cards[0]->m_strBackground = (assets / "portrait.jpg").string();
    project.cards[0]->m_nBgAlign = 0; // top left, at its own size
    WriteSidewaysPhoto(assets / "portrait.jpg");
    const probe::Movie m = Build("upright_background", 0);
    const probe::Tag& tag = OnlyBitmap(m);
    ASSERT_EQ(tag.code, kJpeg2);
    const vips::VImage jpeg = vips::VImage::new_from_buffer(tag.body.data() + 2, tag.body.size() - 2, "");
    EXPECT_EQ(jpeg.width(), 60);
    EXPECT_EQ(jpeg.height(), 120);
    EXPECT_GT(jpeg(30, 20)[0], 180);  // red on top
    EXPECT_GT(jpeg(30, 100)[2], 180); // blue below
}

// The album of one sideways photo, for the player test; the picture is fitted and centred upright.
TEST(UprightAlbum, WritesTheAlbumForThePlayerTests) {
    const fs::path folder = fs::path(CW_TEST_BINARY_DIR) / "test-work" / "upright-album";
    fs::remove_all(folder);
    WriteSidewaysPhoto(folder / "portrait.jpg");
    const album::AlbumOutcome outcome =
        album::CreatePhotoAlbum(folder, MovieFolder() / "upright_album.swf", folder / "temp");
    EXPECT_EQ(outcome.pictures, 1);
    EXPECT_TRUE(outcome.unreadable.empty());
}

} // namespace
} // namespace gifttest
