#include "dialogs/dlg_open_project.h"
#include "dlg_b_support.h"

#include "model/archive.h"
#include "model/project.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using dlgtest::FindButton;

class TestOpen : public CDlgOpenProject {
public:
    using CDlgOpenProject::CDlgOpenProject;
    QStringList messages;
    std::optional<QString> chosen;

protected:
    std::optional<QString> ChooseProjectFile() override { return chosen; }
    void ShowMessage(const QString& text) override { messages << text; }
};

TEST(OpenProjectTest, NoThemesFolderStillOffersNewAndOpenFrom) {
    const auto root = dlgtest::FreshDir();
    TestOpen dlg(root);
    dlg.show();
    EXPECT_EQ(dlg.ThemeList()->count(), 0);
    FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
    EXPECT_EQ(dlg.messages, QStringList{QStringLiteral("Please choose a sample from the list.")});
    EXPECT_TRUE(dlg.isVisible());

    FindButton<QPushButton>(&dlg, QStringLiteral("Open from..."))->click(); // cancelled: stays open
    EXPECT_TRUE(dlg.isVisible());
    dlg.chosen = QStringLiteral("/somewhere/mine.cwp");
    FindButton<QPushButton>(&dlg, QStringLiteral("Open from..."))->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strProjectPath, QStringLiteral("/somewhere/mine.cwp"));
}

TEST(OpenProjectTest, ChosenThemeGivesItsFile) {
    TestOpen dlg(dlgtest::DataRoot());
    dlg.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.ThumbnailsDone(); }));
    dlgtest::GrabIfAsked(&dlg, QStringLiteral("open_project"));
    const auto found = dlg.ThemeList()->findItems(QStringLiteral("Quiz"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    found.front()->setSelected(true);
    FindButton<QPushButton>(&dlg, QStringLiteral("OK"))->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strProjectPath.toStdString(), (dlgtest::DataRoot() / "Themes" / "Quiz.cwp").string());
}

TEST(OpenProjectTest, EnterPressesNewAndEscapeCancels) {
    const std::pair<Qt::Key, int> cases[] = {{Qt::Key_Return, CDlgOpenProject::kResultNew},
                                             {Qt::Key_Escape, QDialog::Rejected}};
    for (const auto& [key, result] : cases) {
        TestOpen dlg(dlgtest::DataRoot());
        dlg.show();
        dlg.ThemeList()->setFocus();
        dlg.setResult(-1);
        QTest::keyClick(dlg.ThemeList(), key);
        EXPECT_EQ(dlg.result(), result) << key;
        EXPECT_FALSE(dlg.isVisible()) << key;
    }
}

TEST(OpenProjectTest, ThumbnailShowsTheFirstCard) {
    const auto dir = dlgtest::FreshDir();
    model::Project project = model::MakeDefaultProject();
    project.cards[0]->m_strBackground = "#FF0000";
    ASSERT_TRUE(model::SaveProjectFile(project, dir / "Red.cwp"));
    const QImage red = dialogs::DrawThemeThumbnail(dir / "Red.cwp", dlgtest::DataRoot(), QSize(80, 60));
    EXPECT_EQ(red.pixelColor(78, 58), QColor(Qt::red));
    const QImage unreadable =
        dialogs::DrawThemeThumbnail(dir / "missing.cwp", dlgtest::DataRoot(), QSize(80, 60));
    EXPECT_EQ(unreadable.size(), QSize(80, 60));
}

} // namespace
