// Writes the real-player movies: every script compiles, each becomes a frame action of a small movie,
// and the expected traces go beside them in expected.json for tests/e2e/actionscript.suite.mjs.
#include "player_cases.h"

#include "swf/action.h"
#include "swf/as/compiler.h"
#include "swf/movie.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string json_string(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

TEST(PlayerMovies, EveryCaseCompilesAndIsWritten) {
    const std::filesystem::path dir = std::filesystem::path(CW_TEST_BINARY_DIR) / "test-movies" / "as";
    std::filesystem::create_directories(dir);
    const auto stop = swf::as::compile("stop();");
    ASSERT_TRUE(stop);
    std::string json = "[\n";
    for (const as_test::PlayerCase& c : as_test::player_cases()) {
        swf::Movie movie;
        movie.set_dimension(120, 80);
        movie.set_rate(24);
        movie.next_frame(); // frame 1 stays empty, so the player is listening before any script runs
        for (size_t i = 0; i < c.frames.size(); ++i) {
            swf::as::CompileError error;
            const auto bytes = swf::as::compile(c.frames[i], &error);
            ASSERT_TRUE(bytes) << c.name << ": " << error.format(c.name + ".as");
            movie.add(swf::Action(*bytes));
            if (i + 1 == c.frames.size()) {
                movie.add(swf::Action(*stop));
            }
            movie.next_frame();
        }
        movie.write_file(dir / (c.name + ".swf"));
        json += std::string(json == "[\n" ? "" : ",\n") + "  {\"movie\": " + json_string(c.name + ".swf") +
                ", \"traces\": [";
        for (size_t i = 0; i < c.traces.size(); ++i) {
            json += (i ? ", " : "") + json_string(c.traces[i]);
        }
        json += "]}";
    }
    json += "\n]\n";
    std::ofstream out(dir / "expected.json", std::ios::binary);
    out << json;
    ASSERT_TRUE(out.good());
}

} // namespace
