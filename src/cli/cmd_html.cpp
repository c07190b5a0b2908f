// cardwright-cli html MOVIE.swf -o GIFT.html: the self-running gift of a movie, one .html file that
// plays from disk in any current browser.
#include "app/workspace.h"
#include "cli/commands.h"
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
    return WriteHtmlGift(movie, *out, "html");
}

} // namespace cli
