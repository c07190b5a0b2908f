// The title (two lines, broken by measured width) and the comment lines of a card.
#include "movie/gift_builder.h"
#include "movie/gift_generation.h"
#include "movie/gift_messages.h"
#include "movie/gift_shapes.h"
#include "swf/error.h"

#include <cstdio>

namespace movie {

namespace {

std::shared_ptr<swf::Text> NewText(const std::shared_ptr<swf::Font>& font, Rgb colour, double height) {
    if (!font) {
        throw swf::Error("the gift's fonts are not loaded");
    }
    auto text = std::make_shared<swf::Text>();
    text->set_font(font);
    text->set_color(Opaque(colour));
    text->set_height(height);
    return text;
}

template <class T> T& Need(const std::shared_ptr<T>& p) {
    if (!p) {
        throw swf::Error("an earlier step failed");
    }
    return *p;
}

} // namespace

void GiftBuilder::TipMissingCharacter(GiftGeneration& gen, const swf::Text& text, std::string_view utf8) {
    const auto missing = text.missing_character();
    if (!missing || gen.missingCharacterReported) {
        return;
    }
    gen.missingCharacterReported = true;
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(*missing));
    m_reporter.tip(movie::TipMissingCharacter(utf8, code));
}

void GiftBuilder::AddTitle(GiftGeneration& gen, const model::CCardInfo& card, Rgb& colour) {
    ReadColour(card.m_strTitleColor, colour);
    std::shared_ptr<swf::Text> line1;
    std::shared_ptr<swf::Text> line2;
    Step(app::reasons::kCreateTitle, [&] {
        line1 = NewText(m_titleFont, colour, 24);
        line2 = NewText(m_titleFont, colour, 24);
    });
    TitleLines lines;
    Step(app::reasons::kTitleLength, [&] {
        const swf::Text& measure = Need(line1);
        lines = BreakTitle(card.m_strTitle, gen.W - 20,
                           [&](std::string_view candidate) { return measure.string_width(candidate); });
    });
    Step(app::reasons::kAddTitle, [&] {
        Need(line1).add_string(WithoutCarriageReturns(lines.line1));
        TipMissingCharacter(gen, *line1, card.m_strTitle);
        swf::DisplayItem first = gen.movie.add(line1);
        gen.cardItems.push_back(first);
        first.move_to(10, 40);
        Need(line2).add_string(WithoutCarriageReturns(lines.line2));
        TipMissingCharacter(gen, *line2, card.m_strTitle);
        swf::DisplayItem second = gen.movie.add(line2);
        gen.cardItems.push_back(second);
        second.move_to(10, 66);
    });
}

void GiftBuilder::AddComment(GiftGeneration& gen, const model::CCardInfo& card, Rgb& colour) {
    ReadColour(card.m_strCommentColor, colour);
    StepWithTip(std::string(kTipComment), [&] {
        int i = 0;
        for (const std::string& line : CommentLines(card.m_strComment)) {
            auto text = NewText(m_bodyFont, colour, 20);
            // The line goes in before the text is placed: placing defines the fonts it uses, and a
            // line may draw from fallback faces.
            text->add_string(WithoutCarriageReturns(line));
            TipMissingCharacter(gen, *text, line);
            swf::DisplayItem item = gen.movie.add(text);
            gen.cardItems.push_back(item);
            item.move_to(10, 100 + 20 * i);
            ++i;
        }
    });
}

} // namespace movie
