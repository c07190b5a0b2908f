#include "dialogs/dlg_tips.h"
#include "dlg_b_support.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSettings>

#include <gtest/gtest.h>

#include <fstream>

namespace {

using dlgtest::FindButton;

std::filesystem::path TipsFolder(const std::string& content) {
    QSettings().remove(QStringLiteral("Tip"));
    const auto dir = dlgtest::FreshDir();
    std::ofstream(dir / "Tips.txt") << content;
    return dir;
}

TEST(TipsTest, PositionIsRememberedBetweenOpenings) {
    const auto dir = TipsFolder("; comment\none\ntwo\nthree\n");
    EXPECT_EQ(CDlgTips(dir).TipText(), QStringLiteral("one"));
    CDlgTips second(dir);
    EXPECT_EQ(second.TipText(), QStringLiteral("two"));
    dlgtest::GrabIfAsked(&second, QStringLiteral("tips"));
    FindButton<QPushButton>(&second, QStringLiteral("&Next Tip"))->click();
    EXPECT_EQ(second.TipText(), QStringLiteral("three"));
    FindButton<QPushButton>(&second, QStringLiteral("&Previous Tip"))->click();
    EXPECT_EQ(second.TipText(), QStringLiteral("two"));
}

TEST(TipsTest, ClearingShowOnStartupIsStored) {
    const auto dir = TipsFolder("one\n");
    {
        CDlgTips dlg(dir);
        EXPECT_TRUE(dlg.ShowAtStartup());
        dlg.ShowModeless();
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
        FindButton<QCheckBox>(&dlg, QStringLiteral("&Show tips on startup"))->setChecked(false);
        FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
        EXPECT_FALSE(dlg.isVisible()); // the start-up window hides; the object lives on
    }
    EXPECT_EQ(QSettings().value(QStringLiteral("Tip/StartUp")).toInt(), 1);
    EXPECT_FALSE(CDlgTips(dir).ShowAtStartup());
}

class TestTips : public CDlgTips {
public:
    using CDlgTips::CDlgTips;
    QStringList messages;

protected:
    void ShowMessage(const QString& text) override { messages << text; }
};

TEST(TipsTest, UnreachablePositionIsReportedWhenShown) {
    const auto dir = TipsFolder("one\n");
    QSettings settings;
    settings.setValue(QStringLiteral("Tip/TimeStamp"),
                      QString::fromStdString(app::TipsTimeStamp(dir / "Tips.txt")));
    settings.setValue(QStringLiteral("Tip/FilePos"), -5);
    TestTips dlg(dir);
    EXPECT_EQ(dlg.TipText(), QString());
    dlg.show();
    EXPECT_EQ(dlg.messages, QStringList{QStringLiteral("Trouble reading the tips file")});
}

TEST(TipsTest, MissingFileOnlyBeeps) {
    QSettings().remove(QStringLiteral("Tip"));
    CDlgTips dlg(dlgtest::FreshDir());
    EXPECT_FALSE(dlg.IsFileOpen());
    EXPECT_EQ(dlg.TipText(), QStringLiteral("Tips file does not exist in the prescribed directory"));
    EXPECT_FALSE(FindButton<QPushButton>(&dlg, QStringLiteral("&Next Tip"))->isEnabled());
    EXPECT_EQ(dlg.ShowModal(), QDialog::Rejected); // returns at once, nothing shown
    EXPECT_FALSE(dlg.isVisible());
}

TEST(TipsTest, OurTipsFileHasEnoughTips) {
    QSettings().remove(QStringLiteral("Tip"));
    CDlgTips dlg(std::filesystem::path(CW_TEST_SOURCE_DIR) / "data");
    QStringList seen;
    for (int i = 0; i < 15; ++i) {
        seen << dlg.TipText();
        FindButton<QPushButton>(&dlg, QStringLiteral("&Next Tip"))->click();
    }
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 15);
}

} // namespace
