#include "editor/card_tree_model.h"

#include "editor/labels.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

namespace editor {

namespace {

// Internal id of a card row; link rows carry their card's key, which is never 0.
constexpr quintptr kCardId = 0;

} // namespace

TreeChange TreeChange::Inverse() const {
    switch (kind) {
    case Kind::InsertCard:
        return {Kind::RemoveCard, card};
    case Kind::RemoveCard:
        return {Kind::InsertCard, card};
    case Kind::MoveCard:
        return {Kind::MoveCard, to, -1, card};
    case Kind::InsertLink:
        return {Kind::RemoveLink, card, link};
    case Kind::RemoveLink:
        return {Kind::InsertLink, card, link};
    case Kind::Values:
    case Kind::Reset:
        break;
    }
    return *this;
}

CardTreeModel::CardTreeModel(const model::Project& project, QObject* parent)
    : QAbstractItemModel(parent), m_project(project),
      m_cardIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon)),
      m_linkIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowRight)) {
    rekey();
}

void CardTreeModel::rekey() {
    m_keys.clear();
    for (int i = 0; i < m_project.CardCount(); ++i) {
        m_keys.push_back(m_nextKey++);
    }
}

int CardTreeModel::cardRowOfKey(quintptr key) const {
    const auto found = std::find(m_keys.begin(), m_keys.end(), key);
    return found == m_keys.end() ? -1 : static_cast<int>(found - m_keys.begin());
}

QModelIndex CardTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, 0, kCardId);
    }
    return createIndex(row, 0, m_keys[static_cast<size_t>(parent.row())]);
}

QModelIndex CardTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kCardId) {
        return {};
    }
    const int row = cardRowOfKey(child.internalId());
    return row < 0 ? QModelIndex() : createIndex(row, 0, kCardId);
}

int CardTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return m_project.CardCount();
    }
    if (parent.internalId() != kCardId || parent.row() >= m_project.CardCount()) {
        return 0;
    }
    return m_project.cards[parent.row()]->m_pLinks->Count();
}

int CardTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CardTreeModel::data(const QModelIndex& index, int role) const {
    const model::Selection sel = selectionAt(index);
    if (sel.IsNothing()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole) {
        if (sel.IsCard()) {
            return QString::fromStdString(CardLabel(m_project, sel.card));
        }
        return QString::fromStdString(
            LinkLabel(m_project, *m_project.cards[sel.card]->m_pLinks->m_pLinkList[sel.link]));
    }
    if (role == Qt::DecorationRole) {
        return sel.IsCard() ? m_cardIcon : m_linkIcon;
    }
    return {};
}

model::Selection CardTreeModel::selectionAt(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    if (index.internalId() == kCardId) {
        return index.row() < m_project.CardCount() ? model::Selection{index.row(), -1} : model::Selection{};
    }
    const int card = cardRowOfKey(index.internalId());
    if (card < 0 || card >= m_project.CardCount() ||
        index.row() >= m_project.cards[card]->m_pLinks->Count()) {
        return {};
    }
    return {card, index.row()};
}

QModelIndex CardTreeModel::indexOf(const model::Selection& sel) const {
    const QModelIndex card = index(sel.card, 0);
    if (!card.isValid() || sel.link < 0) {
        return card;
    }
    return index(sel.link, 0, card);
}

void CardTreeModel::applyChange(const TreeChange& change, const std::function<void()>& apply) {
    using Kind = TreeChange::Kind;
    const auto at = [](int row) { return static_cast<std::ptrdiff_t>(row); };
    switch (change.kind) {
    case Kind::Values:
        apply();
        break;
    case Kind::Reset:
        beginResetModel();
        apply();
        rekey();
        endResetModel();
        return;
    case Kind::InsertCard:
        beginInsertRows({}, change.card, change.card);
        apply();
        m_keys.insert(m_keys.begin() + at(change.card), m_nextKey++);
        endInsertRows();
        break;
    case Kind::RemoveCard:
        beginRemoveRows({}, change.card, change.card);
        apply();
        m_keys.erase(m_keys.begin() + at(change.card));
        endRemoveRows();
        break;
    case Kind::MoveCard:
        // Qt names the destination as the row the moved row goes before, counted before the move.
        if (change.to == change.card || !beginMoveRows({}, change.card, change.card, {},
                                                       change.to > change.card ? change.to + 1 : change.to)) {
            apply();
            break;
        }
        apply();
        {
            const quintptr key = m_keys[static_cast<size_t>(change.card)];
            m_keys.erase(m_keys.begin() + at(change.card));
            m_keys.insert(m_keys.begin() + at(change.to), key);
        }
        endMoveRows();
        break;
    case Kind::InsertLink:
        beginInsertRows(index(change.card, 0), change.link, change.link);
        apply();
        endInsertRows();
        break;
    case Kind::RemoveLink:
        beginRemoveRows(index(change.card, 0), change.link, change.link);
        apply();
        endRemoveRows();
        break;
    }
    relabelAll();
}

void CardTreeModel::relabelAll() {
    const int cards = rowCount();
    if (cards == 0) {
        return;
    }
    emit dataChanged(index(0, 0), index(cards - 1, 0));
    for (int c = 0; c < cards; ++c) {
        const QModelIndex card = index(c, 0);
        const int links = rowCount(card);
        if (links > 0) {
            emit dataChanged(index(0, 0, card), index(links - 1, 0, card));
        }
    }
}

} // namespace editor
