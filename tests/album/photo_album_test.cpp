#include "album/album_script.h"
#include "album/photo_album.h"

#include "album_test_support.h"
#include "swf/as/compiler.h"
#include "swf/error.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace album {
namespace {

namespace fs = std::filesystem;
using test::AlbumMovie;
using test::FilesBelow;
using test::FreshFolder;
using test::MoviePath;
using test::ReadAlbum;
using test::WritePicture;

struct Expected {
    imaging::Size size;
    Position at;
};

// Checks picture `index` (from 0) of the album: its 80 frames with the fades, its size and place, and
// that it is gone in the frame after them.
void ExpectPicture(const AlbumMovie& movie, int index, Expected expected) {
    SCOPED_TRACE("picture " + std::to_string(index));
    const auto depth = static_cast<uint16_t>(index + 1);
    const size_t first = 1 + 80 * static_cast<size_t>(index);
    ASSERT_GT(movie.frames.size(), first + 80);
    for (size_t f = first; f < first + 80; ++f) {
        ASSERT_EQ(movie.frames[f].size(), 1u) << "frame " << f + 1;
        ASSERT_TRUE(movie.frames[f].contains(depth)) << "frame " << f + 1;
    }
    const test::Item& item = movie.frames[first].at(depth);
    EXPECT_EQ(movie.shapes.at(item.character), expected.size);
    EXPECT_EQ(movie.bitmaps.at(movie.shapeBitmap.at(item.character)), expected.size);
    EXPECT_EQ((Position{item.x, item.y}), expected.at);
    const auto alpha = [&](size_t offset) { return movie.frames[first + offset].at(depth).alphaMult; };
    EXPECT_EQ(alpha(0), 1);    // (1/20)^2 of 256, rounded
    EXPECT_EQ(alpha(9), 64);   // (10/20)^2
    EXPECT_EQ(alpha(19), 256); // fully shown
    for (size_t hold = 20; hold < 60; ++hold) {
        EXPECT_EQ(alpha(hold), 256);
    }
    EXPECT_EQ(alpha(60), 231); // (19/20)^2
    EXPECT_EQ(alpha(69), 64);  // (10/20)^2
    EXPECT_EQ(alpha(79), 0);   // the last frame shows it with alpha 0
    EXPECT_FALSE(movie.frames[first + 80].contains(depth));
}

TEST(AlbumFades, QuadraticEasingInAndOut) {
    for (int k = 1; k <= 20; ++k) {
        const float t = static_cast<float>(k) / 20.0f;
        EXPECT_FLOAT_EQ(FadeInAlpha(k), t * t) << k;
        EXPECT_NEAR(FadeOutAlpha(k), (1.0f - t) * (1.0f - t), 1e-6f) << k;
    }
    EXPECT_EQ(FadeInAlpha(20), 1.0f);
    EXPECT_EQ(FadeInAlpha(10), 0.25f);
    EXPECT_EQ(FadeOutAlpha(20), 0.0f);
    EXPECT_EQ(FadeOutAlpha(10), 0.25f);
}

TEST(AlbumScript, SeventeenLinesJoinedByCrLfEachLedBySixTabsAndASpace) {
    const std::string t = "\t\t\t\t\t\t ";
    const std::string expected =
        t + "if(!init){\r\n" + t + "init=true;\r\n" + t + "stopped=false;\r\n" + t + "controls = {\r\n" + t +
        "onMouseDown: function () {\r\n" + t + "if(!stopped){\r\n" + t + "stop();\r\n" + t +
        "stopped=true;\r\n" + t + "}else{\r\n" + t + "play();\r\n" + t + "stopped=false;\r\n" + t + "}\r\n" +
        t + "}\r\n" + t + "};\r\n" + t + "Mouse.addListener(controls);\r\n" + t + "}\r\n" + t;
    EXPECT_EQ(AlbumPauseScript(), expected);
    EXPECT_TRUE(swf::as::compile(expected).has_value());
}

TEST(PhotoAlbum, EdgeCaseSizesPlacesOrderAndFrames) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "a_640x480.jpg", 640, 480);
    WritePicture(folder / "b_641x480.JPG", 641, 480);
    WritePicture(folder / "c_1000x500.jpg", 1000, 500);
    WritePicture(folder / "d_300x200.jpg", 300, 200);
    WritePicture(folder / "e.png", 100, 80);
    WritePicture(folder / "f.gif", 50, 40);
    WritePicture(folder / "g.bmp", 700, 700);
    WritePicture(folder / "sub" / "h.jpg", 320, 240);
    std::ofstream(folder / "broken.png") << "not a picture";
    std::ofstream(folder / "notes.txt") << "not taken";
    const std::vector<std::string> before = FilesBelow(folder);

    std::vector<std::string> progress;
    const fs::path out = MoviePath("edge_cases.swf");
    const AlbumOutcome outcome =
        CreatePhotoAlbum(folder, out, FreshFolder("Temp"), [&](int n, int total, const fs::path& p) {
            progress.push_back(std::to_string(n) + " of " + std::to_string(total) + " " +
                               p.filename().string());
        });

    EXPECT_EQ(progress,
              (std::vector<std::string>{"1 of 9 a_640x480.jpg", "2 of 9 b_641x480.JPG", "3 of 9 broken.png",
                                        "4 of 9 c_1000x500.jpg", "5 of 9 d_300x200.jpg", "6 of 9 e.png",
                                        "7 of 9 f.gif", "8 of 9 g.bmp", "9 of 9 h.jpg"}));
    EXPECT_EQ(outcome.pictures, 8);
    EXPECT_EQ(outcome.frames, 2 + 80 * 8);
    EXPECT_EQ(outcome.unreadable, (std::vector<fs::path>{folder / "broken.png"}));
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0],
              "cannot read the picture " + (folder / "broken.png").string() + ", skipped");
    // The converted pictures are gone again; the sources are untouched.
    EXPECT_EQ(FilesBelow(folder), before);

    const AlbumMovie movie = ReadAlbum(out);
    EXPECT_TRUE(movie.compressed);
    EXPECT_EQ(movie.version, 6);
    EXPECT_EQ(movie.width, 640);
    EXPECT_EQ(movie.height, 480);
    EXPECT_EQ(movie.rateFixed, 33 * 256);
    EXPECT_EQ(movie.background, (std::array<int, 3>{33, 33, 33}));
    EXPECT_EQ(movie.headerFrames, 642);
    ASSERT_EQ(movie.frames.size(), 642u);
    ASSERT_EQ(movie.firstFrameActions.size(), 1u);
    EXPECT_EQ(movie.firstFrameActions[0], *swf::as::compile(AlbumPauseScript()));
    EXPECT_TRUE(movie.frames.front().empty());
    EXPECT_TRUE(movie.frames.back().empty());

    ExpectPicture(movie, 0, {{640, 480}, {0, 0}}); // unchanged
    ExpectPicture(movie, 1, {{640, 479}, {0, 1}}); // 480 / (641 / 640) = 479.25
    ExpectPicture(movie, 2, {{640, 320}, {0, 80}});
    ExpectPicture(movie, 3, {{300, 200}, {170, 140}}); // never enlarged
    ExpectPicture(movie, 4, {{100, 80}, {270, 200}});
    ExpectPicture(movie, 5, {{50, 40}, {295, 220}});
    ExpectPicture(movie, 6, {{480, 480}, {80, 0}});
    ExpectPicture(movie, 7, {{320, 240}, {160, 120}}); // the subfolder's picture comes last
}

TEST(PhotoAlbum, FolderWithoutPicturesGivesTwoFrames) {
    const fs::path folder = FreshFolder();
    std::ofstream(folder / "readme.txt") << "no pictures here";
    const fs::path out = MoviePath("empty.swf");
    const AlbumOutcome outcome = CreatePhotoAlbum(folder, out, {});
    EXPECT_EQ(outcome.pictures, 0);
    EXPECT_EQ(outcome.frames, 2);
    EXPECT_TRUE(outcome.messages.empty());
    const AlbumMovie movie = ReadAlbum(out);
    EXPECT_EQ(movie.headerFrames, 2);
    ASSERT_EQ(movie.frames.size(), 2u);
    EXPECT_EQ(movie.firstFrameActions.size(), 1u);
    EXPECT_TRUE(movie.bitmaps.empty());
}

TEST(PhotoAlbum, ConvertsIntoTempWhereThePictureFolderCannotTakeTheFile) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "p.png", 800, 600);
    // A folder in the way of p.png.jpg: the converted picture cannot be saved beside its source.
    fs::create_directories(folder / "p.png.jpg" / "keep");
    const fs::path temp = FreshFolder("Temp");
    fs::create_directories(temp);

    const AlbumOutcome outcome = CreatePhotoAlbum(folder, MoviePath("temp_fallback.swf"), temp);
    EXPECT_EQ(outcome.pictures, 1);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_TRUE(fs::is_directory(folder / "p.png.jpg" / "keep"));
    EXPECT_TRUE(FilesBelow(temp).empty()); // the converted picture was there and is deleted
    const AlbumMovie movie = ReadAlbum(MoviePath("temp_fallback.swf"));
    ExpectPicture(movie, 0, {{640, 480}, {0, 0}});
}

TEST(PhotoAlbum, LeavesAFileOfTheConvertedPicturesNameAlone) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "a.png", 30, 20, {10, 200, 10});
    // The user's own picture has the name a.png's conversion would take; it is in the album too.
    WritePicture(folder / "a.png.jpg", 40, 30, {200, 10, 10});
    const std::vector<uint8_t> mine = test::ReadBytes(folder / "a.png.jpg");
    const fs::path temp = FreshFolder("Temp");

    const AlbumOutcome outcome = CreatePhotoAlbum(folder, MoviePath("name_taken.swf"), temp);
    EXPECT_EQ(outcome.pictures, 2);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(test::ReadBytes(folder / "a.png.jpg"), mine);
    EXPECT_EQ(FilesBelow(folder), (std::vector<std::string>{"a.png", "a.png.jpg"}));
    EXPECT_TRUE(FilesBelow(temp).empty());
    const AlbumMovie movie = ReadAlbum(MoviePath("name_taken.swf"));
    ExpectPicture(movie, 0, {{30, 20}, {305, 230}});
    ExpectPicture(movie, 1, {{40, 30}, {300, 225}});

    // Without a temp folder for the detour, the picture is skipped rather than the file overwritten.
    const AlbumOutcome skipped = CreatePhotoAlbum(folder, MoviePath("name_taken_no_temp.swf"), {});
    EXPECT_EQ(skipped.pictures, 1);
    EXPECT_EQ(skipped.unreadable, (std::vector<fs::path>{folder / "a.png"}));
    EXPECT_EQ(test::ReadBytes(folder / "a.png.jpg"), mine);
}

TEST(PhotoAlbum, ReportsAConvertedFileThatCannotBeDeleted) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "a.png", 20, 20);
    WritePicture(folder / "b.png", 20, 20);
    // Before the second picture, the first one's converted file is swapped for a folder that is not
    // empty, which a file deletion cannot remove.
    const AlbumOutcome outcome =
        CreatePhotoAlbum(folder, MoviePath("undeletable.swf"), {}, [&](int n, int, const fs::path&) {
            if (n == 2) {
                fs::remove(folder / "a.png.jpg");
                fs::create_directories(folder / "a.png.jpg" / "inside");
            }
        });
    EXPECT_EQ(outcome.pictures, 2);
    EXPECT_EQ(outcome.messages,
              (std::vector<std::string>{"delete" + (folder / "a.png").string() + ".jpg failed"}));
    EXPECT_FALSE(fs::exists(folder / "b.png.jpg"));
}

TEST(PhotoAlbum, AnAlbumThatCannotBeWrittenThrowsAndLeavesNoFiles) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "a.jpg", 30, 20);
    const std::vector<std::string> before = FilesBelow(folder);
    const fs::path out = FreshFolder("out") / "missing-folder" / "album.swf";
    EXPECT_THROW(CreatePhotoAlbum(folder, out, {}), swf::Error);
    EXPECT_FALSE(fs::exists(out.parent_path()));
    EXPECT_EQ(FilesBelow(folder), before);
}

TEST(PhotoAlbum, ReplacesAnOlderAlbumOnlyWithACompleteOne) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "a.jpg", 30, 20);
    const fs::path out = FreshFolder("out") / "album.swf";
    std::ofstream(out) << "older album";
    CreatePhotoAlbum(folder, out, {});
    EXPECT_EQ(ReadAlbum(out).headerFrames, 82);
    EXPECT_EQ(FilesBelow(out.parent_path()), (std::vector<std::string>{"album.swf"}));
}

// One movie holds at most 65535 frames: 819 pictures. Those beyond are left out and counted.
TEST(PhotoAlbum, LeavesOutWhatOneMovieCannotHold) {
    const fs::path folder = FreshFolder();
    const fs::path picture = FreshFolder("one") / "p.png";
    WritePicture(picture, 2, 2);
    for (int i = 0; i < kMaxPictures + 2; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d.png", i);
        fs::create_symlink(picture, folder / name);
    }
    const AlbumOutcome outcome = CreatePhotoAlbum(folder, MoviePath("largest.swf"), {});
    EXPECT_EQ(kMaxPictures, 819);
    EXPECT_EQ(outcome.pictures, 819);
    EXPECT_EQ(outcome.frames, 65522);
    EXPECT_EQ(outcome.leftOut, (std::vector<fs::path>{folder / "0819.png", folder / "0820.png"}));
    ASSERT_EQ(outcome.messages.size(), 1u);
    EXPECT_EQ(outcome.messages[0],
              "2 pictures left out: one movie holds at most 819 pictures (65535 frames), the "
              "first was " +
                  (folder / "0819.png").string());
    EXPECT_EQ(ReadAlbum(MoviePath("largest.swf")).headerFrames, 65522);
}

// The movie the player tests play (tests/e2e/album.suite.mjs): two full-stage pictures of one colour
// each, in a subfolder-free folder.
TEST(PhotoAlbum, WritesTheMovieForThePlayerTests) {
    const fs::path folder = FreshFolder();
    WritePicture(folder / "1.jpg", 640, 480, {200, 120, 40});
    WritePicture(folder / "2.png", 640, 480, {40, 90, 200});
    const AlbumOutcome outcome = CreatePhotoAlbum(folder, MoviePath("two_pictures.swf"), {});
    EXPECT_EQ(outcome.frames, 162);
}

} // namespace
} // namespace album
