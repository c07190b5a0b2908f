// The story map in the editor: the core's layout drawn as boxes and arrows (then-gotos dashed, with their
// condition), the current card filled, cards with findings framed by severity. A click on a box asks for
// that card; the wheel with Ctrl zooms, dragging the background pans. The tree stays the keyboard's way
// to every card: the map is an aid beside it.
#pragma once

#include "check/finding.h"
#include "check/story_map.h"

#include <QGraphicsView>

#include <vector>

class QGraphicsRectItem;

namespace editor {

class StoryMapView : public QGraphicsView {
    Q_OBJECT
public:
    explicit StoryMapView(QWidget* parent = nullptr);

    void showMap(const check::StoryMap& map, const std::vector<check::Finding>& findings);
    void setCurrentCard(int card);
    int currentCard() const { return m_current; }
    // Where card `card`'s box is, in scene coordinates (empty when there is none).
    QRectF boxRect(int card) const;
    int boxCount() const { return static_cast<int>(m_boxes.size()); }
    int arrowCount() const { return m_arrows; }
    void zoomBy(double factor);

signals:
    void cardClicked(int card);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void paintBox(int card);

    std::vector<QGraphicsRectItem*> m_boxes;
    std::vector<int> m_severity; // per card: 0 none, 1 warning, 2 error
    int m_arrows = 0;
    int m_current = -1;
};

} // namespace editor
