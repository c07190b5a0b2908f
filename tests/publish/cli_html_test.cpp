// cardwright-cli html and build --html: the page is written next to the movie; a file that is not a
// movie is refused with the self-running command's message.
#include "publish_flow_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string output;
};

Result RunCli(const std::string& args) {
    const std::string command = "CARDWRIGHT_HOME='" CW_TEST_DATA_DIR "' '" CW_CLI "' " + args + " 2>&1";
    Result r;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) {
        r.output += buffer;
    }
    const int status = pipe ? pclose(pipe) : -1;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(CliHtmlTest, BuildWithHtmlWritesMovieAndPage) {
    const fs::path dir = publish_test::FreshFolder("out");
    const Result r = RunCli("build '" CW_TEST_DATA_DIR "/Themes/Greeting.cwp' -o '" +
                            (dir / "g.swf").string() + "' --html '" + (dir / "g.html").string() + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "g.swf"));
    EXPECT_GT(fs::file_size(dir / "g.html"), fs::file_size(dir / "g.swf"));
}

TEST(CliHtmlTest, RefusalsAndTheirStatus) {
    const fs::path dir = publish_test::FreshFolder("out");
    publish_test::WriteText(dir / "notes.swf", "no movie");
    const Result notMovie =
        RunCli("html '" + (dir / "notes.swf").string() + "' -o '" + (dir / "n.html").string() + "'");
    EXPECT_EQ(notMovie.status, 1);
    EXPECT_NE(
        notMovie.output.find("The self-running file could not be made: the player could not be opened."),
        std::string::npos)
        << notMovie.output;
    EXPECT_FALSE(fs::exists(dir / "n.html"));
    EXPECT_EQ(
        RunCli("html '" + (dir / "none.swf").string() + "' -o '" + (dir / "n.html").string() + "'").status,
        2);
    EXPECT_EQ(RunCli("html '" + (dir / "notes.swf").string() + "'").status, 64);
}

} // namespace
