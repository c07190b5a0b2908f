// Whole-window figures of the editor, offscreen: start-up to the window shown, to the first card painted
// in the preview, and a keystroke in the title to the new movie painted (median of 50, player warm).
// One start-up per run; run it a few times for start-up medians.
#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/startup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Runs the event loop until `done()` holds after a painted movie, or `timeoutMs` passes. The GUI thread
// must stay in its event loop: Qt WebEngine's browser side works on it, and polling with sleeps between
// (QTest::qWaitFor) would slow every step of the player's load.
bool WaitForPaint(editor::PreviewPanel& preview, const std::function<bool()>& done, int timeoutMs) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    const QMetaObject::Connection painted =
        QObject::connect(&preview, &editor::PreviewPanel::moviePainted, &loop, [&] {
            if (done()) {
                loop.quit();
            }
        });
    timeout.start(timeoutMs);
    loop.exec();
    QObject::disconnect(painted);
    return done();
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    editor::PrepareWebEngine();
    QApplication application(argc, argv);
    QTemporaryDir work;
    const app::Workspace workspace(app::Workspace::FromEnvironment().DataRoot(), work.path().toStdString());
    app::Log log;
    editor::DialogPrompter prompter;
    editor::CCardwrightDlg window(workspace, log, prompter);
    editor::PreviewPanel& preview = window.preview();
    quint64 painted = 0;
    QObject::connect(&preview, &editor::PreviewPanel::moviePainted,
                     [&](quint64 serial) { painted = serial; });
    window.initialise();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return 1;
    }
    const double shownMs = clock.nsecsElapsed() / 1e6;
    if (!WaitForPaint(
            preview, [&] { return painted != 0 && painted >= preview.lastSerial(); }, 60000)) {
        std::fprintf(stderr, "the first card was not painted\n");
        return 1;
    }
    const double firstCardMs = clock.nsecsElapsed() / 1e6;

    QLineEdit* title = window.cardFields().title;
    title->setFocus();
    std::vector<double> keys;
    std::vector<double> handled; // the key's own work: edit, movie made and handed to the player
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(title, Qt::Key(Qt::Key_A + i % 26));
        handled.push_back(key.nsecsElapsed() / 1e6);
        const quint64 serial = preview.lastSerial();
        if (!WaitForPaint(
                preview, [&] { return painted >= serial; }, 30000)) {
            std::fprintf(stderr, "keystroke %d not painted\n", i);
            return 1;
        }
        keys.push_back(key.nsecsElapsed() / 1e6);
    }
    std::printf("startup_to_window_shown_ms %.1f\n", shownMs);
    std::printf("startup_to_first_card_painted_ms %.1f\n", firstCardMs);
    std::printf("keystroke_to_movie_painted_median_ms %.1f (min %.1f, max %.1f, n=%zu)\n", Median(keys),
                *std::min_element(keys.begin(), keys.end()), *std::max_element(keys.begin(), keys.end()),
                keys.size());
    std::printf("keystroke_handled_median_ms %.2f\n", Median(handled));
    window.document().markSaved();
    return 0;
}
