// A Twine story made into a project: one card a passage (the start passage first, then the story's
// order), one link button a link, within the project's limits. Whatever cannot be carried over is named
// in the warnings, one line a passage.
#pragma once

#include "interop/story.h"
#include "model/project.h"

#include <filesystem>
#include <string>
#include <vector>

namespace interop {

// The longest card title and link caption the editor takes.
inline constexpr size_t kTitleChars = 100;
inline constexpr size_t kCaptionChars = 20;

struct ImportResult {
    model::Project project;
    std::vector<std::string> warnings;
};

// Throws StoryError when the story has no passage that can become a card.
ImportResult ImportStory(const Story& story);

// Reads a Twee 3 or Twine 2 HTML file and imports it. Throws StoryError for a file that cannot be read,
// is neither format or is damaged.
ImportResult ImportStoryFile(const std::filesystem::path& path);

} // namespace interop
