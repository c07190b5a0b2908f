// cardwright-cli compile-as FILE.as [--listing]: compiles one ActionScript file and writes the action
// bytes (ending with End) to standard output, or their listing with --listing.
#include "cli/commands.h"
#include "swf/as/compiler.h"
#include "swf/as/disassembler.h"

#include <cstdio>   // output
#include <fstream>  // the script file
#include <iterator> // reading it whole

namespace cli {

int cmd_compile_as(const ParsedArgs& args) {
    const std::string& path = args.positional[0];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cardwright-cli compile-as: cannot read %s\n", path.c_str());
        return kExitFailure;
    }
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    swf::as::CompileError error;
    const auto bytes = swf::as::compile(source, &error);
    if (!bytes) {
        std::fprintf(stderr, "%s\n", error.format(path).c_str());
        return kExitBadInput;
    }
    if (args.has("--listing")) {
        std::fputs(swf::as::disassemble(*bytes).c_str(), stdout);
    } else {
        std::fwrite(bytes->data(), 1, bytes->size(), stdout);
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

} // namespace cli
