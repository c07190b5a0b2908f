#include "cli/project_io.h"

#include "cli/commands.h"
#include "cli/session.h"
#include "model/archive.h"

#include <cstdio>

namespace cli {

std::optional<model::Project> LoadOrExplain(const std::filesystem::path& path) {
    try {
        return model::LoadProjectFile(path);
    } catch (const model::ArchiveError&) {
        std::fprintf(stderr, "%s\n", model::kOldVersionMessage);
        return std::nullopt;
    }
}

int SaveOrReport(const model::Project& project, const std::filesystem::path& path) {
    if (project.cards.empty()) {
        std::fprintf(stderr, "A project with no cards is not written.\n");
        return kExitBadInput;
    }
    Session session;
    try {
        model::SaveProjectFile(project, path);
        return kExitOk;
    } catch (const model::SaveError& e) {
        session.Reporter().report(app::reasons::kSaveProject);
        std::fprintf(stderr, "%s\n", e.what());
        return kExitFailure;
    }
}

} // namespace cli
