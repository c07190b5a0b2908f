#include "cli/args.h"

#include <algorithm>

namespace cli {

std::optional<std::string> ParsedArgs::option(std::string_view name) const {
    if (auto it = options.find(name); it != options.end()) {
        return it->second;
    }
    return std::nullopt;
}

std::optional<ParsedArgs> parse_args(std::span<const std::string_view> args,
                                     std::span<const OptionSpec> specs, size_t min_positional,
                                     size_t max_positional, std::string& error) {
    ParsedArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.size() > 1 && arg[0] == '-') {
            auto spec =
                std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& s) { return s.name == arg; });
            if (spec == specs.end()) {
                error = "unknown option '" + std::string(arg) + "'";
                return std::nullopt;
            }
            if (!spec->takes_value) {
                parsed.flags.emplace(arg);
                continue;
            }
            if (i + 1 >= args.size()) {
                error = "option '" + std::string(arg) + "' needs a value";
                return std::nullopt;
            }
            parsed.options[std::string(arg)] = std::string(args[++i]);
            continue;
        }
        parsed.positional.emplace_back(arg);
    }
    if (parsed.positional.size() < min_positional) {
        error = "missing argument";
        return std::nullopt;
    }
    if (parsed.positional.size() > max_positional) {
        error = "unexpected argument '" + parsed.positional[max_positional] + "'";
        return std::nullopt;
    }
    return parsed;
}

} // namespace cli
