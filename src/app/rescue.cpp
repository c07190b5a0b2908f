#include "app/rescue.h"

#include "model/archive.h"

namespace app {

bool RescueSave(const model::Project& project, const Workspace& workspace) {
    if (project.cards.empty()) {
        return false;
    }
    workspace.EnsureTempDir();
    return model::SaveProjectFile(project, workspace.RescuePath());
}

bool HasRescueFile(const Workspace& workspace) {
    std::error_code ec;
    return std::filesystem::is_regular_file(workspace.RescuePath(), ec);
}

} // namespace app
