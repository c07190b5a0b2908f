// The undo steps of the editor. A structural edit keeps the project as it was before and after (cards
// and links are few and small), so undo gives back exactly the project the user had; a field edit keeps
// the old and new values of one card, link or the settings, and typing in one field merges into one step.
#pragma once

#include "editor/document.h"

#include <QUndoCommand>

namespace editor {

class StructuralCommand : public QUndoCommand {
public:
    StructuralCommand(Document& doc, model::Project before, model::Project after, model::Selection selBefore,
                      model::Selection selAfter, TreeChange change, const QString& text);
    void undo() override;
    void redo() override;

private:
    Document& m_doc;
    model::Project m_before;
    model::Project m_after;
    model::Selection m_selBefore;
    model::Selection m_selAfter;
    TreeChange m_change; // from before to after
    bool m_done = true;  // pushed after the edit was made: the first redo only tells the views
};

class CardCommand : public QUndoCommand {
public:
    CardCommand(Document& doc, int card, Field field, CardValues before, CardValues after);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    Document& m_doc;
    int m_card;
    Field m_field;
    CardValues m_before;
    CardValues m_after;
    bool m_first = true;
};

class LinkCommand : public QUndoCommand {
public:
    LinkCommand(Document& doc, int card, int link, Field field, model::CLinkInfo before,
                model::CLinkInfo after);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    Document& m_doc;
    int m_card;
    int m_link;
    Field m_field;
    model::CLinkInfo m_before;
    model::CLinkInfo m_after;
    bool m_first = true;
};

class SettingsCommand : public QUndoCommand {
public:
    SettingsCommand(Document& doc, model::ProjectSettings before, model::ProjectSettings after);
    void undo() override;
    void redo() override;

private:
    Document& m_doc;
    model::ProjectSettings m_before;
    model::ProjectSettings m_after;
};

} // namespace editor
