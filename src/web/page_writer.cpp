#include "web/page_writer.h"

#include "imaging/picture.h"
#include "movie/card_plan.h"
#include "movie/gift_layout.h"
#include "movie/gift_shapes.h"
#include "movie/picture_layout.h"
#include "swf/utf8.h"
#include "web/dbl_png.h"
#include "web/page_lang.h"
#include "web/page_text.h"
#include "web/runtime.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <system_error>

namespace web {

namespace fs = std::filesystem;
using movie::CardPlan;
using movie::PlannedText;

namespace {

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw WebError("cannot read " + path.string());
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

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

// A picture of the page, stored once however many cards show it.
struct StoredPicture {
    std::string mime;
    std::vector<uint8_t> bytes;
    int width = 0;
    int height = 0;
};

class Pictures {
public:
    // The index of the picture with these bytes, stored on first sight.
    size_t Add(StoredPicture picture) {
        const std::string key(picture.bytes.begin(), picture.bytes.end());
        const auto found = m_index.find(key);
        if (found != m_index.end()) {
            return found->second;
        }
        m_pictures.push_back(std::move(picture));
        return m_index[key] = m_pictures.size() - 1;
    }
    const StoredPicture& at(size_t i) const { return m_pictures[i]; }
    size_t size() const { return m_pictures.size(); }

private:
    std::vector<StoredPicture> m_pictures;
    std::map<std::string, size_t> m_index;
};

// The picture the movie would show for `source`: a .dbl as it is (here as PNG), anything else converted
// by the builder to JPEG (PNG with transparency) at the project's quality.
std::optional<StoredPicture> LoadPicture(movie::GiftBuilder& builder, const fs::path& source, int cardIndex,
                                         int code) {
    if (!Exists(source)) {
        return std::nullopt;
    }
    try {
        if (movie::EndsWith(movie::Lowered(source.string()), ".dbl")) {
            DecodedPicture decoded = DblToPng(ReadBytes(source));
            return StoredPicture{"image/png", std::move(decoded.png), int(decoded.width),
                                 int(decoded.height)};
        }
        const std::string converted = builder.ConvertPictureToJpeg(source, cardIndex, code, 1);
        if (converted.empty()) {
            return std::nullopt;
        }
        const std::optional<imaging::Size> size = imaging::ReadPictureSize(converted);
        if (!size) {
            return std::nullopt;
        }
        const bool png = movie::EndsWith(movie::Lowered(converted), ".png");
        return StoredPicture{png ? "image/png" : "image/jpeg", ReadBytes(converted), size->width,
                             size->height};
    } catch (const std::exception&) {
        return std::nullopt; // the movie leaves such a picture out too
    }
}

struct FaceFiles {
    fs::path title;
    fs::path body;
};

// The faces the builder loads (their .fdb files have the font they were made from beside them).
FaceFiles FacesOf(const std::string& face, const fs::path& folder) {
    if (!face.empty() && Exists(folder / (face + ".fdb"))) {
        const fs::path body = folder / (face + ".ttf");
        return {Exists(folder / ("_" + face + ".fdb")) ? folder / ("_" + face + ".ttf") : body, body};
    }
    return {folder / "_Sans.ttf", folder / "Sans.ttf"};
}

struct Face {
    std::string family;
    FaceMetrics metrics;
};

// The @font-face rules of the page and the line metrics of the two roles.
struct PageFonts {
    std::string css;
    Face title;
    Face body;
    std::string fallbackFamilies; // ", cwf0, cwf1" for the fallback faces in use
};

void AddChars(std::set<char32_t>& set, std::string_view text) {
    for (char32_t c : swf::detail::decode_utf8(text)) {
        if (c >= 0x20) {
            set.insert(c);
        }
    }
}

std::string FontFace(const std::string& family, std::vector<uint8_t> sfnt) {
    const WebFont font = Package(std::move(sfnt));
    return "@font-face{font-family:" + family + ";src:url(" + DataUrl(font.mime, font.bytes) + ") format(\"" +
           font.format + "\")}\n";
}

PageFonts MakeFonts(const FaceFiles& files, const fs::path& fallbackFolder,
                    const std::set<char32_t>& titleChars, const std::set<char32_t>& bodyChars) {
    PageFonts fonts;
    const FontFile title(files.title);
    const FontFile body(files.body);
    fonts.title = {"cwt", title.Metrics()};
    fonts.body = {"cwb", body.Metrics()};
    fonts.css += FontFace("cwt", title.Subset(titleChars));
    fonts.css += FontFace("cwb", body.Subset(bodyChars));

    // Characters neither face has come from the first fallback face that has them, as in the movie.
    std::set<char32_t> missing;
    for (char32_t c : titleChars) {
        if (!title.Has(c))
            missing.insert(c);
    }
    for (char32_t c : bodyChars) {
        if (!body.Has(c))
            missing.insert(c);
    }
    if (missing.empty()) {
        return fonts;
    }
    std::vector<fs::path> fallbacks;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(fallbackFolder, ec)) {
        if (entry.path().extension() == ".ttf") {
            fallbacks.push_back(entry.path());
        }
    }
    std::sort(fallbacks.begin(), fallbacks.end());
    int n = 0;
    for (const fs::path& path : fallbacks) {
        if (missing.empty()) {
            break;
        }
        try {
            const FontFile face(path);
            std::set<char32_t> chars;
            for (char32_t c : missing) {
                if (face.Has(c))
                    chars.insert(c);
            }
            if (chars.empty()) {
                continue;
            }
            for (char32_t c : chars) {
                missing.erase(c);
            }
            const std::string family = "cwf" + std::to_string(n++);
            fonts.css += FontFace(family, face.Subset(chars));
            fonts.fallbackFamilies += "," + family;
        } catch (const WebError&) {
            // An unreadable fallback face is skipped; its characters may come from the next one.
        }
    }
    return fonts;
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
    Pictures pictures;

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
            AddChars(titleChars, line.text);
        }
        for (const PlannedText& line : plan.comment) {
            AddChars(bodyChars, line.text);
            allText += line.text + " ";
        }
        for (const movie::PlannedLink& link : plan.links) {
            AddChars(bodyChars, link.caption.text);
        }
        if (plan.credit) {
            AddChars(titleChars, plan.credit->text.text);
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
    for (size_t k = 0; k < plans.size(); ++k) {
        const CardPlan& plan = plans[k];
        const std::string n = std::to_string(k + 1);
        cards += "<section class=\"card\" id=\"card" + n + "\" aria-labelledby=\"title" + n + "\"";
        if (plan.alert_url) {
            cards += " data-alert=\"" + EscapeHtml(*plan.alert_url) + "\"";
        }
        cards += " style=\"background:" + Css(plan.background.colour) + "\">\n";

        const movie::PlannedBackground& bg = plan.background;
        if (!bg.picture.empty() && !bg.clip) {
            if (auto picture = LoadPicture(builder, bg.picture, int(k), bg.convert_code)) {
                const int pw = picture->width;
                const int ph = picture->height;
                const size_t index = pictures.Add(std::move(*picture));
                const movie::PicturePlacement at = movie::PlacePicture(pw, ph, int(W), int(H), bg.placement);
                cards += "<div class=\"bg p" + std::to_string(index) + "\" style=\"left:" + Px(at.x) +
                         ";top:" + Px(at.y) + ";width:" + Px(at.width) + ";height:" + Px(at.height) +
                         ";background-size:" + Px(pw) + " " + Px(ph) +
                         (at.fill_flags == movie::kTiledBitmapFill ? ";background-repeat:repeat" : "") +
                         "\"></div>\n";
            }
        }

        // The title is the card's heading: its two lines, or the card's number when it has none.
        cards += "<h1 id=\"title" + n + "\" tabindex=\"-1\">";
        bool titled = false;
        for (const PlannedText& line : plan.title) {
            if (!line.text.empty()) {
                cards += TextLine(line, fonts.title, "ft", 0, 0, false);
                titled = titled || line.text.find_first_not_of(' ') != std::string::npos;
            }
        }
        if (!titled) {
            cards += "<span class=\"vh\">Card " + n + "</span>";
        }
        cards += "</h1>\n";

        if (!plan.comment.empty()) {
            cards += "<p>";
            for (const PlannedText& line : plan.comment) {
                cards += TextLine(line, fonts.body, "fb", 0, 0, false) + "\n";
            }
            cards += "</p>\n";
        }

        for (size_t i = 0; i < plan.links.size(); ++i) {
            const movie::PlannedLink& link = plan.links[i];
            std::string cls = "link";
            if (face.kind == movie::ButtonFaceKind::Colour) {
                cls += " face";
            } else if (facePicture) {
                cls += " pic p" + std::to_string(*facePicture);
            }
            cards += "<button type=\"button\" class=\"" + cls + "\" style=\"left:" + Px(link.x) +
                     ";top:" + Px(link.y) + ";width:" + Px(link.width) + ";height:" + Px(link.height) +
                     "\" data-score=\"" + std::to_string(link.score) + "\" data-op=\"" + EscapeHtml(link.op) +
                     "\" data-value=\"" + std::to_string(link.compare_value) + "\" data-then=\"" +
                     std::to_string(link.then_goto) + "\" data-goto=\"" + std::to_string(link.goto_card) +
                     "\" data-trace=\"" + EscapeHtml(link.trace_entry) + "\"";
            const bool blank = link.caption.text.find_first_not_of(" \t\r\n") == std::string::npos;
            if (blank) {
                cards += " aria-label=\"Link " + std::to_string(i + 1) + "\"";
            }
            cards += ">" + TextLine(link.caption, fonts.body, "fb", link.x, link.y, false) + "</button>\n";
        }

        if (plan.credit) {
            const movie::PlannedCredit& credit = *plan.credit;
            cards += "<p>" + TextLine(credit.shadow, fonts.title, "ft", 0, 0, true) +
                     TextLine(credit.text, fonts.title, "ft", 0, 0, false) + "</p>\n";
            cards += "<a class=\"hit\" href=\"" + EscapeHtml(credit.credit_url) +
                     "\" target=\"_blank\" rel=\"noopener\" style=\"left:" + Px(credit.at.credit_button.x) +
                     ";top:" + Px(credit.at.credit_button.y) +
                     ";width:140px;height:30px\"><span class=\"vh\">" + std::string(movie::kProgramName) +
                     "</span></a>\n";
            if (credit.author_button) {
                cards +=
                    "<a class=\"hit\" href=\"" + EscapeHtml(credit.author_url) +
                    "\" target=\"_blank\" rel=\"noopener\" style=\"left:" + Px(credit.at.author_button.x) +
                    ";top:" + Px(credit.at.author_button.y) +
                    ";width:150px;height:30px\"><span class=\"vh\">Write to " + EscapeHtml(s.m_strAuthor) +
                    "</span></a>\n";
            }
        }
        cards += "</section>\n";
    }

    // The music: an MP3 as it is, looping as the movie's clip does.
    std::string music;
    if (!s.m_strMusic.empty()) {
        const fs::path path = resolve(s.m_strMusic);
        if (movie::EndsWith(movie::Lowered(path.string()), "mp3") && Exists(path)) {
            music =
                "<audio id=\"music\" loop src=\"" + DataUrl("audio/mpeg", ReadBytes(path)) + "\"></audio>\n";
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
