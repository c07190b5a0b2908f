// A project written as a Twee 3 story for SugarCube 2: StoryTitle, StoryData with an IFID that stays the
// same for the same cards, then one passage a card named by its title, the card's text as the passage
// text and its links as links. Scores and conditions become SugarCube macros.
#pragma once

#include "model/project.h"

#include <string>
#include <vector>

namespace interop {

inline constexpr const char* kExportFormat = "SugarCube";
inline constexpr const char* kExportFormatVersion = "2.37.3";

struct ExportResult {
    std::string twee;
    std::vector<std::string> warnings; // what the story cannot hold
};

ExportResult ExportTwee(const model::Project& project);

// A UUID of version 4 form (upper case, as Twine writes IFIDs) derived from `content`.
std::string IfidFor(std::string_view content);

} // namespace interop
