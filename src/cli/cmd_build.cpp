// cardwright-cli build PROJECT.cwp -o OUT.swf [--card N] [--html OUT.html]: the whole e-gift movie, or
// the movie of one card as the live preview shows it, and with --html its self-running page. Error reports
// and tips go to stderr and to the log.
#include "app/app_state.h"
#include "app/error_report.h"
#include "app/log.h"
#include "app/workspace.h"
#include "cli/commands.h"
#include "model/archive.h"
#include "movie/gift_builder.h"

#include <charconv>
#include <cstdio>
#include <exception>

namespace cli {

namespace {

// Tips have no balloon here: they are printed and logged like the reports.
class BuildReporter : public app::ConsoleReporter {
public:
    explicit BuildReporter(app::Log* log) : app::ConsoleReporter(log), m_log(log) {}
    void tip(std::string_view text) override {
        app::ConsoleReporter::tip(text);
        m_log->Write(std::string(text) + "\n");
    }

private:
    app::Log* m_log;
};

std::optional<int> ParseCard(const std::string& text) {
    int value = -1;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

int cmd_build(const ParsedArgs& args) {
    const std::string& projectPath = args.positional[0];
    const std::optional<std::string> out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli build: missing -o OUT.swf\n");
        return kExitUsage;
    }
    model::Project project;
    try {
        project = model::LoadProjectFile(projectPath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardwright-cli build: cannot read %s: %s\n", projectPath.c_str(), e.what());
        return kExitBadInput;
    }
    const model::CCardInfo* card = nullptr;
    int cardIndex = 0;
    if (const std::optional<std::string> cardText = args.option("--card")) {
        const std::optional<int> n = ParseCard(*cardText);
        if (!n || *n >= project.CardCount()) {
            std::fprintf(stderr, "cardwright-cli build: --card %s: the project has %d cards (0-based)\n",
                         cardText->c_str(), project.CardCount());
            return kExitUsage;
        }
        cardIndex = *n;
        card = project.cards[size_t(cardIndex)].get();
    }

    const app::Workspace workspace = app::Workspace::FromEnvironment();
    workspace.EnsureTempDir();
    app::Log log(workspace.LogPath());
    BuildReporter reporter(&log);
    const app::AppState state;
    movie::GiftBuilder builder(project, state, workspace, reporter);
    try {
        // Whole movies always convert pictures afresh; a single card reuses what is converted.
        builder.GenerateSWF(*out, card, card == nullptr ? 1 : 0, cardIndex);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardwright-cli build: cannot write %s: %s\n", out->c_str(), e.what());
        return kExitFailure;
    }
    if (const std::optional<std::string> html = args.option("--html")) {
        if (card != nullptr) {
            return WriteHtmlGift(*out, *html, "build"); // one card's movie has no page of its own
        }
        return WriteProjectPage(project, builder, *out, *html, AuthorLanguage(args), "build");
    }
    return kExitOk;
}

} // namespace cli
