#include "web/page_card.h"

#include "movie/gift_layout.h"
#include "movie/picture_layout.h"
#include "web/page_text.h"

namespace web {

using movie::CardPlan;
using movie::PlannedText;

namespace {

std::string Css(movie::Rgb c) {
    return CssColour(c.red, c.green, c.blue);
}

// A line of text placed by its baseline origin, as the movie places it: the line box is exactly the
// face's ascent and descent high, so the baseline lies the ascent below its top.
std::string TextLine(const PlannedText& line, const Face& face, const std::string& cls, double dx, double dy,
                     bool hidden) {
    const double em = line.size / face.metrics.units_per_em;
    return "<span class=\"ln " + cls + "\"" + (hidden ? " aria-hidden=\"true\"" : "") +
           " style=\"left:" + Px(line.at.x - dx) + ";top:" + Px(line.at.y - dy - face.metrics.ascender * em) +
           ";font-size:" + Px(line.size) +
           ";line-height:" + Px((face.metrics.ascender + face.metrics.descender) * em) +
           ";color:" + Css(line.colour) + "\">" + EscapeHtml(line.text) + "</span>";
}

} // namespace

std::string CardHtml(const CardPlan& plan, size_t k, const CardContext& ctx) {
    const PageFonts& fonts = ctx.fonts;
    const movie::ButtonFace& face = ctx.face;
    const std::optional<size_t>& facePicture = ctx.facePicture;
    const model::ProjectSettings& s = ctx.settings;
    const double W = s.m_nGiftWidth;
    const double H = s.m_nGiftHeight;
    std::string html;
    const std::string n = std::to_string(k + 1);
    html += "<section class=\"card\" id=\"card" + n + "\" aria-labelledby=\"title" + n + "\"";
    if (plan.alert_url) {
        html += " data-alert=\"" + EscapeHtml(*plan.alert_url) + "\"";
    }
    html += " style=\"background:" + Css(plan.background.colour) + "\">\n";

    const movie::PlannedBackground& bg = plan.background;
    if (!bg.picture.empty() && !bg.clip) {
        if (auto picture = LoadPicture(ctx.builder, bg.picture, int(k), bg.convert_code)) {
            const int pw = picture->width;
            const int ph = picture->height;
            const size_t index = ctx.pictures.Add(std::move(*picture));
            const movie::PicturePlacement at = movie::PlacePicture(pw, ph, int(W), int(H), bg.placement);
            html += "<div class=\"bg p" + std::to_string(index) + "\" style=\"left:" + Px(at.x) +
                    ";top:" + Px(at.y) + ";width:" + Px(at.width) + ";height:" + Px(at.height) +
                    ";background-size:" + Px(pw) + " " + Px(ph) +
                    (at.fill_flags == movie::kTiledBitmapFill ? ";background-repeat:repeat" : "") +
                    "\"></div>\n";
        }
    }

    // The title is the card's heading: its two lines, or the card's number when it has none.
    html += "<h1 id=\"title" + n + "\" tabindex=\"-1\">";
    bool titled = false;
    for (const PlannedText& line : plan.title) {
        if (!line.text.empty()) {
            html += TextLine(line, fonts.title, "ft", 0, 0, false);
            titled = titled || line.text.find_first_not_of(' ') != std::string::npos;
        }
    }
    if (!titled) {
        html += "<span class=\"vh\">Card " + n + "</span>";
    }
    html += "</h1>\n";

    if (!plan.comment.empty()) {
        html += "<p>";
        for (const PlannedText& line : plan.comment) {
            html += TextLine(line, fonts.body, "fb", 0, 0, false) + "\n";
        }
        html += "</p>\n";
    }

    for (size_t i = 0; i < plan.links.size(); ++i) {
        const movie::PlannedLink& link = plan.links[i];
        std::string cls = "link";
        if (face.kind == movie::ButtonFaceKind::Colour) {
            cls += " face";
        } else if (facePicture) {
            cls += " pic p" + std::to_string(*facePicture);
        }
        html += "<button type=\"button\" class=\"" + cls + "\" style=\"left:" + Px(link.x) +
                ";top:" + Px(link.y) + ";width:" + Px(link.width) + ";height:" + Px(link.height) +
                "\" data-score=\"" + std::to_string(link.score) + "\" data-op=\"" + EscapeHtml(link.op) +
                "\" data-value=\"" + std::to_string(link.compare_value) + "\" data-then=\"" +
                std::to_string(link.then_goto) + "\" data-goto=\"" + std::to_string(link.goto_card) +
                "\" data-trace=\"" + EscapeHtml(link.trace_entry) + "\"";
        const bool blank = link.caption.text.find_first_not_of(" \t\r\n") == std::string::npos;
        if (blank) {
            html += " aria-label=\"Link " + std::to_string(i + 1) + "\"";
        }
        html += ">" + TextLine(link.caption, fonts.body, "fb", link.x, link.y, false) + "</button>\n";
    }

    if (plan.credit) {
        const movie::PlannedCredit& credit = *plan.credit;
        html += "<p>" + TextLine(credit.shadow, fonts.title, "ft", 0, 0, true) +
                TextLine(credit.text, fonts.title, "ft", 0, 0, false) + "</p>\n";
        html += "<a class=\"hit\" href=\"" + EscapeHtml(credit.credit_url) +
                "\" target=\"_blank\" rel=\"noopener\" style=\"left:" + Px(credit.at.credit_button.x) +
                ";top:" + Px(credit.at.credit_button.y) + ";width:140px;height:30px\"><span class=\"vh\">" +
                std::string(movie::kProgramName) + "</span></a>\n";
        if (credit.author_button) {
            html += "<a class=\"hit\" href=\"" + EscapeHtml(credit.author_url) +
                    "\" target=\"_blank\" rel=\"noopener\" style=\"left:" + Px(credit.at.author_button.x) +
                    ";top:" + Px(credit.at.author_button.y) +
                    ";width:150px;height:30px\"><span class=\"vh\">Write to " + EscapeHtml(s.m_strAuthor) +
                    "</span></a>\n";
        }
    }
    html += "</section>\n";
    return html;
}

} // namespace web
