// Short hints of the editor (refusals, selection hints, the key list, generation problems): a rich
// balloon near the top right of the preview area, with the same text in the status bar for screen
// readers. Never a modal box.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QMainWindow;
class QWidget;

namespace tooltip {
class EditorTips;
}

namespace editor {

class TipMessage : public QObject {
    Q_OBJECT
public:
    // `anchor` is the widget whose top right corner the balloon of `balloons` points at.
    TipMessage(QMainWindow* window, QWidget* anchor, tooltip::EditorTips* balloons);

    void show(const QString& text);
    // The last hint shown (tests and the status bar read it).
    const QString& lastText() const { return m_last; }
    int shownCount() const { return m_count; }

private:
    QMainWindow* m_window;
    QPointer<QWidget> m_anchor;
    tooltip::EditorTips* m_balloons;
    QString m_last;
    int m_count = 0;
};

} // namespace editor
