#include "app/workspace.h"

#include <cstdlib>

namespace app {

namespace {

std::optional<std::filesystem::path> EnvPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::filesystem::path(value);
}

} // namespace

Workspace::Workspace(std::filesystem::path dataRoot, std::filesystem::path workDir)
    : m_dataRoot(std::move(dataRoot)), m_workDir(std::move(workDir)) {}

std::filesystem::path ExecutablePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

Workspace Workspace::FromEnvironment(std::optional<std::filesystem::path> exe) {
    std::filesystem::path data;
    if (auto home = EnvPath("CARDWRIGHT_HOME")) {
        data = *home;
    } else {
        const std::filesystem::path program = exe ? *exe : ExecutablePath();
        const auto installed = program.parent_path().parent_path() / "share" / "cardwright";
        std::error_code ec;
        if (!program.empty() && std::filesystem::is_directory(installed, ec)) {
            data = installed;
        } else {
#ifdef CW_BUILD_DATA_DIR
            data = CW_BUILD_DATA_DIR;
#else
            data = installed;
#endif
        }
    }
    std::filesystem::path work;
    if (auto w = EnvPath("CARDWRIGHT_WORK")) {
        work = *w;
    } else if (auto state = EnvPath("XDG_STATE_HOME")) {
        work = *state / "cardwright";
    } else if (auto userHome = EnvPath("HOME")) {
        work = *userHome / ".local" / "state" / "cardwright";
    } else {
        work = std::filesystem::temp_directory_path() / "cardwright";
    }
    return Workspace(std::move(data), std::move(work));
}

bool Workspace::EnsureTempDir() const {
    std::error_code ec;
    std::filesystem::create_directories(TempDir(), ec);
    return std::filesystem::is_directory(TempDir(), ec);
}

bool EmptyFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) {
        return false;
    }
    bool ok = true;
    for (const auto& entry : it) {
        std::error_code removeError;
        std::filesystem::remove_all(entry.path(), removeError);
        ok = ok && !removeError;
    }
    return ok;
}

} // namespace app
