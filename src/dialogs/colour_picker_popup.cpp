#include "dialogs/colour_picker_popup.h"

#include "dialogs/colour_picker_table.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

using namespace colour_picker;

CColourPopup::CColourPopup(const QRect& button, const QColor& initial, const QString& automaticText,
                           const QString& customText, ColourDialog colourDialog, QWidget* owner)
    : QWidget(owner, Qt::Popup), m_initial(initial), m_automaticText(automaticText), m_customText(customText),
      m_colourDialog(std::move(colourDialog)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Colours"));
    layOut();
    // Switching to another program dismisses the palette, as clicking elsewhere does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) {
            finish(false);
        }
    });
    m_chosen = ChosenCell(initial, !m_automaticText.isEmpty(), !m_customText.isEmpty());
    m_hot = m_chosen;
    QScreen* screen = QGuiApplication::screenAt(button.center());
    if (!screen) {
        screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    }
    // The client area is placed (a popup has no frame), so its edge meets the button's exactly.
    setGeometry(
        QRect(Place(size(), button, screen ? screen->availableGeometry() : QRect(button.topLeft(), size())),
              size()));
}

QPoint CColourPopup::Place(const QSize& size, const QRect& button, const QRect& screen) {
    QPoint at(button.left(), button.bottom() + 1);
    if (at.x() + size.width() > screen.right() + 1) {
        at.setX(screen.right() + 1 - size.width());
    }
    if (at.x() < screen.left()) {
        at.setX(screen.left());
    }
    if (at.y() + size.height() > screen.bottom() + 1) {
        at.setY(button.top() - size.height());
    }
    return at;
}

void CColourPopup::layOut() {
    // The cells keep their 18 pixels unless the font needs more; everything else follows the style.
    m_margin = std::max(2, style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this));
    const QFontMetrics fm(font());
    m_cell = std::max({18, 2 * m_margin + 7, fm.height() + 2});
    const QSize text =
        fm.size(Qt::TextSingleLine, m_automaticText).expandedTo(fm.size(Qt::TextSingleLine, m_customText));
    const int boxHeight = text.height() + 4 * m_margin + 2;
    int width = kColumns * m_cell + 2 * m_margin;
    if (!m_automaticText.isEmpty() || !m_customText.isEmpty()) {
        width = std::max(width, text.width() + 6 * m_margin);
    }
    const int inner = width - 2 * m_margin;
    int y = m_margin;
    if (!m_automaticText.isEmpty()) {
        m_automaticRect = QRect(m_margin, y, inner, boxHeight);
        y += boxHeight + m_margin;
    }
    m_gridOrigin = QPoint((width - kColumns * m_cell) / 2, y);
    y += kRows * m_cell;
    if (!m_customText.isEmpty()) {
        y += 2 * m_margin; // room for the separator
        m_customRect = QRect(m_margin, y, inner, boxHeight);
        y += boxHeight;
    }
    setFixedSize(width, y + m_margin);
}

QRect CColourPopup::cellRect(int cell) const {
    if (cell == kAutomaticCell) {
        return m_automaticRect;
    }
    if (cell == kCustomCell) {
        return m_customRect;
    }
    if (cell < 0 || cell >= kColourCount) {
        return {};
    }
    return QRect(m_gridOrigin.x() + (cell % kColumns) * m_cell, m_gridOrigin.y() + (cell / kColumns) * m_cell,
                 m_cell, m_cell);
}

int CColourPopup::cellAt(const QPoint& pos) const {
    if (m_automaticRect.contains(pos)) {
        return kAutomaticCell;
    }
    if (m_customRect.contains(pos)) {
        return kCustomCell;
    }
    const QPoint p = pos - m_gridOrigin;
    if (p.x() < 0 || p.y() < 0 || p.x() >= kColumns * m_cell || p.y() >= kRows * m_cell) {
        return kNoCell;
    }
    const int cell = (p.y() / m_cell) * kColumns + p.x() / m_cell;
    return cell < kColourCount ? cell : kNoCell;
}

QColor CColourPopup::colourOf(int cell) const {
    if (cell >= 0 && cell < kColourCount) {
        return ColourAt(cell);
    }
    if (cell == kAutomaticCell) {
        return {}; // the automatic value
    }
    return m_initial;
}

void CColourPopup::setHot(int cell) {
    if (cell == m_hot) {
        return;
    }
    const QRect before = cellRect(m_hot);
    m_hot = cell;
    update(before);
    update(cellRect(m_hot));
    emit colourChanged(colourOf(m_hot));
}

void CColourPopup::finish(bool accept) {
    if (m_finished) {
        return;
    }
    m_finished = true;
    QColor result = m_initial;
    if (accept && m_hot == kCustomCell) {
        hide(); // the colour dialog takes over the screen and the keyboard
        const QColor picked = m_colourDialog ? m_colourDialog(m_initial, parentWidget()) : QColor();
        accept = picked.isValid();
        if (accept) {
            result = picked;
        }
    } else if (accept) {
        result = colourOf(m_hot);
    }
    if (accept) {
        emit accepted(result);
    } else {
        emit cancelled(m_initial);
    }
    close();
}

void CColourPopup::mouseMoveEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (cell != kNoCell) {
        setHot(cell);
    }
}

void CColourPopup::mouseReleaseEvent(QMouseEvent* event) {
    if (!rect().contains(event->position().toPoint())) {
        finish(false);
        return;
    }
    const int cell = cellAt(event->position().toPoint());
    if (cell != kNoCell) {
        setHot(cell);
        finish(true);
    }
}

void CColourPopup::keyPressEvent(QKeyEvent* event) {
    const bool hasAutomatic = !m_automaticText.isEmpty();
    const bool hasCustom = !m_customText.isEmpty();
    switch (event->key()) {
    case Qt::Key_Right:
        setHot(NextCell(m_hot, Move::Right, hasAutomatic, hasCustom));
        break;
    case Qt::Key_Left:
        setHot(NextCell(m_hot, Move::Left, hasAutomatic, hasCustom));
        break;
    case Qt::Key_Down:
        setHot(NextCell(m_hot, Move::Down, hasAutomatic, hasCustom));
        break;
    case Qt::Key_Up:
        setHot(NextCell(m_hot, Move::Up, hasAutomatic, hasCustom));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_hot != kNoCell) {
            finish(true);
        }
        break;
    case Qt::Key_Escape:
        m_hot = m_chosen;
        emit colourChanged(m_initial); // a tracking picker shows the colour it had again
        finish(false);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
}

void CColourPopup::closeEvent(QCloseEvent* event) {
    // Qt closes a popup itself when the user clicks elsewhere: that is a cancel.
    if (!m_finished) {
        m_finished = true;
        emit cancelled(m_initial);
    }
    QWidget::closeEvent(event);
}

bool CColourPopup::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int cell = cellAt(help->pos());
        if (cell >= 0) {
            QToolTip::showText(help->globalPos(), tr(Colours()[size_t(cell)].name), this, cellRect(cell));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

void CColourPopup::drawCell(QPainter& painter, int cell) const {
    const QRect r = cellRect(cell);
    const QPalette& pal = palette();
    painter.fillRect(r, cell == m_chosen && cell != m_hot ? pal.highlight() : pal.button());
    if (cell == m_hot) {
        qDrawShadePanel(&painter, r.adjusted(1, 1, -1, -1), pal, false, 1);
    }
    if (cell == m_chosen) {
        qDrawShadePanel(&painter, r, pal, true, 1);
    }
    const QRect swatch = r.adjusted(m_margin + 1, m_margin + 1, -(m_margin + 1), -(m_margin + 1));
    painter.setPen(pal.color(QPalette::Dark));
    painter.setBrush(ColourAt(cell));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void CColourPopup::drawBox(QPainter& painter, int cell, const QString& text) const {
    const QRect r = cellRect(cell);
    const QPalette& pal = palette();
    painter.fillRect(r, cell == m_chosen ? pal.light() : pal.button());
    if (cell == m_hot) {
        qDrawShadePanel(&painter, r.adjusted(1, 1, -1, -1), pal, false, 1);
    }
    if (cell == m_chosen) {
        qDrawShadePanel(&painter, r, pal, true, 1);
    }
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.drawText(r, Qt::AlignCenter, text);
}

void CColourPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.button());
    if (!m_automaticText.isEmpty()) {
        drawBox(painter, kAutomaticCell, m_automaticText);
    }
    for (int cell = 0; cell < kColourCount; ++cell) {
        drawCell(painter, cell);
    }
    if (!m_customText.isEmpty()) {
        const int y = m_customRect.top() - m_margin - 1;
        const int left = 2 * m_margin;
        const int right = width() - 2 * m_margin;
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(left, y, right, y);
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(left, y + 1, right, y + 1);
        drawBox(painter, kCustomCell, m_customText);
    }
    qDrawShadePanel(&painter, rect(), pal, false, 1);
}
