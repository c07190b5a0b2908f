// Fuzz target for the .fdb font reader: any input either loads as a font that can measure and draw
// text into a movie, or is refused with swf::Error.
#include "swf/error.h"
#include "swf/font.h"
#include "swf/movie.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const auto font = swf::Font::from_fdb_bytes(std::span<const uint8_t>(data, size));
        const char* sample = "Hello World \xC3\xA9\xC3\x9F\xCE\xA9\xD0\x96";
        font->string_width(sample, 24);
        swf::Movie movie;
        auto text = std::make_shared<swf::Text>();
        text->set_font(font);
        text->set_height(24);
        text->add_string(sample);
        movie.add(text).move_to(10, 40);
        movie.next_frame();
        movie.to_bytes();
    } catch (const swf::Error&) {
        // refused input is the expected outcome for most mutations
    }
    return 0;
}
