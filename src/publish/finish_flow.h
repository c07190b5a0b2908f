// What Finish does once its dialog closed with OK, in order, with every outside effect behind a callback
// so that the desktop runs it with its message boxes and the tests with recorders:
//
//   1. no target path: "Please choose where to export the gift.", nothing else;
//   2. lock box set: "zip it", then the locked zip beside the movie (its own messages; the flow goes on);
//   3. the movie is generated at the target (a failure to write it ends the flow);
//   4. self-running box set: the self-running page of the freshly generated movie;
//   5. mail box set: the mail with the movie, the zip (when locked) and the page (when made); nothing
//      follows it;
//   6. otherwise the question "The gift was created successfully ..." (view it / show it in its folder).
#pragma once

#include "publish/locked_zip.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace publish {

inline constexpr std::string_view kNoTarget = "Please choose where to export the gift.";
inline constexpr std::string_view kZipIt = "zip it";
inline constexpr std::string_view kFinishQuestion =
    "The gift was created successfully.\n  Yes to view it.\n  No to find it in its folder.";
inline constexpr std::string_view kGenerateSwfQuestion =
    "The gift was created successfully.\n    Yes to view it.\n    No to find it in its folder.";

// The choices of the Finish dialog.
struct FinishChoices {
    std::string targetPath;
    bool encrypt = false;
    std::string lockFolder;
    std::string password;
    bool sendMail = false;
    bool makeSelfRunning = false;
};

enum class Answer { Yes, No, Cancel };

// The outside effects of the flow. Every member must be set.
struct FinishSteps {
    // A plain OK message.
    std::function<void(std::string_view text)> inform;
    // The locked zip; returns the messages it wants shown (see BuildLockedZip).
    std::function<std::vector<PublishMessage>(const std::filesystem::path& archive,
                                              const std::filesystem::path& folder, std::string_view password)>
        buildZip;
    // Shows one of those messages.
    std::function<void(const PublishMessage& message)> show;
    // Generates the movie; throws when it cannot be written (the flow then ends, the exception goes on).
    std::function<void(const std::filesystem::path& movie)> generate;
    // Makes the self-running page of the movie; the path written, or nullopt (failure already shown, or
    // the user chose no file).
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& movie)> makeSelfRunning;
    // Hands the mail on (and tells the user of a draft).
    std::function<void(const std::filesystem::path& movie, const std::optional<std::filesystem::path>& zip,
                       const std::optional<std::filesystem::path>& page)>
        mail;
    // The Yes/No/Cancel question.
    std::function<Answer(std::string_view question)> ask;
    std::function<void(const std::filesystem::path& movie)> view;         // Yes
    std::function<void(const std::filesystem::path& movie)> showInFolder; // No
};

// Runs the flow above.
void RunFinish(const FinishChoices& choices, const FinishSteps& steps);

// The path as the Finish dialog shows it: whole up to 30 characters, else the first 10, "..." and the
// last 20. Characters are Unicode code points of the UTF-8 text.
std::string ShortenPathForDisplay(std::string_view path);

} // namespace publish
