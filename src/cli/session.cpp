#include "cli/session.h"

#include <cstdio>
#include <filesystem>

namespace cli {

namespace {

app::Log OpenLog(const app::Workspace& workspace) {
    std::error_code ec;
    std::filesystem::create_directories(workspace.WorkDir(), ec);
    app::Log log(workspace.LogPath());
    if (!log.IsOpen()) {
        std::fprintf(stderr, "%s\n", app::kUnableToCreateLog);
    }
    log.WriteRunHeader();
    return log;
}

} // namespace

Session::Session()
    : m_workspace(app::Workspace::FromEnvironment()), m_log(OpenLog(m_workspace)), m_reporter(&m_log) {}

} // namespace cli
