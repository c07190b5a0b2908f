#include "editor_fixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace editor::testing {

Answer ScriptPrompter::ask(QWidget*, const QString& text, bool, QMessageBox::Icon) {
    questions << text;
    if (answers.empty()) {
        return Answer::Yes;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

EditorTest::EditorTest() : workspace(CW_TEST_DATA_DIR, dir.path().toStdString()) {}

EditorTest::~EditorTest() {
    if (window) {
        window->document().markSaved(); // no close question when the test ends
        window->close();
        window.reset();
    }
}

CCardwrightDlg& EditorTest::Open(const QString& rescue) {
    window = std::make_unique<CCardwrightDlg>(workspace, log, prompter);
    window->initialise(rescue);
    window->setWelcomeTipEnabled(welcome);
    if (prepare) {
        prepare(*window);
    }
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return *window;
}

QString EditorTest::RunPreview(const std::function<void()>& ask, const std::function<void(QWidget*)>& look) {
    QString title;
    bool closed = false;
    const QMetaObject::Connection opening =
        QObject::connect(window.get(), &CCardwrightDlg::previewOpening, [&] {
            // The dialog is modal: it is looked at and closed from its own event loop.
            QTimer::singleShot(0, [&] {
                if (QWidget* dialog = QApplication::activeModalWidget()) {
                    if (look) {
                        look(dialog);
                    }
                    title = dialog->windowTitle();
                    dialog->close();
                }
                closed = true;
            });
        });
    ask();
    static_cast<void>(QTest::qWaitFor([&] { return closed; }, 60000)); // no dialog: the title stays ""
    QObject::disconnect(opening);
    return title;
}

} // namespace editor::testing
