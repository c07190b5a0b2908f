// The story map as an SVG picture: each card a group of class "card" (a box and its title), each arrow a
// group of class "goto" or "then" (dashed, with its condition as a label).
#pragma once

#include "check/finding.h"
#include "check/story_map.h"

#include <string>
#include <vector>

namespace check {

// Boxes of cards with findings get a coloured frame (red for an error, amber for a warning).
std::string StoryMapToSvg(const StoryMap& map, const std::vector<Finding>& findings = {});

} // namespace check
