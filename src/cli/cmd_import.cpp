// import STORY.twee|STORY.html -o PROJECT.cwp: a Twine story as a project.
#include "cli/commands.h"
#include "cli/project_io.h"
#include "interop/story_import.h"

#include <cstdio>

namespace cli {

int RunImport(const ParsedArgs& args) {
    const auto out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli import: missing -o PROJECT.cwp\n");
        return kExitUsage;
    }
    const std::string& source = args.positional.at(0);
    try {
        const interop::ImportResult result = interop::ImportStoryFile(source);
        for (const std::string& w : result.warnings) {
            std::fprintf(stderr, "warning: %s\n", w.c_str());
        }
        return SaveOrReport(result.project, *out);
    } catch (const interop::StoryError& e) {
        std::fprintf(stderr, "cardwright-cli import: %s: %s\n", source.c_str(), e.what());
        return kExitBadInput;
    }
}

} // namespace cli
