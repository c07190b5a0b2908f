// Feeds arbitrary bytes to the picture loader and, for pictures of a sane size, decodes and re-encodes
// them: every failure must come back as imaging::Error.
#include "imaging/picture.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        imaging::Picture picture = imaging::Picture::LoadFromBuffer({data, size});
        const imaging::Size s = picture.size();
        // Headers can claim any size; decode only what stays small, so the fuzzer measures the decoders
        // rather than memory.
        if (s.width > 0 && s.height > 0 && static_cast<int64_t>(s.width) * s.height <= 1 << 20) {
            (void)picture.Resized({(s.width + 1) / 2, (s.height + 1) / 2}).EncodeJpeg(50);
        }
    } catch (const imaging::Error&) {
    }
    return 0;
}
