// cardwright-cli: the command-line program on the Cardwright core.
#include "cli/commands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Command {
    std::string_view name;
    std::string_view usage;   // arguments after the command name
    std::string_view summary; // one line for the program's help
    std::string_view details; // further lines for the command's help
    std::vector<cli::OptionSpec> options;
    size_t min_positional;
    size_t max_positional;
    cli::CommandFn run;
};

// One row per command: name, usage, summary, details, options, positional min/max, function.
const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"new",
         "-o FILE.cwp",
         "write the default three-card project",
         "Writes the project New makes: three cards, the first two with two links each.",
         {{"-o", true}},
         0,
         0,
         cli::RunNew},
        {"dump",
         "FILE.cwp",
         "print a project file as JSON",
         "Prints {\"cards\": [...], \"settings\": {...}} with keys named after the members.\n"
         "A file that cannot be read gives a message on stderr and exit status 2.",
         {},
         1,
         1,
         cli::RunDump},
        {"pack",
         "FILE.json -o FILE.cwp",
         "write a project file from JSON (the reverse of dump)",
         "A missing key takes the value a new card, link or project has. Bad JSON or a value of the\n"
         "wrong type gives a message naming the key, exit status 2, and no file.",
         {{"-o", true}},
         1,
         1,
         cli::RunPack},
        {"build",
         "PROJECT.cwp -o OUT.swf [--card N] [--html OUT.html] [--lang TAG]",
         "write the e-gift movie of a project",
         "With --card N, only card N (0-based) as the live preview shows it. Error reports and tips go\n"
         "to stderr and the log; exit 0 when the movie was written, 1 when it could not be.\n"
         "With --html, also the gift as a web page (see the html command).",
         {{"-o", true}, {"--card", true}, {"--html", true}, {"--lang", true}},
         1,
         1,
         cli::cmd_build},
        {"compile-as",
         "FILE.as [--listing]",
         "compile an ActionScript file to SWF 6 action bytes",
         "Writes the action bytes (ending with the End action) to standard output; with --listing the\n"
         "disassembly instead. A script that does not compile prints FILE:LINE:COL: message, exit 2.",
         {{"--listing", false}},
         1,
         1,
         cli::cmd_compile_as},
        {"swfdump", "FILE.swf", "list a Flash movie's header and tags", "", {}, 1, 1, cli::run_swfdump},
        {"zip",
         "FOLDER -o OUT.zip [--password P]",
         "pack a folder into a zip archive, locked with a password",
         "Every file and subfolder of FOLDER becomes a top-level entry of OUT.zip (depth first, by name).\n"
         "With --password every entry is encrypted (traditional zip encryption).",
         {{"-o", true}, {"--password", true}},
         1,
         1,
         cli::cmd_zip},
        {"album",
         "FOLDER -o OUT.swf",
         "build a photo album movie from a folder of pictures",
         "Every JPG, PNG, BMP, WMF and GIF picture of FOLDER and its subfolders (a folder's own pictures\n"
         "first, each listing by name) fades in and out in turn; a click pauses and resumes the show.\n"
         "Prints \"n of total\" per picture on stderr; unreadable pictures are skipped and named.",
         {{"-o", true}},
         1,
         1,
         cli::cmd_album},
        {"html",
         "PROJECT.cwp|MOVIE.swf -o GIFT.html [--lang TAG]",
         "write the gift as one .html file that plays in any browser",
         "A project becomes a web page of plain HTML, in the author's language (--lang, else the\n"
         "locale). A project with a Flash clip, and a movie, get a page holding the Flash player and the\n"
         "movie. Either plays from disk by double-click with no server and no network.",
         {{"-o", true}, {"--lang", true}},
         1,
         1,
         cli::cmd_html},
        {"import",
         "STORY.twee|STORY.html -o PROJECT.cwp",
         "make a project from a Twine story (Twee 3 or Twine 2 HTML)",
         "One card a passage (the start passage first), one link button a link. Mark-up and macros are\n"
         "removed from the text; what is not carried over (macros, variables, pictures, links to missing\n"
         "passages, passages past 200 cards, links past ten a card) is listed on stderr, one line a\n"
         "passage. A file that is neither format or is damaged gives a message, exit status 2, and no file.",
         {{"-o", true}},
         1,
         1,
         cli::RunImport},
        {"export",
         "PROJECT.cwp --twee STORY.twee",
         "write a project as a Twee 3 story for Twine (SugarCube 2)",
         "One passage a card, named by its title, with the card's text and its links; scores and\n"
         "conditions become SugarCube macros. Colours, pictures and music stay behind.\n"
         "A project file that cannot be read gives exit status 2.",
         {{"--twee", true}},
         1,
         1,
         cli::RunExport},
        {"check",
         "FILE.cwp [--json]",
         "check a gift for broken paths, unreachable cards, missing files and more",
         "Prints one line a finding (card N \"Title\", link M: severity: kind: message), nothing when\n"
         "there is none; with --json {\"findings\": [...]}. Exit 0 without errors, 1 with errors, 2 for a\n"
         "file it cannot read.",
         {{"--json", false}},
         1,
         1,
         cli::RunCheck},
        {"map",
         "FILE.cwp -o MAP.svg",
         "draw the story map: every card and every link",
         "Each card is an element of class \"card\" holding its title, each arrow one of class \"goto\" or\n"
         "\"then\" (dashed, labelled with its condition); a link past the last card draws no arrow.",
         {{"-o", true}},
         1,
         1,
         cli::RunMap},
    };
    return table;
}

void print_program_help(std::FILE* out) {
    std::fprintf(out, "usage: cardwright-cli COMMAND [ARGS...]\n\nCommands:\n");
    for (const Command& c : commands()) {
        std::fprintf(out, "  %-10.*s %.*s\n", int(c.name.size()), c.name.data(), int(c.summary.size()),
                     c.summary.data());
    }
    std::fprintf(out, "\nRun 'cardwright-cli COMMAND --help' for the arguments of a command.\n");
}

void print_command_help(const Command& c) {
    std::printf("usage: cardwright-cli %.*s %.*s\n\n%.*s\n", int(c.name.size()), c.name.data(),
                int(c.usage.size()), c.usage.data(), int(c.summary.size()), c.summary.data());
    if (!c.details.empty()) {
        std::printf("\n%.*s\n", int(c.details.size()), c.details.data());
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        print_program_help(stderr);
        return cli::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        print_program_help(stdout);
        return cli::kExitOk;
    }
    for (const Command& c : commands()) {
        if (c.name != args[0]) {
            continue;
        }
        std::span<const std::string_view> rest(args.data() + 1, args.size() - 1);
        for (std::string_view a : rest) {
            if (a == "--help" || a == "-h") {
                print_command_help(c);
                return cli::kExitOk;
            }
        }
        std::string error;
        auto parsed = cli::parse_args(rest, c.options, c.min_positional, c.max_positional, error);
        if (!parsed) {
            std::fprintf(stderr, "cardwright-cli %.*s: %s\nusage: cardwright-cli %.*s %.*s\n",
                         int(c.name.size()), c.name.data(), error.c_str(), int(c.name.size()), c.name.data(),
                         int(c.usage.size()), c.usage.data());
            return cli::kExitUsage;
        }
        return c.run(*parsed);
    }
    std::fprintf(stderr, "cardwright-cli: unknown command '%.*s'\n\n", int(args[0].size()), args[0].data());
    print_program_help(stderr);
    return cli::kExitUsage;
}
