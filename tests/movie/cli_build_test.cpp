// cardwright-cli build: the movie is written, reports and tips reach stderr and the log, and the exit
// status says whether the file could be written.
#include "model/archive.h"
#include "model/project.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string output; // stdout and stderr
};

CliRun RunCli(const std::string& args, const fs::path& work) {
    const std::string command =
        "CARDWRIGHT_WORK='" + work.string() + "' '" + CW_CLI_PATH + "' " + args + " 2>&1";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class CliBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(CW_TEST_BINARY_DIR) / "test-work" / "cli_build" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        movies = fs::path(CW_TEST_BINARY_DIR) / "test-movies" / "gift";
        fs::create_directories(movies);
    }
    fs::path dir;
    fs::path movies;
};

TEST_F(CliBuildTest, WholeMovieAndSingleCard) {
    ASSERT_TRUE(model::SaveProjectFile(model::MakeDefaultProject(), dir / "p.cwp"));
    CliRun whole =
        RunCli("build '" + (dir / "p.cwp").string() + "' -o '" + (movies / "cli_whole.swf").string() + "'",
               dir / "work");
    EXPECT_EQ(whole.status, 0) << whole.output;
    EXPECT_EQ(whole.output, "");
    EXPECT_GT(fs::file_size(movies / "cli_whole.swf"), 1000u);
    CliRun card = RunCli("build '" + (dir / "p.cwp").string() + "' -o '" +
                             (movies / "cli_card.swf").string() + "' --card 2",
                         dir / "work");
    EXPECT_EQ(card.status, 0) << card.output;
    EXPECT_LT(fs::file_size(movies / "cli_card.swf"), fs::file_size(movies / "cli_whole.swf"));
    EXPECT_EQ(RunCli("build '" + (dir / "p.cwp").string() + "' -o x.swf --card 3", dir / "work").status, 64);
}

TEST_F(CliBuildTest, StepFailuresAreReportedAndTheMovieStillWritten) {
    model::Project project = model::MakeDefaultProject();
    const fs::path bad = dir / "broken.jpg";
    std::ofstream(bad) << "no picture";
    project.cards[0]->m_bProjectBg = 0;
    project.cards[0]->m_strBackground = bad.string();
    ASSERT_TRUE(model::SaveProjectFile(project, dir / "p.cwp"));
    CliRun run =
        RunCli("build '" + (dir / "p.cwp").string() + "' -o '" + (movies / "cli_tip.swf").string() + "'",
               dir / "work");
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string tip = "Loading the picture '" + bad.string() + "' failed; please try again.";
    EXPECT_EQ(run.output, tip + "\n");
    EXPECT_NE(ReadText(dir / "work" / "cwp.log").find(tip), std::string::npos);
    EXPECT_TRUE(fs::exists(movies / "cli_tip.swf"));
}

TEST_F(CliBuildTest, UnwritableMovieFails) {
    ASSERT_TRUE(model::SaveProjectFile(model::MakeDefaultProject(), dir / "p.cwp"));
    CliRun run =
        RunCli("build '" + (dir / "p.cwp").string() + "' -o '" + (dir / "no/such/x.swf").string() + "'",
               dir / "work");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot write"), std::string::npos);
}

} // namespace
