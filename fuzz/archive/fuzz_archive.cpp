// Feeds arbitrary bytes to the project file reader. Whatever it accepts must write back to bytes that
// read as the same project and write identically again.
#include "model/archive.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const model::Project project = model::ReadProject({data, size});
        const std::vector<uint8_t> written = model::WriteProject(project);
        const model::Project again = model::ReadProject(written);
        if (!(again == project) || model::WriteProject(again) != written) {
            std::abort();
        }
    } catch (const model::ArchiveError&) {
    }
    return 0;
}
