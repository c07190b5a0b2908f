#include "model/project_settings.h"

namespace model {

void ProjectSettings::ApplyAfterNew() {
    ProjectSettings fresh;
    fresh.m_strAuthor = m_strAuthor;
    fresh.m_strEmail = m_strEmail;
    fresh.m_strBackground = "#FFFFFF";
    *this = fresh;
}

void ProjectSettings::ApplyClear() {
    m_nGiftWidth = 640;
    m_nGiftHeight = 480;
    m_strBackground = "#FFFFFF";
    m_nBgAlign = 0;
    m_strSlideSeconds.clear();
    m_bSlideShow = 0;
    m_strMusic.clear();
}

ProjectSettings NewProjectSettings() {
    ProjectSettings s;
    s.ApplyAfterNew();
    return s;
}

} // namespace model
