// The live preview: the movie of the current card alone, made by a gift builder of its own on a worker
// thread from a copy of the project, and handed to the one player page as bytes. While one movie is
// built, only the newest waiting request is kept, and the stage keeps the last movie; the GUI thread
// never waits for a build. The player keeps only the newest waiting movie while one loads. A player
// failure is reported once and shown in the panel; the editor stays open.
#pragma once

#include "editor/movie_job.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QStackedLayout;

namespace app {
struct AppState;
class ErrorReporter;
class Log;
class Workspace;
} // namespace app
namespace model {
class Project;
}
namespace player {
class RuffleView;
}

namespace editor {

class PreviewPanel : public QWidget {
    Q_OBJECT
public:
    PreviewPanel(const app::Workspace& workspace, app::ErrorReporter& reporter, app::Log& log,
                 QWidget* parent = nullptr);
    ~PreviewPanel() override;

    // Asks for the movie of card `index` of a copy of `project`, built with `state`'s picture quality,
    // and plays it once built. Pictures converted before from the same files are reused. Nothing happens
    // while disabled; when `index` is not a card the stage is cleared at once.
    void refresh(const model::Project& project, const app::AppState& state, int index);
    // True while a movie is built or a request waits.
    bool busy() const { return m_building || m_waiting != nullptr; }
    void setEnabledPreview(bool on) { m_enabled = on; }
    // Hint shown when the builder cannot make the movie.
    void setTipHandler(std::function<void(const QString&)> tip) { m_tip = std::move(tip); }

    // Movies asked for so far, and the bytes of the last one built (tests count and read them).
    int generationCount() const { return m_generations; }
    // Movies built so far (requests that were overtaken while waiting are never built).
    int builtCount() const { return m_built; }
    // Pictures converted (not reused) for the preview so far.
    int conversionCount() const;
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
    // A requested movie was built (or failed) and handed to the player.
    void movieBuilt();

private:
    struct Request;
    struct Worker;

    void startWaiting();
    void takeBuilt();
    void playerFailed(const QString& reason);
    void startWarmPlayer();

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
    int m_built = 0;
    std::unique_ptr<Worker> m_worker; // used by one build at a time, on the worker thread
    QFutureWatcher<BuiltMovie> m_watcher;
    std::unique_ptr<Request> m_waiting;
    bool m_building = false;
    quint64 m_requests = 0;
    quint64 m_clearedAt = 0; // movies asked for before this are not shown
    quint64 m_lastSerial = 0;
    QByteArray m_lastMovie;
};

} // namespace editor
