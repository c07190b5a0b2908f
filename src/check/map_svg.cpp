#include "check/map_svg.h"

#include "app/markup_escape.h"

#include <cstdio>
#include <map>

namespace check {

namespace {

constexpr double kMargin = 8;

// Control characters are not allowed in XML 1.0: they become spaces.
std::string Escaped(std::string_view text) {
    std::string plain(text);
    for (char& c : plain) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            c = ' ';
        }
    }
    return app::EscapeMarkup(plain);
}

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string Point(const MapPoint& p) {
    return Num(p.x + kMargin) + "," + Num(p.y + kMargin);
}

std::string CurvePath(const std::vector<MapPoint>& curve) {
    std::string d;
    for (size_t i = 0; i < curve.size(); ++i) {
        d += i == 0 ? "M" : (i % 3 == 1 ? " C" : " ");
        d += Point(curve[i]);
    }
    return d;
}

// A filled triangle from the curve's end towards the tip.
std::string ArrowHead(const MapArrow& a) {
    if (a.curve.empty()) {
        return {};
    }
    const MapPoint from = a.curve.back();
    const double dx = a.head.x - from.x;
    const double dy = a.head.y - from.y;
    const double px = -dy * 0.35;
    const double py = dx * 0.35;
    return Point(a.head) + " " + Point({from.x + px, from.y + py}) + " " + Point({from.x - px, from.y - py});
}

} // namespace

std::string StoryMapToSvg(const StoryMap& map, const std::vector<Finding>& findings) {
    std::map<int, Severity> worst;
    for (const Finding& f : findings) {
        if (f.card >= 0 && (!worst.contains(f.card) || f.severity == Severity::Error)) {
            worst[f.card] = f.severity;
        }
    }
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      Num(map.width + 2 * kMargin) + "\" height=\"" + Num(map.height + 2 * kMargin) +
                      "\" font-family=\"sans-serif\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (const MapArrow& a : map.arrows) {
        svg += "<g class=\"" + std::string(a.then ? "then" : "goto") + "\" data-from=\"" +
               std::to_string(a.from + 1) + "\" data-to=\"" + std::to_string(a.to + 1) + "\" data-link=\"" +
               std::to_string(a.link + 1) + "\">";
        svg += "<path d=\"" + CurvePath(a.curve) + "\" fill=\"none\" stroke=\"#555555\"" +
               (a.then ? " stroke-dasharray=\"5,3\"" : "") + "/>";
        svg += "<polygon points=\"" + ArrowHead(a) + "\" fill=\"#555555\"/>";
        if (a.then) {
            svg += "<text x=\"" + Num(a.labelAt.x + kMargin + 4) + "\" y=\"" +
                   Num(a.labelAt.y + kMargin + 3) + "\" font-size=\"9\" fill=\"#333333\">" +
                   Escaped(a.label) + "</text>";
        }
        svg += "</g>\n";
    }
    for (const MapBox& b : map.boxes) {
        const auto w = worst.find(b.card);
        const char* frame = w == worst.end()               ? "#2781c4"
                            : w->second == Severity::Error ? "#d0021b"
                                                           : "#e69500";
        svg += "<g class=\"card\" data-card=\"" + std::to_string(b.card + 1) + "\">";
        svg += "<rect x=\"" + Num(b.centre.x - b.width / 2 + kMargin) + "\" y=\"" +
               Num(b.centre.y - b.height / 2 + kMargin) + "\" width=\"" + Num(b.width) + "\" height=\"" +
               Num(b.height) + "\" rx=\"3\" fill=\"#f4f8fc\" stroke=\"" + frame + "\"" +
               (w == worst.end() ? "" : " stroke-width=\"2\"") + "/>";
        svg += "<text x=\"" + Num(b.centre.x + kMargin) + "\" y=\"" + Num(b.centre.y + kMargin + 4) +
               "\" font-size=\"11\" text-anchor=\"middle\">" + Escaped(b.title) + "</text>";
        svg += "</g>\n";
    }
    svg += "</svg>\n";
    return svg;
}

} // namespace check
