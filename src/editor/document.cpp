#include "editor/document.h"

#include "editor/edit_commands.h"

namespace editor {

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
    return structuralAt(code, sel, false);
}

model::EditResult Document::addLink(int code, const model::Selection& sel) {
    return structuralAt(code, sel, true);
}

model::EditResult Document::removeCard(const model::Selection& sel) {
    return structural(&model::Project::RemoveCard, sel, tr("Remove card"));
}

model::EditResult Document::removeLink(const model::Selection& sel) {
    return structural(&model::Project::RemoveLink, sel, tr("Remove link"));
}

model::EditResult Document::moveCard(const model::Selection& sel, int delta) {
    model::Project before = m_project.Clone();
    m_tree.beginRestructure();
    const model::EditResult result = m_project.MoveCard(sel, delta);
    m_tree.endRestructure();
    pushStructural(std::move(before), sel, result, delta < 0 ? tr("Move card up") : tr("Move card down"));
    return result;
}

model::EditResult Document::structuralAt(int code, const model::Selection& sel, bool link) {
    model::Project before = m_project.Clone();
    m_tree.beginRestructure();
    const model::EditResult result = link ? m_project.AddLink(code, sel) : m_project.AddCard(code, sel);
    m_tree.endRestructure();
    pushStructural(std::move(before), sel, result, link ? tr("Add link") : tr("Add card"));
    return result;
}

model::EditResult Document::structural(model::EditResult (model::Project::*edit)(const model::Selection&),
                                       const model::Selection& sel, const QString& text) {
    model::Project before = m_project.Clone();
    m_tree.beginRestructure();
    const model::EditResult result = (m_project.*edit)(sel);
    m_tree.endRestructure();
    pushStructural(std::move(before), sel, result, text);
    return result;
}

void Document::pushStructural(model::Project before, const model::Selection& selBefore,
                              const model::EditResult& result, const QString& text) {
    if (!result.changed) {
        return;
    }
    m_undo.push(new StructuralCommand(*this, std::move(before), m_project.Clone(), selBefore,
                                      result.selection, text));
    emit restructured(result.selection);
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
    model::Project before = m_project.Clone();
    const bool settings = !(after.settings == m_project.settings);
    m_tree.beginRestructure();
    m_project = std::move(after);
    m_tree.endRestructure();
    m_undo.push(new StructuralCommand(*this, std::move(before), m_project.Clone(), sel, sel, text));
    emit restructured(sel);
    if (settings) {
        emit settingsChanged();
    }
}

void Document::replace(model::Project project, bool dirty) {
    m_tree.beginRestructure();
    m_project = std::move(project);
    m_tree.endRestructure();
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

void Document::restore(const model::Project& state, const model::Selection& select) {
    const bool settings = !(state.settings == m_project.settings);
    m_tree.beginRestructure();
    m_project = state.Clone();
    m_tree.endRestructure();
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
