#include "editor/feedback_dialog.h"

#include "model/project_settings.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

namespace editor {

namespace {

constexpr const char* kDontShowKey = "feedback/dontShow";

} // namespace

FeedbackDialog::FeedbackDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Feedback"));
    auto* text = new QLabel(tr("Thank you for using Cardwright.\n\nHow could it serve you better? "
                               "Your ideas are welcome by e-mail; nothing is sent unless you write it."),
                            this);
    text->setWordWrap(true);
    m_dontShow = new QCheckBox(tr("Don't show this again"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* write = buttons->addButton(tr("Write to us..."), QDialogButtonBox::ActionRole);
    connect(write, &QPushButton::clicked, this, [this] {
        QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:%1?subject=Cardwright%20feedback")
                                           .arg(QString::fromLatin1(model::kSupportEmail))));
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, &FeedbackDialog::remember);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_dontShow);
    layout->addWidget(buttons);
}

bool FeedbackDialog::IsWanted() {
    return !QSettings().value(QString::fromLatin1(kDontShowKey), false).toBool();
}

void FeedbackDialog::remember() {
    if (m_dontShow->isChecked()) {
        QSettings().setValue(QString::fromLatin1(kDontShowKey), true);
    }
}

} // namespace editor
