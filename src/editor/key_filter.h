// Keys of the editor window, looked at before any control sees them: F1, F2, F3 and F5 run their
// commands from whatever control has the focus, F11 and F12 do nothing, Enter never closes anything and
// makes a new line only in the comment, and Undo/Redo inside a text field that has nothing more to undo
// or redo of its own go on to the project's undo history.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace editor {

class KeyFilter : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> help, addCard, addLink, preview, undo, redo;
    };
    // `window` is the editor window; `enterAllowed` the one control where Enter makes a new line.
    KeyFilter(QWidget* window, QWidget* enterAllowed, Commands commands, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    QWidget* m_enterAllowed;
    Commands m_commands;
};

} // namespace editor
