// export PROJECT.cwp --twee STORY.twee: a project as a Twee 3 story for Twine.
#include "cli/commands.h"
#include "cli/project_io.h"
#include "interop/twee_writer.h"

#include <cstdio>
#include <fstream>

namespace cli {

int RunExport(const ParsedArgs& args) {
    const auto out = args.option("--twee");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli export: missing --twee STORY.twee\n");
        return kExitUsage;
    }
    const auto project = LoadOrExplain(args.positional.at(0));
    if (!project) {
        return kExitBadInput;
    }
    if (project->cards.empty()) {
        std::fprintf(stderr, "cardwright-cli export: the project has no cards\n");
        return kExitBadInput;
    }
    const interop::ExportResult result = interop::ExportTwee(*project);
    for (const std::string& w : result.warnings) {
        std::fprintf(stderr, "warning: %s\n", w.c_str());
    }
    // Written beside and renamed over, so a failed write leaves an older story as it was.
    const std::filesystem::path target(*out);
    std::filesystem::path temp = target;
    temp += ".part";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        file << result.twee;
        file.close();
        if (!file) {
            std::fprintf(stderr, "cardwright-cli export: cannot write %s\n", out->c_str());
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return kExitFailure;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::fprintf(stderr, "cardwright-cli export: cannot write %s: %s\n", out->c_str(),
                     ec.message().c_str());
        std::filesystem::remove(temp, ec);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace cli
