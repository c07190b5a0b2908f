#include "editor_fixture.h"

#include <QApplication>
#include <QTest>

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

} // namespace editor::testing
