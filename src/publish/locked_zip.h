// The locked zip of the Finish command: a chosen folder packed into an archive beside the movie,
// encrypted when a password is given, with the outcome reported as messages for the user.
#pragma once

#include "publish/zip_writer.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace publish {

inline constexpr std::string_view kZipCreateFailed = "Creating the new zip file failed";
inline constexpr std::string_view kZipCloseFailed = "Closing the zip file failed";
inline constexpr std::string_view kZipCreated = "The locked zip file has been created successfully.";

enum class MessageIcon { Stop, Warning, Information };

struct PublishMessage {
    MessageIcon icon = MessageIcon::Information;
    std::string text;   // what the user is shown
    std::string detail; // the underlying reason, for the log; may be empty
};

// The archive that goes with a movie: the movie's path followed by ".zip" (gift.swf -> gift.swf.zip).
std::filesystem::path LockedZipPath(const std::filesystem::path& movie);

// Builds the archive at `archive` from the content of `folder`, encrypted with `password` unless it is
// empty. Returns the messages to show, in order: one warning per file left out, then either the
// success message or the failure messages. A failed build leaves any earlier file at `archive` as it
// was.
std::vector<PublishMessage> BuildLockedZip(const std::filesystem::path& archive,
                                           const std::filesystem::path& folder, std::string_view password,
                                           const CZipOptions& options = {});

} // namespace publish
