// What one generation of a movie holds: the movie, the faces and credit items made once and shared by
// all cards, and the display items of the card being built. Released as a whole when it ends.
#pragma once

#include "swf/button.h"
#include "swf/movie.h"
#include "swf/shape.h"
#include "swf/text.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace movie {

struct GiftGeneration {
    swf::Movie movie;
    double W = 0;
    double H = 0;
    bool wholeMovie = false;
    int forceConvert = 0;
    // The project's button style, or the colour that replaced a clip that could not be imported.
    std::string buttonStyle;

    // Button size, unknown (-1) until the first face is made.
    float buttonWidth = -1.0f;
    float buttonHeight = -1.0f;

    // Shared faces of the link buttons.
    std::shared_ptr<swf::Shape> normalFace;
    std::shared_ptr<swf::Shape> overFace;
    std::shared_ptr<swf::Shape> pictureFace;
    std::shared_ptr<swf::Shape> invisibleFace;
    bool pictureFaceTried = false;

    // Credit items, made at the first card that shows them.
    std::shared_ptr<swf::Text> creditText;
    std::shared_ptr<swf::Text> creditShadow;
    std::shared_ptr<swf::Shape> creditFace;
    std::shared_ptr<swf::Shape> authorFace;
    std::shared_ptr<swf::Button> creditButton;
    std::shared_ptr<swf::Button> authorButton;
    bool creditActionAdded = false;
    bool authorActionAdded = false;

    std::optional<swf::Action> stopAction;

    // A character no font has is reported once per movie.
    bool missingCharacterReported = false;

    // Everything the current card placed, in the order it is removed after the card's frame.
    std::vector<swf::DisplayItem> cardItems;
    std::vector<swf::DisplayItem> linkItems;
};

} // namespace movie
