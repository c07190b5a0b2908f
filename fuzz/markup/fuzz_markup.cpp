// Tooltip mark-up from any bytes: tokenize, parse, lay out with fixed measurements, hit-test the
// result, and read the same bytes as a style sheet.
#include "tooltip/markup_layout.h"
#include "tooltip/markup_parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const markup::SystemColours system{{"infobackground", markup::Colour{255, 255, 225}}};
    markup::ParseOptions options;
    options.environment.systemColours = &system;

    const markup::FixedMetrics metrics;
    const markup::Document doc = markup::Parse(text, options);
    const markup::LayoutResult layout = markup::Layout(doc, metrics, 300);
    for (const markup::Box& box : layout.boxes) {
        const markup::Hot hot = markup::HitTest(layout, box.rect.x, box.rect.y);
        if (hot.link >= 0 || hot.image >= 0) {
            markup::Layout(doc, metrics, 300, hot); // the hot link may be drawn in another style
            break;
        }
    }

    const markup::StyleSheet sheet = markup::StyleSheet::Parse(text);
    options.styleSheet = &sheet;
    markup::Layout(markup::Parse("<h1>a</h1><span class=x><a msg=1>b</a></span><pre>c\td</pre>", options),
                   metrics);
    return 0;
}
