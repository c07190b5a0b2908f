// The rescue save: the open project written to Temp/temp.cwp in the work folder, without questions or
// messages, so that it can be offered again after a crash.
#pragma once

#include "app/workspace.h"
#include "model/project.h"

namespace app {

// Writes the project to workspace.RescuePath(), creating Temp when missing. A project with no cards is
// not written (returns false). Throws model::SaveError when writing fails; the previous rescue file
// then stays as it was.
bool RescueSave(const model::Project& project, const Workspace& workspace);

// True when a rescue file is waiting at start-up.
bool HasRescueFile(const Workspace& workspace);

} // namespace app
