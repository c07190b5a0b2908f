// The Finish dialog: where the e-gift goes, whether a folder is locked into a zip beside it (with a
// password), whether it is mailed, and whether it is made as a web page too.
//
//     publish_ui::CDlgFinish dlg(publish_ui::PublishPrompts::Desktop(), parent);
//     if (dlg.exec() == QDialog::Accepted) { publish::FinishChoices c = dlg.Choices(); ... }
//
// The target path and the lock folder change only through their buttons; the self-running file is made
// by Finish after the movie is generated (ticking the box only records the wish).
#pragma once

#include "dialogs/publish_prompts.h"
#include "publish/finish_flow.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace publish_ui {

class CDlgFinish : public QDialog {
    Q_OBJECT
public:
    explicit CDlgFinish(PublishPrompts prompts, QWidget* parent = nullptr);

    // The choices as the dialog holds them (after OK: what the user confirmed).
    publish::FinishChoices Choices() const;

    // The folder browser's title of the lock box (also the photo album's).
    static QString LockFolderTitle();
    // The path as the dialog shows it.
    static QString DisplayPath(const QString& path);

    // A line under the web page box (why this gift's page holds the Flash player); hidden when empty.
    void SetSelfRunningNote(const QString& text);
    QLabel* selfRunningNote() const { return m_selfRunningNote; }

    // Handlers of the path button, the lock box and the self-running box.
    void OnBtnPath();
    void OnCheckEncrypt();
    void OnCheckMakeExe();

    QPushButton* pathButton() const { return m_pathButton; }
    QLabel* pathLabel() const { return m_pathLabel; }
    QCheckBox* encryptBox() const { return m_encryptBox; }
    QLabel* passwordLabel() const { return m_passwordLabel; }
    QLineEdit* passwordEdit() const { return m_passwordEdit; }
    QCheckBox* mailBox() const { return m_mailBox; }
    QCheckBox* makeExeBox() const { return m_makeExeBox; }
    QPushButton* finishButton() const;
    QPushButton* cancelButton() const;

    QString m_strTargetPath;
    QString m_strLockFolder;
    bool m_bEncrypt = false;
    bool m_bSendMail = false;
    QString m_strPassword;
    bool m_bMakeExe = false;

public slots:
    void accept() override;

private:
    void PushToControls();

    PublishPrompts m_prompts;
    QPushButton* m_pathButton;
    QLabel* m_pathLabel;
    QCheckBox* m_encryptBox;
    QLabel* m_passwordLabel;
    QLineEdit* m_passwordEdit;
    QCheckBox* m_mailBox;
    QLabel* m_selfRunningNote = nullptr;
    QCheckBox* m_makeExeBox;
    QDialogButtonBox* m_buttons;
};

// The save dialog's filter for e-gift movies.
QString SwfFilter();

} // namespace publish_ui
