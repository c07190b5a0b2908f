// Feeds arbitrary project files to the gift checker and the story map: whatever the reader accepts must
// be checked and laid out without a crash, and every finding must name a card and link that exist.
#include "check/checker.h"
#include "check/map_svg.h"
#include "check/story_map.h"
#include "model/archive.h"

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    model::Project project;
    try {
        project = model::ReadProject({data, size});
    } catch (const model::ArchiveError&) {
        return 0;
    }
    if (project.CardCount() > 300) {
        return 0; // the layout of a huge map says nothing more and takes long
    }
    const auto findings = check::CheckProject(project, {"/nonexistent", {}});
    for (const check::Finding& f : findings) {
        if (f.card >= project.CardCount() ||
            (f.link >= 0 && (f.card < 0 || f.link >= project.cards[f.card]->m_pLinks->Count()))) {
            std::abort();
        }
    }
    try {
        const check::StoryMap map = check::LayOutStoryMap(project);
        if (static_cast<int>(map.boxes.size()) != project.CardCount()) {
            std::abort();
        }
        (void)check::StoryMapToSvg(map, findings);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
