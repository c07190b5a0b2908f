#include "editor/check_panel.h"

#include "check/report.h"

#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace editor {

namespace {
constexpr int kCardRole = Qt::UserRole;
constexpr int kLinkRole = Qt::UserRole + 1;
} // namespace

CheckPanel::CheckPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_summary = new QLabel(this);
    m_list = new QListWidget(this);
    m_list->setAccessibleName(tr("Findings of the gift check"));
    m_list->setWordWrap(true);
    m_list->setProperty("enterActivates", true);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int card = item->data(kCardRole).toInt();
        if (card >= 0) {
            emit activated({card, item->data(kLinkRole).toInt()});
        }
    });
}

void CheckPanel::show(const model::Project& project, const std::vector<check::Finding>& findings) {
    const int current = m_list->currentRow();
    m_list->clear();
    int errors = 0;
    for (const check::Finding& f : findings) {
        const bool error = f.severity == check::Severity::Error;
        errors += error ? 1 : 0;
        auto* item = new QListWidgetItem(
            style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning),
            QString::fromStdString(check::FormatLine(project, f)), m_list);
        item->setData(kCardRole, f.card);
        item->setData(kLinkRole, f.link);
    }
    if (current >= 0 && current < m_list->count()) {
        m_list->setCurrentRow(current);
    }
    if (findings.empty()) {
        m_summary->setText(tr("No problems found."));
    } else {
        m_summary->setText(tr("%1 error(s), %2 warning(s). Press Enter or double-click to go there.")
                               .arg(errors)
                               .arg(int(findings.size()) - errors));
    }
}

} // namespace editor
