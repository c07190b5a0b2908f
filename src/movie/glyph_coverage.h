// Which characters of a card's texts the gift's fonts cannot draw, found as the builder draws them: the
// same two faces with their fallbacks, the same comment lines, and the builder's own tip as the message.
#pragma once

#include "app/workspace.h"
#include "model/project.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace movie {

class GiftBuilder;

class GlyphCoverage {
public:
    // Loads the fonts of the project's face (the builder's choice of files); when they cannot be loaded,
    // every text passes.
    GlyphCoverage(const model::ProjectSettings& settings, const app::Workspace& workspace);
    ~GlyphCoverage();
    GlyphCoverage(const GlyphCoverage&) = delete;
    GlyphCoverage& operator=(const GlyphCoverage&) = delete;

    // The tip for the first character no face draws: in a card title (title face), in a comment (body
    // face, line by line as the card shows it) or in a link caption (body face).
    std::optional<std::string> TitleTip(std::string_view title) const;
    std::optional<std::string> CommentTip(std::string_view comment) const;
    std::optional<std::string> CaptionTip(std::string_view caption) const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace movie
