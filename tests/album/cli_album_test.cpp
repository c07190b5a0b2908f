// cardwright-cli album: progress on stderr, the album written, unreadable pictures named.
#include "album_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace album {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

RunResult RunCli(const fs::path& dir, const std::string& args) {
    const std::string command = "cd '" + dir.string() + "' && CARDWRIGHT_WORK='" + (dir / "work").string() +
                                "' '" + CW_CLI_PATH + "' " + args + " >out.txt 2>err.txt";
    RunResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto read = [&](const char* name) {
        std::ifstream in(dir / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    result.out = read("out.txt");
    result.err = read("err.txt");
    return result;
}

TEST(AlbumCommand, PrintsProgressWritesTheAlbumAndNamesSkippedPictures) {
    const fs::path dir = test::FreshFolder();
    test::WritePicture(dir / "pics" / "a.jpg", 800, 600);
    test::WritePicture(dir / "pics" / "sub" / "b.png", 64, 48);
    std::ofstream(dir / "pics" / "bad.gif") << "no picture";
    const fs::path out = test::MoviePath("cli_album.swf");
    fs::remove(out);
    const RunResult r = RunCli(dir, "album pics -o '" + out.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("1 of 3: pics/a.jpg\n2 of 3: pics/bad.gif\n3 of 3: pics/sub/b.png\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("cannot read the picture pics/bad.gif, skipped"), std::string::npos) << r.err;
    const test::AlbumMovie movie = test::ReadAlbum(out);
    EXPECT_EQ(movie.headerFrames, 2 + 2 * 80);
    EXPECT_EQ(test::FilesBelow(dir / "pics"), (std::vector<std::string>{"a.jpg", "bad.gif", "sub/b.png"}));
}

TEST(AlbumCommand, RefusesAMissingFolder) {
    const fs::path dir = test::FreshFolder();
    const RunResult r = RunCli(dir, "album nowhere -o album.swf");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("nowhere is not a folder"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "album.swf"));
}

} // namespace
} // namespace album
