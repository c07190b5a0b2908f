// The credit line at the bottom right with its shadow, and the invisible credit and author buttons
// under it.
#include "movie/gift_builder.h"
#include "movie/gift_generation.h"
#include "movie/gift_layout.h"
#include "movie/gift_scripts.h"
#include "movie/gift_shapes.h"
#include "swf/as/compiler.h"
#include "swf/error.h"

namespace movie {

namespace {

std::shared_ptr<swf::Text> CreditLine(const std::shared_ptr<swf::Font>& font, swf::Rgba colour,
                                      const std::string& text) {
    if (!font) {
        throw swf::Error("the gift's fonts are not loaded");
    }
    auto line = std::make_shared<swf::Text>();
    line->set_font(font);
    line->set_color(colour);
    line->set_height(14);
    line->add_string(text);
    return line;
}

std::shared_ptr<swf::Button> InvisibleButton(const std::shared_ptr<swf::Shape>& face) {
    if (!face) {
        throw swf::Error("the button's face is missing");
    }
    auto button = std::make_shared<swf::Button>();
    button->add_shape(face, swf::button_state::all);
    return button;
}

void AttachScript(const std::shared_ptr<swf::Button>& button, const std::string& script, uint16_t event) {
    if (!button) {
        throw swf::Error("the button is missing");
    }
    if (auto bytes = swf::as::compile(script)) {
        button->add_action(swf::Action(std::move(*bytes)), event);
    }
}

void Place(GiftGeneration& gen, const std::shared_ptr<swf::Text>& text, Point at) {
    if (!text) {
        throw swf::Error("the text is missing");
    }
    swf::DisplayItem item = gen.movie.add(text);
    gen.cardItems.push_back(item);
    item.move_to(at.x, at.y);
}

void Place(GiftGeneration& gen, const std::shared_ptr<swf::Button>& button, Point at) {
    if (!button) {
        throw swf::Error("the button is missing");
    }
    swf::DisplayItem item = gen.movie.add(button);
    gen.cardItems.push_back(item);
    item.move_to(at.x, at.y);
}

} // namespace

void GiftBuilder::AddCredit(GiftGeneration& gen, const CardPlan& plan) {
    const model::ProjectSettings& s = m_project.settings;
    if (!plan.credit) {
        return;
    }
    const std::string& text = plan.credit->text.text;
    const bool author = plan.credit->author_button;
    using namespace app::reasons;

    if (!gen.creditText) {
        Step(kPromoteLinkText, [&] {
            gen.creditText = CreditLine(m_titleFont, {0, 0, 0, 255}, text);
            TipMissingCharacter(gen, *gen.creditText, text);
        });
    }
    if (!gen.creditShadow) {
        Step(kPromoteLinkShadow, [&] {
            gen.creditShadow = CreditLine(m_titleFont, {128, 128, 128, 255}, text);
        });
    }
    if (!gen.creditFace) {
        Step(kButtonBackground, [&] { gen.creditFace = ColourRectangle(140, 30, Rgb{255, 255, 255}, 0); });
    }
    if (author && !gen.authorFace) {
        Step(kAuthorButtonBackground, [&] {
            gen.authorFace = ColourRectangle(150, 30, Rgb{255, 255, 255}, 0);
        });
    }
    if (!gen.creditButton) {
        Step(kPromoteButtonShape, [&] { gen.creditButton = InvisibleButton(gen.creditFace); });
    }
    if (author && !gen.authorButton) {
        Step(kNewButton, [&] { gen.authorButton = InvisibleButton(gen.authorFace); });
    }
    if (gen.wholeMovie && !gen.creditActionAdded) {
        gen.creditActionAdded = Step(kButtonAction, [&] {
            AttachScript(gen.creditButton, CreditScript(s.m_strEmail), swf::button_event::release_over);
        });
    }
    if (gen.wholeMovie && author && !gen.authorActionAdded) {
        gen.authorActionAdded = Step(kEmailSentLink, [&] {
            AttachScript(gen.authorButton, AuthorScript(s.m_strEmail), swf::button_event::press);
        });
    }

    const CreditPositions& at = plan.credit->at;
    Step(kPromoteButton, [&] {
        if (!m_titleFont) {
            throw swf::Error("the gift's fonts are not loaded");
        }
        Place(gen, gen.creditButton, at.credit_button);
    });
    if (gen.authorButton) {
        Step(kAuthorButton, [&] { Place(gen, gen.authorButton, at.author_button); });
    }
    Step(kPromoteTextShadow, [&] { Place(gen, gen.creditShadow, at.shadow); });
    Step(kPromoteText, [&] { Place(gen, gen.creditText, at.text); });
}

} // namespace movie
