// The tip messages of generation steps that do not raise an error report.
#pragma once

#include <string>
#include <string_view>

namespace movie {

inline std::string TipBackgroundClip(std::string_view path) {
    return "Attention: The SWF file " + std::string(path) +
           " of the background may not work well.\nSuggestion: Please add this SWF file again before "
           "previewing or publishing to avoid errors.";
}

inline std::string TipButtonClip(std::string_view style) {
    return "Attention: The SWF file " + std::string(style) +
           " of the button may not work well.\nSuggestion: Please add this SWF file again before previewing "
           "or publishing to avoid errors.";
}

inline std::string TipLoadingPicture(std::string_view path) {
    return "Loading the picture '" + std::string(path) + "' failed; please try again.";
}

inline std::string TipButtonPicture(std::string_view path) {
    return "Failed to add the picture " + std::string(path) + "; please try again.";
}

// Said once per movie, for the first character that no font of the gift can draw.
inline std::string TipMissingCharacter(std::string_view text, std::string_view code) {
    return "The text \"" + std::string(text) + "\" has the character " + std::string(code) +
           ", which none of the gift's fonts can draw; it is shown as a box.";
}

inline constexpr std::string_view kTipComment =
    "Error when adding the comment to the e-gift; please try again.";

} // namespace movie
