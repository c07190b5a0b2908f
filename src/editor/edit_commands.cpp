#include "editor/edit_commands.h"

#include <QCoreApplication>

namespace editor {

namespace {

// Typing merges into one step only in text and number fields; a colour or a choice is a step of its own.
bool Merges(Field field) {
    return field == Field::Title || field == Field::Comment || field == Field::LinkTitle ||
           field == Field::Score || field == Field::CompareValue;
}

constexpr int kCardCommandId = 1000;
constexpr int kLinkCommandId = 2000;

QString FieldText(Field field) {
    switch (field) {
    case Field::Title:
    case Field::LinkTitle:
        return QCoreApplication::translate("editor", "Edit title");
    case Field::Comment:
        return QCoreApplication::translate("editor", "Edit comment");
    case Field::TitleColor:
    case Field::CommentColor:
        return QCoreApplication::translate("editor", "Change colour");
    case Field::MailAlert:
        return QCoreApplication::translate("editor", "Change e-mail alert");
    case Field::Background:
        return QCoreApplication::translate("editor", "Change background");
    case Field::Settings:
        return QCoreApplication::translate("editor", "Change project settings");
    default:
        return QCoreApplication::translate("editor", "Edit link");
    }
}

} // namespace

StructuralCommand::StructuralCommand(Document& doc, model::Project before, model::Project after,
                                     model::Selection selBefore, model::Selection selAfter, TreeChange change,
                                     const QString& text)
    : QUndoCommand(text), m_doc(doc), m_before(std::move(before)), m_after(std::move(after)),
      m_selBefore(selBefore), m_selAfter(selAfter), m_change(change) {}

void StructuralCommand::undo() {
    m_doc.restore(m_before, m_selBefore, m_change.Inverse());
}

void StructuralCommand::redo() {
    if (m_done) {
        m_done = false;
        return;
    }
    m_doc.restore(m_after, m_selAfter, m_change);
}

CardCommand::CardCommand(Document& doc, int card, Field field, CardValues before, CardValues after)
    : QUndoCommand(FieldText(field)), m_doc(doc), m_card(card), m_field(field), m_before(std::move(before)),
      m_after(std::move(after)) {}

void CardCommand::undo() {
    m_doc.applyCard(m_card, m_before, true);
}

void CardCommand::redo() {
    m_doc.applyCard(m_card, m_after, !m_first);
    m_first = false;
}

int CardCommand::id() const {
    return Merges(m_field) ? kCardCommandId + static_cast<int>(m_field) : -1;
}

bool CardCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const CardCommand*>(other);
    if (next->m_card != m_card) {
        return false;
    }
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

LinkCommand::LinkCommand(Document& doc, int card, int link, Field field, model::CLinkInfo before,
                         model::CLinkInfo after)
    : QUndoCommand(FieldText(field)), m_doc(doc), m_card(card), m_link(link), m_field(field),
      m_before(std::move(before)), m_after(std::move(after)) {}

void LinkCommand::undo() {
    m_doc.applyLink(m_card, m_link, m_before, true);
}

void LinkCommand::redo() {
    m_doc.applyLink(m_card, m_link, m_after, !m_first);
    m_first = false;
}

int LinkCommand::id() const {
    return Merges(m_field) ? kLinkCommandId + static_cast<int>(m_field) : -1;
}

bool LinkCommand::mergeWith(const QUndoCommand* other) {
    const auto* next = static_cast<const LinkCommand*>(other);
    if (next->m_card != m_card || next->m_link != m_link) {
        return false;
    }
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

SettingsCommand::SettingsCommand(Document& doc, model::ProjectSettings before, model::ProjectSettings after)
    : QUndoCommand(FieldText(Field::Settings)), m_doc(doc), m_before(std::move(before)),
      m_after(std::move(after)) {}

void SettingsCommand::undo() {
    m_doc.applySettings(m_before);
}

void SettingsCommand::redo() {
    m_doc.applySettings(m_after);
}

} // namespace editor
