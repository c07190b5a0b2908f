// The error report of the desktop program: a Yes/No question box with the error icon that offers to save
// the project, and hints as the editor's tip messages.
#pragma once

#include "app/error_report.h"

#include <QString>

#include <functional>

class QWidget;

namespace editor {

class Prompter;

class QtReporter : public app::ErrorReporter {
public:
    QtReporter(app::Log* log, Prompter& prompter, QWidget* parent, std::function<void(const QString&)> tip);
    void tip(std::string_view text) override;

protected:
    bool AskToSave(const std::string& text) override;

private:
    Prompter& m_prompter;
    QWidget* m_parent;
    std::function<void(const QString&)> m_tip;
};

} // namespace editor
