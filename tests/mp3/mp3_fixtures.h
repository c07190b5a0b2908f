// MP3 files for the tests, synthesised at test time with sox and lame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace swf::test {

std::filesystem::path FreshFolder(const std::string& name);

// `seconds` of a sine tone at `rate` Hz and `channels` channels, encoded by lame with `lame_options`
// (for example "-b 128" or "--add-id3v2 --tt Title"), at that same rate. Lame writes its Info frame with
// delay and padding (except when it adds ID3 tags).
std::filesystem::path SynthMp3(const std::filesystem::path& folder, const std::string& name, int rate,
                               int channels, double seconds, const std::string& lame_options = "-b 128");

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Where `needle` occurs in `haystack`, or npos.
size_t Find(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle);

} // namespace swf::test
