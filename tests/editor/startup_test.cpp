// The rescue offer at start-up and the clean exit.
#include "editor_fixture.h"

#include "app/rescue.h"
#include "editor/startup.h"

#include <QFile>

#include <filesystem>

namespace editor::testing {
namespace {

TEST_F(EditorTest, RescueOfferYesOpensTheRescuedProjectAsUnsavedWork) {
    model::Project rescued = model::MakeDefaultProject();
    rescued.cards[1]->m_strTitle = "Rescued";
    ASSERT_TRUE(app::RescueSave(rescued, workspace));
    prompter.answers = {Answer::Yes};
    const QString path = OfferRescue(prompter, workspace);
    EXPECT_EQ(prompter.questions, QStringList{QString::fromLatin1(kRescueQuestion)});
    ASSERT_EQ(path.toStdString(), workspace.RescuePath().string());
    CCardwrightDlg& w = Open(path);
    EXPECT_EQ(w.document().project(), rescued);
    // It has no file of its own (Temp is emptied at exit), so closing asks to save it.
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_TRUE(w.state().m_strProjectPath.empty());
}

TEST_F(EditorTest, RescueOfferNoEmptiesTemp) {
    ASSERT_TRUE(app::RescueSave(model::MakeDefaultProject(), workspace));
    const auto other = workspace.TempDir() / "sub" / "3.jpg";
    std::filesystem::create_directories(other.parent_path());
    QFile(QString::fromStdString(other.string())).open(QIODevice::WriteOnly);
    prompter.answers = {Answer::No};
    EXPECT_TRUE(OfferRescue(prompter, workspace).isEmpty());
    EXPECT_TRUE(std::filesystem::is_empty(workspace.TempDir()));
    // Without a rescue file nothing is asked.
    EXPECT_TRUE(OfferRescue(prompter, workspace).isEmpty());
    EXPECT_EQ(prompter.questions.size(), 1);
}

TEST_F(EditorTest, CleanExitRemovesThePreviewMovieAndEmptiesTemp) {
    ASSERT_TRUE(app::RescueSave(model::MakeDefaultProject(), workspace));
    QFile preview(QString::fromStdString(workspace.PreviewPath().string()));
    ASSERT_TRUE(preview.open(QIODevice::WriteOnly));
    preview.close();
    CleanExit(workspace);
    EXPECT_FALSE(std::filesystem::exists(workspace.PreviewPath()));
    EXPECT_FALSE(app::HasRescueFile(workspace));
    EXPECT_TRUE(std::filesystem::exists(workspace.TempDir()));
}

} // namespace
} // namespace editor::testing
