// The start and the end of a run of the editor, around the window: the sandbox switch for running as
// root, the offer to reopen a rescued project, and the clean-up of a clean exit.
#pragma once

#include <QString>

namespace app {
class Workspace;
}

namespace editor {

class Prompter;

inline constexpr const char* kRescueQuestion =
    "We found an unsaved project: the program may have ended with an error.\n\nDo you want to open it?";

// Before the application object exists: what Qt WebEngine needs (shared GL contexts; its sandbox off,
// only when this process runs as root, since it refuses to start as root otherwise). Returns the line
// for the log saying what was done, or "".
QString PrepareWebEngine();

// When a rescue file waits, asks whether to open it: Yes returns its path, No empties Temp (the rescue
// file and whatever else is there) and returns an empty path.
QString OfferRescue(Prompter& prompter, const app::Workspace& workspace);

// The clean exit: deletes the preview movie and empties Temp, so a rescue file is found at the next
// start only after a crash.
void CleanExit(const app::Workspace& workspace);

} // namespace editor
