// Whole-window figures of the editor, offscreen: start-up to the window shown, to the first card painted
// in the preview, and a keystroke in the title to the new movie painted (median of 50, player warm).
// Then a project of three cards with 4000 x 3000 JPEG backgrounds: the first showing of each photo (its
// conversion) with the longest GUI-thread stall meanwhile, a click on another card to the new movie
// painted once every photo is converted (median of 15), and the longest GUI-thread stall while typing
// into a photo card (a timer ticking every 2 ms on the GUI thread records its largest gap). Last, Preview
// of a project of 200 cards (the most a project holds, each with its picture): Preview to the movie ready,
// and the longest GUI-thread stall meanwhile, after opening it and the story map's paint.
// One start-up per run; run it a few times for start-up medians.
#include "app/log.h"
#include "app/workspace.h"
#include "editor/cardwright_dlg.h"
#include "editor/field_panels.h"
#include "editor/gift_check_views.h"
#include "editor/preview_panel.h"
#include "editor/prompter.h"
#include "editor/startup.h"
#include "model/archive.h"
#include "model/card_info.h"
#include "model/project.h"

#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
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
            if (now - m_last > m_longest) {
                m_longest = now - m_last;
                m_longestAt = m_last;
            }
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
    double m_longestAt = 0;

public:
    // When the longest stall began, in ms after start().
    double longestAt() const { return m_longestAt; }
};

// A photo-like JPEG (4000 x 3000 unless told): gradients under noise, so it neither compresses nor decodes
// trivially.
bool WritePhoto(const QString& path, int seed, QSize size = {4000, 3000}) {
    QImage photo(size, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, size.width(), size.height());
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

    // Preview of 200 cards: the default cards over and over, each with one of ten 1600 x 1200 photos as its
    // background, so every card has a picture to convert.
    model::Project big = model::MakeDefaultProject();
    const size_t kinds = big.cards.size();
    while (big.cards.size() < size_t(model::kMaxCards)) {
        big.cards.push_back(big.cards[big.cards.size() % kinds]->Clone());
    }
    for (size_t i = 0; i < big.cards.size(); ++i) {
        const QString file = work.filePath(QStringLiteral("small%1.jpg").arg(i % 10));
        if (i < 10 && !WritePhoto(file, int(i), {1600, 1200})) {
            std::fprintf(stderr, "photo %zu not written\n", i);
            return 1;
        }
        big.cards[i]->m_strBackground = file.toStdString();
        big.cards[i]->m_bProjectBg = 0;
        big.cards[i]->m_nBgAlign = 10;
    }
    const QString bigProject = work.filePath(QStringLiteral("big.cwp"));
    if (!model::SaveProjectFile(big, bigProject.toStdString())) {
        std::fprintf(stderr, "the 200-card project was not saved\n");
        return 1;
    }
    // Opening it: the call itself, then three seconds of the window settling (preview, check, map).
    stall.start();
    QElapsedTimer openClock;
    openClock.start();
    if (!window.openProjectFile(bigProject)) {
        std::fprintf(stderr, "the 200-card project was not opened\n");
        return 1;
    }
    const double openCallMs = openClock.nsecsElapsed() / 1e6;
    {
        QEventLoop loop;
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const double openStall = stall.stop();
    // The story map of 200 cards painted whole (the dock repaints it after every edit's check).
    std::vector<double> mapPaints;
    QWidget* map = window.giftCheck().mapDock().widget();
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer paint;
        paint.start();
        map->grab();
        mapPaints.push_back(paint.nsecsElapsed() / 1e6);
    }
    const double openStallAt = stall.longestAt();
    // Measured up to the movie ready: the Preview dialog that opens then (and is closed at once) is not
    // part of building.
    bool ready = false;
    double previewStall = 0;
    double previewMs = 0;
    QElapsedTimer previewClock;
    QObject::connect(&window, &editor::CCardwrightDlg::previewOpening, [&] {
        ready = true;
        previewStall = stall.stop();
        previewMs = previewClock.nsecsElapsed() / 1e6;
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->close();
            }
        });
    });
    previewClock.start();
    stall.start();
    window.OnPreview();
    const double previewCallMs = previewClock.nsecsElapsed() / 1e6;
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (ready || previewClock.elapsed() > 300000) {
                loop.quit();
            }
        });
        poll.start(1);
        loop.exec();
    }
    if (!ready) {
        std::fprintf(stderr, "the 200-card preview was not made\n");
        return 1;
    }

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
    std::printf("open_200_cards_call_ms %.1f (longest GUI stall in 3 s after: %.1f ms, %.0f ms in)\n",
                openCallMs, openStall, openStallAt);
    std::printf("story_map_200_cards_paint_median_ms %.1f (%dx%d)\n", Median(mapPaints), map->width(),
                map->height());
    std::printf(
        "preview_200_cards_ms %.1f (longest GUI stall %.1f ms, of it %.1f ms in the command itself; "
        "%zu cards, movie of %lld bytes)\n",
        previewMs, previewStall, previewCallMs, window.document().project().cards.size(),
        static_cast<long long>(QFileInfo(QString::fromStdString(workspace.PreviewPath().string())).size()));
    window.document().markSaved();
    return 0;
}
