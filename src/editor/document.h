// The one open project of the editor, its undo stack and its tree model. Every change a user makes goes
// through here as a command on the undo stack, so undo, redo, the modified mark and the rescue save all
// see the same project.
#pragma once

#include "editor/card_tree_model.h"
#include "model/project.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

namespace editor {

// The values of a card a field edit can change (everything but its links).
struct CardValues {
    std::string title;
    std::string titleColor;
    std::string comment;
    std::string commentColor;
    std::string background;
    int32_t bgAlign = 4;
    int32_t mailAlert = 0;
    int32_t projectBg = 1;

    static CardValues Of(const model::CCardInfo& card);
    void ApplyTo(model::CCardInfo& card) const;
    bool operator==(const CardValues&) const = default;
};

// Which field an edit came from: consecutive edits of one text or number field merge into one undo step.
enum class Field {
    Title,
    Comment,
    TitleColor,
    CommentColor,
    MailAlert,
    Background,
    LinkTitle,
    Goto,
    Score,
    Compare,
    CompareValue,
    ThenGoto,
    Settings
};

class Document : public QObject {
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);

    const model::Project& project() const { return m_project; }
    // The builder and the savers read the project through this; edits go through the functions below.
    model::Project& projectForReading() { return m_project; }
    QUndoStack& undoStack() { return m_undo; }
    CardTreeModel& treeModel() { return m_tree; }

    // Structural edits, each one undo step. A refused edit changes nothing and returns its hint.
    model::EditResult addCard(int code, const model::Selection& sel);
    model::EditResult addLink(int code, const model::Selection& sel);
    model::EditResult removeCard(const model::Selection& sel);
    model::EditResult removeLink(const model::Selection& sel);
    model::EditResult moveCard(const model::Selection& sel, int delta);

    // Field edits: the card's (or link's, or the settings') new values. No step when nothing changes.
    void setCard(int card, Field field, const CardValues& after);
    void setLink(int card, int link, Field field, const model::CLinkInfo& after);
    void setSettings(const model::ProjectSettings& after);
    // A change a dialog made on a copy of the whole project (settings, pickers that also write into
    // cards): one undo step when it differs from the open project. `sel` is the item to show.
    void setWholeProject(model::Project after, const model::Selection& sel, const QString& text);

    // Replaces the whole project (Open, New, a rescued project): the undo history starts again.
    // `dirty` marks it as having unsaved changes even before any edit.
    void replace(model::Project project, bool dirty);
    bool isModified() const { return m_dirty || !m_undo.isClean(); }
    void markSaved();

    // Used by the commands: put a project state or values back and tell the views (`change` says how the
    // state differs from the project now).
    void restore(const model::Project& state, const model::Selection& select, const TreeChange& change);
    void applyCard(int card, const CardValues& values, bool select);
    void applyLink(int card, int link, const model::CLinkInfo& values, bool select);
    void applySettings(const model::ProjectSettings& values);

signals:
    // Cards or links were added, removed, moved or replaced; `select` is the item to show now.
    void restructured(const model::Selection& select);
    // Values of this card or one of its links changed (not its link count); `select` says whether the
    // views should go to it (undo and redo do, typing does not need to).
    void cardChanged(int card, bool select);
    void linkChanged(int card, int link, bool select);
    void settingsChanged();
    void modifiedChanged(bool modified);

private:
    model::EditResult structural(const std::function<model::EditResult(model::Project&)>& edit,
                                 const model::Selection& sel, const QString& text,
                                 const std::function<TreeChange(const model::EditResult&)>& changeOf);
    void emitModified();

    model::Project m_project;
    QUndoStack m_undo;
    CardTreeModel m_tree;
    bool m_dirty = false;
};

} // namespace editor
