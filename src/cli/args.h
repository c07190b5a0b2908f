// Command-line arguments of one cardwright-cli command: positional arguments, options with a value
// ("-o FILE") and flags ("--listing").
#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct OptionSpec {
    std::string_view name; // "-o", "--card", "--listing"
    bool takes_value = false;
};

struct ParsedArgs {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> options;
    std::set<std::string, std::less<>> flags;

    bool has(std::string_view flag) const { return flags.contains(flag); }
    std::optional<std::string> option(std::string_view name) const;
};

// Parses args against the specs; nullopt and a message in `error` on an unknown option, a missing
// value or a positional count outside [min_positional, max_positional].
std::optional<ParsedArgs> parse_args(std::span<const std::string_view> args,
                                     std::span<const OptionSpec> specs, size_t min_positional,
                                     size_t max_positional, std::string& error);

} // namespace cli
