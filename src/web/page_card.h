// One card of the web page: a region with its background, its title as the heading, its comment, its link
// buttons (their actions as data for the runtime) and the credit items, all placed by the card's plan.
#pragma once

#include "model/project_settings.h"
#include "movie/card_plan.h"
#include "movie/gift_builder.h"
#include "web/page_fonts.h"
#include "web/page_pictures.h"

#include <optional>
#include <string>

namespace web {

// What every card of a page shares.
struct CardContext {
    movie::GiftBuilder& builder; // converts the card's picture
    PictureStore& pictures;      // where the card's picture is stored once
    const PageFonts& fonts;
    const movie::ButtonFace& face;
    std::optional<size_t> facePicture; // the picture of a picture face
    const model::ProjectSettings& settings;
};

// The HTML of card `index` (0-based) of the page; author text goes in as text only.
std::string CardHtml(const movie::CardPlan& plan, size_t index, const CardContext& context);

} // namespace web
