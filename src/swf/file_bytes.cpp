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
    // One read of the whole file where its size is known (fonts are read at every build); byte by byte
    // otherwise (a pipe, say).
    std::vector<uint8_t> bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0 && in) {
        bytes.resize(static_cast<size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), size);
        bytes.resize(static_cast<size_t>(in.gcount()));
        in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit)); // a file that shrank meanwhile
    } else {
        in.clear();
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad()) {
        throw Error(std::string("cannot read ") + what + " " + path.string());
    }
    return bytes;
}

} // namespace swf::detail
