// Readers of the two Twine story files: Twee 3 text and Twine 2 HTML (a published story or an archive).
#pragma once

#include "interop/story.h"

#include <string_view>

namespace interop {

// Reads a Twee 3 story. Throws StoryError when the text holds no passage or is damaged (not UTF-8,
// binary, a passage header without a name).
Story ReadTwee(std::string_view text);

// Reads the first story of a Twine 2 HTML file (<tw-storydata> with its <tw-passagedata>). Throws
// StoryError when the file holds no story.
Story ReadTwineHtml(std::string_view html);

// Tells the two apart by their content and reads the file with the right reader. Throws StoryError
// for a file that is neither.
Story ReadStory(std::string_view bytes);

} // namespace interop
