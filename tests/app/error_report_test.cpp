// The error report: its message text, the log reason, and the offer to save.
#include "app/error_report.h"
#include "app/log.h"
#include "test_dir.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace app {
namespace {

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A reporter answering as told and remembering what it showed.
class ScriptedReporter : public ErrorReporter {
public:
    ScriptedReporter(Log* log, bool answer) : ErrorReporter(log), m_answer(answer) {}
    std::vector<std::string> shown;
    std::vector<std::string> tips;
    void tip(std::string_view text) override { tips.emplace_back(text); }

protected:
    bool AskToSave(const std::string& text) override {
        shown.push_back(text);
        return m_answer;
    }

private:
    bool m_answer;
};

TEST(ErrorReport, MessageTextHasTheThreeParts) {
    EXPECT_EQ(
        BuildReportText("Failed to save the current project"),
        "You have encountered an error when using Cardwright.\nIf you still encounter problems, please try "
        "Help or contact support@cardwright.example.\nMore details are in the log file cwp.log in "
        "Cardwright's work folder.\n\nReason:\n    "
        "Failed to save the current project\nDo you want to save the current project?");
}

TEST(ErrorReport, NoWritesTheLogReasonAndSavesNothing) {
    const auto path = test::FreshDir() / "cwp.log";
    Log log(path);
    ScriptedReporter reporter(&log, false);
    int saves = 0;
    reporter.SetSaveHandler([&] { ++saves; });
    reporter.report(reasons::kRemoveLink);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0], BuildReportText("Exception in CCardwrightDlg::OnBtnRemovelink"));
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(ReadAll(path), "Exception in CCardwrightDlg::OnBtnRemovelink\n");
}

TEST(ErrorReport, YesRunsTheSaveAfterLogging) {
    const auto path = test::FreshDir() / "cwp.log";
    Log log(path);
    ScriptedReporter reporter(&log, true);
    std::string logAtSave;
    reporter.SetSaveHandler([&] { logAtSave = ReadAll(path); });
    reporter.report(reasons::kFlashDisplay);
    EXPECT_EQ(logAtSave, "Flash.ocx Display Error\n");
    EXPECT_NE(reporter.shown.at(0).find("Flash.ocx is missing. Please restart the program or reinstall the "
                                        "program.\nDo you want"),
              std::string::npos);
}

TEST(ErrorReport, WorksWithoutALog) {
    ScriptedReporter reporter(nullptr, true);
    reporter.report(reasons::kSaveProject); // no save handler, no log: only shown
    EXPECT_EQ(reporter.shown.size(), 1u);
}

TEST(ErrorReport, ReasonTableKeepsTheExactTexts) {
    EXPECT_EQ(reasons::kClearSkin.message, "Failed to clear the resources of the skin");
    EXPECT_EQ(reasons::kClearSkin.log, "Failed to clear the resources of the skin\n");
    EXPECT_EQ(reasons::kDrawButtonBackground1.message, "Failed to draw the background of the button");
    EXPECT_EQ(reasons::kDrawButtonBackground2.message, "Failed to draw the button's background");
    EXPECT_EQ(reasons::kAddSwfFile.log, "Error when adding the SWF file to the e-gift.\n");
}

TEST(ConsoleReporter, WritesReportAndTipsToItsStream) {
    const auto dir = test::FreshDir();
    std::FILE* out = std::fopen((dir / "stderr.txt").c_str(), "w+");
    ASSERT_NE(out, nullptr);
    Log log(dir / "cwp.log");
    ConsoleReporter reporter(&log, out);
    bool saved = false;
    reporter.SetSaveHandler([&] { saved = true; });
    reporter.report(reasons::kCreateSwf);
    reporter.tip("Please select a link to delete.");
    std::fclose(out);
    EXPECT_FALSE(saved) << "the command line never answers Yes";
    EXPECT_EQ(ReadAll(dir / "stderr.txt"),
              BuildReportText("Failed to create the SWF file. Please try again.") +
                  "\nPlease select a link to delete.\n");
    EXPECT_EQ(ReadAll(dir / "cwp.log"), "Failed to create the SWF file. Please try again.\n");
}

} // namespace
} // namespace app
