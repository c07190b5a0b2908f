// Runs the gift checker and the story map's layout off the GUI thread, on a copy of the project, after
// every change of the document (a short delay gathers a burst of typing into one run; the newest project
// wins). The views read the latest results when `updated` is signalled.
#pragma once

#include "app/workspace.h"
#include "check/checker.h"
#include "check/story_map.h"
#include "editor/document.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <string>
#include <vector>

namespace editor {

class CheckRunner : public QObject {
    Q_OBJECT
public:
    CheckRunner(Document& document, const app::Workspace& workspace, QObject* parent = nullptr);
    ~CheckRunner() override; // waits for a run under way

    const std::vector<check::Finding>& findings() const { return m_findings; }
    const check::StoryMap& map() const { return m_map; }
    const model::Project& checkedProject() const { return m_checked; }
    // Graphviz's complaint when the last layout failed, else empty.
    const QString& mapError() const { return m_mapError; }

    // Checks the open project now, on this thread (Finish asks before it goes on). The map is not laid out.
    std::vector<check::Finding> checkNow();

    // Asks for a run after the delay (0 in tests: at the next turn of the event loop).
    void schedule();
    void setDelay(int ms) { m_delay.setInterval(ms); }
    // Tests: waits for the runs asked for so far and takes in their results.
    void waitForIdle();

signals:
    void updated();

private:
    struct Result {
        std::vector<check::Finding> findings;
        check::StoryMap map;
        QString mapError;
        model::Project project;
    };
    void start();
    void finish(Result result);
    check::CheckOptions Options(const model::ProjectSettings& settings); // worker or idle pool only

    Document& m_document;
    const app::Workspace& m_workspace;
    QThreadPool m_pool; // one thread: a run at a time, the glyph test used by one thread
    QTimer m_delay;
    bool m_running = false;
    bool m_pending = false;
    std::vector<check::Finding> m_findings;
    check::StoryMap m_map;
    QString m_mapError;
    model::Project m_checked;
    check::GlyphTip m_glyphTip; // for the face m_glyphFace
    std::string m_glyphFace;
    bool m_glyphLoaded = false;
};

} // namespace editor
