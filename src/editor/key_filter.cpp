#include "editor/key_filter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

namespace editor {

namespace {

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
    // A text field's typing is a step of the project's undo stack, so its keys undo that stack rather
    // than the field's own history.
    if (IsTextField(focus)) {
        if (key->matches(QKeySequence::Undo)) {
            return run(m_commands.undo);
        }
        if (key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)) {
            return run(m_commands.redo);
        }
    }
    return false;
}

} // namespace editor
