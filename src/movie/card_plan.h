// The plan of a card: what it shows where (text lines with their face, size, colour and origin, the
// background, the link buttons with their captions and actions, the credit items) and what it does
// (link scores, conditions and targets, the e-mail alert). The movie writer and the web page writer both
// draw from it, so line breaks, positions and actions are decided in one place.
#pragma once

#include "model/card_info.h"
#include "model/project_settings.h"
#include "movie/card_text.h"
#include "movie/gift_layout.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movie {

enum class FontRole { Title, Body };

// One line of text: the origin is on the baseline at the left end of the first glyph.
struct PlannedText {
    std::string text; // as drawn: carriage returns left out
    Rgb colour;
    double size = 0;
    Point at;
    FontRole font = FontRole::Body;
};

struct PlannedBackground {
    Rgb colour;                    // the colour rectangle under everything
    std::filesystem::path picture; // the resolved picture or clip; empty for a colour alone
    bool clip = false;             // a Flash clip (only a movie can show it)
    int placement = 4;             // placement code of the picture on the stage
    int convert_code = 4;          // placement code the picture is converted by (always the card's)
};

// The face of every link button of a gift, from the project's button style.
enum class ButtonFaceKind { Colour, Clip, Picture };
struct ButtonFace {
    ButtonFaceKind kind = ButtonFaceKind::Colour;
    std::filesystem::path path; // the clip or picture
    Rgb normal;                 // a colour face and its over face
    Rgb over;
};

struct PlannedLink {
    PlannedText caption;
    double caption_width = 0;
    int x = 0; // the button's top left
    int y = 0;
    float width = 0;
    float height = 0;
    // The action: add `score`, then with a comparison `op` ("", ">", ">=", "==", "<=", "<") go to card
    // `then_goto` when the new score compares true with `compare_value`, else to `goto_card` (0-based).
    int score = 0;
    std::string op;
    int compare_value = 0;
    int then_goto = 0;
    int goto_card = 0;
    std::string trace_entry; // appended to the visit trace: "CARD[-]LINK[N]"
};

struct PlannedCredit {
    PlannedText text;
    PlannedText shadow;
    CreditPositions at; // the button boxes' top left corners
    bool author_button = false;
    std::string credit_url; // opened in a new window
    std::string author_url; // "mailto:" + address, in a new window
};

struct CardPlan {
    PlannedBackground background;
    std::array<PlannedText, 2> title;
    std::vector<PlannedText> comment;
    std::vector<PlannedLink> links;
    std::optional<PlannedCredit> credit;
    // With an e-mail alert: the URL opened on entering the card is this followed by the escaped trace.
    std::optional<std::string> alert_url;
};

// Widths of UTF-8 text in pixels at a height, as the gift's two faces lay it out.
struct PlanFonts {
    std::function<double(std::string_view, double)> title;
    std::function<double(std::string_view, double)> body;
};

// Resolves a project reference ("Background\x.jpg") to a file.
using ResolveFn = std::function<std::filesystem::path(std::string_view)>;

ButtonFace PlanButtonFace(const model::ProjectSettings& settings, const ResolveFn& resolve);

// The plan of `card`; `button_w` x `button_h` is the link buttons' size (60 x 30 for a colour or clip
// face, the picture's size for a picture face).
CardPlan PlanCard(const model::ProjectSettings& settings, const model::CCardInfo& card,
                  const PlanFonts& fonts, const ResolveFn& resolve, float button_w, float button_h);

// The card's background colour and picture, as the project and the card choose them.
PlannedBackground PlanBackground(const model::ProjectSettings& settings, const model::CCardInfo& card,
                                 const ResolveFn& resolve);

} // namespace movie
