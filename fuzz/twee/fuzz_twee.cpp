// Fuzz target for the Twee reader and the import behind it.
#include "../interop_checks.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        CheckImported(interop::ReadTwee({reinterpret_cast<const char*>(data), size}));
    } catch (const interop::StoryError&) {
    }
    return 0;
}
