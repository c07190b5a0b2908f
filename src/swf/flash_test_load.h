// The Flash test load: checks that a Flash file can be imported as a clip, the way the pickers vet a
// chosen .swf before accepting it. The clip read is discarded.
#pragma once

#include <filesystem>
#include <string>

namespace swf {

struct FlashTestResult {
    bool ok = true;
    std::string error; // why the file cannot be imported, when !ok
};

// Only a path longer than 4 characters that ends in ".swf" (exact case) is read; any other path, and a
// file that cannot be opened, passes without being read. A file that is read passes when the clip import
// accepts it.
FlashTestResult flash_test_load(const std::filesystem::path& path);

} // namespace swf
