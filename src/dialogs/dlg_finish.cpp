#include "dialogs/dlg_finish.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace publish_ui {

namespace {
constexpr int kPasswordLimit = 100;
}

QString SwfFilter() {
    return QCoreApplication::translate("publish_ui", "Flash movies (*.swf);;All files (*)");
}

CDlgFinish::CDlgFinish(PublishPrompts prompts, QWidget* parent)
    : QDialog(parent), m_prompts(std::move(prompts)) {
    setWindowTitle(tr("Finish your e-gift"));

    m_pathButton = new QPushButton(tr("Choose where to save the e-gift"), this);
    m_pathButton->setAccessibleName(m_pathButton->text());
    m_pathLabel = new QLabel(this);
    m_pathLabel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_pathLabel->setAccessibleName(tr("Chosen path"));
    m_pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_encryptBox = new QCheckBox(tr("Encrypt and append pictures, games and other files"), this);
    m_passwordLabel = new QLabel(tr("password"), this);
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setMaxLength(kPasswordLimit);
    m_passwordLabel->setBuddy(m_passwordEdit);
    m_passwordEdit->setAccessibleName(m_passwordLabel->text());
    m_mailBox = new QCheckBox(tr("Send them by e-mail"), this);
    m_makeExeBox = new QCheckBox(tr("Also make a web page that plays in any browser"), this);
    auto* explanation =
        new QLabel(tr("The web page shows every card of the e-gift in plain HTML: it opens at once by "
                      "double-click in any current web browser, on phones too, with no Flash player "
                      "and no network. If your target computer can't play the e-gift, please select "
                      "this option."),
                   this);
    explanation->setWordWrap(true);
    explanation->setAccessibleName(explanation->text());

    m_buttons = new QDialogButtonBox(this);
    m_buttons->addButton(tr("Finish"), QDialogButtonBox::AcceptRole)->setDefault(true);
    m_buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);

    auto* password = new QHBoxLayout;
    password->addWidget(m_passwordLabel);
    password->addWidget(m_passwordEdit, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pathButton);
    layout->addWidget(m_pathLabel);
    layout->addSpacing(layout->spacing());
    layout->addWidget(m_encryptBox);
    layout->addLayout(password);
    layout->addWidget(m_mailBox);
    layout->addWidget(m_makeExeBox);
    layout->addWidget(explanation);
    m_selfRunningNote = new QLabel(this);
    m_selfRunningNote->setWordWrap(true);
    m_selfRunningNote->hide();
    layout->addWidget(m_selfRunningNote);
    layout->addStretch(1);
    layout->addWidget(m_buttons);

    connect(m_pathButton, &QPushButton::clicked, this, &CDlgFinish::OnBtnPath);
    // The lock box acts on its remembered state, not on the click's: clicked, not toggled.
    connect(m_encryptBox, &QCheckBox::clicked, this, &CDlgFinish::OnCheckEncrypt);
    connect(m_makeExeBox, &QCheckBox::clicked, this, &CDlgFinish::OnCheckMakeExe);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CDlgFinish::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CDlgFinish::reject);
    PushToControls();
    m_pathButton->setFocus();
}

QString CDlgFinish::LockFolderTitle() {
    return QCoreApplication::translate("publish_ui", "Choose the folder you want to lock and append\n(If you "
                                                     "need only one file, please move it into a folder too)");
}

QString CDlgFinish::DisplayPath(const QString& path) {
    // Counted in characters as the user sees them (code points), not in bytes.
    return QString::fromStdString(publish::ShortenPathForDisplay(path.toStdString()));
}

QPushButton* CDlgFinish::finishButton() const {
    return qobject_cast<QPushButton*>(m_buttons->buttons().value(0));
}

QPushButton* CDlgFinish::cancelButton() const {
    return qobject_cast<QPushButton*>(m_buttons->buttons().value(1));
}

void CDlgFinish::OnBtnPath() {
    const QString path =
        m_prompts.saveFile(this, {tr("Save the e-gift"), SwfFilter(), QStringLiteral("swf"), {}});
    if (path.isEmpty()) {
        return;
    }
    m_strTargetPath = path;
    m_pathLabel->setText(DisplayPath(path));
    m_pathLabel->setToolTip(path);
}

void CDlgFinish::OnCheckEncrypt() {
    if (m_bEncrypt) {
        m_bEncrypt = false;
        m_strLockFolder.clear();
    } else {
        const QString folder = m_prompts.chooseFolder(this, LockFolderTitle());
        m_bEncrypt = !folder.isEmpty();
        m_strLockFolder = folder;
    }
    PushToControls();
}

void CDlgFinish::SetSelfRunningNote(const QString& text) {
    m_selfRunningNote->setText(text);
    m_selfRunningNote->setAccessibleName(text);
    m_selfRunningNote->setVisible(!text.isEmpty());
}

void CDlgFinish::OnCheckMakeExe() {
    // Only remembered: the self-running file is made of the movie once Finish has generated it.
    m_bMakeExe = m_makeExeBox->isChecked();
}

void CDlgFinish::PushToControls() {
    m_encryptBox->setChecked(m_bEncrypt);
    m_passwordLabel->setEnabled(m_bEncrypt);
    m_passwordEdit->setEnabled(m_bEncrypt);
    m_encryptBox->setToolTip(m_strLockFolder);
    m_mailBox->setChecked(m_bSendMail);
    m_makeExeBox->setChecked(m_bMakeExe);
}

void CDlgFinish::accept() {
    m_bSendMail = m_mailBox->isChecked();
    m_bMakeExe = m_makeExeBox->isChecked();
    m_strPassword = m_passwordEdit->text();
    QDialog::accept();
}

publish::FinishChoices CDlgFinish::Choices() const {
    publish::FinishChoices c;
    c.targetPath = m_strTargetPath.toStdString();
    c.encrypt = m_bEncrypt;
    c.lockFolder = m_strLockFolder.toStdString();
    c.password = m_strPassword.toStdString();
    c.sendMail = m_bSendMail;
    c.makeSelfRunning = m_bMakeExe;
    return c;
}

} // namespace publish_ui
