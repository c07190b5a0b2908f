#include "mp3_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace swf::test {

std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(CW_TEST_BINARY_DIR) / "mp3-tests" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path SynthMp3(const std::filesystem::path& folder, const std::string& name, int rate,
                               int channels, double seconds, const std::string& lame_options) {
    const std::filesystem::path path = folder / name;
    // lame picks a lower rate for low bitrates by itself; --resample (in kHz) keeps the one asked for.
    std::string khz = std::to_string(rate / 1000) + "." + std::to_string(rate % 1000 + 1000).substr(1);
    const std::string command = "sox -q -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) +
                                " -b 16 -t wav - synth " + std::to_string(seconds) +
                                " sine 440 2>/dev/null | lame --quiet --resample " + khz + " " +
                                lame_options + " - '" + path.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

size_t Find(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle) {
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return it == haystack.end() ? std::string::npos : size_t(it - haystack.begin());
}

} // namespace swf::test
