// Project-wide settings, in the order the project file stores them, with their three sets of values:
// at program start, after New, and after Clear.
#pragma once

#include <cstdint>
#include <string>

namespace model {

// Address used for the author's e-mail at start and in the error report text.
inline constexpr const char* kSupportEmail = "support@cardwright.example";

struct ProjectSettings {
    std::string m_strAuthor = "Cardwright";
    std::string m_strEmail = kSupportEmail;
    std::string m_strBackground = "#ffffff"; // a colour or "Background\" + file name
    int32_t m_nBgAlign = 4;                  // placement code of the project background
    std::string m_strButton = "#2781c4";     // a colour or "Button\" + file name
    std::string m_strButtonTextColor = "#000000";
    std::string m_strMusic; // empty, "Music\" + file name, or an absolute path
    int32_t m_bPromoteLast = 1;
    int32_t m_bPromoteEach = 1;
    int32_t m_nGiftWidth = 640;
    int32_t m_nGiftHeight = 480;
    std::string m_strSlideSeconds; // decimal text; empty or "0" means no interval
    int32_t m_bSlideShow = 0;
    std::string m_strFont = "Sans";

    bool operator==(const ProjectSettings&) const = default;

    // Values at program start are the member initialisers above.
    // After New: everything back to its default except author and e-mail; background "#FFFFFF".
    void ApplyAfterNew();
    // After Clear: size 640 x 480, background "#FFFFFF", placement 0, no slide show, no music.
    void ApplyClear();
};

// The settings a newly created project has: start values with the after-New changes.
ProjectSettings NewProjectSettings();

} // namespace model
