// The self-running gift: one .html file holding the player (Ruffle's script, its core chunks and its
// WebAssembly module, gzipped and base64-encoded) and the movie, so that it plays from disk by
// double-click in any current browser with no server and no network.
//
// Browsers refuse the player's WebAssembly fetch from a file:// page, so the page wraps fetch() and
// answers that one request from the inlined module; the movie is handed to the player as bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace publish {

// A self-running gift could not be made; what() is the reason, for the log.
class PublishError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the page inlines of the player.
struct RufflePackage {
    std::string script;              // ruffle.js, its source-map line removed
    std::vector<std::string> chunks; // every core.ruffle.*.js chunk
    std::string wasmName;            // the module the player asks for in current browsers
    std::vector<uint8_t> wasm;
};

// Reads the player from its folder (the data root's Ruffle/). Throws PublishError when a part is missing
// or the script does not name its module the way this page expects.
RufflePackage LoadRufflePackage(const std::filesystem::path& ruffleDir);

// The page for `movie` (the bytes of an SWF file; throws PublishError when they are not one), titled
// `title`.
std::string BuildSelfRunningHtml(const RufflePackage& player, std::span<const uint8_t> movie,
                                 std::string_view title);

// Writes the page of the movie file `movie` to `target`, beside it first and then renamed over it, so a
// failure leaves an older file at `target` as it was. Throws PublishError with the reason.
void WriteSelfRunningHtml(const std::filesystem::path& movie, const std::filesystem::path& ruffleDir,
                          const std::filesystem::path& target);

// The messages of the self-running command: failure (as users of earlier versions know it) and success.
inline constexpr std::string_view kSelfRunningFailed =
    "The self-running file could not be made: the player could not be opened.";
inline constexpr std::string_view kSelfRunningCreated = "The e-gift was created successfully.";

// The outcome of BuildExeWithPlayer: success (also when the user cancelled the file name: a choice,
// not a failure) or failure with its reason for the log.
struct SelfRunningOutcome {
    bool ok = false;
    std::optional<std::filesystem::path> written; // the file written, if one was
    std::string reason;                           // why it failed, for the log
};

// Asks for the target file (nullopt when the user cancels) the way the desktop asks for it.
using AskTargetFn = std::function<std::optional<std::filesystem::path>(const std::filesystem::path& movie)>;

// Makes the self-running gift of an existing movie file: asks for the target through `askTarget`, then
// writes it. Fails when the movie is missing or the page cannot be written.
SelfRunningOutcome BuildExeWithPlayer(const std::filesystem::path& moviePath,
                                      const std::filesystem::path& ruffleDir, const AskTargetFn& askTarget);

// The default name offered for the self-running file of a movie: gift.swf -> gift.html.
std::filesystem::path DefaultSelfRunningPath(const std::filesystem::path& movie);

} // namespace publish
