#include "interop/special_passages.h"

#include <algorithm>
#include <array>

namespace interop {

namespace {

constexpr std::array<std::string_view, 17> kSpecialNames = {
    "StoryTitle",    "StoryData",   "StoryInit",      "StoryCaption",  "StoryMenu",      "StoryBanner",
    "StorySubtitle", "StoryAuthor", "StoryInterface", "StoryShare",    "StorySettings",  "StoryIncludes",
    "PassageReady",  "PassageDone", "PassageHeader",  "PassageFooter", "StoryJavaScript"};

constexpr std::array<std::string_view, 11> kSpecialTags = {
    "script", "stylesheet", "widget",       "Twine.image",  "Twine.private", "header",
    "footer", "startup",    "debug-header", "debug-footer", "debug-startup"};

} // namespace

bool IsSpecialName(std::string_view name) {
    return std::find(kSpecialNames.begin(), kSpecialNames.end(), name) != kSpecialNames.end();
}

bool IsSpecialPassage(const Passage& passage) {
    return IsSpecialName(passage.name) ||
           std::any_of(passage.tags.begin(), passage.tags.end(), [](const std::string& t) {
               return std::find(kSpecialTags.begin(), kSpecialTags.end(), t) != kSpecialTags.end();
           });
}

} // namespace interop
