// A window on a private work folder with a prompter that answers from a script and remembers what was
// asked, for the editor's widget tests.
#pragma once

#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/prompter.h"
#include "model/archive.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace editor::testing {

class ScriptPrompter : public Prompter {
public:
    std::deque<Answer> answers; // next answers; Yes when empty
    QStringList questions;
    QStringList messages;
    QString saveAs; // what the save dialog returns
    int feedbacks = 0;

    Answer ask(QWidget*, const QString& text, bool, QMessageBox::Icon) override;
    void inform(QWidget*, const QString& text, QMessageBox::Icon) override { messages << text; }
    QString saveFileName(QWidget*, const QString&) override { return saveAs; }
    void feedback(QWidget*) override { ++feedbacks; }
};

class EditorTest : public ::testing::Test {
protected:
    EditorTest();
    ~EditorTest() override;

    // Makes the window (default project), shows it and gives it the focus. The welcome tip stays away
    // unless `welcome` is set; `prepare` runs on the window before it is shown.
    CCardwrightDlg& Open(const QString& rescue = {});
    // Runs `ask`, which asks for Preview, and waits until the Preview dialog opens (its movie is built
    // off the GUI thread); `look` sees the dialog before it is closed. Returns the dialog's title, or ""
    // when none opened.
    QString RunPreview(const std::function<void()>& ask, const std::function<void(QWidget*)>& look = {});
    std::vector<uint8_t> Bytes() const { return model::WriteProject(window->document().project()); }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    app::Workspace workspace;
    app::Log log;
    ScriptPrompter prompter;
    std::unique_ptr<CCardwrightDlg> window;
    bool welcome = false;
    std::function<void(CCardwrightDlg&)> prepare;
};

} // namespace editor::testing
