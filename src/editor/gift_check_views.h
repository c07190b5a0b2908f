// The editor's gift check and story map: the checker run on every change (CheckRunner), the Gift Check
// panel (Project > Check Gift, F7) and the Story Map, both docks of the editor window, and the check
// Finish runs before it starts.
#pragma once

#include "editor/check_runner.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QDockWidget;

namespace editor {

class CCardwrightDlg;
class CheckPanel;
class StoryMapView;

class GiftCheckViews : public QObject {
    Q_OBJECT
public:
    GiftCheckViews(CCardwrightDlg& window, const app::Workspace& workspace);

    // Project > Check Gift: shows the panel with the findings of the project as it is now.
    void showCheck();
    // Before Finish: true to go on. With findings, asks whether to fix them first ("Fix" shows the
    // panel and returns false) or to finish anyway.
    bool confirmFinish();
    // What confirmFinish asks with the finding lines (`errors`: some are errors); true for "Finish
    // Anyway". A dialog by default; tests answer it.
    std::function<bool(const QStringList& lines, bool errors)> askFinish;

    CheckRunner& runner() { return m_runner; }
    CheckPanel& panel() { return *m_panel; }
    StoryMapView& map() { return *m_map; }
    QDockWidget& checkDock() { return *m_checkDock; }
    QDockWidget& mapDock() { return *m_mapDock; }

private:
    void onUpdated();
    void onCurrentChanged();
    bool askWithDialog(const QStringList& lines, bool errors);

    CCardwrightDlg& m_window;
    CheckRunner m_runner;
    CheckPanel* m_panel;
    StoryMapView* m_map;
    QDockWidget* m_checkDock;
    QDockWidget* m_mapDock;
};

} // namespace editor
