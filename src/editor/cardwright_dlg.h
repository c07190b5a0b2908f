// The editor window: the browse tree of cards and links on the left, the live preview of the current
// card with its fields below it on the right, the command buttons and the menu. It owns the one open
// project (through the document) and turns every user action into an edit of it.
#pragma once

#include "app/app_state.h"
#include "editor/dialog_hooks.h"
#include "editor/document.h"
#include "editor/movie_job.h"

#include <QFutureWatcher>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>

class CDlgTips;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;

namespace app {
class Log;
class Workspace;
} // namespace app
namespace movie {
class GiftBuilder;
}
namespace tooltip {
class EditorTips;
}

namespace editor {

class CardFields;
class GiftCheckViews;
class LinkFields;
class PreviewPanel;
class Prompter;
class QtReporter;
class TipMessage;

class CCardwrightDlg : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kRescueIntervalMs = 15000;

    CCardwrightDlg(const app::Workspace& workspace, app::Log& log, Prompter& prompter,
                   QWidget* parent = nullptr);
    ~CCardwrightDlg() override;

    // Creates Temp, starts the rescue timer and opens the rescued project at `rescuePath` (kept as
    // unsaved work, with no file name of its own) or builds the default project; selects the first card.
    void initialise(const QString& rescuePath = {});
    bool isInitialised() const { return m_initialised; }
    // The tips window at start-up, when the user has not switched it off; it stays for the run.
    void showStartupTips();

    // Opens a project file; a refused file leaves the open project as it was, with the load message.
    bool openProjectFile(const QString& path);
    // A Twine story opened as a new, unsaved project (what was not carried over shown in one window),
    // and the project written as a Twee story. A refused story leaves the open project as it was.
    bool importTwineStory(const QString& path);
    bool exportTwineStory(const QString& path);

    // Commands.
    void AddCard(int code);
    void OnBtnRemovecard();
    void AddLink(int code);
    void OnBtnRemovelink();
    void moveCard(int delta);
    void OnNew();
    void OnOpen();
    bool OnSave(); // asks for the file name; true when saved
    void OnImportTwine();
    void OnExportTwine();
    void OnPreview();
    void OnFinish();
    void OnProjectSettings();
    void OnAddPics();
    void ShowTipMessage(const QString& text);

    // Rescue save of the open project (not before initialisation, never for an empty project); true
    // when written. The timer calls it every rescueInterval() ms.
    bool rescueSave();
    void setRescueInterval(int ms);
    int rescueInterval() const;

    // For tests and the test switches of the program.
    Document& document() { return m_doc; }
    PreviewPanel& preview() { return *m_preview; }
    TipMessage& tips() { return *m_tips; }
    tooltip::EditorTips& richTips() { return *m_richTips; }
    // The welcome tip appears when the window is first shown; test runs switch it off.
    void setWelcomeTipEnabled(bool on) { m_welcomeTip = on; }
    GiftCheckViews& giftCheck() { return *m_checks; }
    CardFields& cardFields() { return *m_card; }
    LinkFields& linkFields() { return *m_link; }
    QTreeView& tree() { return *m_tree; }
    app::AppState& state() { return m_state; }
    model::Selection selection() const { return m_sel; }
    bool showsCardFields() const;
    void select(const model::Selection& sel);

signals:
    // The whole movie at `moviePath` is about to be shown in the preview dialog.
    void previewOpening(const QString& moviePath);
    // A publishing command (Finish, Export, the photo album) is over.
    void publishingEnded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void buildMenus();
    void addControlTips(const std::map<int, QWidget*>& controls);
    void connectFields();
    hooks::Context context();
    // Runs a publishing command unless one is still under way.
    void publish(void (*command)(hooks::Context&));

    void onCurrentChanged();
    void onRestructured(const model::Selection& select);
    void onCardChanged(int card, bool select);
    void onLinkChanged(int card, int link, bool select);
    void onSettingsChanged();
    void updateTitle();
    void fillGotoLists();
    void showCardFields(int card);
    void showLinkFields(int card, int link);
    // Asks the preview for the current card's movie; it is built off the GUI thread.
    void refreshPreview();
    // Preview's whole movie: built on a worker thread from a copy of the project; once built, the
    // Preview dialog shows it. A Preview asked for while one builds builds again from the newer project.
    // Big projects show its progress, and Cancel drops it.
    void startWholeMovie();
    void wholeMovieBuilt(const BuiltMovie& built, bool cancelled);
    void editCard(Field field, const std::function<void(CardValues&)>& change);
    void editLink(Field field, const std::function<void(model::CLinkInfo&)>& change);
    void storeColour(bool title, const QColor& colour);
    void openHelp(bool maximized);
    bool askToSaveChanges(const QString& question); // false when the user cancels
    void openInPlayer(const QString& target, bool maximized);
    void editAction(const char* slot);
    void undo();
    void redo();

    const app::Workspace& m_workspace;
    app::Log& m_log;
    Prompter& m_prompter;
    app::AppState m_state;
    Document m_doc;
    std::unique_ptr<QtReporter> m_reporter;
    std::unique_ptr<movie::GiftBuilder> m_builder;
    bool m_wholeMovieRunning = false;
    bool m_wholeMovieAgain = false;
    bool m_publishing = false; // a publishing command's work is under way

    QTreeView* m_tree = nullptr;
    PreviewPanel* m_preview = nullptr;
    QStackedWidget* m_fields = nullptr;
    CardFields* m_card = nullptr;
    LinkFields* m_link = nullptr;
    TipMessage* m_tips = nullptr;
    GiftCheckViews* m_checks = nullptr; // the gift check and the story map (child object)
    tooltip::EditorTips* m_richTips = nullptr;
    std::unique_ptr<CDlgTips> m_startupTips;
    QTimer m_rescueTimer;

    model::Selection m_sel;
    int m_previewCard = -1;
    bool m_initialised = false;
    bool m_filling = false;      // fields are being filled from the project, not edited
    bool m_typing = false;       // the edit under way comes from typing in a text field
    bool m_previewStale = false; // an edit was not shown because of a Flash background
    bool m_welcomeTip = true;
    bool m_welcomeShown = false;
    bool m_tipsWaiting = false;    // the start-up tips wait for the window to be on screen
    QPointer<QWidget> m_lastFocus; // the last control of this window with the focus (for the Edit menu)
};

} // namespace editor
