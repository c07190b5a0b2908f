#include "editor/field_panels.h"

#include "dialogs/colour_picker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

namespace editor {

namespace {

constexpr int kScoreLimit = 999999;

QLabel* Buddy(const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    return label;
}

} // namespace

CardFields::CardFields(QWidget* parent) : QWidget(parent) {
    title = new QLineEdit(this);
    title->setMaxLength(kCardTitleMax);
    title->setAccessibleName(tr("Title"));
    titleColor = new CColourPicker(this);
    titleColor->setAccessibleName(tr("Title color"));
    comment = new QPlainTextEdit(this);
    comment->setAccessibleName(tr("More"));
    comment->setTabChangesFocus(true);
    comment->setMinimumHeight(comment->fontMetrics().lineSpacing() * 4);
    commentColor = new CColourPicker(this);
    commentColor->setAccessibleName(tr("Comment color"));
    addPics = new QPushButton(tr("Add Pics"), this);
    addPics->setAccessibleName(tr("Add Pics"));
    mailAlert = new QCheckBox(tr("Send an e-mail to the author when a visitor enters this card"), this);
    mailAlert->setAccessibleName(mailAlert->text());

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Buddy(tr("&Title"), title, this), 0, 0);
    grid->addWidget(title, 0, 1);
    grid->addWidget(titleColor, 0, 2);
    auto* more = Buddy(tr("&More"), comment, this);
    auto* optional = new QLabel(tr("(Optional)"), this);
    auto* moreBox = new QVBoxLayout;
    moreBox->addWidget(more);
    moreBox->addWidget(optional);
    moreBox->addStretch();
    grid->addLayout(moreBox, 1, 0);
    grid->addWidget(comment, 1, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(commentColor);
    side->addWidget(addPics);
    side->addStretch();
    grid->addLayout(side, 1, 2);
    grid->addWidget(mailAlert, 2, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
}

LinkFields::LinkFields(QWidget* parent) : QWidget(parent) {
    title = new QLineEdit(this);
    title->setMaxLength(kLinkTitleMax);
    title->setAccessibleName(tr("Link title"));
    gotoCard = new QComboBox(this);
    gotoCard->setAccessibleName(tr("Go to"));
    score = new QSpinBox(this);
    score->setRange(-kScoreLimit, kScoreLimit);
    score->setAccessibleName(tr("Score"));
    compare = new QComboBox(this);
    compare->addItems({QString(), QStringLiteral(">"), QStringLiteral(">="), QStringLiteral("="),
                       QStringLiteral("<="), QStringLiteral("<")});
    compare->setAccessibleName(tr("If score"));
    compareValue = new QSpinBox(this);
    compareValue->setRange(-kScoreLimit, kScoreLimit);
    compareValue->setButtonSymbols(QAbstractSpinBox::NoButtons);
    compareValue->setAccessibleName(tr("Compare value"));
    thenGoto = new QComboBox(this);
    thenGoto->setAccessibleName(tr("Then go to"));
    for (QComboBox* box : {gotoCard, thenGoto}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(12);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Buddy(tr("&Title"), title, this), 0, 0);
    grid->addWidget(title, 0, 1, 1, 3);
    grid->addWidget(Buddy(tr("&Go to"), gotoCard, this), 1, 0);
    grid->addWidget(gotoCard, 1, 1);
    grid->addWidget(Buddy(tr("&Score"), score, this), 1, 2);
    grid->addWidget(score, 1, 3);
    grid->addWidget(Buddy(tr("&If score"), compare, this), 2, 0);
    auto* condition = new QHBoxLayout;
    condition->addWidget(compare);
    condition->addWidget(compareValue, 1);
    grid->addLayout(condition, 2, 1);
    grid->addWidget(Buddy(tr("T&hen go to"), thenGoto, this), 2, 2);
    grid->addWidget(thenGoto, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
}

} // namespace editor
