// pack FILE.json -o FILE.cwp: the reverse of dump.
#include "cli/commands.h"
#include "cli/project_io.h"
#include "cli/project_json.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace cli {

int RunPack(const ParsedArgs& args) {
    const auto out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli pack: missing -o FILE.cwp\n");
        return kExitUsage;
    }
    const std::string& source = args.positional.at(0);
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cardwright-cli pack: cannot read %s\n", source.c_str());
        return kExitFailure;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        return SaveOrReport(ProjectFromJson(text), *out);
    } catch (const JsonError& e) {
        std::fprintf(stderr, "cardwright-cli pack: %s: %s\n", source.c_str(), e.what());
        return kExitBadInput;
    }
}

} // namespace cli
