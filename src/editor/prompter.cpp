#include "editor/prompter.h"

#include "editor/feedback_dialog.h"

#include <QApplication>
#include <QFileDialog>

#include <cstdio>

namespace editor {

namespace {

QString AppTitle() {
    return QApplication::translate("editor", "Cardwright");
}

// Answers for scripted test runs.
class ScriptedPrompter : public Prompter {
public:
    explicit ScriptedPrompter(Answer answer) : m_answer(answer) {}
    Answer ask(QWidget*, const QString& text, bool, QMessageBox::Icon) override {
        std::fprintf(stderr, "question: %s -> %s\n", qPrintable(text),
                     m_answer == Answer::Yes ? "yes" : "no");
        return m_answer;
    }
    void inform(QWidget*, const QString& text, QMessageBox::Icon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    void feedback(QWidget*) override {}

private:
    Answer m_answer;
};

} // namespace

Answer DialogPrompter::ask(QWidget* parent, const QString& text, bool withCancel, QMessageBox::Icon icon) {
    QMessageBox box(icon, AppTitle(), text,
                    withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                               : QMessageBox::Yes | QMessageBox::No,
                    parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Escape or the close box: Cancel where there is one, else No.
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

void DialogPrompter::inform(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, AppTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

QString DialogPrompter::saveFileName(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, QApplication::translate("editor", "Save"), suggested,
                                        QApplication::translate("editor", "Cardwright projects (*.cwp)"));
}

void DialogPrompter::feedback(QWidget* parent) {
    if (FeedbackDialog::IsWanted()) {
        FeedbackDialog dialog(parent);
        dialog.exec();
    }
}

std::unique_ptr<Prompter> MakePrompter() {
    const QByteArray answer = qgetenv("CARDWRIGHT_TEST_ANSWER").toLower();
    if (answer == "yes") {
        return std::make_unique<ScriptedPrompter>(Answer::Yes);
    }
    if (answer == "no") {
        return std::make_unique<ScriptedPrompter>(Answer::No);
    }
    return std::make_unique<DialogPrompter>();
}

} // namespace editor
