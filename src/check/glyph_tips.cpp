#include "check/glyph_tips.h"

#include "movie/glyph_coverage.h"

#include <memory>

namespace check {

GlyphTip MakeGlyphTip(const model::ProjectSettings& settings, const app::Workspace& workspace) {
    auto coverage = std::make_shared<movie::GlyphCoverage>(settings, workspace);
    return [coverage](TextRole role, std::string_view text) -> std::optional<std::string> {
        switch (role) {
        case TextRole::Title:
            return coverage->TitleTip(text);
        case TextRole::Comment:
            return coverage->CommentTip(text);
        case TextRole::Caption:
            return coverage->CaptionTip(text);
        }
        return std::nullopt;
    };
}

} // namespace check
