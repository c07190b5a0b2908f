// What a command that may report errors sets up: the workspace, the run log in the work folder (with
// its start-of-run header) and a reporter writing to stderr and that log.
#pragma once

#include "app/error_report.h"
#include "app/log.h"
#include "app/workspace.h"

namespace cli {

class Session {
public:
    Session();

    const app::Workspace& Workspace() const { return m_workspace; }
    app::ErrorReporter& Reporter() { return m_reporter; }

private:
    app::Workspace m_workspace;
    app::Log m_log;
    app::ConsoleReporter m_reporter;
};

} // namespace cli
