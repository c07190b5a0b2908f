#include "movie/glyph_coverage.h"

#include "app/app_state.h"
#include "app/error_report.h"
#include "movie/card_text.h"
#include "movie/gift_builder.h"
#include "movie/gift_messages.h"

#include <cstdio>

namespace movie {

namespace {

class QuietReporter : public app::ErrorReporter {
public:
    QuietReporter() : ErrorReporter(nullptr) {}
    void tip(std::string_view) override {}

protected:
    bool AskToSave(const std::string&) override { return false; }
};

std::optional<std::string> Tip(const std::shared_ptr<swf::Font>& font, std::string_view text) {
    if (!font) {
        return std::nullopt;
    }
    swf::Text probe;
    probe.set_font(font);
    probe.add_string(WithoutCarriageReturns(text));
    const auto missing = probe.missing_character();
    if (!missing) {
        return std::nullopt;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*missing));
    return TipMissingCharacter(text, code);
}

} // namespace

struct GlyphCoverage::Parts {
    model::Project fontsOnly; // the builder reads the face from a project's settings
    app::AppState state;
    app::Workspace workspace;
    QuietReporter reporter;
    std::unique_ptr<GiftBuilder> builder;
    explicit Parts(const app::Workspace& w) : workspace(w) {}
};

GlyphCoverage::GlyphCoverage(const model::ProjectSettings& settings, const app::Workspace& workspace)
    : m_parts(std::make_unique<Parts>(workspace)) {
    m_parts->fontsOnly.settings = settings;
    m_parts->builder = std::make_unique<GiftBuilder>(m_parts->fontsOnly, m_parts->state, m_parts->workspace,
                                                     m_parts->reporter);
    try {
        m_parts->builder->LoadGiftFonts(1);
    } catch (const std::exception&) {
        // No fonts: the builder reports that itself when it makes the gift.
    }
}

GlyphCoverage::~GlyphCoverage() = default;

std::optional<std::string> GlyphCoverage::TitleTip(std::string_view title) const {
    try {
        return Tip(m_parts->builder->TitleFont(), title);
    } catch (const std::exception&) {
        return std::nullopt; // a fallback face that cannot be read: the builder reports it
    }
}

std::optional<std::string> GlyphCoverage::CommentTip(std::string_view comment) const {
    try {
        for (const std::string& line : CommentLines(comment)) {
            if (auto tip = Tip(m_parts->builder->BodyFont(), line)) {
                return tip;
            }
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

std::optional<std::string> GlyphCoverage::CaptionTip(std::string_view caption) const {
    try {
        return Tip(m_parts->builder->BodyFont(), caption);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace movie
