// Feeds arbitrary bytes to the DC-only JPEG reader of the picker thumbnails: it must either decline or
// give a picture of exactly the size it states, and never read outside the bytes.
#include "imaging/jpeg_eighth.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<imaging::JpegEighth> eighth = imaging::DecodeJpegEighth({data, data + size});
    if (eighth && (eighth->rgb.size() != size_t(eighth->size.width) * size_t(eighth->size.height) * 3 ||
                   eighth->orientation < 1 || eighth->orientation > 8)) {
        std::abort();
    }
    return 0;
}
