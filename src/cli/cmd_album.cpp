// cardwright-cli album FOLDER -o OUT.swf: builds the photo album movie of a folder of pictures.
#include "album/photo_album.h"
#include "app/workspace.h"
#include "cli/commands.h"
#include "swf/error.h"

#include <cstdio>
#include <filesystem>

namespace cli {

int cmd_album(const ParsedArgs& args) {
    const std::filesystem::path folder = args.positional[0];
    const std::optional<std::string> out = args.option("-o");
    if (!out) {
        std::fprintf(stderr, "cardwright-cli album: missing -o OUT.swf\n");
        return kExitUsage;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "cardwright-cli album: %s is not a folder\n", folder.c_str());
        return kExitBadInput;
    }
    // Pictures in a folder that cannot be written are converted in the work folder's Temp.
    const app::Workspace workspace = app::Workspace::FromEnvironment();
    const std::filesystem::path temp =
        workspace.EnsureTempDir() ? workspace.TempDir() : std::filesystem::path();

    try {
        const album::AlbumOutcome outcome = album::CreatePhotoAlbum(
            folder, *out, temp, [](int number, int total, const std::filesystem::path& picture) {
                std::fprintf(stderr, "%d of %d: %s\n", number, total, picture.c_str());
            });
        for (const std::string& message : outcome.messages) {
            std::fprintf(stderr, "%s\n", message.c_str());
        }
        std::printf("The photo album has been created: %s (%d pictures, %d frames)\n", out->c_str(),
                    outcome.pictures, outcome.frames);
    } catch (const swf::Error& error) {
        std::fprintf(stderr, "cardwright-cli album: %s\n", error.what());
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace cli
