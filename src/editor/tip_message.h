// Short hints of the editor (refusals, selection hints, the key list, generation problems): a balloon at
// the top right of the preview area that goes away by itself, with the same text in the status bar for
// screen readers. Never a modal box. The rich tooltip replaces the balloon behind this one class.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMainWindow;
class QWidget;

namespace editor {

class TipMessage : public QObject {
    Q_OBJECT
public:
    // `anchor` is the widget whose top right corner the balloon points at.
    TipMessage(QMainWindow* window, QWidget* anchor);

    void show(const QString& text);
    // The last hint shown (tests and the status bar read it).
    const QString& lastText() const { return m_last; }
    int shownCount() const { return m_count; }

private:
    QMainWindow* m_window;
    QPointer<QWidget> m_anchor;
    QString m_last;
    int m_count = 0;
};

} // namespace editor
