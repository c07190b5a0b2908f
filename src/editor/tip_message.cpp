#include "editor/tip_message.h"

#include "tooltip/qt/editor_tips.h"

#include <QMainWindow>
#include <QStatusBar>

#include <algorithm>

namespace editor {

namespace {

constexpr int kStatusMs = 8000;
// Where the balloon's tail points: this far left of the anchor's right edge and below its top.
constexpr int kFromRight = 100;
constexpr int kFromTop = 10;

} // namespace

TipMessage::TipMessage(QMainWindow* window, QWidget* anchor, tooltip::EditorTips* balloons)
    : QObject(window), m_window(window), m_anchor(anchor), m_balloons(balloons) {}

void TipMessage::show(const QString& text) {
    m_last = text;
    ++m_count;
    m_window->statusBar()->showMessage(text.simplified(), kStatusMs);
    if (m_anchor && m_balloons && m_window->isVisible()) {
        const QPoint at(std::max(0, m_anchor->width() - kFromRight), kFromTop);
        // The hints are plain text: a "<" in them (a path, a player's reason) is not mark-up.
        QString plain = text;
        plain.replace(QLatin1Char('<'), QLatin1String("<<"));
        m_balloons->ShowTipMessage(m_anchor->mapToGlobal(at), plain);
    }
}

} // namespace editor
