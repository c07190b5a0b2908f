// Finding the libvips module: loaded once, on the first picture a program touches.
#pragma once

#include "imaging/backend_api.h"

#include <filesystem>
#include <vector>

namespace imaging {

// The module's function table. Throws imaging::Error (naming every place tried) when no module can be
// loaded. A program that links the module's code in (the fuzzers) uses that and loads nothing.
const CwImagingApi& Backend();

// Where the module is looked for: only $CARDWRIGHT_IMAGING_MODULE when it is set; otherwise, in order, the
// install's library folder relative to the executable, beside the executable, the build tree.
std::vector<std::filesystem::path> BackendCandidates();

} // namespace imaging
