// The checker's glyph test on the gift builder's fonts (a library of its own: it pulls in the builder).
#pragma once

#include "app/workspace.h"
#include "check/checker.h"
#include "model/project_settings.h"

namespace check {

// Loads the fonts of the project's face once; the returned test may be used on one thread at a time.
GlyphTip MakeGlyphTip(const model::ProjectSettings& settings, const app::Workspace& workspace);

} // namespace check
