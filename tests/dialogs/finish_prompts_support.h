// Helpers of the publishing window tests: prompts that answer from queues and record what was asked, a
// fresh folder per test, and a fake xdg-email on PATH that records its arguments.
#pragma once

#include "dialogs/publish_actions.h"
#include "dialogs/publish_prompts.h"

#include <QStringList>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace finish_test {

struct PromptRecorder {
    std::deque<QString> saveAnswers;                       // empty text: the user cancels
    std::deque<QString> folderAnswers;                     // empty text: the user cancels
    std::deque<QMessageBox::StandardButton> buttonAnswers; // Ok when none is queued

    std::vector<publish_ui::SaveFileRequest> saveRequests;
    QStringList folderTitles;
    QStringList messages;

    publish_ui::PublishPrompts Prompts();
};

std::filesystem::path FreshFolder(const std::string& name);
// A small movie (a sample clip of the data root) written at `path`.
void WriteMovie(const std::filesystem::path& path);
// Every file below `folder`, relative to it, sorted.
std::vector<std::string> FilesBelow(const std::filesystem::path& folder);

// Runs a publishing command to its end: the command returns once its work has started, so the event
// loop is driven until the command says it is over. False when it is not over within 60 s.
bool RunToEnd(const publish_ui::PublishContext& ctx, void (*command)(publish_ui::PublishContext));

class FakeMailProgram {
public:
    FakeMailProgram(const std::filesystem::path& folder, int status);
    ~FakeMailProgram();
    std::vector<std::string> Arguments() const;

private:
    std::filesystem::path m_folder;
    std::string m_oldPath;
};

} // namespace finish_test
