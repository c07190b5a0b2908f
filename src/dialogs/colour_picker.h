// CColourPicker: a push button showing a colour swatch and a drop-down arrow. Clicking it opens the
// palette popup (40 named colours, "Automatic" above, "More Colours..." below, which opens the system
// colour dialog). Clients read colour() or listen to the signals.
//
// The automatic value is an invalid QColor; colour_picker::FormatColour turns it into "#000000", as the
// stored #RRGGBB values expect.
#pragma once

#include "dialogs/colour_picker_popup.h"

#include <QColor>
#include <QPointer>
#include <QPushButton>

class CColourPicker : public QPushButton {
    Q_OBJECT
public:
    // Selection modes: with kTextMode, colour()/setColour() act on the text colour, otherwise on the
    // (background) colour.
    static constexpr int kTextMode = 1;
    static constexpr int kBackgroundMode = 2;

    explicit CColourPicker(QWidget* parent = nullptr);

    QColor colour() const;                // the colour of the current selection mode
    void setColour(const QColor& colour); // invalid = automatic; redraws at once
    QColor backgroundColour() const { return m_colour; }
    QColor textColour() const { return m_textColour; }
    void setBackgroundColour(const QColor& colour);
    void setTextColour(const QColor& colour);
    int selectionMode() const { return m_selectionMode; }
    void setSelectionMode(int mode) { m_selectionMode = mode; }

    // Captions of the two boxes ("Automatic", "More Colours..." by default); empty leaves a box out.
    void setAutomaticText(const QString& text) { m_automaticText = text; }
    void setCustomText(const QString& text) { m_customText = text; }
    QString automaticText() const { return m_automaticText; }
    QString customText() const { return m_customText; }
    // The swatch colour shown while the value is automatic (black by default).
    void setAutomaticShownAs(const QColor& colour);

    // When on, hovering in the popup changes the button's colour at once (Escape restores it).
    void setTrackSelection(bool on) { m_trackSelection = on; }
    bool trackSelection() const { return m_trackSelection; }

    bool isActive() const { return m_popup != nullptr; } // the popup is open
    CColourPopup* popup() const { return m_popup; }      // the open popup, or null
    // Opens the popup (what a click does).
    void showPopup();

    // Replaces the "More Colours..." dialog (QColorDialog by default), for instance in tests.
    void setColourDialog(CColourPopup::ColourDialog dialog) { m_colourDialog = std::move(dialog); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void colourChanged(const QColor& colour);   // the popup's hot cell changed
    void droppedDown(const QColor& colour);     // the popup opened
    void closedUp(const QColor& colour);        // the popup closed (before accepted or cancelled)
    void colourAccepted(const QColor& colour);  // a colour was accepted
    void colourCancelled(const QColor& colour); // the popup was dismissed; the colour is as before

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int arrowWidth() const;

    QColor m_colour;
    QColor m_textColour;
    QColor m_automaticShownAs{Qt::black};
    int m_selectionMode = kBackgroundMode;
    QString m_automaticText;
    QString m_customText;
    bool m_trackSelection = false;
    CColourPopup::ColourDialog m_colourDialog;
    QPointer<CColourPopup> m_popup;
};
