// The run log: a fresh file per run, the UTC header, raw writes, and running on without a log.
#include "app/log.h"
#include "test_dir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace app {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::chrono::system_clock::time_point Utc(int y, int mo, int d, int h, int mi, int s) {
    using namespace std::chrono;
    return sys_days(year(y) / mo / d) + hours(h) + minutes(mi) + seconds(s);
}

TEST(Log, HeaderHasNoLeadingZerosAndUsesUtc) {
    EXPECT_EQ(RunHeader(Utc(2005, 3, 7, 9, 5, 0)), "2005/3/7, 9:5:0 - \n\n");
    EXPECT_EQ(RunHeader(Utc(2026, 12, 31, 23, 59, 59)), "2026/12/31, 23:59:59 - \n\n");
}

TEST(Log, TwoRunsLeaveOnlyTheSecondRunsLog) {
    const auto path = test::FreshDir() / "cwp.log";
    {
        Log first(path);
        ASSERT_TRUE(first.IsOpen());
        first.WriteRunHeader(Utc(2005, 3, 7, 9, 5, 0));
        first.Write("Failed to save current project\n");
    }
    {
        Log second(path);
        second.WriteRunHeader(Utc(2006, 1, 2, 3, 4, 5));
        second.Write("raw");
        second.Write(" text");
        EXPECT_EQ(ReadAll(path), "2006/1/2, 3:4:5 - \n\nraw text") << "written at once, not at close";
    }
    EXPECT_EQ(ReadAll(path), "2006/1/2, 3:4:5 - \n\nraw text");
}

TEST(Log, WithoutALogWritesDoNothing) {
    Log missing(test::FreshDir() / "no" / "such" / "folder" / "cwp.log");
    EXPECT_FALSE(missing.IsOpen());
    missing.WriteRunHeader();
    missing.Write("ignored");
    Log none;
    EXPECT_FALSE(none.IsOpen());
    none.Write("ignored");
    EXPECT_STREQ(kUnableToCreateLog, "Unable to create log file");
}

TEST(Log, MovingKeepsOneOwner) {
    const auto path = test::FreshDir() / "cwp.log";
    Log a(path);
    Log b = std::move(a);
    EXPECT_FALSE(a.IsOpen());
    b.Write("once");
    a.Write("never");
    EXPECT_EQ(ReadAll(path), "once");
}

} // namespace
} // namespace app
