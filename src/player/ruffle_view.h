// The movie player widget: one Qt WebEngine page that loads Ruffle once and then plays movie after movie
// in that same player. The editor's live preview, the Preview dialog, the pickers and the stand-alone
// player all use it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

namespace player {

class RuffleView : public QWidget {
    Q_OBJECT
public:
    explicit RuffleView(QWidget* parent = nullptr);
    ~RuffleView() override;

    // Plays a movie given as bytes. While one movie is loading, only the newest waiting movie is kept;
    // earlier waiting ones are dropped. Returns the movie's serial number (see moviePainted).
    quint64 loadMovie(const QByteArray& swf);
    // Plays a movie file or web address.
    quint64 loadUrl(const QUrl& url);
    // Stops and clears the stage.
    void clear();
    // The player page is up and can take movies.
    bool isReady() const;

    // Reads the pixels the player shows (the stage as painted), for tests and thumbnails; calls back on
    // the GUI thread with a null image when nothing is painted yet.
    void grabStage(std::function<void(const QImage&)> done);

signals:
    // The page and the player are up.
    void ready();
    // The movie with this serial painted its first frame.
    void moviePainted(quint64 serial);
    // The page or the player failed, or a movie could not be played; `reason` is for the log.
    void failed(const QString& reason);

private:
    class Impl;
    Impl* m_impl;
};

} // namespace player
