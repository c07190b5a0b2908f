// check FILE.cwp [--json]: the gift checker's findings, one line each (nothing when there is none) or as
// JSON. Exit 0 without errors, 1 with errors, 2 for a file that cannot be read.
#include "app/workspace.h"
#include "check/checker.h"
#include "check/glyph_tips.h"
#include "check/report.h"
#include "cli/commands.h"
#include "cli/project_io.h"

#include <cstdio>

namespace cli {

int RunCheck(const ParsedArgs& args) {
    auto project = LoadOrExplain(args.positional.at(0));
    if (!project) {
        return kExitBadInput;
    }
    const app::Workspace workspace = app::Workspace::FromEnvironment();
    const check::CheckOptions options{workspace.DataRoot(),
                                      check::MakeGlyphTip(project->settings, workspace)};
    const std::vector<check::Finding> findings = check::CheckProject(*project, options);
    std::string out;
    if (args.has("--json")) {
        out = check::FindingsToJson(findings);
    } else {
        for (const check::Finding& f : findings) {
            out += check::FormatLine(*project, f) + "\n";
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) {
        return kExitFailure;
    }
    return check::HasErrors(findings) ? kExitFailure : kExitOk;
}

} // namespace cli
