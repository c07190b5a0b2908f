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
//
// The long steps (zip, movie, page, mail) take a continuation: the desktop runs them on a worker thread
// and goes on with the flow when the worker has ended, so the window keeps answering meanwhile.
#pragma once

#include "publish/locked_zip.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The outside effects of the flow. Every member must be set. A step given `then` calls it exactly once
// when it has ended (at once or later, from the thread the flow runs on) and the flow goes on from there.
struct FinishSteps {
    // A plain OK message.
    std::function<void(std::string_view text)> inform;
    // The locked zip; hands on the messages it wants shown (see BuildLockedZip).
    std::function<void(const std::filesystem::path& archive, const std::filesystem::path& folder,
                       std::string_view password, std::function<void(std::vector<PublishMessage>)> then)>
        buildZip;
    // Shows one of those messages.
    std::function<void(const PublishMessage& message)> show;
    // Generates the movie; hands on false when it was not written (the user was told, or stopped it), and
    // the flow then ends.
    std::function<void(const std::filesystem::path& movie, std::function<void(bool written)> then)> generate;
    // Makes the self-running page of the movie; hands on the path written, or nullopt (failure already
    // shown, or the user chose no file).
    std::function<void(const std::filesystem::path& movie,
                       std::function<void(std::optional<std::filesystem::path>)> then)>
        makeSelfRunning;
    // Hands the mail on (and tells the user of a draft).
    std::function<void(const std::filesystem::path& movie, const std::optional<std::filesystem::path>& zip,
                       const std::optional<std::filesystem::path>& page, std::function<void()> then)>
        mail;
    // The Yes/No/Cancel question.
    std::function<Answer(std::string_view question)> ask;
    std::function<void(const std::filesystem::path& movie)> view;         // Yes
    std::function<void(const std::filesystem::path& movie)> showInFolder; // No
    // The flow has ended, whichever way (optional).
    std::function<void()> ended;
};

// Runs the flow above; it returns when the first step that goes on later has been started.
void RunFinish(const FinishChoices& choices, FinishSteps steps);

// The path as the Finish dialog shows it: whole up to 30 characters, else the first 10, "..." and the
// last 20. Characters are Unicode code points of the UTF-8 text.
std::string ShortenPathForDisplay(std::string_view path);

} // namespace publish
