#include "movie/card_plan.h"

#include "movie/gift_scripts.h"
#include "movie/gift_shapes.h"

namespace movie {

namespace {

// A carriage return before a line feed belongs to the line but is no glyph.
std::string Drawable(std::string_view line) {
    std::string out;
    for (char c : line) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

double Measure(const std::function<double(std::string_view, double)>& width, std::string_view text,
               double size) {
    return width ? width(text, size) : 0.0;
}

} // namespace

ButtonFace PlanButtonFace(const model::ProjectSettings& settings, const ResolveFn& resolve) {
    ButtonFace face;
    const bool hasHash = settings.m_strButton.find('#') != std::string::npos;
    face.path = hasHash ? std::filesystem::path(settings.m_strButton) : resolve(settings.m_strButton);
    const std::string lowered = Lowered(face.path.string());
    face.kind = hasHash                     ? ButtonFaceKind::Colour
                : EndsWith(lowered, ".swf") ? ButtonFaceKind::Clip
                                            : ButtonFaceKind::Picture;
    if (face.kind == ButtonFaceKind::Colour) {
        ReadColour(lowered, face.normal);
        face.over = OverFaceColour(face.normal);
    }
    return face;
}

PlannedBackground PlanBackground(const model::ProjectSettings& settings, const model::CCardInfo& card,
                                 const ResolveFn& resolve) {
    const bool projectBg = card.m_bProjectBg == 1;
    const std::string& ref = projectBg ? settings.m_strBackground : card.m_strBackground;
    PlannedBackground bg;
    bg.placement = projectBg ? settings.m_nBgAlign : card.m_nBgAlign;
    bg.convert_code = card.m_nBgAlign;
    if (ref.find('#') != std::string::npos) {
        ReadColour(Lowered(ref), bg.colour);
        return bg;
    }
    bg.picture = resolve(ref);
    bg.clip = EndsWith(Lowered(bg.picture.string()), ".swf");
    return bg;
}

CardPlan PlanCard(const model::ProjectSettings& s, const model::CCardInfo& card, const PlanFonts& fonts,
                  const ResolveFn& resolve, float button_w, float button_h) {
    CardPlan plan;
    plan.background = PlanBackground(s, card, resolve);
    const double W = s.m_nGiftWidth;
    const int H = s.m_nGiftHeight;

    // One colour is carried from the background to the title and the comment: a colour that does not
    // read keeps the one before.
    Rgb colour = plan.background.colour;
    ReadColour(card.m_strTitleColor, colour);
    const TitleLines lines = BreakTitle(card.m_strTitle, W - 20, [&](std::string_view candidate) {
        return Measure(fonts.title, candidate, 24);
    });
    plan.title[0] = PlannedText{Drawable(lines.line1), colour, 24, {10, 40}, FontRole::Title};
    plan.title[1] = PlannedText{Drawable(lines.line2), colour, 24, {10, 66}, FontRole::Title};

    ReadColour(card.m_strCommentColor, colour);
    int i = 0;
    for (const std::string& line : CommentLines(card.m_strComment)) {
        plan.comment.push_back(PlannedText{Drawable(line), colour, 20, {10, 100.0 + 20 * i}, FontRole::Body});
        ++i;
    }

    Rgb captionColour{0, 0, 0};
    ReadColour(s.m_strButtonTextColor, captionColour);
    const bool clipFace = PlanButtonFace(s, resolve).kind == ButtonFaceKind::Clip;
    int x = kFirstButtonX;
    for (const std::unique_ptr<model::CLinkInfo>& entry : card.m_pLinks->m_pLinkList) {
        if (!entry) {
            continue;
        }
        const model::CLinkInfo& link = *entry;
        PlannedLink planned;
        planned.caption_width = Measure(fonts.body, link.m_strTitle, 14);
        const Point at = CaptionPosition(x, button_w, button_h, planned.caption_width, H, clipFace);
        planned.caption = PlannedText{link.m_strTitle, captionColour, 14, at, FontRole::Body};
        planned.x = x;
        planned.y = H - 60;
        planned.width = button_w;
        planned.height = button_h;
        planned.score = link.m_nScore;
        planned.op = std::string(ScriptOperator(link.m_strCompare));
        planned.compare_value = link.m_nCompareValue;
        planned.then_goto = link.m_nThenGoto;
        planned.goto_card = link.m_nGoto;
        planned.trace_entry = card.m_strTitle + "[-]" + link.m_strTitle + "[N]";
        plan.links.push_back(std::move(planned));
        x = NextButtonX(x, button_w);
    }

    if (ShowsCredit(s.m_bPromoteLast, s.m_bPromoteEach, card.m_pLinks->m_pLinkList.size())) {
        PlannedCredit credit;
        const std::string text = CreditText(s.m_strAuthor);
        credit.at = PlaceCredit(int(W), H, Measure(fonts.title, text, 14));
        credit.text = PlannedText{text, Rgb{0, 0, 0}, 14, credit.at.text, FontRole::Title};
        credit.shadow = PlannedText{text, Rgb{128, 128, 128}, 14, credit.at.shadow, FontRole::Title};
        credit.author_button = !AuthorIsProgram(s.m_strAuthor);
        credit.credit_url = CreditUrl(s.m_strEmail);
        credit.author_url = AuthorUrl(s.m_strEmail);
        plan.credit = std::move(credit);
    }
    if (card.m_bMailAlert == 1) {
        plan.alert_url = MailAlertUrl(card.m_strTitle, s.m_strEmail);
    }
    return plan;
}

} // namespace movie
