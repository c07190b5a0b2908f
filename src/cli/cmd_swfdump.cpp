// cardwright-cli swfdump FILE.swf: lists a movie's header and tags.
#include "cli/commands.h"
#include "swf/error.h"
#include "swf/swf_dump.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace cli {

int run_swfdump(const ParsedArgs& args) {
    const std::string& path = args.positional.at(0);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cardwright-cli swfdump: cannot open %s\n", path.c_str());
        return kExitFailure;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        const std::string listing = swf::dump_swf(bytes);
        std::fwrite(listing.data(), 1, listing.size(), stdout);
    } catch (const swf::Error& e) {
        std::fprintf(stderr, "cardwright-cli swfdump: %s: %s\n", path.c_str(), e.what());
        return kExitBadInput;
    }
    return kExitOk;
}

} // namespace cli
