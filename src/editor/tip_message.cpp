#include "editor/tip_message.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QToolTip>

namespace editor {

namespace {

constexpr int kShowMs = 8000;

} // namespace

TipMessage::TipMessage(QMainWindow* window, QWidget* anchor)
    : QObject(window), m_window(window), m_anchor(anchor) {}

void TipMessage::show(const QString& text) {
    m_last = text;
    ++m_count;
    QString oneLine = text.simplified();
    m_window->statusBar()->showMessage(oneLine, kShowMs);
    if (m_anchor && m_window->isVisible()) {
        const QPoint at = m_anchor->mapToGlobal(QPoint(m_anchor->width() * 2 / 3, m_anchor->height() / 20));
        QToolTip::showText(at, text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")),
                           m_anchor, {}, kShowMs);
    }
}

} // namespace editor
