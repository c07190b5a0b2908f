// The data root and work folder from the environment, and emptying Temp.
#include "app/workspace.h"
#include "test_dir.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace app {
namespace {

namespace fs = std::filesystem;

// Sets or unsets environment variables for one test and restores them after.
class EnvGuard {
public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        m_saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvGuard() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            it->second ? setenv(it->first.c_str(), it->second->c_str(), 1) : unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(Workspace, EnvironmentOverridesBothFolders) {
    EnvGuard env;
    env.Set("CARDWRIGHT_HOME", "/data/root");
    env.Set("CARDWRIGHT_WORK", "/work/folder");
    const Workspace w = Workspace::FromEnvironment(fs::path("/opt/cw/bin/cardwright"));
    EXPECT_EQ(w.DataRoot(), "/data/root");
    EXPECT_EQ(w.WorkDir(), "/work/folder");
    EXPECT_EQ(w.TempDir(), "/work/folder/Temp");
    EXPECT_EQ(w.RescuePath(), "/work/folder/Temp/temp.cwp");
    EXPECT_EQ(w.LogPath(), "/work/folder/cwp.log");
    EXPECT_EQ(w.PreviewPath(), "/work/folder/preview.swf");
}

TEST(Workspace, DefaultsWithoutTheVariables) {
    const fs::path dir = test::FreshDir();
    fs::create_directories(dir / "share" / "cardwright");
    EnvGuard env;
    env.Set("CARDWRIGHT_HOME", nullptr);
    env.Set("CARDWRIGHT_WORK", nullptr);
    env.Set("XDG_STATE_HOME", "/state");
    // Installed: <exe>/../share/cardwright.
    EXPECT_EQ(Workspace::FromEnvironment(dir / "bin" / "cardwright").DataRoot(),
              dir / "share" / "cardwright");
    // Not installed: the build tree's data folder.
    EXPECT_EQ(Workspace::FromEnvironment(dir / "elsewhere" / "bin" / "cardwright").DataRoot(),
              fs::path(CW_TEST_DATA_DIR));
    EXPECT_EQ(Workspace::FromEnvironment(dir / "bin" / "cardwright").WorkDir(), "/state/cardwright");
    env.Set("XDG_STATE_HOME", nullptr);
    env.Set("HOME", "/home/ann");
    EXPECT_EQ(Workspace::FromEnvironment().WorkDir(), "/home/ann/.local/state/cardwright");
}

TEST(Workspace, EnsureTempDirCreatesTheFolders) {
    const fs::path dir = test::FreshDir();
    const Workspace w(dir / "data", dir / "work");
    EXPECT_TRUE(w.EnsureTempDir());
    EXPECT_TRUE(fs::is_directory(dir / "work" / "Temp"));
    EXPECT_TRUE(w.EnsureTempDir()) << "an existing folder is fine";
    test::Touch(dir / "file");
    EXPECT_FALSE(Workspace(dir, dir / "file").EnsureTempDir());
}

TEST(EmptyFolder, RemovesFilesAndSubfoldersButKeepsTheFolder) {
    const fs::path dir = test::FreshDir();
    const fs::path temp = dir / "Temp";
    test::Touch(temp / "temp.cwp");
    test::Touch(temp / "1.jpg");
    test::Touch(temp / ".hidden");
    test::Touch(temp / "sub" / "deeper" / "x.swf");
    test::Touch(dir / "outside.txt");
    EXPECT_TRUE(EmptyFolder(temp));
    EXPECT_TRUE(fs::is_directory(temp));
    EXPECT_TRUE(fs::is_empty(temp));
    EXPECT_TRUE(fs::exists(dir / "outside.txt"));
    EXPECT_TRUE(EmptyFolder(temp)) << "an empty folder stays empty";
    EXPECT_FALSE(EmptyFolder(dir / "absent"));
}

} // namespace
} // namespace app
