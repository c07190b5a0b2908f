// dump FILE.cwp: prints the project as JSON.
#include "cli/commands.h"
#include "cli/project_io.h"
#include "cli/project_json.h"

#include <cstdio>

namespace cli {

int RunDump(const ParsedArgs& args) {
    auto project = LoadOrExplain(args.positional.at(0));
    if (!project) {
        return kExitBadInput;
    }
    const std::string json = ProjectToJson(*project);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

} // namespace cli
