// The commands of cardwright-cli. Each command lives in its own cmd_*.cpp file and is listed once in
// the command table of main.cpp.
#pragma once

#include "cli/args.h"

namespace cli {

// Exit statuses shared by all commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the work could not be done (a file could not be written)
inline constexpr int kExitBadInput = 2; // the input was refused (a bad project, script or JSON file)
inline constexpr int kExitUsage = 64;   // bad command-line arguments

using CommandFn = int (*)(const ParsedArgs& args);

int run_swfdump(const ParsedArgs& args);

} // namespace cli
