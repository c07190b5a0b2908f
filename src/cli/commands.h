// The commands of cardwright-cli. Each command lives in its own cmd_*.cpp file and is listed once in
// the command table of main.cpp.
#pragma once

#include "cli/args.h"

#include "model/project.h"
#include "movie/gift_builder.h"

#include <filesystem>
#include <string>

namespace cli {

// Exit statuses shared by all commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the work could not be done (a file could not be written)
inline constexpr int kExitBadInput = 2; // the input was refused (a bad project, script or JSON file)
inline constexpr int kExitUsage = 64;   // bad command-line arguments

using CommandFn = int (*)(const ParsedArgs& args);

// The commands, one per cmd_*.cpp file.
int RunNew(const ParsedArgs& args);
int RunDump(const ParsedArgs& args);
int RunPack(const ParsedArgs& args);
int cmd_build(const ParsedArgs& args);
int cmd_compile_as(const ParsedArgs& args);
int run_swfdump(const ParsedArgs& args);
int cmd_zip(const ParsedArgs& args);
int cmd_album(const ParsedArgs& args);
int cmd_html(const ParsedArgs& args);
int RunImport(const ParsedArgs& args);
int RunExport(const ParsedArgs& args);
int RunCheck(const ParsedArgs& args);
int RunMap(const ParsedArgs& args);

// Writes the self-running page of a movie file; the exit status, messages on stderr.
int WriteHtmlGift(const std::filesystem::path& movie, const std::filesystem::path& out, const char* command);

// The author's language for the web page: --lang, else the locale the program runs in.
std::string AuthorLanguage(const ParsedArgs& args);
// Writes the web page of a project to `page`; a gift with a Flash clip gets the player page of its
// movie, written to `movie` first, and a line on stderr.
int WriteProjectPage(model::Project& project, movie::GiftBuilder& builder, const std::filesystem::path& movie,
                     const std::filesystem::path& page, const std::string& lang, const char* command);

} // namespace cli
