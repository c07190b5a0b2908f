// cardwright-cli html PROJECT.cwp|MOVIE.swf -o GIFT.html: the gift as one .html file that plays from
// disk in any current browser: a project's web page, or the page with the Flash player for a movie.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/log.h"
#include "app/workspace.h"
#include "cli/commands.h"
#include "model/archive.h"
#include "publish/self_running_html.h"

#include <cstdio>
#include <filesystem>

namespace cli {

int WriteHtmlGift(const std::filesystem::path& movie, const std::filesystem::path& out, const char* command) {
    const app::Workspace workspace = app::Workspace::FromEnvironment();
    try {
        publish::WriteSelfRunningHtml(movie, workspace.DataRoot() / "Ruffle", out);
    } catch (const publish::PublishError& e) {
        std::fprintf(stderr, "cardwright-cli %s: %s\n  %s\n", command,
                     std::string(publish::kSelfRunningFailed).c_str(), e.what());
        return kExitFailure;
    }
    return kExitOk;
}

int cmd_html(const ParsedArgs& args) {
    const std::filesystem::path movie = args.positional[0];
    const std::optional<std::string> out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli html: missing -o GIFT.html\n");
        return kExitUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(movie, ec)) {
        std::fprintf(stderr, "cardwright-cli html: %s is not a file\n", movie.c_str());
        return kExitBadInput;
    }
    if (movie.extension() == ".swf" || movie.extension() == ".SWF") {
        return WriteHtmlGift(movie, *out, "html");
    }
    model::Project project;
    try {
        project = model::LoadProjectFile(movie);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardwright-cli html: cannot read %s: %s\n", movie.c_str(), e.what());
        return kExitBadInput;
    }
    const app::Workspace workspace = app::Workspace::FromEnvironment();
    workspace.EnsureTempDir();
    app::Log log(workspace.LogPath());
    app::ConsoleReporter reporter(&log);
    const app::AppState state;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    return WriteProjectPage(project, builder, workspace.TempDir() / "generate.swf", *out,
                            AuthorLanguage(args), "html");
}

} // namespace cli
