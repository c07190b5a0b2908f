// The browse tree as a thin item model over the project document: top-level rows are the cards in
// order, their children the links. Rows are positions in the document, so the model holds no copy of it;
// it keeps only a stable key per card row, so that a link row's index still names its card after cards
// are inserted, removed or moved above it.
#pragma once

#include "model/project.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <vector>

namespace editor {

// One change of the project's structure, as the model announces it to its views.
struct TreeChange {
    enum class Kind {
        Values,     // labels may read differently; no row comes or goes
        InsertCard, // a card at `card`
        RemoveCard, // the card at `card`
        MoveCard,   // the card at `card` to `to`
        InsertLink, // a link at `link` of `card`
        RemoveLink, // the link at `link` of `card`
        Reset       // another project altogether (open, new)
    };
    Kind kind = Kind::Values;
    int card = -1;
    int link = -1;
    int to = -1;

    // The change that takes the project back (undo).
    TreeChange Inverse() const;
};

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

    // Announces `change` to the views, lets `apply` change the project accordingly, and ends the
    // announcement; afterwards every label is read again (structural edits renumber gotos).
    void applyChange(const TreeChange& change, const std::function<void()>& apply);
    // Titles, link counts or link values changed: every label may read differently now.
    void relabelAll();

private:
    int cardRowOfKey(quintptr key) const;
    void rekey();

    const model::Project& m_project;
    std::vector<quintptr> m_keys; // a stable key per card row; a link row's internal id is its card's key
    quintptr m_nextKey = 1;
    QIcon m_cardIcon;
    QIcon m_linkIcon;
};

} // namespace editor
