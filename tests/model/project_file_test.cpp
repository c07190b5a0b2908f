// Project files on disk: a save replaces the old file only when the new one is complete, an empty
// project is never written, and a refused load leaves the caller's project as it was.
#include "model/archive.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace model {
namespace {

namespace fs = std::filesystem;

class ProjectFileTest : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::path(CW_TEST_BINARY_DIR) / "model-files" /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
    }

    static std::vector<uint8_t> Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    size_t FileCount() const { return std::distance(fs::directory_iterator(dir), fs::directory_iterator()); }
};

TEST_F(ProjectFileTest, SaveThenLoadGivesTheSameProjectAndBytes) {
    const Project p = MakeDefaultProject();
    const fs::path file = dir / "a.cwp";
    ASSERT_TRUE(SaveProjectFile(p, file));
    EXPECT_EQ(Read(file), WriteProject(p));
    const Project back = LoadProjectFile(file);
    EXPECT_TRUE(back == p);
    ASSERT_TRUE(SaveProjectFile(back, dir / "b.cwp"));
    EXPECT_EQ(Read(dir / "b.cwp"), Read(file));
    EXPECT_EQ(FileCount(), 2u) << "no file is left beside the saved ones";
}

TEST_F(ProjectFileTest, AProjectWithNoCardsIsNeverWritten) {
    Project empty = MakeDefaultProject();
    empty.cards.clear();
    EXPECT_FALSE(SaveProjectFile(empty, dir / "none.cwp"));
    EXPECT_FALSE(fs::exists(dir / "none.cwp"));

    const fs::path old = dir / "old.cwp";
    ASSERT_TRUE(SaveProjectFile(MakeDefaultProject(), old));
    const auto before = Read(old);
    EXPECT_FALSE(SaveProjectFile(empty, old));
    EXPECT_EQ(Read(old), before);
}

TEST_F(ProjectFileTest, SavingOverAnExistingFileReplacesIt) {
    const fs::path file = dir / "a.cwp";
    ASSERT_TRUE(SaveProjectFile(MakeDefaultProject(), file));
    Project other = MakeDefaultProject();
    other.cards[0]->m_strTitle = "Changed";
    ASSERT_TRUE(SaveProjectFile(other, file));
    EXPECT_TRUE(LoadProjectFile(file) == other);
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(ProjectFileTest, AFailedSaveLeavesThePreviousFileIntact) {
    const fs::path file = dir / "keep.cwp";
    const Project original = MakeDefaultProject();
    ASSERT_TRUE(SaveProjectFile(original, file));
    const auto before = Read(file);

    // A project larger than the file size limit: writing the new file fails part way.
    Project big = MakeDefaultProject();
    big.cards[0]->m_strComment = std::string(200000, 'x');
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 65536;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        SaveProjectFile(big, file);
    } catch (const SaveError& e) {
        threw = true;
        EXPECT_NE(std::string(e.what()).find("cannot write"), std::string::npos) << e.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(threw);
    EXPECT_EQ(Read(file), before);
    EXPECT_TRUE(LoadProjectFile(file) == original);
    EXPECT_EQ(FileCount(), 1u) << "the unfinished file is removed";
}

TEST_F(ProjectFileTest, SavingIntoAMissingFolderFails) {
    EXPECT_THROW(SaveProjectFile(MakeDefaultProject(), dir / "missing" / "a.cwp"), SaveError);
}

TEST_F(ProjectFileTest, ARefusedLoadLeavesTheOpenProjectAsItWas) {
    Project open = MakeDefaultProject();
    open.cards[1]->m_strTitle = "Mine";
    const Project before = open.Clone();
    const std::vector<uint8_t> good = WriteProject(MakeDefaultProject());
    // Cut inside the card list, and cut inside the settings.
    for (size_t cut : {size_t{40}, good.size() - 3}) {
        const fs::path bad = dir / ("cut" + std::to_string(cut) + ".cwp");
        std::ofstream(bad, std::ios::binary).write(reinterpret_cast<const char*>(good.data()), cut);
        try {
            open = LoadProjectFile(bad);
            ADD_FAILURE() << "a file cut at " << cut << " was accepted";
        } catch (const ArchiveError&) {
        }
        EXPECT_TRUE(open == before);
    }
    EXPECT_THROW(LoadProjectFile(dir / "absent.cwp"), ArchiveError);
}

} // namespace
} // namespace model
