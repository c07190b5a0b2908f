// Writing a whole file safely: beside the target first, then renamed over it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace imaging {

// Writes `bytes` to a temporary file in the target's folder and renames it over `target`. Returns false
// (and leaves no temporary file and the old target untouched) when any step fails.
bool WriteFileReplacing(const std::filesystem::path& target, std::span<const uint8_t> bytes);

} // namespace imaging
