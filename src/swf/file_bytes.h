// Reading a whole file for the loaders of fonts, bitmaps and clips.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace swf::detail {

// Throws swf::Error naming `what` and the path when the file cannot be read.
std::vector<uint8_t> read_file_bytes(const std::filesystem::path& path, const char* what);

} // namespace swf::detail
