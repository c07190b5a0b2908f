// Feeds arbitrary bytes to the shrinking JPEG decoder of the thumbnails, at the smallest scale and at a
// larger one: every failure must come back as imaging::Error, and a decoded picture must be as large as
// asked and hold exactly its pixels.
#include "imaging/jpeg_shrunk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const imaging::Size atLeast : {imaging::Size{1, 1}, imaging::Size{40, 30}}) {
        try {
            // At most a megapixel, so the fuzzer measures the decoder rather than memory.
            const auto picture = imaging::DecodeJpegShrunk({data, size}, atLeast, 1 << 20);
            if (picture &&
                (picture->size.width < atLeast.width || picture->size.height < atLeast.height ||
                 picture->rgb.size() != size_t(picture->size.width) * size_t(picture->size.height) * 3)) {
                std::abort();
            }
        } catch (const imaging::Error&) {
        }
    }
    return 0;
}
