// Small rules of the gift movie: the frame rate, the button row and the credit items.
#pragma once

#include "movie/card_text.h"

#include <string>
#include <string_view>

namespace movie {

// The frame rate the slide-show interval asks for: "" and "0" (and any text reading as 0) give 0,
// otherwise 1 / seconds ("0.5" -> 2, "10" -> 0.1).
double SlideShowRate(std::string_view slide_seconds);

// The rate written into the movie. A rate of 0 is written as 12 frames per second: players run a movie
// at rate 0 as fast as they can. Other rates are kept within what the file's 8.8 fixed-point field holds.
double WrittenFrameRate(std::string_view slide_seconds);

// The over face of a colour button: each of red, green and blue reduced by 20, modulo 256.
Rgb OverFaceColour(Rgb normal);

// Buttons of a card run along the bottom from x = 20; each advances by its width + 15, truncated.
inline constexpr int kFirstButtonX = 20;
int NextButtonX(int x, float button_width);

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

// Where a caption of width `caption_width` goes on the button at `button_x`: centred on the face, or
// at (x, H - 40) for a clip face.
Point CaptionPosition(int button_x, float button_w, float button_h, double caption_width, int stage_h,
                      bool clip_face);

// "Created By: Cardwright", or "Created By: " + author + " & Cardwright" for any other author.
inline constexpr std::string_view kProgramName = "Cardwright";
std::string CreditText(std::string_view author);
bool AuthorIsProgram(std::string_view author);

// A card shows the credit items when the project promotes on the last card and either on every card
// or the card has no links.
bool ShowsCredit(int promote_last, int promote_each, size_t link_count);

struct CreditPositions {
    Point credit_button;
    Point author_button;
    Point shadow;
    Point text;
};
CreditPositions PlaceCredit(int stage_w, int stage_h, double text_width);

} // namespace movie
