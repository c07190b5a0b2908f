// The movie player widget: one Qt WebEngine page that loads Ruffle once and then plays movie after movie
// in that same player. The editor's live preview, the Preview dialog, the pickers and the stand-alone
// player all use it.
//
//     auto* view = new player::RuffleView(parent);
//     connect(view, &player::RuffleView::moviePainted, ...);
//     connect(view, &player::RuffleView::failed, ...);    // show it; the view stays usable
//     view->loadMovie(bytes);                              // may be called before ready(): it waits
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QWebEngineView;

namespace player {

class RuffleView : public QWidget {
    Q_OBJECT
public:
    // Ruffle is taken from the data root's Ruffle folder (app::Workspace::FromEnvironment()).
    explicit RuffleView(QWidget* parent = nullptr);
    ~RuffleView() override;

    // Plays a movie given as bytes. While one movie is loading, only the newest waiting movie is kept;
    // earlier waiting ones are dropped (they never get moviePainted). Movies handed over before the page
    // is ready wait the same way. Returns the movie's serial number (see moviePainted), counting from 1.
    quint64 loadMovie(const QByteArray& swf);
    // Plays a movie file (read here and handed over as bytes) or web address. A file that cannot be read
    // gives failed() with the serial's movie never painted.
    quint64 loadUrl(const QUrl& url);
    // Stops and clears the stage; a waiting movie is dropped.
    void clear();
    // Plays an empty movie of one pixel, silently: Ruffle starts (its WebAssembly compiled, about a
    // second) before it is needed, so the next movie plays at once. Returns the empty movie's serial.
    quint64 warmUp();
    // The player page is up and can take movies.
    bool isReady() const;
    // Serial of the movie being loaded now, 0 when none.
    quint64 loadingSerial() const;

    // A load that neither paints nor fails within this time is given up with failed() (default 15 s).
    void setLoadTimeout(int milliseconds);

    // Reads the pixels the player shows (the stage as painted, without the letterbox bars), for tests and
    // thumbnails; calls back on the GUI thread with a null image when nothing is painted yet. The callback
    // is not called when the view is destroyed first.
    void grabStage(std::function<void(const QImage&)> done);

    // The web view inside, for focus handling and accessibility.
    QWebEngineView* webView() const;

    // The folder the player page and Ruffle are loaded from.
    static QString RuffleFolder();

signals:
    // The page and the player are up.
    void ready();
    // The movie with this serial painted its first frame.
    void moviePainted(quint64 serial);
    // The movie opened a web or mail address (getURL); nothing is opened unless the owner does it.
    void linkActivated(const QUrl& url);
    // The page or the player failed, or a movie could not be played; `reason` is for the log and for
    // showing. The view stays usable: the next movie is loaded as usual.
    void failed(const QString& reason);

private:
    class Impl;
    Impl* m_impl;
};

} // namespace player
