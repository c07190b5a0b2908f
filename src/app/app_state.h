// Process-wide state that is not part of a saved project.
#pragma once

#include <string>

namespace app {

inline constexpr int kDefaultPictureQuality = 70;

struct AppState {
    std::string m_strProjectPath;                   // file last opened or saved; empty if never saved
    int m_nPictureQuality = kDefaultPictureQuality; // JPEG quality 0..100 for converted pictures

    // New resets both; loading a project keeps the picture quality.
    void ApplyAfterNew() {
        m_strProjectPath.clear();
        m_nPictureQuality = kDefaultPictureQuality;
    }
};

} // namespace app
