#include "movie/gift_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace movie {

double SlideShowRate(std::string_view slide_seconds) {
    if (slide_seconds.empty() || slide_seconds == "0") {
        return 0;
    }
    const std::string copy(slide_seconds);
    const double seconds = std::strtod(copy.c_str(), nullptr);
    if (seconds == 0 || !std::isfinite(seconds)) {
        return 0;
    }
    return 1 / seconds;
}

double WrittenFrameRate(std::string_view slide_seconds) {
    const double rate = SlideShowRate(slide_seconds);
    if (!(rate > 0) || !std::isfinite(rate)) {
        return 12; // rate 0, and a negative interval, which no player can run
    }
    // The file holds the rate as 8.8 fixed point: keep it between its smallest step and its largest value.
    return std::clamp(rate, 1.0 / 256, 255.0 + 255.0 / 256);
}

Rgb OverFaceColour(Rgb normal) {
    return Rgb{uint8_t(normal.red - 20), uint8_t(normal.green - 20), uint8_t(normal.blue - 20)};
}

int NextButtonX(int x, float button_width) {
    return int(double(x) + button_width + 15);
}

Point CaptionPosition(int button_x, float button_w, float button_h, double caption_width, int stage_h,
                      bool clip_face) {
    if (clip_face) {
        return Point{double(button_x), double(stage_h - 40)};
    }
    return Point{button_x + (button_w - caption_width) / 2, (stage_h - 45) + (double(button_h) - 14) / 2};
}

bool AuthorIsProgram(std::string_view author) {
    return author == kProgramName;
}

std::string CreditText(std::string_view author) {
    if (AuthorIsProgram(author)) {
        return "Created By: " + std::string(kProgramName);
    }
    return "Created By: " + std::string(author) + " & " + std::string(kProgramName);
}

bool ShowsCredit(int promote_last, int promote_each, size_t link_count) {
    return promote_last != 0 && (promote_each != 0 || link_count == 0);
}

CreditPositions PlaceCredit(int stage_w, int stage_h, double text_width) {
    const double w = stage_w;
    const double h = stage_h;
    return CreditPositions{
        {w - 140, h - 30}, {w - 300, h - 30}, {w + 2 - text_width, h - 8}, {w - text_width, h - 10}};
}

} // namespace movie
