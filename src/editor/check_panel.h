// The Gift Check panel: the checker's findings, one row each with its severity; activating a row (Enter
// or a double click) goes to its card or link.
#pragma once

#include "check/finding.h"
#include "model/project.h"

#include <QWidget>

#include <vector>

class QLabel;
class QListWidget;

namespace editor {

class CheckPanel : public QWidget {
    Q_OBJECT
public:
    explicit CheckPanel(QWidget* parent = nullptr);

    void show(const model::Project& project, const std::vector<check::Finding>& findings);
    QListWidget& list() { return *m_list; }

signals:
    // The card (link -1) or link a finding belongs to; nothing for the project's own findings.
    void activated(const model::Selection& where);

private:
    QLabel* m_summary;
    QListWidget* m_list;
};

} // namespace editor
