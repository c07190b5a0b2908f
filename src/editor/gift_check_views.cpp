#include "editor/gift_check_views.h"

#include "check/report.h"
#include "editor/cardwright_dlg.h"
#include "editor/check_panel.h"
#include "editor/story_map_view.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace editor {

GiftCheckViews::GiftCheckViews(CCardwrightDlg& window, const app::Workspace& workspace)
    : QObject(&window), m_window(window), m_runner(window.document(), workspace) {
    askFinish = [this](const QStringList& lines, bool errors) { return askWithDialog(lines, errors); };

    m_panel = new CheckPanel;
    m_checkDock = new QDockWidget(tr("Gift Check"), &window);
    m_checkDock->setObjectName(QStringLiteral("giftCheckDock"));
    m_checkDock->setWidget(m_panel);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_checkDock);
    m_checkDock->hide();

    m_map = new StoryMapView;
    m_map->setMinimumWidth(200);
    m_mapDock = new QDockWidget(tr("Story Map"), &window);
    m_mapDock->setObjectName(QStringLiteral("storyMapDock"));
    m_mapDock->setWidget(m_map);
    window.addDockWidget(Qt::LeftDockWidgetArea, m_mapDock);

    connect(&m_runner, &CheckRunner::updated, this, &GiftCheckViews::onUpdated);
    connect(m_panel, &CheckPanel::activated, &window, [this](const model::Selection& where) {
        m_window.select(where);
        m_window.tree().setFocus();
    });
    connect(m_map, &StoryMapView::cardClicked, &window, [this](int card) { m_window.select({card, -1}); });
    connect(window.tree().selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GiftCheckViews::onCurrentChanged);
    // After Open or New the tree's selection model may be replaced with the model's reset.
    connect(&window.document(), &Document::restructured, this, &GiftCheckViews::onCurrentChanged);
    m_runner.schedule();
}

void GiftCheckViews::onUpdated() {
    m_panel->show(m_runner.checkedProject(), m_runner.findings());
    m_map->showMap(m_runner.map(), m_runner.findings());
    m_map->setCurrentCard(m_window.selection().card);
}

void GiftCheckViews::onCurrentChanged() {
    m_map->setCurrentCard(m_window.selection().card);
}

void GiftCheckViews::showCheck() {
    m_checkDock->show();
    m_checkDock->raise();
    const std::vector<check::Finding> findings = m_runner.checkNow();
    m_panel->show(m_window.document().project(), findings);
    m_panel->list().setFocus();
    m_runner.schedule(); // and the map with it
}

bool GiftCheckViews::confirmFinish() {
    const std::vector<check::Finding> findings = m_runner.checkNow();
    if (findings.empty()) {
        return true;
    }
    QStringList lines;
    for (const check::Finding& f : findings) {
        lines << QString::fromStdString(check::FormatLine(m_window.document().project(), f));
    }
    if (askFinish(lines, check::HasErrors(findings))) {
        return true;
    }
    m_checkDock->show();
    m_checkDock->raise();
    m_panel->show(m_window.document().project(), findings);
    m_panel->list().setFocus();
    return false;
}

bool GiftCheckViews::askWithDialog(const QStringList& lines, bool errors) {
    QDialog dialog(&m_window);
    dialog.setWindowTitle(tr("Check before finishing"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(errors ? tr("The gift has errors its recipient would meet:")
                                        : tr("The check found these problems:"),
                                 &dialog));
    auto* list = new QListWidget(&dialog);
    list->addItems(lines);
    list->setWordWrap(true);
    layout->addWidget(list, 1);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* fix = buttons->addButton(tr("Fix"), QDialogButtonBox::RejectRole);
    buttons->addButton(tr("Finish Anyway"), QDialogButtonBox::AcceptRole);
    fix->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(560, 320);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace editor
