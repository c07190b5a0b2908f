// The palette window of CColourPicker: an "Automatic" box, the 40 colour cells and a "More Colours..."
// box, chosen with the mouse or the keys. It lives while it is open and deletes itself when it closes.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class CColourPopup : public QWidget {
    Q_OBJECT
public:
    // Asks for a colour beyond the palette; returns an invalid colour when the user cancels.
    using ColourDialog = std::function<QColor(const QColor& initial, QWidget* parent)>;

    // Opens below `button` (global coordinates), or above it when there is no room below. An empty
    // caption leaves its box out. `initial` invalid means the automatic value.
    CColourPopup(const QRect& button, const QColor& initial, const QString& automaticText,
                 const QString& customText, ColourDialog colourDialog, QWidget* owner);

    int hotCell() const { return m_hot; }
    int chosenCell() const { return m_chosen; }
    // Where a cell (0..39, or the box codes) is drawn, in the popup's coordinates; empty when absent.
    QRect cellRect(int cell) const;
    // The cell under a point of the popup, boxes first; kNoCell when none.
    int cellAt(const QPoint& pos) const;

    // Where a popup of `size` opens for a picker at `button` on a screen of `screen` (global coordinates):
    // below the button's bottom-left corner, shifted to stay inside the screen sideways, and above the
    // button when it would pass the bottom.
    static QPoint Place(const QSize& size, const QRect& button, const QRect& screen);

signals:
    void colourChanged(const QColor& colour); // the hot cell changed (its colour)
    void accepted(const QColor& colour);      // a colour was accepted
    void cancelled(const QColor& colour);     // dismissed: the initial colour

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void layOut();
    void setHot(int cell);
    QColor colourOf(int cell) const;
    void finish(bool accept);
    void drawCell(QPainter& painter, int cell) const;
    void drawBox(QPainter& painter, int cell, const QString& text) const;

    QColor m_initial;
    QString m_automaticText;
    QString m_customText;
    ColourDialog m_colourDialog;
    int m_hot = -1;
    int m_chosen = -1;
    int m_cell = 18;
    int m_margin = 2;
    QPoint m_gridOrigin;
    QRect m_automaticRect;
    QRect m_customRect;
    bool m_finished = false;
};
