#include "player/player_window.h"

#include "player/ruffle_view.h"
#include "swf/error.h"
#include "swf/swf_file.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace player {

std::optional<QSize> MovieStageSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    try {
        const swf::SwfFile movie = swf::read_swf(
            std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
        const auto& r = movie.header.frame_size;
        const int width = (r.x_max - r.x_min) / 20;
        const int height = (r.y_max - r.y_min) / 20;
        if (width <= 0 || height <= 0) {
            return std::nullopt;
        }
        return QSize(width, height);
    } catch (const swf::Error&) {
        return std::nullopt;
    }
}

PlayerWindow::PlayerWindow(QWidget* parent) : QMainWindow(parent), m_view(new RuffleView(this)) {
    setCentralWidget(m_view);
    setWindowTitle(tr("Cardwright Player"));
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open..."), this, &PlayerWindow::chooseFile);
    open->setShortcut(QKeySequence::Open);
    file->addSeparator();
    QAction* quit = file->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    connect(m_view, &RuffleView::failed, this,
            [this](const QString& reason) { statusBar()->showMessage(reason); });
    // The movie's links open in the desktop's browser or mail program.
    connect(m_view, &RuffleView::linkActivated, this,
            [](const QUrl& url) { QDesktopServices::openUrl(url); });
    connect(m_view, &RuffleView::moviePainted, this, [this] { statusBar()->clearMessage(); });
    statusBar()->showMessage(tr("Open a movie with File > Open."));
    resize(640, 480);
}

void PlayerWindow::open(const QString& target) {
    const QUrl given(target);
    const bool web = given.isValid() &&
                     (given.scheme() == QLatin1String("http") || given.scheme() == QLatin1String("https") ||
                      given.scheme() == QLatin1String("file"));
    const QUrl url = web ? given : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    const QString name = url.fileName().isEmpty() ? target : url.fileName();
    setWindowTitle(tr("%1 - Cardwright Player").arg(name));
    if (url.isLocalFile()) {
        if (const auto stage = MovieStageSize(url.toLocalFile()); stage && !isMaximized()) {
            // The stage at its own size, as far as the screen allows; the menu and status bar come on top.
            QSize size = *stage + QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
            if (const QScreen* screen = this->screen()) {
                size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
            }
            resize(size);
        }
    }
    m_view->loadUrl(url);
}

void PlayerWindow::chooseFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open Movie"), {}, tr("Flash movies (*.swf);;All files (*)"));
    if (!path.isEmpty()) {
        open(path);
    }
}

} // namespace player
