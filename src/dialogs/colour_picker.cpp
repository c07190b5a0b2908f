#include "dialogs/colour_picker.h"

#include "dialogs/colour_picker_table.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

CColourPicker::CColourPicker(QWidget* parent)
    : QPushButton(parent), m_colour(palette().color(QPalette::ButtonText)),
      m_textColour(palette().color(QPalette::ButtonText)), m_automaticText(tr("Automatic")),
      m_customText(tr("More Colours...")) {
    setAccessibleName(tr("Colour"));
    m_colourDialog = [](const QColor& initial, QWidget* parent) {
        return QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::black), parent,
                                      tr("More Colours..."));
    };
    connect(this, &QPushButton::clicked, this, &CColourPicker::showPopup);
}

QColor CColourPicker::colour() const {
    return m_selectionMode == kTextMode ? m_textColour : m_colour;
}

void CColourPicker::setColour(const QColor& colour) {
    if (m_selectionMode == kTextMode) {
        setTextColour(colour);
    } else {
        setBackgroundColour(colour);
    }
}

void CColourPicker::setBackgroundColour(const QColor& colour) {
    m_colour = colour;
    setAccessibleDescription(colour_picker::FormatColour(this->colour()));
    update();
}

void CColourPicker::setTextColour(const QColor& colour) {
    m_textColour = colour;
    setAccessibleDescription(colour_picker::FormatColour(this->colour()));
    update();
}

void CColourPicker::setAutomaticShownAs(const QColor& colour) {
    m_automaticShownAs = colour;
    update();
}

void CColourPicker::showPopup() {
    if (m_popup) {
        return;
    }
    const QRect button(mapToGlobal(QPoint(0, 0)), size());
    m_popup = new CColourPopup(button, colour(), m_automaticText, m_customText, m_colourDialog, this);
    connect(m_popup, &CColourPopup::colourChanged, this, [this](const QColor& c) {
        if (m_trackSelection) {
            setColour(c);
        }
        emit colourChanged(c);
    });
    connect(m_popup, &CColourPopup::accepted, this, [this](const QColor& c) {
        m_popup = nullptr;
        setColour(c);
        update();
        emit closedUp(c);
        emit colourAccepted(c);
    });
    connect(m_popup, &CColourPopup::cancelled, this, [this](const QColor& c) {
        m_popup = nullptr;
        setColour(c);
        update();
        emit closedUp(c);
        emit colourCancelled(c);
    });
    m_popup->show();
    m_popup->setFocus();
    update();
    emit droppedDown(colour());
}

int CColourPicker::arrowWidth() const {
    const int edge = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    return std::max(
        {5 * edge, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), fontMetrics().height()});
}

QSize CColourPicker::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const QFontMetrics fm = fontMetrics();
    const QSize content(fm.horizontalAdvance(QLatin1Char('M')) * 3 + arrowWidth(), fm.height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, content, this);
}

QSize CColourPicker::minimumSizeHint() const {
    return sizeHint();
}

void CColourPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (m_popup) {
        option.state |= QStyle::State_Sunken;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const bool pushed = option.state & QStyle::State_Sunken;
    const QPoint shift = pushed
                             ? QPoint(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                                      style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this))
                             : QPoint();
    const int arrow = arrowWidth();
    QStyleOption arrowOption = option;
    arrowOption.rect =
        QRect(inside.right() - arrow + 1, inside.top(), arrow, inside.height()).translated(shift);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrowOption, &painter, this);

    const int lineX = arrowOption.rect.left() - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(lineX, inside.top() + 1, lineX, inside.bottom() - 1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(lineX + 1, inside.top() + 1, lineX + 1, inside.bottom() - 1);

    if (isEnabled()) {
        const int gap = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 1;
        QRect swatch(inside.left(), inside.top(), lineX - gap - inside.left(), inside.height());
        swatch = swatch.adjusted(1, 1, -1, -1).translated(shift);
        const QColor shown = colour().isValid() ? colour() : m_automaticShownAs;
        painter.setPen(palette().color(QPalette::Shadow));
        painter.setBrush(shown);
        painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
