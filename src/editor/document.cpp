#include "editor/document.h"

#include "editor/edit_commands.h"

#include <utility>

namespace editor {

namespace {

// Whether two projects have the same cards and links counts, so that only values differ between them.
bool SameShape(const model::Project& a, const model::Project& b) {
    if (a.CardCount() != b.CardCount()) {
        return false;
    }
    for (int i = 0; i < a.CardCount(); ++i) {
        if (a.cards[i]->m_pLinks->Count() != b.cards[i]->m_pLinks->Count()) {
            return false;
        }
    }
    return true;
}

} // namespace

CardValues CardValues::Of(const model::CCardInfo& card) {
    return {card.m_strTitle,      card.m_strTitleColor, card.m_strComment, card.m_strCommentColor,
            card.m_strBackground, card.m_nBgAlign,      card.m_bMailAlert, card.m_bProjectBg};
}

void CardValues::ApplyTo(model::CCardInfo& card) const {
    card.m_strTitle = title;
    card.m_strTitleColor = titleColor;
    card.m_strComment = comment;
    card.m_strCommentColor = commentColor;
    card.m_strBackground = background;
    card.m_nBgAlign = bgAlign;
    card.m_bMailAlert = mailAlert;
    card.m_bProjectBg = projectBg;
}

Document::Document(QObject* parent) : QObject(parent), m_tree(m_project) {
    connect(&m_undo, &QUndoStack::cleanChanged, this, &Document::emitModified);
}

model::EditResult Document::addCard(int code, const model::Selection& sel) {
    return structural([&](model::Project& p) { return p.AddCard(code, sel); }, sel, tr("Add card"),
                      [](const model::EditResult& r) {
                          return TreeChange{TreeChange::Kind::InsertCard, r.selection.card};
                      });
}

model::EditResult Document::addLink(int code, const model::Selection& sel) {
    return structural([&](model::Project& p) { return p.AddLink(code, sel); }, sel, tr("Add link"),
                      [](const model::EditResult& r) {
                          return TreeChange{TreeChange::Kind::InsertLink, r.selection.card, r.selection.link};
                      });
}

model::EditResult Document::removeCard(const model::Selection& sel) {
    return structural([&](model::Project& p) { return p.RemoveCard(sel); }, sel, tr("Remove card"),
                      [&](const model::EditResult&) {
                          return TreeChange{TreeChange::Kind::RemoveCard, sel.card};
                      });
}

model::EditResult Document::removeLink(const model::Selection& sel) {
    return structural([&](model::Project& p) { return p.RemoveLink(sel); }, sel, tr("Remove link"),
                      [&](const model::EditResult&) {
                          return TreeChange{TreeChange::Kind::RemoveLink, sel.card, sel.link};
                      });
}

model::EditResult Document::moveCard(const model::Selection& sel, int delta) {
    return structural([&](model::Project& p) { return p.MoveCard(sel, delta); }, sel,
                      delta < 0 ? tr("Move card up") : tr("Move card down"),
                      [&](const model::EditResult& r) {
                          return TreeChange{TreeChange::Kind::MoveCard, sel.card, -1, r.selection.card};
                      });
}

model::EditResult Document::structural(const std::function<model::EditResult(model::Project&)>& edit,
                                       const model::Selection& sel, const QString& text,
                                       const std::function<TreeChange(const model::EditResult&)>& changeOf) {
    // The edit is made on a copy first, so that the views hear of exactly the rows it touches before
    // the project changes under them.
    model::Project next = m_project.Clone();
    const model::EditResult result = edit(next);
    if (!result.changed) {
        return result;
    }
    const TreeChange change = changeOf(result);
    model::Project before;
    m_tree.applyChange(change, [&] { before = std::exchange(m_project, std::move(next)); });
    m_undo.push(new StructuralCommand(*this, std::move(before), m_project.Clone(), sel, result.selection,
                                      change, text));
    emit restructured(result.selection);
    return result;
}

void Document::setCard(int card, Field field, const CardValues& after) {
    if (card < 0 || card >= m_project.CardCount()) {
        return;
    }
    CardValues before = CardValues::Of(*m_project.cards[card]);
    if (before == after) {
        return;
    }
    m_undo.push(new CardCommand(*this, card, field, std::move(before), after));
}

void Document::setLink(int card, int link, Field field, const model::CLinkInfo& after) {
    if (card < 0 || card >= m_project.CardCount() || link < 0 ||
        link >= m_project.cards[card]->m_pLinks->Count()) {
        return;
    }
    const model::CLinkInfo& before = *m_project.cards[card]->m_pLinks->m_pLinkList[link];
    if (before == after) {
        return;
    }
    m_undo.push(new LinkCommand(*this, card, link, field, before, after));
}

void Document::setSettings(const model::ProjectSettings& after) {
    if (m_project.settings == after) {
        return;
    }
    m_undo.push(new SettingsCommand(*this, m_project.settings, after));
}

void Document::setWholeProject(model::Project after, const model::Selection& sel, const QString& text) {
    if (after == m_project) {
        return;
    }
    const bool settings = !(after.settings == m_project.settings);
    const TreeChange change{SameShape(after, m_project) ? TreeChange::Kind::Values : TreeChange::Kind::Reset};
    model::Project before;
    m_tree.applyChange(change, [&] { before = std::exchange(m_project, std::move(after)); });
    m_undo.push(new StructuralCommand(*this, std::move(before), m_project.Clone(), sel, sel, change, text));
    emit restructured(sel);
    if (settings) {
        emit settingsChanged();
    }
}

void Document::replace(model::Project project, bool dirty) {
    m_tree.applyChange({TreeChange::Kind::Reset}, [&] { m_project = std::move(project); });
    m_undo.clear();
    m_dirty = dirty;
    emitModified();
    emit restructured(m_project.cards.empty() ? model::Selection{} : model::Selection{0, -1});
}

void Document::markSaved() {
    m_dirty = false;
    m_undo.setClean();
    emitModified();
}

void Document::restore(const model::Project& state, const model::Selection& select,
                       const TreeChange& change) {
    const bool settings = !(state.settings == m_project.settings);
    m_tree.applyChange(change, [&] { m_project = state.Clone(); });
    emit restructured(select);
    if (settings) {
        emit settingsChanged(); // fonts and size follow the settings
    }
}

void Document::applyCard(int card, const CardValues& values, bool select) {
    values.ApplyTo(*m_project.cards.at(card));
    m_tree.relabelAll();
    emit cardChanged(card, select);
}

void Document::applyLink(int card, int link, const model::CLinkInfo& values, bool select) {
    *m_project.cards.at(card)->m_pLinks->m_pLinkList.at(link) = values;
    m_tree.relabelAll();
    emit linkChanged(card, link, select);
}

void Document::applySettings(const model::ProjectSettings& values) {
    m_project.settings = values;
    emit settingsChanged();
}

void Document::emitModified() {
    emit modifiedChanged(isModified());
}

} // namespace editor
