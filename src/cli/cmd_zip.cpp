// cardwright-cli zip FOLDER -o OUT.zip [--password P]: packs a folder into a (locked) zip archive.
#include "cli/commands.h"
#include "publish/locked_zip.h"

#include <cstdio>
#include <filesystem>
#include <thread>

namespace cli {

int cmd_zip(const ParsedArgs& args) {
    const std::filesystem::path folder = args.positional[0];
    const std::optional<std::string> out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli zip: missing -o OUT.zip\n");
        return kExitUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "cardwright-cli zip: %s is not a folder\n", folder.c_str());
        return kExitBadInput;
    }

    publish::CZipOptions options;
    options.threads = std::max(1u, std::thread::hardware_concurrency());
    const std::string password = args.option("--password").value_or("");
    bool ok = true;
    for (const publish::PublishMessage& m : publish::BuildLockedZip(*out, folder, password, options)) {
        std::FILE* stream = m.icon == publish::MessageIcon::Information ? stdout : stderr;
        std::fprintf(stream, "%s\n", m.text.c_str());
        if (!m.detail.empty()) {
            std::fprintf(stream, "  %s\n", m.detail.c_str());
        }
        ok = ok && m.icon != publish::MessageIcon::Stop;
    }
    return ok ? kExitOk : kExitFailure;
}

} // namespace cli
