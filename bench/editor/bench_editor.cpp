// Whole-window figures of the editor, offscreen: start-up to the window shown, to the first card painted
// in the preview, and a keystroke in the title to the new movie painted (median of 50, player warm).
// Then a project of three cards with 4000 x 3000 JPEG backgrounds: the first showing of each photo (its
// conversion) with the longest GUI-thread stall meanwhile, a click on another card to the new movie
// painted once every photo is converted (median of 15), and the longest GUI-thread stall while typing
// into a photo card (a timer ticking every 2 ms on the GUI thread records its largest gap).
// One start-up per run; run it a few times for start-up medians.
#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/startup.h"
#include "model/archive.h"
#include "model/project.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
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

// The largest gap between ticks of a timer on the GUI thread while it runs: how long the GUI thread
// was kept from its events.
class StallMeter {
public:
    StallMeter() {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = m_clock.nsecsElapsed() / 1e6;
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start() {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stop() {
        m_timer.stop();
        return std::max(m_longest, m_clock.nsecsElapsed() / 1e6 - m_last);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

// A 4000 x 3000 photo-like JPEG: gradients under noise, so it neither compresses nor decodes trivially.
bool WritePhoto(const QString& path, int seed) {
    QImage photo(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor::fromHsv(seed * 110 % 360, 180, 230));
    gradient.setColorAt(1, QColor::fromHsv((seed * 110 + 160) % 360, 200, 90));
    painter.fillRect(photo.rect(), gradient);
    painter.end();
    QRandomGenerator random(quint32(seed + 1));
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int n = int(random.bounded(24u)) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return photo.save(path, "JPG", 90);
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
        if (!WaitForPaint(
                preview, [&] { return !preview.busy() && painted >= preview.lastSerial(); }, 30000)) {
            std::fprintf(stderr, "keystroke %d not painted\n", i);
            return 1;
        }
        keys.push_back(key.nsecsElapsed() / 1e6);
    }

    // Three photo cards.
    model::Project photos = model::MakeDefaultProject();
    for (int i = 0; i < 3; ++i) {
        const QString file = work.filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!WritePhoto(file, i)) {
            std::fprintf(stderr, "photo %d not written\n", i);
            return 1;
        }
        photos.cards[size_t(i)]->m_strBackground = file.toStdString();
        photos.cards[size_t(i)]->m_bProjectBg = 0;
        photos.cards[size_t(i)]->m_nBgAlign = 10;
    }
    const QString project = work.filePath(QStringLiteral("photos.cwp"));
    if (!model::SaveProjectFile(photos, project.toStdString()) || !window.openProjectFile(project)) {
        std::fprintf(stderr, "the photo project was not opened\n");
        return 1;
    }
    const auto shown = [&] { return !preview.busy() && painted >= preview.lastSerial(); };
    StallMeter stall;
    stall.start();
    std::vector<double> firsts;
    for (int card : {0, 1, 2}) {
        QElapsedTimer click;
        click.start();
        window.select({card, -1});
        if (!WaitForPaint(preview, shown, 120000)) {
            std::fprintf(stderr, "photo card %d not painted\n", card);
            return 1;
        }
        firsts.push_back(click.nsecsElapsed() / 1e6);
    }
    const double firstStall = stall.stop();
    std::vector<double> clicks;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer click;
        click.start();
        window.select({(i + 1) % 3, -1});
        if (!WaitForPaint(preview, shown, 30000)) {
            std::fprintf(stderr, "click %d not painted\n", i);
            return 1;
        }
        clicks.push_back(click.nsecsElapsed() / 1e6);
    }
    window.select({0, -1});
    WaitForPaint(preview, shown, 30000);
    title->setFocus();
    std::vector<double> photoKeys;
    stall.start();
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer key;
        key.start();
        QTest::keyClick(title, Qt::Key(Qt::Key_A + i % 26));
        if (!WaitForPaint(preview, shown, 30000)) {
            std::fprintf(stderr, "photo keystroke %d not painted\n", i);
            return 1;
        }
        photoKeys.push_back(key.nsecsElapsed() / 1e6);
    }
    const double typingStall = stall.stop();

    std::printf("startup_to_window_shown_ms %.1f\n", shownMs);
    std::printf("startup_to_first_card_painted_ms %.1f\n", firstCardMs);
    std::printf("keystroke_to_movie_painted_median_ms %.1f (min %.1f, max %.1f, n=%zu)\n", Median(keys),
                *std::min_element(keys.begin(), keys.end()), *std::max_element(keys.begin(), keys.end()),
                keys.size());
    std::printf("keystroke_handled_median_ms %.2f\n", Median(handled));
    std::printf(
        "photo_first_showing_ms %.1f %.1f %.1f (4000x3000 JPEG converted, longest GUI stall %.1f ms)\n",
        firsts[0], firsts[1], firsts[2], firstStall);
    std::printf("photo_card_click_to_movie_painted_median_ms %.1f (min %.1f, max %.1f, n=%zu)\n",
                Median(clicks), *std::min_element(clicks.begin(), clicks.end()),
                *std::max_element(clicks.begin(), clicks.end()), clicks.size());
    std::printf("photo_card_keystroke_to_movie_painted_median_ms %.1f (n=%zu)\n", Median(photoKeys),
                photoKeys.size());
    std::printf("photo_card_typing_longest_gui_stall_ms %.1f\n", typingStall);
    window.document().markSaved();
    return 0;
}
