#include "editor/preview_panel.h"

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
#include <QRandomGenerator>
#include <QStackedLayout>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>
#include <filesystem>
#include <utility>

namespace editor {

namespace {

const char* const kSwfFileError = "SWF file error. please check FLASH.";

} // namespace

PreviewPanel::PreviewPanel(movie::GiftBuilder& builder, const app::Workspace& workspace,
                           app::ErrorReporter& reporter, app::Log& log, QWidget* parent)
    : QWidget(parent), m_builder(builder), m_workspace(workspace), m_reporter(reporter), m_log(log) {
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

void PreviewPanel::refresh(const model::Project& project, int index, bool forceConvert) {
    if (!m_enabled) {
        return;
    }
    if (index < 0 || index >= project.CardCount()) {
#if CW_HAVE_PLAYER
        m_player->clear();
#endif
        return;
    }
    ++m_generations;
    // A name of its own for each movie, so a file still being read is never overwritten.
    const auto path =
        m_workspace.TempDir() /
        (std::to_string(index) + "_" + std::to_string(QRandomGenerator::global()->bounded(1000)) + ".swf");
    m_workspace.EnsureTempDir();
    try {
        m_builder.GenerateSWF(path, project.cards[index].get(), forceConvert ? 1 : 0, index);
    } catch (const std::exception& e) {
        m_log.Write(std::string("Card preview not written: ") + e.what() + "\n");
        if (m_tip) {
            m_tip(QString::fromLatin1(kSwfFileError));
        }
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return;
    }
    QFile file(QString::fromStdString(path.string()));
    if (file.open(QIODevice::ReadOnly)) {
        m_lastMovie = file.readAll();
    }
    file.close();
    std::error_code ec;
    std::filesystem::remove(path, ec);
#if CW_HAVE_PLAYER
    m_lastSerial = m_player->loadMovie(m_lastMovie);
#endif
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
