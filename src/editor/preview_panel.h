// The live preview: the movie of the current card alone, made by the gift builder and handed to the
// one player page as bytes. The player keeps only the newest waiting movie while one loads. A player
// failure is reported once and shown in the panel; the editor stays open.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QStackedLayout;

namespace app {
class ErrorReporter;
class Log;
class Workspace;
} // namespace app
namespace model {
class Project;
}
namespace movie {
class GiftBuilder;
}
namespace player {
class RuffleView;
}

namespace editor {

class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    PreviewPanel(movie::GiftBuilder& builder, const app::Workspace& workspace, app::ErrorReporter& reporter,
                 app::Log& log, QWidget* parent = nullptr);

    // Makes the movie of card `index` and plays it; `forceConvert` converts its pictures again.
    // Nothing happens while disabled or when `index` is not a card (the stage is cleared then).
    void refresh(const model::Project& project, int index, bool forceConvert);
    void setEnabledPreview(bool on) { m_enabled = on; }
    // Hint shown when the builder cannot make the movie.
    void setTipHandler(std::function<void(const QString&)> tip) { m_tip = std::move(tip); }

    // Movies made so far, and the bytes of the last one (tests count and read them).
    int generationCount() const { return m_generations; }
    const QByteArray& lastMovie() const { return m_lastMovie; }
    // The serial the player gave the last movie (0 without a player).
    quint64 lastSerial() const { return m_lastSerial; }
    // The player, or null when this build has none.
    player::RuffleView* player() const { return m_player; }

    // Keeps a second player, hidden and warmed up, for the Preview dialog, so that it shows the movie at
    // once instead of starting Ruffle (about a second). It is started `delayMs` after the first card is
    // painted, so it never slows the start. Off until called (tests make many editors).
    void keepWarmPlayer(int delayMs);
    // That player once started (it may still be warming up), else null. Lent to a dialog, it comes back
    // as a hidden child of this panel.
    player::RuffleView* warmPlayer() const { return m_warm; }
    // The failure shown in the panel, empty while the player works.
    QString failureText() const;

signals:
    // The movie of this serial is on the stage.
    void moviePainted(quint64 serial);

private:
    void playerFailed(const QString& reason);
    void startWarmPlayer();

    movie::GiftBuilder& m_builder;
    const app::Workspace& m_workspace;
    app::ErrorReporter& m_reporter;
    app::Log& m_log;
    std::function<void(const QString&)> m_tip;
    player::RuffleView* m_player = nullptr;
    player::RuffleView* m_warm = nullptr;
    int m_warmDelay = -1; // -1: no warm player
    QLabel* m_failure = nullptr;
    QStackedLayout* m_stack = nullptr;
    bool m_enabled = true;
    bool m_failed = false;
    int m_generations = 0;
    quint64 m_lastSerial = 0;
    QByteArray m_lastMovie;
};

} // namespace editor
