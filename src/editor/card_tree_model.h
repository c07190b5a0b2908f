// The browse tree as a thin item model over the project document: top-level rows are the cards in
// order, their children the links. Rows are positions in the document, so the model holds no copy.
#pragma once

#include "model/project.h"

#include <QAbstractItemModel>
#include <QIcon>

namespace editor {

class CardTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit CardTreeModel(const model::Project& project, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The document selection an index stands for, and back.
    model::Selection selectionAt(const QModelIndex& index) const;
    QModelIndex indexOf(const model::Selection& sel) const;

    // The document's cards or links were added, removed or replaced: every row is read again.
    void beginRestructure() { beginResetModel(); }
    void endRestructure() { endResetModel(); }
    // Titles, link counts or link values changed: every label may read differently now.
    void relabelAll();

private:
    const model::Project& m_project;
    QIcon m_cardIcon;
    QIcon m_linkIcon;
};

} // namespace editor
