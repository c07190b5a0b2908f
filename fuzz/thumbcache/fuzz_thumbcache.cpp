// Feeds arbitrary bytes to the thumbnail cache's index reader and its PPM reader: whatever they accept
// must be well formed (sizes in range, PPM names that stay inside the cache folder, lines that write back
// to the same entries), and nothing may crash.
#include "imaging/thumbnail_cache.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string written = std::string(imaging::kThumbnailIndexHeader) + "\n";
    for (const auto& entry : imaging::ParseThumbnailIndex(text)) {
        if (entry.size.width < 1 || entry.size.height < 1 || entry.size.width > imaging::kMaxThumbnailSide ||
            entry.size.height > imaging::kMaxThumbnailSide ||
            entry.file.find_first_of("/\\") != std::string::npos || entry.path.empty()) {
            std::abort();
        }
        written += imaging::FormatThumbnailIndexLine(entry);
    }
    const auto again = imaging::ParseThumbnailIndex(written);
    if (again != imaging::ParseThumbnailIndex(text)) {
        std::abort(); // what was read must write back to the same entries
    }
    (void)imaging::DecodePpm(text, {2, 2});
    return 0;
}
