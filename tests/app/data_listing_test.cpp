#include "app/data_listing.h"

#include "app/test_dir.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(DataListingTest, ThemesAreTheProjectFiles) {
    const fs::path root = app::test::FreshDir();
    EXPECT_TRUE(app::ListThemes(root).empty()); // no Themes folder at all
    for (const char* name : {"Quiz.cwp", "birthday.CWP", "notes.txt"}) {
        app::test::Touch(root / "Themes" / name);
    }
    fs::create_directories(root / "Themes" / "Folder.cwp");
    const auto themes = app::ListThemes(root);
    ASSERT_EQ(themes.size(), 2u);
    EXPECT_EQ(themes[0].title, "birthday");
    EXPECT_EQ(themes[1].title, "Quiz");
    EXPECT_EQ(themes[1].file, root / "Themes" / "Quiz.cwp");
    EXPECT_EQ(app::ThemePath(root, "Gone"), root / "Themes" / "Gone.cwp");
}

TEST(DataListingTest, FontFacesNeedTheBodyFile) {
    const fs::path root = app::test::FreshDir();
    for (const char* name : {"Sans.fdb", "_Sans.fdb", "_Lonely.fdb", "Serif.fdb", "readme.txt"}) {
        app::test::Touch(root / "Font" / name);
    }
    EXPECT_EQ(app::ListFontFaces(root), (std::vector<std::string>{"Sans", "Serif"}));
}

TEST(DataListingTest, MusicSamplesByTheirLastThreeLetters) {
    const fs::path root = app::test::FreshDir();
    for (const char* name : {"song.MP3", "clip.swf", "Thumbs.db", "notes.txt", "tune.mp3db"}) {
        app::test::Touch(root / "Music" / name);
    }
    const auto samples = app::ListMusicSamples(root);
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].name, "clip.swf");
    EXPECT_EQ(samples[0].type, "swf");
    EXPECT_EQ(samples[1].name, "song.MP3");
    EXPECT_EQ(samples[1].type, "mp3");
}

} // namespace
