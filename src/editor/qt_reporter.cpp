#include "editor/qt_reporter.h"

#include "editor/prompter.h"

namespace editor {

QtReporter::QtReporter(app::Log* log, Prompter& prompter, QWidget* parent,
                       std::function<void(const QString&)> tip)
    : app::ErrorReporter(log), m_prompter(prompter), m_parent(parent), m_tip(std::move(tip)) {}

void QtReporter::tip(std::string_view text) {
    m_tip(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool QtReporter::AskToSave(const std::string& text) {
    return m_prompter.ask(m_parent, QString::fromStdString(text), false, QMessageBox::Critical) ==
           Answer::Yes;
}

} // namespace editor
