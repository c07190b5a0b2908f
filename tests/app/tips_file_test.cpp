#include "app/tips_file.h"

#include "app/test_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using app::TipsProfile;
using app::TipsReader;

// The tips shown by opening the file and pressing Next `count - 1` times.
std::vector<std::string> Read(const fs::path& file, TipsProfile& profile, int count) {
    TipsReader reader(file, profile);
    std::vector<std::string> seen{reader.Text()};
    for (int i = 1; i < count; ++i) {
        reader.Next();
        seen.push_back(reader.Text());
    }
    return seen;
}

struct ReadCase {
    const char* name;
    std::string content;
    int count;
    std::vector<std::string> expected;
};

TEST(TipsFileTest, ReadsTipsByTheLineRules) {
    const std::string longLine(1500, 'x');
    const std::vector<ReadCase> cases = {
        {"skips comments, blanks, tabs and empty lines",
         "; comment\nfirst\n\n  indented\n\tt\nsecond\n",
         2,
         {"first", "second"}},
        {"starts again after the last tip", "a\n;c\nb\n", 4, {"a", "b", "a", "b"}},
        {"reads CR LF line ends as one", "a\r\n\r\nb\r\n", 2, {"a", "b"}},
        {"last line without line end", "a\nb", 3, {"a", "b", "a"}},
        {"a long line is two tips",
         longLine + "\nshort\n",
         3,
         {std::string(999, 'x'), std::string(501, 'x'), "short"}},
        {"a file of comments holds no tip", ";one\n;two\n\n", 2, {app::kTipsNone, app::kTipsNone}},
        {"an empty file holds no tip", "", 1, {app::kTipsNone}},
    };
    for (const ReadCase& c : cases) {
        const fs::path file = app::test::FreshDir() / "Tips.txt";
        app::test::Touch(file, c.content);
        TipsProfile profile;
        EXPECT_EQ(Read(file, profile, c.count), c.expected) << c.name;
    }
}

TEST(TipsFileTest, PositionCarriesOverUntilTheFileIsTouched) {
    const fs::path file = app::test::FreshDir() / "Tips.txt";
    app::test::Touch(file, "one\ntwo\nthree\n");
    TipsProfile profile;
    {
        TipsReader reader(file, profile);
        EXPECT_EQ(reader.Text(), "one");
        profile.filePos = reader.Position();
    }
    EXPECT_FALSE(profile.timeStamp.empty());
    EXPECT_EQ(TipsReader(file, profile).Text(), "two");

    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(30));
    TipsReader touched(file, profile);
    EXPECT_EQ(touched.Text(), "one");
    EXPECT_EQ(profile.timeStamp, app::TipsTimeStamp(file));
}

TEST(TipsFileTest, MissingFileSaysSo) {
    TipsProfile profile;
    profile.filePos = 42;
    TipsReader reader(app::test::FreshDir() / "Tips.txt", profile);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(reader.GetStatus(), TipsReader::Status::Missing);
    EXPECT_EQ(reader.Text(), app::kTipsMissing);
    EXPECT_EQ(profile.filePos, 42); // kept for when the file comes back
}

TEST(TipsFileTest, BadStoredPositionIsTroubleNotATip) {
    const fs::path file = app::test::FreshDir() / "Tips.txt";
    app::test::Touch(file, "one\n");
    TipsProfile profile{0, -5, app::TipsTimeStamp(file)};
    TipsReader reader(file, profile);
    EXPECT_EQ(reader.GetStatus(), TipsReader::Status::SeekFailed);
    EXPECT_EQ(reader.Text(), "");
}

TEST(TipsFileTest, PreviousGoesBackThroughTheSession) {
    const fs::path file = app::test::FreshDir() / "Tips.txt";
    app::test::Touch(file, "one\ntwo\nthree\n");
    TipsProfile profile;
    TipsReader reader(file, profile);
    EXPECT_FALSE(reader.Previous());
    reader.Next();
    reader.Next();
    ASSERT_EQ(reader.Text(), "three");
    EXPECT_TRUE(reader.Previous());
    EXPECT_EQ(reader.Text(), "two");
    reader.Next();
    EXPECT_EQ(reader.Text(), "three");
}

} // namespace
