#include "editor/test_switches.h"

#include "editor/cardwright_dlg.h"
#include "editor/field_panels.h"
#include "model/archive.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

namespace editor {

void ApplyTestSwitches(CCardwrightDlg& window) {
    bool ok = false;
    const int rescueMs = qEnvironmentVariableIntValue("CARDWRIGHT_TEST_RESCUE_MS", &ok);
    if (ok && rescueMs > 0) {
        window.setRescueInterval(rescueMs);
    }
    const QString typed = qEnvironmentVariable("CARDWRIGHT_TEST_TYPE_TITLE");
    if (!typed.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, typed] {
            QLineEdit* title = window.cardFields().title;
            title->setFocus();
            title->end(false);
            for (const QChar c : typed) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(title, &press);
            }
            std::fprintf(stderr, "typed into the title: %s\n", qPrintable(title->text()));
        });
    }
    const QString saveAs = qEnvironmentVariable("CARDWRIGHT_TEST_SAVE_AS_AND_QUIT");
    if (!saveAs.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, saveAs] {
            model::SaveProjectFile(window.document().project(), saveAs.toStdString());
            window.document().markSaved();
            window.close();
        });
    }
}

} // namespace editor
