// The editor window's menu: every command of the window with its texts, and the keys it shows.
#include "editor/cardwright_dlg.h"

#include "app/workspace.h"
#include "dialogs/publish_actions.h"
#include "editor/gift_check_views.h"
#include "movie/gift_scripts.h"

#include <QDockWidget>
#include <QMenuBar>
#include <QTreeView>

namespace editor {

namespace {

const char* const kHotKeys =
    "F1:  Help Center\nF2:  Add new card\nF3:  Add new link\nF5:  Preview Flash e-gift";

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void CCardwrightDlg::buildMenus() {
    const auto add = [this](QMenu* menu, const QString& text, auto slot, const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, slot);
        if (!keys.isEmpty()) {
            // The keys themselves are handled before any control (see KeyFilter); the menu shows them.
            action->setShortcut(keys);
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        return action;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    add(file, tr("&New"), &CCardwrightDlg::OnNew);
    add(file, tr("&Open..."), &CCardwrightDlg::OnOpen);
    add(file, tr("&Save..."), &CCardwrightDlg::OnSave);
    add(file, tr("&Import Twine Story..."), &CCardwrightDlg::OnImportTwine);
    add(file, tr("&Export as Twine Story..."), &CCardwrightDlg::OnExportTwine);
    QMenu* samples = file->addMenu(tr("&View Samples"));
    const QString samplesDir = FromStd((m_workspace.DataRoot() / "Samples").string());
    add(samples, tr("e-&Workout"),
        [this, samplesDir] { openInPlayer(samplesDir + QLatin1String("/workout.swf"), false); });
    add(samples, tr("e-&Love Letter"),
        [this, samplesDir] { openInPlayer(samplesDir + QLatin1String("/loveletter.swf"), false); });
    const struct {
        const char* text;
        const char* path;
    } online[] = {{QT_TR_NOOP("e-&Password (Online)"), "/flash/password.swf"},
                  {QT_TR_NOOP("e-&Fun (Online)"), "/flash/fun.swf"},
                  {QT_TR_NOOP("e-&Animate (Online)"), "/flash/animate.swf"},
                  {QT_TR_NOOP("e-&Mensa Test (Online)"), "/flash/MensaTest.swf"},
                  {QT_TR_NOOP("e-&Kid Training (Online)"), "/flash/kidsitesample.swf"}};
    for (const auto& sample : online) {
        const QString address = QString::fromLatin1(movie::kMakerHost.data(), movie::kMakerHost.size()) +
                                QLatin1String(sample.path);
        add(samples, tr(sample.text), [this, address] { openInPlayer(address, false); });
    }
    file->addSeparator();
    add(file, tr("E&xit"), &QWidget::close);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    // The stack's own actions name the step they take ("Undo Add card") and are off when there is none.
    QAction* undoAction = m_doc.undoStack().createUndoAction(this, tr("&Undo"));
    QAction* redoAction = m_doc.undoStack().createRedoAction(this, tr("&Redo"));
    undoAction->setShortcut(QKeySequence::Undo);
    redoAction->setShortcut(QKeySequence(tr("Ctrl+Shift+Z")));
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    // Away from text fields, Ctrl+Z and Ctrl+Shift+Z work on the project from any control.
    undoAction->setShortcutContext(Qt::WindowShortcut);
    redoAction->setShortcutContext(Qt::WindowShortcut);
    edit->addSeparator();
    add(
        edit, tr("Cu&t"), [this] { editAction("cut"); }, QKeySequence::Cut);
    add(
        edit, tr("&Copy"), [this] { editAction("copy"); }, QKeySequence::Copy);
    add(
        edit, tr("&Paste"), [this] { editAction("paste"); }, QKeySequence::Paste);

    QMenu* cards = menuBar()->addMenu(tr("&Cards"));
    QMenu* addCards = cards->addMenu(tr("&Add cards"));
    add(addCards, tr("At &top"), [this] { AddCard(model::kPosTop); });
    add(addCards, tr("&Before current card"), [this] { AddCard(model::kPosBefore); });
    add(
        addCards, tr("&After current card"), [this] { AddCard(model::kPosAfter); }, QKeySequence(Qt::Key_F2));
    add(addCards, tr("At &bottom"), [this] { AddCard(model::kPosBottom); });
    QMenu* addLinks = cards->addMenu(tr("Add &new link"));
    add(addLinks, tr("At &top"), [this] { AddLink(model::kPosTop); });
    add(addLinks, tr("&Before current link"), [this] { AddLink(model::kPosBefore); });
    add(
        addLinks, tr("&After current link"), [this] { AddLink(model::kPosAfter); }, QKeySequence(Qt::Key_F3));
    add(addLinks, tr("At &bottom"), [this] { AddLink(model::kPosBottom); });
    add(cards, tr("&Delete current card"), &CCardwrightDlg::OnBtnRemovecard);
    add(cards, tr("Delete current &link"), &CCardwrightDlg::OnBtnRemovelink);
    cards->addSeparator();
    add(cards, tr("Move card &up"), [this] { moveCard(-1); });
    add(cards, tr("Move card do&wn"), [this] { moveCard(1); });

    QMenu* project = menuBar()->addMenu(tr("&Project"));
    add(project, tr("Project &Settings"), &CCardwrightDlg::OnProjectSettings);
    add(project, tr("&Expand All Cards"), [this] { m_tree->expandAll(); });
    add(project, tr("&Collapse All Cards"), [this] { m_tree->collapseAll(); });
    project->addSeparator();
    add(
        project, tr("Check &Gift"), [this] { m_checks->showCheck(); }, QKeySequence(Qt::Key_F7))
        ->setShortcutContext(Qt::WindowShortcut);
    project->addAction(m_checks->mapDock().toggleViewAction());

    QMenu* steps = menuBar()->addMenu(tr("&Step by Step"));
    add(steps, tr("1 &New"), &CCardwrightDlg::OnNew);
    add(steps, tr("1 &Open"), &CCardwrightDlg::OnOpen);
    add(steps, tr("2 &Preview"), &CCardwrightDlg::OnPreview, QKeySequence(Qt::Key_F5));
    add(steps, tr("3 &Finish"), &CCardwrightDlg::OnFinish);
    add(steps, tr("4 &Save"), &CCardwrightDlg::OnSave);

    QMenu* exportMenu = menuBar()->addMenu(tr("E&xport"));
    add(exportMenu, tr("Generate &SWF"), [this] { publish(hooks::GenerateSwf); });
    add(exportMenu, publish_ui::GenerateExeMenuText(), [this] { publish(hooks::GenerateExe); });
    add(exportMenu, publish_ui::PreviewWebPageMenuText(), [this] { publish(hooks::PreviewWebPage); });

    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    add(tools, publish_ui::CreatePhotoAlbumMenuText(), [this] { publish(hooks::CreatePhotoAlbum); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    add(
        help, tr("&Help Document"), [this] { openHelp(true); }, QKeySequence(Qt::Key_F1));
    add(help, tr("Hot &Keys"), [this] { ShowTipMessage(QString::fromLatin1(kHotKeys)); });
    add(help, tr("&Tip of the Day"), [this] {
        hooks::Context ctx = context();
        hooks::TipOfToday(ctx);
    });
    help->addSeparator();
    add(help, tr("&About Cardwright..."), [this] { hooks::About(this); });
}

} // namespace editor
