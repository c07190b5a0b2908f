#include "swf/file_bytes.h"

#include "swf/error.h"

#include <fstream>
#include <iterator>

namespace swf::detail {

std::vector<uint8_t> read_file_bytes(const std::filesystem::path& path, const char* what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Error(std::string("cannot open ") + what + " " + path.string());
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw Error(std::string("cannot read ") + what + " " + path.string());
    }
    return bytes;
}

} // namespace swf::detail
