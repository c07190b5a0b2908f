// The Finish dialog on its own: the path button and its display, the lock box with its folder browser
// and password field, and what OK hands on.
#include "dialogs/dlg_finish.h"
#include "finish_prompts_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using finish_test::PromptRecorder;
using publish_ui::CDlgFinish;

struct PathCase {
    QString path;
    QString shown;
};

TEST(FinishDialogTest, PathButtonShowsThePathShortenedAfterThirtyCharacters) {
    const std::vector<PathCase> cases = {
        {QStringLiteral("/home/ann/gifts/abcdefghij.swf"), QStringLiteral("/home/ann/gifts/abcdefghij.swf")},
        {QStringLiteral("/home/ann/gifts/abcdefghijk.swf"),
         QStringLiteral("/home/ann/...ifts/abcdefghijk.swf")},
        {QStringLiteral("/home/änn/gifts/abcdefghij.swf"), QStringLiteral("/home/änn/gifts/abcdefghij.swf")},
    };
    for (const PathCase& c : cases) {
        PromptRecorder prompts;
        prompts.saveAnswers = {c.path};
        CDlgFinish dialog(prompts.Prompts());
        QTest::mouseClick(dialog.pathButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.pathLabel()->text(), c.shown);
        EXPECT_EQ(dialog.m_strTargetPath, c.path);
        ASSERT_EQ(prompts.saveRequests.size(), 1u);
        EXPECT_EQ(prompts.saveRequests[0].defaultSuffix, QStringLiteral("swf"));
        EXPECT_EQ(prompts.saveRequests[0].filter, QStringLiteral("Flash movies (*.swf);;All files (*)"));
    }
}

TEST(FinishDialogTest, CancelledSaveDialogKeepsTheEarlierPath) {
    PromptRecorder prompts;
    prompts.saveAnswers = {QStringLiteral("/tmp/a.swf"), QString()};
    CDlgFinish dialog(prompts.Prompts());
    dialog.OnBtnPath();
    dialog.OnBtnPath();
    EXPECT_EQ(dialog.m_strTargetPath, QStringLiteral("/tmp/a.swf"));
    EXPECT_EQ(dialog.pathLabel()->text(), QStringLiteral("/tmp/a.swf"));
}

TEST(FinishDialogTest, LockBoxFollowsTheFolderBrowser) {
    PromptRecorder prompts;
    prompts.folderAnswers = {QString(), QStringLiteral("/home/ann/pics")};
    CDlgFinish dialog(prompts.Prompts());
    EXPECT_FALSE(dialog.passwordEdit()->isEnabled());
    EXPECT_FALSE(dialog.passwordLabel()->isEnabled());

    QTest::mouseClick(dialog.encryptBox(), Qt::LeftButton); // browser cancelled
    EXPECT_FALSE(dialog.encryptBox()->isChecked());
    EXPECT_FALSE(dialog.m_bEncrypt);
    EXPECT_FALSE(dialog.passwordEdit()->isEnabled());

    QTest::mouseClick(dialog.encryptBox(), Qt::LeftButton); // folder chosen
    EXPECT_TRUE(dialog.encryptBox()->isChecked());
    EXPECT_TRUE(dialog.passwordEdit()->isEnabled());
    EXPECT_TRUE(dialog.passwordLabel()->isEnabled());
    EXPECT_EQ(dialog.m_strLockFolder, QStringLiteral("/home/ann/pics"));

    QTest::mouseClick(dialog.encryptBox(), Qt::LeftButton); // cleared: the folder is forgotten
    EXPECT_FALSE(dialog.encryptBox()->isChecked());
    EXPECT_FALSE(dialog.passwordEdit()->isEnabled());
    EXPECT_TRUE(dialog.m_strLockFolder.isEmpty());
    EXPECT_EQ(prompts.folderTitles.size(), 2) << "clearing the box opens no browser";
    EXPECT_EQ(
        prompts.folderTitles.value(0),
        QStringLiteral("Choose the folder you want to lock and append\n(If you need only one file, please "
                       "move it into a folder too)"));
}

TEST(FinishDialogTest, OkHandsOnEveryChoice) {
    PromptRecorder prompts;
    prompts.saveAnswers = {QStringLiteral("/tmp/gift.swf")};
    prompts.folderAnswers = {QStringLiteral("/tmp/pics")};
    CDlgFinish dialog(prompts.Prompts());
    dialog.OnBtnPath();
    QTest::mouseClick(dialog.encryptBox(), Qt::LeftButton);
    dialog.passwordEdit()->setText(QString(120, QLatin1Char('p')));
    QTest::mouseClick(dialog.mailBox(), Qt::LeftButton);
    QTest::mouseClick(dialog.makeExeBox(), Qt::LeftButton);
    dialog.adjustSize();
    dialog.grab().save(QStringLiteral("/tmp/cw_finish_dialog.png")); // for looking at, not checked
    dialog.finishButton()->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const publish::FinishChoices c = dialog.Choices();
    EXPECT_EQ(c.targetPath, "/tmp/gift.swf");
    EXPECT_TRUE(c.encrypt);
    EXPECT_EQ(c.lockFolder, "/tmp/pics");
    EXPECT_EQ(c.password, std::string(100, 'p')) << "at most 100 characters";
    EXPECT_TRUE(c.sendMail);
    EXPECT_TRUE(c.makeSelfRunning);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "ticking the self-running box makes nothing yet";
}

TEST(FinishDialogTest, EscapeCancels) {
    PromptRecorder prompts;
    CDlgFinish dialog(prompts.Prompts());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(dialog.finishButton()->text(), QStringLiteral("Finish"));
}

} // namespace
