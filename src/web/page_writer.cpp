#include "web/page_writer.h"

#include "movie/card_plan.h"
#include "movie/gift_layout.h"
#include "movie/gift_shapes.h"
#include "movie/picture_layout.h"
#include "web/page_card.h"
#include "web/page_fonts.h"
#include "web/page_lang.h"
#include "web/page_pictures.h"
#include "web/page_text.h"
#include "web/runtime.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <system_error>

namespace web {

namespace fs = std::filesystem;
using movie::CardPlan;
using movie::PlannedText;

namespace {

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool IsClipFile(const fs::path& path) {
    return movie::EndsWith(movie::Lowered(path.string()), ".swf");
}

std::string Css(movie::Rgb c) {
    return CssColour(c.red, c.green, c.blue);
}

std::string HexToBase64(std::string_view hex) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(uint8_t(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return Base64(bytes);
}

} // namespace

std::optional<fs::path> FlashClipOf(const model::Project& project, const movie::GiftBuilder& builder) {
    const auto resolve = [&](std::string_view ref) { return builder.ResolveAsset(ref); };
    const model::ProjectSettings& s = project.settings;
    if (!s.m_strMusic.empty()) {
        const fs::path music = resolve(s.m_strMusic);
        if (IsClipFile(music) && Exists(music)) {
            return music;
        }
    }
    const movie::ButtonFace face = movie::PlanButtonFace(s, resolve);
    const bool anyLinks = std::any_of(project.cards.begin(), project.cards.end(),
                                      [](const auto& card) { return card->m_pLinks->Count() > 0; });
    if (anyLinks && face.kind == movie::ButtonFaceKind::Clip && Exists(face.path)) {
        return face.path;
    }
    for (const auto& card : project.cards) {
        const movie::PlannedBackground bg = movie::PlanBackground(s, *card, resolve);
        if (bg.clip && Exists(bg.picture)) {
            return bg.picture;
        }
    }
    return std::nullopt;
}

std::string FlashClipMessage(const fs::path& clip) {
    return "the gift uses the Flash clip " + clip.filename().string() +
           ", which a web page cannot show: the page plays the movie with the Flash player instead";
}

std::string BuildWebPage(movie::GiftBuilder& builder, const model::Project& project,
                         const PageOptions& options) {
    const model::ProjectSettings& s = project.settings;
    try {
        builder.LoadGiftFonts(0);
    } catch (const std::exception&) {
        // The widths are then 0, as in the movie; the faces below report what is wrong.
    }
    const auto resolve = [&](std::string_view ref) { return builder.ResolveAsset(ref); };
    PictureStore pictures;

    // The buttons' face: a colour, or a picture whose size is the buttons' size.
    const movie::ButtonFace face = movie::PlanButtonFace(s, resolve);
    float buttonW = 60;
    float buttonH = 30;
    std::optional<size_t> facePicture;
    const bool anyLinks = std::any_of(project.cards.begin(), project.cards.end(),
                                      [](const auto& card) { return card->m_pLinks->Count() > 0; });
    if (anyLinks && face.kind == movie::ButtonFaceKind::Picture) {
        if (auto picture = LoadPicture(builder, face.path, 0, movie::kButtonPicture)) {
            buttonW = float(picture->width);
            buttonH = float(picture->height);
            facePicture = pictures.Add(std::move(*picture));
        }
    }

    std::vector<CardPlan> plans;
    std::set<char32_t> titleChars;
    std::set<char32_t> bodyChars;
    std::string allText;
    for (const auto& card : project.cards) {
        CardPlan plan = builder.Plan(*card, buttonW, buttonH);
        for (const PlannedText& line : plan.title) {
            AddCharacters(titleChars, line.text);
        }
        for (const PlannedText& line : plan.comment) {
            AddCharacters(bodyChars, line.text);
            allText += line.text + " ";
        }
        for (const movie::PlannedLink& link : plan.links) {
            AddCharacters(bodyChars, link.caption.text);
        }
        if (plan.credit) {
            AddCharacters(titleChars, plan.credit->text.text);
        }
        allText += card->m_strTitle + " ";
        plans.push_back(std::move(plan));
    }
    const fs::path fontFolder = resolve("Font");
    const PageFonts fonts =
        MakeFonts(FacesOf(s.m_strFont, fontFolder), fontFolder / "Fallback", titleChars, bodyChars);

    const double W = s.m_nGiftWidth;
    const double H = s.m_nGiftHeight;
    std::string cards;
    const CardContext context{builder, pictures, fonts, face, facePicture, s};
    for (size_t k = 0; k < plans.size(); ++k) {
        cards += CardHtml(plans[k], k, context);
    }

    // The music: an MP3 as it is, looping as the movie's clip does.
    std::string music;
    if (!s.m_strMusic.empty()) {
        const fs::path path = resolve(s.m_strMusic);
        if (movie::EndsWith(movie::Lowered(path.string()), "mp3") && Exists(path)) {
            music = "<audio id=\"music\" loop src=\"" + DataUrl("audio/mpeg", ReadFileBytes(path)) +
                    "\"></audio>\n";
        }
    }

    std::string style(kRuntimeStyle);
    style += fonts.css;
    style += ".ft{font-family:" + fonts.title.family + fonts.fallbackFamilies + "}\n";
    style += ".fb{font-family:" + fonts.body.family + fonts.fallbackFamilies + "}\n";
    if (face.kind == movie::ButtonFaceKind::Colour) {
        style += ".link.face{--face:" + Css(face.normal) + ";--over:" + Css(face.over) + "}\n";
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        style += ".p" + std::to_string(i) + "{background-image:url(" +
                 DataUrl(pictures.at(i).mime, pictures.at(i).bytes) + ")}\n";
    }

    double interval = 0;
    if (s.m_bSlideShow == 1) {
        interval = 1000.0 / movie::WrittenFrameRate(s.m_strSlideSeconds);
    }
    const std::string title = project.cards.empty() || project.cards[0]->m_strTitle.empty()
                                  ? std::string("Gift")
                                  : project.cards[0]->m_strTitle;
    const std::string csp = "default-src 'none'; script-src 'sha256-" + HexToBase64(kRuntimeScriptSha256Hex) +
                            "'; style-src 'unsafe-inline'; img-src data:; font-src data:; media-src data:; "
                            "base-uri 'none'; form-action 'none'";

    std::string page =
        "<!DOCTYPE html>\n<html lang=\"" + EscapeHtml(PageLanguage(allText, options.lang)) +
        "\">\n<head>\n<meta charset=\"utf-8\">\n<meta http-equiv=\"Content-Security-Policy\" content=\"" +
        csp + "\">\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
        EscapeHtml(title) + "</title>\n<style>\n" + style + "</style>\n</head>\n<body>\n";
    page += "<main id=\"stage\" data-w=\"" + std::to_string(s.m_nGiftWidth) + "\" data-h=\"" +
            std::to_string(s.m_nGiftHeight) + "\" data-interval=\"" + std::to_string(int64_t(interval)) +
            "\" style=\"width:" + Px(W) + ";height:" + Px(H) + "\">\n" + cards + music + "</main>\n<script>" +
            std::string(kRuntimeScript) + "</script>\n</body>\n</html>\n";
    return page;
}

void WriteWebPage(movie::GiftBuilder& builder, const model::Project& project, const PageOptions& options,
                  const fs::path& target) {
    const std::string page = BuildWebPage(builder, project, options);
    const fs::path partial = fs::path(target.string() + ".partial");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(page.data(), std::streamsize(page.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(partial, ec);
            throw WebError("cannot write " + partial.string());
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        throw WebError("cannot write " + target.string() + ": " + ec.message());
    }
}

} // namespace web
