#include "editor/key_filter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace editor {

namespace {

// Whether the focused control is a text field that still has undo (or redo) of its own.
bool FieldHasOwn(QWidget* focus, bool redo) {
    if (qobject_cast<QAbstractSpinBox*>(focus) != nullptr) {
        return false; // spin box values are committed to the project at once
    }
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        return redo ? line->isRedoAvailable() : line->isUndoAvailable();
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
        return redo ? text->document()->isRedoAvailable() : text->document()->isUndoAvailable();
    }
    return false;
}

bool IsTextField(QWidget* focus) {
    return qobject_cast<QLineEdit*>(focus) != nullptr || qobject_cast<QPlainTextEdit*>(focus) != nullptr ||
           qobject_cast<QAbstractSpinBox*>(focus) != nullptr;
}

} // namespace

KeyFilter::KeyFilter(QWidget* window, QWidget* enterAllowed, Commands commands, QObject* parent)
    : QObject(parent), m_window(window), m_enterAllowed(enterAllowed), m_commands(std::move(commands)) {}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only keys meant for the editor window itself: not its menus, dialogs or message boxes.
    if (widget == nullptr || widget->window() != m_window || QApplication::activePopupWidget() != nullptr ||
        QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const auto run = [](const std::function<void()>& command) {
        if (command) {
            command();
        }
        return true;
    };
    if (key->modifiers() == Qt::NoModifier) {
        switch (key->key()) {
        case Qt::Key_F1:
            return run(m_commands.help);
        case Qt::Key_F2:
            return run(m_commands.addCard);
        case Qt::Key_F3:
            return run(m_commands.addLink);
        case Qt::Key_F5:
            return run(m_commands.preview);
        case Qt::Key_F11:
        case Qt::Key_F12:
            return true;
        default:
            break;
        }
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // A list that acts on Enter (the Gift Check's findings) says so with this property.
        return widget != m_enterAllowed && !widget->property("enterActivates").toBool();
    }
    QWidget* focus = QApplication::focusWidget();
    if (IsTextField(focus)) {
        if (key->matches(QKeySequence::Undo) && !FieldHasOwn(focus, false)) {
            return run(m_commands.undo);
        }
        if (key->matches(QKeySequence::Redo) && !FieldHasOwn(focus, true)) {
            return run(m_commands.redo);
        }
    }
    return false;
}

} // namespace editor
