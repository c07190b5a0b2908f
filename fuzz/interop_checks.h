// What every imported story must hold, shared by the two story fuzz targets: the project's limits, and
// an export of it that imports again.
#pragma once

#include "interop/story_import.h"
#include "interop/story_readers.h"
#include "interop/text_utf8.h"
#include "interop/twee_writer.h"

#include <cstdlib>

inline void CheckImported(const interop::Story& story) {
    interop::ImportResult r;
    try {
        r = interop::ImportStory(story);
    } catch (const interop::StoryError&) {
        return;
    }
    if (r.project.cards.empty() || r.project.CardCount() > model::kMaxCards) {
        std::abort();
    }
    for (const auto& card : r.project.cards) {
        if (interop::CharCount(card->m_strTitle) > interop::kTitleChars ||
            card->m_pLinks->Count() > model::kMaxLinks) {
            std::abort();
        }
        for (const auto& link : card->m_pLinks->m_pLinkList) {
            if (interop::CharCount(link->m_strTitle) > interop::kCaptionChars || link->m_nGoto < 0 ||
                link->m_nGoto > r.project.CardCount()) {
                std::abort();
            }
        }
    }
    const interop::ImportResult again =
        interop::ImportStory(interop::ReadTwee(interop::ExportTwee(r.project).twee));
    if (again.project.CardCount() != r.project.CardCount()) {
        std::abort();
    }
}
