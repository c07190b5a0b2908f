#include "player/ruffle_view.h"

#include "app/workspace.h"
#include "swf/movie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <optional>

// The page lives in the static library's resources, which a static library must register itself.
static void InitPlayerResources() {
    Q_INIT_RESOURCE(player);
}

namespace player {

namespace {

// The page reports through console lines "cw:<kind>:<serial>:<text>"; everything else is Ruffle's own
// logging: its errors go to the log, and with CW_PLAYER_DEBUG set everything does (the page's timing
// marks of each load among it).
// A page the movie opens (getURL into a new window): it only passes its address on and goes away.
class LinkCatcher : public QWebEnginePage {
    Q_OBJECT
public:
    LinkCatcher(QWebEngineProfile* profile, QObject* parent, std::function<void(const QUrl&)> onLink)
        : QWebEnginePage(profile, parent), m_onLink(std::move(onLink)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (m_onLink && !url.isEmpty() && url.scheme() != QLatin1String("about")) {
            m_onLink(url);
        }
        deleteLater();
        return false;
    }

private:
    std::function<void(const QUrl&)> m_onLink;
};

class PlayerPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;
    std::function<void(const QString& kind, quint64 serial, const QString& text)> onMessage;
    std::function<void(const QUrl&)> onLink;

protected:
    // The player page itself stays; addresses the movie opens are passed on instead of replacing it.
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        static const QStringList own = {QStringLiteral("data"), QStringLiteral("file"),
                                        QStringLiteral("chrome"), QStringLiteral("about")};
        if (!isMainFrame || own.contains(url.scheme())) {
            return true;
        }
        if (onLink) {
            onLink(url);
        }
        return false;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return new LinkCatcher(profile(), this, onLink); }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int,
                                  const QString&) override {
        if (message.startsWith(QLatin1String("cw:"))) {
            const QString kind = message.section(QLatin1Char(':'), 1, 1);
            const quint64 serial = message.section(QLatin1Char(':'), 2, 2).toULongLong();
            const QString text = message.section(QLatin1Char(':'), 3);
            if (onMessage) {
                onMessage(kind, serial, text);
            }
        } else {
            if (level == ErrorMessageLevel || qEnvironmentVariableIsSet("CW_PLAYER_DEBUG")) {
                qWarning("player: %s", qUtf8Printable(message));
            }
            // A panic stops the movie for good and shows Ruffle's own error screen.
            if (message.contains(QLatin1String("panicked")) && onMessage) {
                onMessage(QStringLiteral("failed"), 0, tr("The player stopped with an internal error."));
            }
        }
    }
};

struct Pending {
    quint64 serial = 0;
    QByteArray data; // the movie's bytes, or empty when `url` is to be fetched by the player
    QUrl url;
};

} // namespace

class RuffleView::Impl {
public:
    explicit Impl(RuffleView* view) : q(view) {}

    RuffleView* q;
    QWebEngineView* web = nullptr;
    PlayerPage* page = nullptr;
    QTimer watchdog;
    bool ready = false;
    int crashesSinceReady = 0;
    quint64 nextSerial = 0;
    quint64 loading = 0;
    std::optional<Pending> pending;

    void loadPage() {
        ready = false;
        const QString folder = RuffleView::RuffleFolder();
        if (!QFileInfo::exists(folder + QStringLiteral("/ruffle.js"))) {
            QTimer::singleShot(0, q, [this, folder] {
                emit q->failed(tr("The movie player is missing: %1 was not found.")
                                   .arg(QDir::toNativeSeparators(folder + QStringLiteral("/ruffle.js"))));
            });
            return;
        }
        InitPlayerResources();
        QFile html(QStringLiteral(":/cardwright/player/player_page.html"));
        if (!html.open(QIODevice::ReadOnly)) {
            QTimer::singleShot(0, q, [this] { emit q->failed(tr("The movie player page is missing.")); });
            return;
        }
        // A file:// base lets Ruffle find its wasm beside ruffle.js.
        page->setHtml(QString::fromUtf8(html.readAll()), QUrl::fromLocalFile(folder + QLatin1Char('/')));
    }

    void pump() {
        if (!ready || loading != 0 || !pending) {
            return;
        }
        Pending next = std::move(*pending);
        pending.reset();
        loading = next.serial;
        watchdog.start();
        const QString serial = QString::number(next.serial);
        if (next.url.isValid() && next.data.isEmpty()) {
            const QString url = QString::fromUtf8(next.url.toEncoded());
            page->runJavaScript(QStringLiteral("cw.loadUrl(%1, %2)").arg(JsString(url), serial));
        } else {
            page->runJavaScript(QStringLiteral("cw.loadData(\"%1\", %2)")
                                    .arg(QString::fromLatin1(next.data.toBase64()), serial));
        }
    }

    void finish(quint64 serial) {
        if (serial != loading) {
            return;
        }
        loading = 0;
        watchdog.stop();
        pump();
    }

    void onMessage(const QString& kind, quint64 serial, const QString& text) {
        if (kind == QLatin1String("ready")) {
            ready = true;
            crashesSinceReady = 0;
            emit q->ready();
            pump();
        } else if (kind == QLatin1String("painted")) {
            if (serial == loading) {
                finish(serial);
                emit q->moviePainted(serial);
            }
        } else if (kind == QLatin1String("failed")) {
            const QString reason = text.isEmpty() ? tr("The movie could not be played.") : text;
            if (!ready && serial == 0) {
                emit q->failed(reason);
                return;
            }
            const bool current = serial == loading;
            finish(serial);
            if (current || serial == 0) {
                emit q->failed(reason);
            }
        }
    }

    static QString JsString(const QString& text) {
        QString out = QStringLiteral("\"");
        for (const QChar c : text) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
                out += QLatin1Char('\\');
                out += c;
            } else if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029) {
                out += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
            } else {
                out += c;
            }
        }
        return out + QLatin1Char('"');
    }

    static QString tr(const char* text) { return RuffleView::tr(text); }
};

RuffleView::RuffleView(QWidget* parent) : QWidget(parent), m_impl(new Impl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_impl->web = new QWebEngineView(this);
    m_impl->web->setContextMenuPolicy(Qt::NoContextMenu);
    m_impl->web->setAccessibleName(tr("Movie"));
    setFocusProxy(m_impl->web);
    layout->addWidget(m_impl->web);

    m_impl->page = new PlayerPage(m_impl->web);
    QWebEngineSettings* settings = m_impl->page->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    m_impl->page->setBackgroundColor(Qt::black);
    m_impl->page->onMessage = [this](const QString& kind, quint64 serial, const QString& text) {
        m_impl->onMessage(kind, serial, text);
    };
    m_impl->page->onLink = [this](const QUrl& url) { emit linkActivated(url); };
    m_impl->web->setPage(m_impl->page);

    connect(m_impl->page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!ok) {
            emit failed(tr("The movie player page could not be loaded."));
        }
    });
    connect(m_impl->page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int code) {
                if (status == QWebEnginePage::NormalTerminationStatus) {
                    return;
                }
                m_impl->ready = false;
                m_impl->loading = 0;
                m_impl->watchdog.stop();
                emit failed(
                    tr("The movie player stopped (status %1, exit code %2).").arg(int(status)).arg(code));
                // Start it again for the next movie, but do not loop on a player that cannot start.
                if (++m_impl->crashesSinceReady <= 3) {
                    QTimer::singleShot(0, this, [this] { m_impl->loadPage(); });
                }
            });

    m_impl->watchdog.setSingleShot(true);
    m_impl->watchdog.setInterval(15000);
    connect(&m_impl->watchdog, &QTimer::timeout, this, [this] {
        const quint64 serial = m_impl->loading;
        m_impl->finish(serial);
        emit failed(tr("The movie took too long to start."));
    });

    m_impl->loadPage();
}

RuffleView::~RuffleView() {
    delete m_impl;
}

quint64 RuffleView::loadMovie(const QByteArray& swf) {
    const quint64 serial = ++m_impl->nextSerial;
    m_impl->pending = Pending{serial, swf, {}};
    m_impl->pump();
    return serial;
}

quint64 RuffleView::loadUrl(const QUrl& url) {
    if (!url.isLocalFile()) {
        const quint64 serial = ++m_impl->nextSerial;
        m_impl->pending = Pending{serial, {}, url};
        m_impl->pump();
        return serial;
    }
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) {
        const quint64 serial = ++m_impl->nextSerial;
        const QString reason = tr("Cannot open the movie %1: %2")
                                   .arg(QDir::toNativeSeparators(url.toLocalFile()), file.errorString());
        QTimer::singleShot(0, this, [this, reason] { emit failed(reason); });
        return serial;
    }
    return loadMovie(file.readAll());
}

void RuffleView::clear() {
    m_impl->pending.reset();
    m_impl->loading = 0;
    m_impl->watchdog.stop();
    if (m_impl->ready) {
        m_impl->page->runJavaScript(QStringLiteral("cw.clear()"));
    }
}

quint64 RuffleView::warmUp() {
    swf::Movie empty;
    empty.set_dimension(1, 1);
    empty.next_frame();
    const std::vector<uint8_t> bytes = empty.to_bytes();
    return loadMovie(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

bool RuffleView::isReady() const {
    return m_impl->ready;
}

quint64 RuffleView::loadingSerial() const {
    return m_impl->loading;
}

void RuffleView::setLoadTimeout(int milliseconds) {
    m_impl->watchdog.setInterval(milliseconds);
}

void RuffleView::grabStage(std::function<void(const QImage&)> done) {
    if (!m_impl->ready) {
        QTimer::singleShot(0, this, [done = std::move(done)] { done(QImage()); });
        return;
    }
    QPointer<RuffleView> self(this);
    m_impl->page->runJavaScript(
        QStringLiteral("cw.grab()"), [self, done = std::move(done)](const QVariant& v) {
            if (!self) {
                return;
            }
            const QString url = v.toString();
            const qsizetype comma = url.indexOf(QLatin1Char(','));
            QImage image;
            if (comma > 0) {
                image.loadFromData(QByteArray::fromBase64(url.mid(comma + 1).toLatin1()), "PNG");
            }
            done(image);
        });
}

QWebEngineView* RuffleView::webView() const {
    return m_impl->web;
}

QString RuffleView::RuffleFolder() {
    const auto folder = app::Workspace::FromEnvironment().DataRoot() / "Ruffle";
    return QDir::cleanPath(QString::fromStdString(folder.string()));
}

} // namespace player
#include "ruffle_view.moc"
