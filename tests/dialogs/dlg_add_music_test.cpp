#include "dialogs/dlg_add_music.h"
#include "dlg_b_support.h"
#include "player/ruffle_view.h"

#include <QAudioDevice>
#include <QLineEdit>
#include <QMediaDevices>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using dlgtest::FindButton;

class TestMusic : public CDlgAddMusic {
public:
    using CDlgAddMusic::CDlgAddMusic;
    QStringList messages;
    QString browsed;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
    QString ChooseMusicFile() override { return browsed; }
};

TEST(AddMusicTest, SamplesListedWithTheirType) {
    TestMusic dlg(dlgtest::DataRoot());
    dlg.m_strValue = QStringLiteral("chime"); // the first sample whose name begins with it, any case
    dlg.show();
    auto* list = dlg.findChild<QTreeWidget*>();
    ASSERT_GE(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), QStringLiteral("Samples list"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Type"));
    ASSERT_TRUE(list->currentItem());
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("Chime.swf"));
    EXPECT_EQ(list->currentItem()->text(1), QStringLiteral("swf"));
    EXPECT_EQ(dlg.m_nMode, CDlgAddMusic::kSampleMode);
    EXPECT_FALSE(dlg.findChild<QLineEdit*>()->isEnabled());
    dlgtest::GrabIfAsked(&dlg, QStringLiteral("add_music"));
}

TEST(AddMusicTest, OkWithoutASampleStaysOpen) {
    TestMusic dlg(dlgtest::DataRoot());
    dlg.m_strValue = QStringLiteral("no such sample");
    dlg.show();
    FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
    EXPECT_EQ(dlg.messages, QStringList{QStringLiteral("Please choose a sample from the list.")});
    EXPECT_TRUE(dlg.isVisible());
}

struct RefusalCase {
    const char* file;
    const char* content; // nullptr: the file does not exist
    QString message;
};

TEST(AddMusicTest, UnusableOwnFilesAreRefused) {
    const auto dir = dlgtest::FreshDir();
    const RefusalCase cases[] = {
        {"bad.swf", "not a flash file",
         QStringLiteral(" This version of Flash file (SWF) is not supported.")},
        {"gone.mp3", nullptr,
         QStringLiteral("The music file cannot be found:\n") +
             QString::fromStdString((dir / "gone.mp3").string())},
    };
    for (const RefusalCase& c : cases) {
        if (c.content) {
            std::ofstream(dir / c.file) << c.content;
        }
        TestMusic dlg(dlgtest::DataRoot());
        dlg.show();
        FindButton<QRadioButton>(&dlg, QStringLiteral("Choose from local disk"))->click();
        dlg.browsed = QString::fromStdString((dir / c.file).string());
        FindButton<QPushButton>(&dlg, QStringLiteral("Browse"))->click();
        EXPECT_EQ(dlg.findChild<QLineEdit*>()->text(), dlg.browsed);
        FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
        EXPECT_EQ(dlg.messages, QStringList{c.message}) << c.file;
        EXPECT_TRUE(dlg.isVisible()) << c.file;
    }
}

TEST(AddMusicTest, OwnFileOkReturnsThePath) {
    const auto song = dlgtest::DataRoot() / "Music" / "Chord.mp3";
    TestMusic dlg(dlgtest::DataRoot());
    dlg.m_strValue = QString::fromStdString(song.string());
    dlg.show();
    EXPECT_EQ(dlg.m_nMode, CDlgAddMusic::kOwnFileMode);
    FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strValue.toStdString(), song.string());
}

TEST(AddMusicTest, PlayingSaysWhenThereIsNoSoundDevice) {
    TestMusic dlg(dlgtest::DataRoot());
    dlg.m_strValue = QStringLiteral("Chord.mp3");
    dlg.show();
    auto* play = FindButton<QPushButton>(&dlg, QStringLiteral("Play>"));
    play->click();
    if (QMediaDevices::audioOutputs().isEmpty()) {
        EXPECT_FALSE(dlg.m_bPlaying);
        EXPECT_FALSE(play->isChecked());
        EXPECT_TRUE(dlg.StatusText().contains(QStringLiteral("No sound device")));
    } else {
        EXPECT_TRUE(dlg.m_bPlaying);
        play->click(); // the second press stops
        EXPECT_FALSE(dlg.m_bPlaying);
    }
    dlg.reject();
    EXPECT_FALSE(dlg.m_bPlaying);
}

TEST(AddMusicTest, FlashClipPlaysInThePlayerAndStops) {
    TestMusic dlg(dlgtest::DataRoot());
    dlg.m_strValue = QStringLiteral("Chime.swf");
    dlg.show();
    auto* play = FindButton<QPushButton>(&dlg, QStringLiteral("Play>"));
    play->click();
    ASSERT_TRUE(dlg.FlashPlayer()) << dlg.StatusText().toStdString();
    EXPECT_TRUE(dlg.m_bPlaying);
    QSignalSpy painted(dlg.FlashPlayer(), &player::RuffleView::moviePainted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !painted.isEmpty(); }, 60000)) << dlg.StatusText().toStdString();
    dlgtest::GrabIfAsked(&dlg, QStringLiteral("add_music_flash"));
    play->click(); // stopping clears the player's stage, which ends the clip's sound
    EXPECT_FALSE(dlg.m_bPlaying);
    EXPECT_FALSE(play->isChecked());
    EXPECT_EQ(dlg.FlashPlayer()->loadingSerial(), 0u);
}

} // namespace
