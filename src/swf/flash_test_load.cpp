#include "swf/flash_test_load.h"

#include "swf/clip_import.h"
#include "swf/error.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <vector>

namespace swf {

FlashTestResult flash_test_load(const std::filesystem::path& path) {
    const std::string name = path.string();
    if (name.size() <= 4 || !name.ends_with(".swf")) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return {false, "cannot read " + name};
    }
    // The clip is thrown away, so any run of fresh ids will do; a file needing more ids than a movie
    // holds is as unusable here as in a real import.
    uint32_t next = 0;
    const auto next_id = [&next]() -> CharacterId {
        if (next >= std::numeric_limits<CharacterId>::max()) {
            throw Error("the clip defines more characters than a movie can hold");
        }
        return CharacterId(++next);
    };
    try {
        import_clip(bytes, next_id);
    } catch (const std::exception& e) {
        return {false, e.what()};
    }
    return {};
}

} // namespace swf
