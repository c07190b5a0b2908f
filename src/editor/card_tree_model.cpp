#include "editor/card_tree_model.h"

#include "editor/labels.h"

#include <QApplication>
#include <QStyle>

namespace editor {

namespace {

// Internal id of an index: 0 for a card row, card + 1 for a link row of that card.
constexpr quintptr kCardId = 0;

} // namespace

CardTreeModel::CardTreeModel(const model::Project& project, QObject* parent)
    : QAbstractItemModel(parent), m_project(project),
      m_cardIcon(QApplication::style()->standardIcon(QStyle::SP_FileIcon)),
      m_linkIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowRight)) {}

QModelIndex CardTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, 0, kCardId);
    }
    return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex CardTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kCardId) {
        return {};
    }
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kCardId);
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
    const int card = static_cast<int>(index.internalId() - 1);
    if (card >= m_project.CardCount() || index.row() >= m_project.cards[card]->m_pLinks->Count()) {
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
