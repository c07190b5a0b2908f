// The questions and messages the editor asks and shows, and the file names it asks for, behind one
// interface: the program shows message boxes and file dialogs, tests answer without showing anything.
#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

class QWidget;

namespace editor {

enum class Answer { Yes, No, Cancel };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A Yes/No question (Yes/No/Cancel with `withCancel`) with the given icon.
    virtual Answer ask(QWidget* parent, const QString& text, bool withCancel, QMessageBox::Icon icon) = 0;
    // A message with an OK button.
    virtual void inform(QWidget* parent, const QString& text, QMessageBox::Icon icon) = 0;
    // The file to save the project as (`suggested` offered); empty when the user cancels.
    virtual QString saveFileName(QWidget* parent, const QString& suggested) = 0;
    // The feedback dialog shown when the window closes (it may say it is not wanted any more).
    virtual void feedback(QWidget* parent) = 0;
};

// Message boxes and file dialogs.
class DialogPrompter : public Prompter {
public:
    Answer ask(QWidget* parent, const QString& text, bool withCancel, QMessageBox::Icon icon) override;
    void inform(QWidget* parent, const QString& text, QMessageBox::Icon icon) override;
    QString saveFileName(QWidget* parent, const QString& suggested) override;
    void feedback(QWidget* parent) override;
};

// For scripted runs of the program in tests only: CARDWRIGHT_TEST_ANSWER=yes|no answers every question
// that way without showing it, messages go to stderr, nothing is saved through a dialog and no feedback
// dialog appears. Without the variable, the dialogs.
std::unique_ptr<Prompter> MakePrompter();

} // namespace editor
