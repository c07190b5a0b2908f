#include "editor/labels.h"

#include <algorithm>
#include <cctype>

namespace editor {

namespace {

bool ContainsSwf(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find(".swf") != std::string::npos;
}

} // namespace

std::string CardLabel(const model::Project& project, int card) {
    const model::CCardInfo& info = *project.cards.at(card);
    std::string label = info.m_strTitle.empty() ? "[Card " + std::to_string(card + 1) + "]" : info.m_strTitle;
    const int links = info.m_pLinks->Count();
    if (links > 0) {
        label += " {" + std::to_string(links) + "}";
    }
    return label;
}

std::string LinkLabel(const model::Project& project, const model::CLinkInfo& link) {
    const bool inList = link.m_nGoto >= 0 && link.m_nGoto < project.CardCount();
    const std::string target = inList ? project.cards[link.m_nGoto]->m_strTitle : std::string();
    std::string label = link.m_strTitle;
    if (!target.empty()) {
        label += " (" + target + ")";
    }
    if (link.m_nScore != 0) {
        label += " [" + std::to_string(link.m_nScore) + "]";
    }
    return label;
}

bool UsesFlashBackground(const model::Project& project, const model::CCardInfo& card) {
    return ContainsSwf(card.m_strBackground) || ContainsSwf(project.settings.m_strButton);
}

} // namespace editor
