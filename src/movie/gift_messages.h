// The tip messages of generation steps that do not raise an error report.
#pragma once

#include <string>
#include <string_view>

namespace movie {

inline std::string TipBackgroundClip(std::string_view path) {
    return "Attention: The swf file " + std::string(path) +
           " of button may not work well.\nSuggestion: Please add this swf file before previewing or "
           "publishing to decrease errors.";
}

inline std::string TipButtonClip(std::string_view style) {
    return "Attention: The swf file " + std::string(style) +
           " of button may not work well.\nSuggestion: Please add this swf before previewing or publishing "
           "to decrease errors.";
}

inline std::string TipLoadingPicture(std::string_view path) {
    return "Loading picture '" + std::string(path) + "' failed, please try it again.";
}

inline std::string TipButtonPicture(std::string_view path) {
    return "Failed to add picture:" + std::string(path) + ", please try it again.";
}

// Said once per movie, for the first character that no font of the gift can draw.
inline std::string TipMissingCharacter(std::string_view text, std::string_view code) {
    return "The text \"" + std::string(text) + "\" has the character " + std::string(code) +
           ", which none of the gift's fonts can draw; it is shown as a box.";
}

inline constexpr std::string_view kTipComment = "Error when add comment to the e-gift, please try it again.";

} // namespace movie
