// The web page gift of a project, shared by the html and build commands: the page in plain HTML, or,
// for a gift with a Flash clip, the page with the Flash player and one line on stderr saying why.
#include "app/workspace.h"
#include "cli/commands.h"
#include "web/page_lang.h"
#include "web/page_writer.h"

#include <cstdio>
#include <cstdlib>

namespace cli {

std::string AuthorLanguage(const ParsedArgs& args) {
    if (const std::optional<std::string> lang = args.option("--lang")) {
        return web::LanguageTag(*lang);
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value) {
            return web::LanguageTag(value);
        }
    }
    return "en";
}

int WriteProjectPage(model::Project& project, movie::GiftBuilder& builder, const std::filesystem::path& movie,
                     const std::filesystem::path& page, const std::string& lang, const char* command) {
    if (const std::optional<std::filesystem::path> clip = web::FlashClipOf(project, builder)) {
        std::fprintf(stderr, "cardwright-cli %s: %s\n", command, web::FlashClipMessage(*clip).c_str());
        try {
            builder.GenerateSWF(movie, nullptr, 1, 0);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "cardwright-cli %s: cannot write %s: %s\n", command, movie.c_str(),
                         e.what());
            return kExitFailure;
        }
        return WriteHtmlGift(movie, page, command);
    }
    try {
        web::WriteWebPage(builder, project, web::PageOptions{lang}, page);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cardwright-cli %s: cannot write %s: %s\n", command, page.c_str(), e.what());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace cli
