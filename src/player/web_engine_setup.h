// What a program that shows movies must do before it creates its QApplication.
#pragma once

#include <QString>

namespace player {

// Shares OpenGL contexts (Qt WebEngine needs it) and, only when the process runs as root, turns Qt
// WebEngine's sandbox off (it refuses to start as root otherwise). Call before the QApplication exists.
// Returns a line for the log saying what was done ("" when nothing needs saying).
QString PrepareWebEngine();

} // namespace player
