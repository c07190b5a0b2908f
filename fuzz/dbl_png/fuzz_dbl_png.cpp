// Feeds arbitrary bytes to the web page's .dbl reader: every failure must come back as web::WebError.
#include "web/dbl_png.h"
#include "web/font_subset.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        (void)web::DblToPng({data, size});
    } catch (const web::WebError&) {
    }
    return 0;
}
