// The stand-alone player's window: the player widget, sized to the movie's stage, with File > Open and
// File > Quit. The title names the movie.
#pragma once

#include <QMainWindow>
#include <QSize>
#include <QString>

#include <optional>

namespace player {

class RuffleView;

// The stage size in pixels from a movie file's header; nothing when the file is not a readable movie.
std::optional<QSize> MovieStageSize(const QString& path);

class PlayerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlayerWindow(QWidget* parent = nullptr);

    // Plays a file path or a web address (http, https, file).
    void open(const QString& target);
    RuffleView* view() const { return m_view; }

private:
    void chooseFile();

    RuffleView* m_view;
};

} // namespace player
