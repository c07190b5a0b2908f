// The two sets of fields under the preview: those of a card and those of a link. They only hold the
// controls and their layout; the window fills them and turns what the user does into edits.
#pragma once

#include <QWidget>

class CColourPicker;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace editor {

class CardFields : public QWidget {
    Q_OBJECT
public:
    explicit CardFields(QWidget* parent = nullptr);

    QLineEdit* title;
    CColourPicker* titleColor;
    QPlainTextEdit* comment;
    CColourPicker* commentColor;
    QPushButton* addPics;
    QCheckBox* mailAlert;
};

class LinkFields : public QWidget {
    Q_OBJECT
public:
    explicit LinkFields(QWidget* parent = nullptr);

    QLineEdit* title;
    QComboBox* gotoCard;
    QSpinBox* score;
    QComboBox* compare;
    QSpinBox* compareValue;
    QComboBox* thenGoto;
};

// Limits of the text fields.
inline constexpr int kCardTitleMax = 100;
inline constexpr int kLinkTitleMax = 20;

} // namespace editor
