// The rescue save into Temp and what emptying Temp does to it.
#include "app/rescue.h"
#include "model/archive.h"
#include "test_dir.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(Rescue, WritesTheProjectToTempTempCwp) {
    const auto dir = test::FreshDir();
    const Workspace w(dir / "data", dir / "work");
    EXPECT_FALSE(HasRescueFile(w));
    const model::Project p = model::MakeDefaultProject();
    EXPECT_TRUE(RescueSave(p, w));
    EXPECT_EQ(w.RescuePath(), dir / "work" / "Temp" / "temp.cwp");
    EXPECT_TRUE(HasRescueFile(w));
    EXPECT_TRUE(model::LoadProjectFile(w.RescuePath()) == p);
}

TEST(Rescue, AnEmptyProjectWritesNothing) {
    const auto dir = test::FreshDir();
    const Workspace w(dir / "data", dir / "work");
    model::Project empty;
    EXPECT_FALSE(RescueSave(empty, w));
    EXPECT_FALSE(HasRescueFile(w));

    // An older rescue file is not replaced by nothing.
    ASSERT_TRUE(RescueSave(model::MakeDefaultProject(), w));
    EXPECT_FALSE(RescueSave(empty, w));
    EXPECT_TRUE(model::LoadProjectFile(w.RescuePath()) == model::MakeDefaultProject());
}

TEST(Rescue, DecliningTheOfferEmptiesTempWithEverythingInIt) {
    const auto dir = test::FreshDir();
    const Workspace w(dir / "data", dir / "work");
    ASSERT_TRUE(RescueSave(model::MakeDefaultProject(), w));
    test::Touch(w.TempDir() / "3.jpg");
    EXPECT_TRUE(EmptyFolder(w.TempDir()));
    EXPECT_FALSE(HasRescueFile(w));
    EXPECT_TRUE(std::filesystem::is_empty(w.TempDir()));
}

} // namespace
} // namespace app
