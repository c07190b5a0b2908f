#include "editor/story_map_view.h"

#include <QFontMetrics>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QMouseEvent>
#include <QPainterPath>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace editor {

namespace {

constexpr int kCardKey = 0; // item data: the card a box stands for

QPointF At(const check::MapPoint& p) {
    return {p.x, p.y};
}

} // namespace

StoryMapView::StoryMapView(QWidget* parent) : QGraphicsView(parent) {
    setScene(new QGraphicsScene(this));
    setRenderHint(QPainter::Antialiasing);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setAccessibleName(tr("Story map"));
    setAccessibleDescription(
        tr("Every card as a box and every link as an arrow. Click a box to go to its card."));
    setFocusPolicy(Qt::ClickFocus); // the tree stays the keyboard's way to the cards
}

void StoryMapView::showMap(const check::StoryMap& map, const std::vector<check::Finding>& findings) {
    QGraphicsScene& s = *scene();
    s.clear();
    m_boxes.clear();
    m_arrows = 0;
    m_severity.assign(map.boxes.size(), 0);
    for (const check::Finding& f : findings) {
        if (f.card >= 0 && f.card < static_cast<int>(m_severity.size())) {
            m_severity[f.card] = std::max(m_severity[f.card], f.severity == check::Severity::Error ? 2 : 1);
        }
    }
    const QColor ink(0x55, 0x55, 0x55);
    for (const check::MapArrow& a : map.arrows) {
        if (a.curve.empty()) {
            continue;
        }
        QPainterPath path(At(a.curve.front()));
        for (size_t i = 1; i + 2 < a.curve.size(); i += 3) {
            path.cubicTo(At(a.curve[i]), At(a.curve[i + 1]), At(a.curve[i + 2]));
        }
        // A one-pixel cosmetic pen: Qt draws it clipped to what is in view, where a wider or dashed
        // stroke is built for the whole curve first (long arrows of a big story cost tens of ms a paint).
        QPen pen(ink, 0);
        if (a.then) {
            pen.setStyle(Qt::DashLine);
        }
        s.addPath(path, pen);
        // The head: a triangle from the curve's end to the tip.
        const QPointF from = At(a.curve.back());
        const QPointF tip = At(a.head);
        const QPointF side(-(tip.y() - from.y()) * 0.35, (tip.x() - from.x()) * 0.35);
        s.addPolygon(QPolygonF({tip, from + side, from - side}), QPen(ink), QBrush(ink));
        if (a.then) {
            auto* label = s.addSimpleText(QString::fromStdString(a.label));
            QFont font = label->font();
            font.setPixelSize(9);
            label->setFont(font);
            label->setBrush(QColor(0x33, 0x33, 0x33));
            label->setPos(At(a.labelAt) + QPointF(4, -label->boundingRect().height() / 2));
        }
        ++m_arrows;
    }
    for (const check::MapBox& b : map.boxes) {
        const QRectF rect(b.centre.x - b.width / 2, b.centre.y - b.height / 2, b.width, b.height);
        auto* box = s.addRect(rect);
        box->setData(kCardKey, b.card);
        box->setToolTip(QString::fromStdString(b.title));
        auto* text = new QGraphicsSimpleTextItem(box);
        QFont font = text->font();
        font.setPixelSize(11); // the size the layout measured the titles at, in scene units
        text->setFont(font);
        text->setText(QFontMetrics(font).elidedText(QString::fromStdString(b.title), Qt::ElideRight,
                                                    int(rect.width() - 8)));
        text->setPos(rect.center() - text->boundingRect().center());
        m_boxes.push_back(box);
        paintBox(b.card);
    }
    s.setSceneRect(s.itemsBoundingRect().adjusted(-10, -10, 10, 10));
}

void StoryMapView::paintBox(int card) {
    if (card < 0 || card >= static_cast<int>(m_boxes.size())) {
        return;
    }
    static const QColor frames[] = {QColor(0x27, 0x81, 0xc4), QColor(0xe6, 0x95, 0x00),
                                    QColor(0xd0, 0x02, 0x1b)};
    const int severity = m_severity[card];
    QPen pen(frames[severity], severity > 0 ? 2.5 : 1.2);
    const bool current = card == m_current;
    if (current) {
        pen.setWidthF(pen.widthF() + 1.5);
    }
    m_boxes[card]->setPen(pen);
    m_boxes[card]->setBrush(current ? QColor(0xff, 0xf2, 0xb3) : QColor(0xf4, 0xf8, 0xfc));
}

void StoryMapView::setCurrentCard(int card) {
    const int before = m_current;
    m_current = card;
    paintBox(before);
    paintBox(card);
    if (card >= 0 && card < static_cast<int>(m_boxes.size())) {
        ensureVisible(m_boxes[card], 20, 20);
    }
}

QRectF StoryMapView::boxRect(int card) const {
    if (card < 0 || card >= static_cast<int>(m_boxes.size())) {
        return {};
    }
    return m_boxes[card]->sceneBoundingRect();
}

void StoryMapView::zoomBy(double factor) {
    const double now = transform().m11();
    const double next = std::clamp(now * factor, 0.1, 4.0);
    scale(next / now, next / now);
}

void StoryMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        for (QGraphicsItem* item = itemAt(event->position().toPoint()); item; item = item->parentItem()) {
            if (item->data(kCardKey).isValid()) {
                emit cardClicked(item->data(kCardKey).toInt());
                event->accept();
                return;
            }
        }
    }
    QGraphicsView::mousePressEvent(event); // the background: panning
}

void StoryMapView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        zoomBy(std::pow(1.0015, event->angleDelta().y()));
        event->accept();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

} // namespace editor
