#include "editor/preview_panel.h"

#include "app/app_state.h"
#include "app/error_report.h"
#include "app/log.h"
#include "app/reasons.h"
#include "app/workspace.h"
#include "model/project.h"
#include "movie/gift_builder.h"
#include "swf/error.h"

#if CW_HAVE_PLAYER
#include "player/ruffle_view.h"
#endif

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QStackedLayout>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace editor {

namespace {

const char* const kSwfFileError = "SWF file error. please check FLASH.";

} // namespace

// A request waiting for the worker: its own copy of the project.
struct PreviewPanel::Request {
    model::Project project;
    app::AppState state;
    int index = 0;
    quint64 id = 0;
};

// The builder of the preview with the copy it reads. Its fonts stay loaded between movies; the copy is
// replaced before each build, only while no build runs.
struct PreviewPanel::Worker {
    explicit Worker(const app::Workspace& workspace) : builder(project, state, workspace, reporter) {}

    model::Project project;
    app::AppState state;
    KeepingReporter reporter;
    movie::GiftBuilder builder;
};

PreviewPanel::PreviewPanel(const app::Workspace& workspace, app::ErrorReporter& reporter, app::Log& log,
                           QWidget* parent)
    : QWidget(parent), m_workspace(workspace), m_reporter(reporter), m_log(log),
      m_worker(std::make_unique<Worker>(workspace)) {
    connect(&m_watcher, &QFutureWatcher<BuiltMovie>::finished, this, &PreviewPanel::takeBuilt);
    setAccessibleName(tr("Preview"));
    m_stack = new QStackedLayout(this);
    m_failure = new QLabel(this);
    m_failure->setWordWrap(true);
    m_failure->setAlignment(Qt::AlignCenter);
    m_failure->setAccessibleName(tr("Preview"));
#if CW_HAVE_PLAYER
    m_player = new player::RuffleView(this);
    m_player->setAccessibleName(tr("Preview"));
    // The card preview takes no keys, so Tab goes from the tree straight to the fields.
    m_player->setFocusPolicy(Qt::NoFocus);
    m_player->webView()->setFocusPolicy(Qt::NoFocus);
    m_stack->addWidget(m_player);
    connect(m_player, &player::RuffleView::failed, this, &PreviewPanel::playerFailed);
    // A click on a card item that opens an address (the credit line) opens it in the desktop's browser.
    connect(m_player, &player::RuffleView::linkActivated, this, [](const QUrl& url) {
        if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
            url.scheme() == QLatin1String("mailto")) {
            QDesktopServices::openUrl(url);
        }
    });
    connect(m_player, &player::RuffleView::moviePainted, this, [this](quint64 serial) {
        if (m_warmDelay >= 0 && m_warm == nullptr) {
            const int delay = std::exchange(m_warmDelay, -1); // once
            QTimer::singleShot(delay, this, &PreviewPanel::startWarmPlayer);
        }
        if (m_failed) {
            m_failed = false;
            m_stack->setCurrentWidget(m_player);
        }
        emit moviePainted(serial);
    });
#else
    m_failure->setText(tr("This build has no movie player, so cards are not shown."));
#endif
    m_stack->addWidget(m_failure);
    m_stack->setCurrentWidget(m_player != nullptr ? static_cast<QWidget*>(m_player) : m_failure);
}

void PreviewPanel::startWarmPlayer() {
#if CW_HAVE_PLAYER
    // Ruffle starts only in a page that is shown, so the player warms up as a tiny child under the card
    // player (which covers it), and is hidden once its empty movie is painted: a hidden page draws nothing.
    m_warm = new player::RuffleView(this);
    // No keyboard focus while it warms up in sight (Tab would land in it); a dialog gets it as it was.
    const Qt::FocusPolicy ownPolicy = m_warm->focusPolicy();
    const Qt::FocusPolicy viewPolicy = m_warm->webView()->focusPolicy();
    m_warm->setFocusPolicy(Qt::NoFocus);
    m_warm->webView()->setFocusPolicy(Qt::NoFocus);
    m_warm->setGeometry(0, 0, 2, 2);
    m_warm->show();
    m_warm->lower();
    connect(m_warm, &player::RuffleView::failed, this,
            [this](const QString& reason) { m_log.Write("Warm player: " + reason.toStdString() + "\n"); });
    const quint64 warmUp = m_warm->warmUp();
    connect(m_warm, &player::RuffleView::moviePainted, this, [=, this](quint64 serial) {
        if (serial != warmUp) {
            return;
        }
        m_warm->setFocusPolicy(ownPolicy);
        m_warm->webView()->setFocusPolicy(viewPolicy);
        if (m_warm->parentWidget() == this) { // not while a dialog has it
            m_warm->hide();
        }
    });
#endif
}

void PreviewPanel::keepWarmPlayer(int delayMs) {
    m_warmDelay = std::max(0, delayMs);
}

QString PreviewPanel::failureText() const {
    return m_failed ? m_failure->text() : QString();
}

PreviewPanel::~PreviewPanel() {
    // The worker reads its copy until the build ends; only closing the window waits for it.
    m_waiting.reset();
    m_watcher.waitForFinished();
}

int PreviewPanel::conversionCount() const {
    return m_worker->builder.ConversionCount();
}

void PreviewPanel::refresh(const model::Project& project, const app::AppState& state, int index) {
    if (!m_enabled) {
        return;
    }
    if (index < 0 || index >= project.CardCount()) {
        m_waiting.reset();
        m_clearedAt = ++m_requests;
#if CW_HAVE_PLAYER
        m_player->clear();
#endif
        return;
    }
    ++m_generations;
    // Only the newest request waits; an older waiting one is dropped.
    m_waiting = std::make_unique<Request>(Request{project.Clone(), state, index, ++m_requests});
    startWaiting();
}

void PreviewPanel::startWaiting() {
    if (m_building || !m_waiting) {
        return;
    }
    const std::unique_ptr<Request> request = std::move(m_waiting);
    m_worker->project = std::move(request->project);
    m_worker->state = request->state;
    m_building = true;
    // A name of its own for each movie, so a file still being read is never overwritten.
    const std::filesystem::path path =
        m_workspace.TempDir() / ("preview_" + std::to_string(request->id) + ".swf");
    m_watcher.setFuture(QtConcurrent::run(
        [worker = m_worker.get(), workspace = &m_workspace, path, index = request->index, id = request->id] {
            BuiltMovie built;
            built.request = id;
            worker->reporter.kept = {};
            try {
                workspace->EnsureTempDir();
                worker->builder.GenerateSWF(path, worker->project.cards[size_t(index)].get(), 0, index);
                QFile file(QString::fromStdString(path.string()));
                if (file.open(QIODevice::ReadOnly)) {
                    built.bytes = file.readAll();
                }
            } catch (const std::exception& e) {
                built.error = e.what();
            }
            std::error_code ec;
            std::filesystem::remove(path, ec);
            built.kept = std::move(worker->reporter.kept);
            return built;
        }));
}

void PreviewPanel::takeBuilt() {
    BuiltMovie built = m_watcher.result();
    m_building = false;
    ++m_built;
    built.kept.ShowThrough(m_reporter);
    if (!built.error.empty()) {
        m_log.Write("Card preview not written: " + built.error + "\n");
        if (m_tip) {
            m_tip(QString::fromLatin1(kSwfFileError));
        }
    } else if (built.request > m_clearedAt) {
        m_lastMovie = std::move(built.bytes);
#if CW_HAVE_PLAYER
        m_lastSerial = m_player->loadMovie(m_lastMovie);
#endif
    }
    emit movieBuilt();
    startWaiting();
}

void PreviewPanel::playerFailed(const QString& reason) {
    m_log.Write("Player: " + reason.toStdString() + "\n");
    const bool first = !m_failed;
    m_failed = true;
    m_failure->setText(tr("The card cannot be shown: the movie player failed.\n\n%1\n\nYour project is "
                          "safe; save it and restart the program to get the preview back.")
                           .arg(reason));
    m_stack->setCurrentWidget(m_failure);
    if (first) {
        m_reporter.report(app::reasons::kFlashDisplay);
    }
}

} // namespace editor
