// The two folders of a run: the data root (what the program reads: Font, Background, Button, Music,
// Themes, Samples, Resource, Tips.txt) and the work folder (Temp, the rescue file, preview.swf, the log).
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

namespace app {

class Workspace {
public:
    Workspace(std::filesystem::path dataRoot, std::filesystem::path workDir);

    // Data root: CARDWRIGHT_HOME, else <exe>/../share/cardwright when it exists, else the build tree's
    // data folder. Work folder: CARDWRIGHT_WORK, else $XDG_STATE_HOME/cardwright, else
    // ~/.local/state/cardwright. `exe` defaults to this process's executable.
    static Workspace FromEnvironment(std::optional<std::filesystem::path> exe = std::nullopt);

    const std::filesystem::path& DataRoot() const { return m_dataRoot; }
    const std::filesystem::path& WorkDir() const { return m_workDir; }
    std::filesystem::path TempDir() const { return m_workDir / "Temp"; }
    std::filesystem::path RescuePath() const { return TempDir() / "temp.cwp"; }
    std::filesystem::path PreviewPath() const { return m_workDir / "preview.swf"; }
    std::filesystem::path LogPath() const { return m_workDir / "cwp.log"; }

    // Creates the work folder and Temp when missing; false when that fails.
    bool EnsureTempDir() const;

    // Held while a file of Temp is written and read back (builders on several threads use the same
    // names: "Temp/<card>.jpg", "Temp/MP3.swf"). Copies of a workspace share the one lock.
    [[nodiscard]] std::unique_lock<std::mutex> LockTemp() const { return std::unique_lock(*m_tempLock); }

private:
    std::filesystem::path m_dataRoot;
    std::filesystem::path m_workDir;
    std::shared_ptr<std::mutex> m_tempLock = std::make_shared<std::mutex>();
};

// The running program's executable (/proc/self/exe), or empty when unknown.
std::filesystem::path ExecutablePath();

// Deletes every file and subfolder inside `folder`; the folder itself remains. Entries that cannot be
// removed are skipped. Returns false when something could not be removed.
bool EmptyFolder(const std::filesystem::path& folder);

} // namespace app
