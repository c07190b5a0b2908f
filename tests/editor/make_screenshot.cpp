// Writes a picture of the editor window on the default project, made offscreen: the window is grabbed
// and the player's stage (drawn by the web engine, which a widget grab does not see) is painted into the
// preview area. Usage: editor_screenshot OUT.png [link|feedback] ("link" shows the first link's fields,
// "feedback" pictures the feedback dialog instead).
#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/feedback_dialog.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/startup.h"
#include "player/ruffle_view.h"

#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: editor_screenshot OUT.png [link]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    editor::PrepareWebEngine();
    QApplication application(argc, argv);
    if (argc == 3 && QByteArray(argv[2]) == "feedback") {
        editor::FeedbackDialog dialog;
        dialog.show();
        return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    }
    QTemporaryDir work;
    const app::Workspace workspace(app::Workspace::FromEnvironment().DataRoot(), work.path().toStdString());
    app::Log log;
    editor::DialogPrompter prompter;
    editor::CCardwrightDlg window(workspace, log, prompter);
    window.initialise();
    window.resize(900, 600);
    window.show();
    window.tree().expandAll();
    window.select({0, argc == 3 ? 0 : -1});
    editor::PreviewPanel& preview = window.preview();
    quint64 painted = 0;
    QObject::connect(&preview, &editor::PreviewPanel::moviePainted,
                     [&](quint64 serial) { painted = serial; });
    if (!QTest::qWaitFor([&] { return !preview.busy() && painted != 0 && painted >= preview.lastSerial(); },
                         60000)) {
        std::fprintf(stderr, "the card was not painted\n");
        return 1;
    }
    QImage stage;
    preview.player()->grabStage([&](const QImage& image) { stage = image; });
    if (!QTest::qWaitFor([&] { return !stage.isNull(); }, 10000)) {
        std::fprintf(stderr, "no stage picture\n");
        return 1;
    }
    QImage shot = window.grab().toImage();
    QPainter painter(&shot);
    const QRect area(preview.mapTo(&window, QPoint(0, 0)), preview.size());
    const QSize fitted = stage.size().scaled(area.size(), Qt::KeepAspectRatio);
    painter.fillRect(area, Qt::black);
    painter.drawImage(QRect(area.topLeft() + QPoint((area.width() - fitted.width()) / 2,
                                                    (area.height() - fitted.height()) / 2),
                            fitted),
                      stage);
    painter.end();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    window.document().markSaved();
    return 0;
}
