// The mark-up drawer: measures and draws a mark-up text into a rectangle with QPainter, remembers what
// it drew last for hit tests, and draws the link under the mouse in its hover style.
#pragma once

#include "tooltip/markup_layout.h"
#include "tooltip/markup_parser.h"
#include "tooltip/qt/qt_metrics.h"
#include "tooltip/qt/tip_pictures.h"

#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;

namespace tooltip {

// System colour names of the mark-up filled from a palette.
markup::SystemColours SystemColoursFrom(const QPalette& palette);

class MarkupDrawer {
public:
    // The system colours are read from `palette` now, as the desktop's colours when the drawer is made.
    explicit MarkupDrawer(const QPalette& palette, int dpiY = 96);

    // Replaces the default style sheet.
    void SetStyleSheet(std::string_view text);

    // The size the text needs.
    QSize Measure(const QString& markup);
    // Draws the text into `rect` (lines aligned within its width) and keeps the layout for hit tests.
    void Draw(QPainter& painter, const QRect& rect, const QString& markup);

    // The link and picture at a point of what was drawn last.
    markup::Hot HitTest(QPoint point) const;
    // Sets the hot link and picture; true when that changes what is drawn.
    bool SetHot(markup::Hot hot);
    markup::Hot Hot() const { return hot_; }
    // The link of the last drawn text, or nothing.
    std::optional<markup::Link> LinkAt(int index) const;

    // What was drawn last, in the coordinates of the rectangle it was drawn into, and where that was.
    const markup::LayoutResult& Drawn() const { return drawn_; }
    QPoint DrawnOrigin() const { return origin_; }

    PictureStore& Pictures() { return pictures_; }
    const markup::SystemColours& SystemColours() const { return system_; }

private:
    const markup::Document& Prepare(const QString& markup);
    void DrawBox(QPainter& painter, const markup::Box& box) const;
    void DrawImage(QPainter& painter, const markup::Box& box) const;

    markup::SystemColours system_;
    int dpiY_;
    std::optional<markup::StyleSheet> sheet_;
    PictureStore pictures_;
    QtMetrics metrics_;
    QString source_;
    std::optional<markup::Document> doc_;
    markup::LayoutResult drawn_;
    QPoint origin_;
    markup::Hot hot_;
};

} // namespace tooltip
