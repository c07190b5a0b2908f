// map FILE.cwp -o MAP.svg: the story map as an SVG picture, cards with findings framed by severity.
#include "app/workspace.h"
#include "check/checker.h"
#include "check/map_svg.h"
#include "check/story_map.h"
#include "cli/commands.h"
#include "cli/project_io.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace cli {

int RunMap(const ParsedArgs& args) {
    const std::optional<std::string> out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli map: missing -o MAP.svg\n");
        return kExitUsage;
    }
    auto project = LoadOrExplain(args.positional.at(0));
    if (!project) {
        return kExitBadInput;
    }
    std::string svg;
    try {
        const app::Workspace workspace = app::Workspace::FromEnvironment();
        const auto findings = check::CheckProject(*project, {workspace.DataRoot(), {}});
        svg = check::StoryMapToSvg(check::LayOutStoryMap(*project), findings);
    } catch (const std::runtime_error& e) {
        std::fprintf(stderr, "cardwright-cli map: %s\n", e.what());
        return kExitFailure;
    }
    std::ofstream file(*out, std::ios::binary);
    file.write(svg.data(), static_cast<std::streamsize>(svg.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "cardwright-cli map: cannot write %s\n", out->c_str());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace cli
