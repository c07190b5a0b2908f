// File reading and writing shared by the project commands.
#pragma once

#include "model/project.h"

#include <filesystem>
#include <optional>
#include <string>

namespace cli {

// Loads a project file; on a refused file prints the old-version message and returns nullopt.
std::optional<model::Project> LoadOrExplain(const std::filesystem::path& path);

// Saves the project; on failure reports it (stderr and the log) and returns the exit status.
int SaveOrReport(const model::Project& project, const std::filesystem::path& path);

} // namespace cli
