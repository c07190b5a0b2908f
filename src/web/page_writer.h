// The gift as a web page: one self-contained .html file made from the project, every card in plain
// HTML with the runtime of runtime.js and runtime.css, the faces cut to the characters the gift uses,
// the pictures and the music as data: URLs. The page makes no request.
//
//     movie::GiftBuilder builder(project, state, workspace, reporter);
//     if (auto clip = web::FlashClipOf(project, builder)) { ... the player page instead ... }
//     web::WriteWebPage(builder, project, {web::LanguageTag(locale)}, "gift.html");
#pragma once

#include "model/project.h"
#include "movie/gift_builder.h"
#include "web/font_subset.h"

#include <filesystem>
#include <optional>
#include <string>

namespace web {

struct PageOptions {
    std::string lang = "en"; // the author's language tag
};

// The first Flash clip the gift uses (a card's background, the button style or the music), which a page
// cannot draw; nullopt when there is none.
std::optional<std::filesystem::path> FlashClipOf(const model::Project& project,
                                                 const movie::GiftBuilder& builder);

// The one line that says why a gift with a Flash clip gets the page with the Flash player.
std::string FlashClipMessage(const std::filesystem::path& clip);

// The page of the project. Pictures are converted by the builder (at its picture quality). Throws
// WebError when the fonts cannot be read.
std::string BuildWebPage(movie::GiftBuilder& builder, const model::Project& project,
                         const PageOptions& options);

// Writes the page beside `target`, then renames it over it: a failure leaves an older file as it was.
// Throws WebError with the reason.
void WriteWebPage(movie::GiftBuilder& builder, const model::Project& project, const PageOptions& options,
                  const std::filesystem::path& target);

} // namespace web
