// new -o FILE.cwp: writes the default project as New leaves it.
#include "cli/commands.h"
#include "cli/project_io.h"

namespace cli {

int RunNew(const ParsedArgs& args) {
    const auto out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli new: missing -o FILE.cwp\n");
        return kExitUsage;
    }
    return SaveOrReport(model::MakeDefaultProject(), *out);
}

} // namespace cli
