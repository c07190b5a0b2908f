// cardwright-cli html and build --html with a project: the web page, or for a gift with a Flash clip the
// page with the player, exit status 0 and one line naming the clip.
#include "model/archive.h"
#include "model/project.h"
#include "web/runtime.h"
#include "web_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string err;
};

Result RunCli(const std::string& args) {
    // One file a test process: ctest runs the cases of this program side by side.
    const fs::path errFile =
        fs::path(CW_TEST_BINARY_DIR) / "web-work" / ("cli-stderr-" + std::to_string(getpid()) + ".txt");
    fs::create_directories(errFile.parent_path());
    const std::string command = "CARDWRIGHT_HOME='" CW_TEST_DATA_DIR "' '" CW_CLI "' " + args +
                                " >/dev/null 2>'" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    Result r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), {});
    return r;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::string kThemes = CW_TEST_DATA_DIR "/Themes/";

TEST(WebCliTest, ProjectBecomesTheWebPage) {
    const fs::path out = fs::path(CW_TEST_BINARY_DIR) / "web-work" / "cli";
    fs::create_directories(out);
    const Result html =
        RunCli("html '" + kThemes + "Quiz.cwp' -o '" + (out / "q.html").string() + "' --lang fr");
    EXPECT_EQ(html.status, 0) << html.err;
    EXPECT_EQ(html.err, "");
    const std::string page = Read(out / "q.html");
    EXPECT_NE(page.find("<html lang=\"fr\">"), std::string::npos);
    EXPECT_NE(page.find("<title>Question 1: Which planet is the largest?</title>"), std::string::npos);
    EXPECT_EQ(page.find("RufflePlayer"), std::string::npos);

    const Result build = RunCli("build '" + kThemes + "Quiz.cwp' -o '" + (out / "q.swf").string() +
                                "' --html '" + (out / "q2.html").string() + "'");
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_TRUE(fs::exists(out / "q.swf"));
    EXPECT_EQ(Read(out / "q2.html").find("RufflePlayer"), std::string::npos);
}

TEST(WebCliTest, FlashClipGetsThePlayerPageAndOneLine) {
    const fs::path out = fs::path(CW_TEST_BINARY_DIR) / "web-work" / "cli";
    fs::create_directories(out);
    // The greeting with the sample clip as its last card's background.
    model::Project greeting = model::LoadProjectFile(kThemes + "Greeting.cwp");
    greeting.cards[2]->m_strBackground = "Background\\Bubbles.swf";
    const std::string clip = (out / "clip.cwp").string();
    model::SaveProjectFile(greeting, clip);
    for (const char* command : {"html", "build"}) {
        const std::string page = (out / (std::string(command) + "-greeting.html")).string();
        const std::string args = std::string(command) == "html"
                                     ? "html '" + clip + "' -o '" + page + "'"
                                     : "build '" + clip + "' -o '" + (out / "g.swf").string() + "' --html '" +
                                           page + "'";
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find("Bubbles.swf"), std::string::npos) << r.err;
        EXPECT_GT(fs::file_size(page), 1000u * 1000) << "the page holds the player";
    }
}

TEST(WebCliTest, RuntimeIsSmall) {
    EXPECT_LT(web::kRuntimeScript.size() + web::kRuntimeStyle.size(), 16u * 1024);
    EXPECT_EQ(web::kRuntimeScriptSha256Hex.size(), 64u);
}

} // namespace
