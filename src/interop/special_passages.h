// Passages that are not story text: the story's own data, the story formats' special passages and
// passages tagged as code, style or pictures. They never become cards, and card names avoid them.
#pragma once

#include "interop/story.h"

#include <string_view>

namespace interop {

bool IsSpecialName(std::string_view name);
bool IsSpecialPassage(const Passage& passage);

} // namespace interop
