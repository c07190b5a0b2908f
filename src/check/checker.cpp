#include "check/checker.h"

#include "app/asset_path.h"
#include "check/score_flow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace check {

namespace fs = std::filesystem;

namespace {

// A colour as the builder reads it: the hexadecimal number after "#", red in its high byte.
std::optional<uint32_t> ReadColour(const std::string& text) {
    unsigned int value = 0;
    if (std::sscanf(text.c_str(), "#%x", &value) != 1) {
        return std::nullopt;
    }
    return value & 0xFFFFFF;
}

std::string ColourText(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", rgb);
    return text;
}

double Channel(uint32_t byte) {
    const double c = byte / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t rgb) {
    return 0.2126 * Channel((rgb >> 16) & 255) + 0.7152 * Channel((rgb >> 8) & 255) +
           0.0722 * Channel(rgb & 255);
}

// Numbered from 1 as the tree shows it; a stored reference may be any 32-bit number.
std::string CardNumber(int64_t card) {
    return "card " + std::to_string(card + 1);
}

class Checker {
public:
    Checker(const model::Project& project, const CheckOptions& options)
        : m_project(project), m_options(options) {}

    std::vector<Finding> Run() {
        CheckProjectFiles();
        const int n = m_project.CardCount();
        const std::vector<ScoreRange> entry = EntryScores(m_project);
        for (int c = 0; c < n; ++c) {
            CheckCard(c, entry[c]);
        }
        return std::move(m_findings);
    }

private:
    void Add(int card, int link, Kind kind, std::string message) {
        m_findings.push_back({card, link, SeverityOf(kind), kind, std::move(message)});
    }

    bool OnDisk(std::string_view ref) const {
        std::error_code ec;
        return fs::exists(app::ResolveReference(m_options.dataRoot, ref), ec);
    }

    // A stored file reference that is not a colour and not on disk.
    bool MissingFile(const std::string& ref) const {
        return ref.find('#') == std::string::npos && !ref.empty() && !OnDisk(ref);
    }

    void CheckProjectFiles() {
        const model::ProjectSettings& s = m_project.settings;
        if (MissingFile(s.m_strBackground)) {
            Add(-1, -1, Kind::MissingFile,
                "the project background \"" + s.m_strBackground + "\" is not on disk");
        }
        if (MissingFile(s.m_strButton)) {
            Add(-1, -1, Kind::MissingFile, "the button picture \"" + s.m_strButton + "\" is not on disk");
        }
        if (!s.m_strMusic.empty() && !OnDisk(s.m_strMusic)) {
            Add(-1, -1, Kind::MissingFile, "the music \"" + s.m_strMusic + "\" is not on disk");
        }
    }

    void CheckCard(int c, const ScoreRange& entry) {
        const model::CCardInfo& card = *m_project.cards[c];
        const model::ProjectSettings& s = m_project.settings;
        if (c > 0 && entry.Empty()) {
            Add(c, -1, Kind::Unreachable, "no path from the first card reaches this card");
        }
        if (card.m_strTitle.empty()) {
            Add(c, -1, Kind::EmptyTitle, "the card has no title");
        }
        if (card.m_bMailAlert == 1 && s.m_strEmail.find('@') == std::string::npos) {
            Add(c, -1, Kind::AlertWithoutAddress,
                "the card sends the e-mail alert, but the project has no author e-mail address");
        }
        const bool projectBg = card.m_bProjectBg == 1;
        const std::string& background = projectBg ? s.m_strBackground : card.m_strBackground;
        const bool missingBackground = MissingFile(background);
        if (!projectBg && missingBackground) {
            Add(c, -1, Kind::MissingFile, "the background \"" + background + "\" is not on disk");
        }
        CheckContrast(c, card, background, missingBackground);
        CheckGlyphs(c, -1, TextRole::Title, card.m_strTitle);
        CheckGlyphs(c, -1, TextRole::Comment, card.m_strComment);
        const auto& links = card.m_pLinks->m_pLinkList;
        for (int l = 0; l < static_cast<int>(links.size()); ++l) {
            CheckLink(c, l, *links[l], entry);
        }
    }

    // The builder draws a white rectangle, then a colour or a picture; the title takes its colour when
    // it has a readable one and keeps the colour before it otherwise, and the comment likewise after it.
    void CheckContrast(int c, const model::CCardInfo& card, const std::string& background, bool missing) {
        uint32_t back = 0xFFFFFF;
        const bool colourBackground = background.find('#') != std::string::npos;
        if (colourBackground) {
            std::string lowered = background;
            std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                           [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
            back = ReadColour(lowered).value_or(back);
        } else if (!missing) {
            return; // a picture: no colour to measure against
        }
        uint32_t pen = back;
        pen = ReadColour(card.m_strTitleColor).value_or(pen);
        if (!card.m_strTitle.empty()) {
            CheckPair(c, "title", pen, back);
        }
        pen = ReadColour(card.m_strCommentColor).value_or(pen);
        if (!card.m_strComment.empty()) {
            CheckPair(c, "comment", pen, back);
        }
    }

    void CheckPair(int c, const char* what, uint32_t pen, uint32_t back) {
        const double ratio = ContrastRatio(pen, back);
        if (ratio < kMinContrast) {
            char figure[16];
            std::snprintf(figure, sizeof figure, "%.1f", ratio);
            Add(c, -1, Kind::LowContrast,
                std::string("the ") + what + " colour " + ColourText(pen) + " on the background " +
                    ColourText(back) + " has a contrast of " + figure + ":1, below 3:1");
        }
    }

    void CheckGlyphs(int c, int l, TextRole role, const std::string& text) {
        if (!m_options.glyphTip || text.empty()) {
            return;
        }
        if (auto tip = m_options.glyphTip(role, text)) {
            Add(c, l, Kind::MissingGlyph, std::move(*tip));
        }
    }

    void CheckLink(int c, int l, const model::CLinkInfo& link, const ScoreRange& entry) {
        const int n = m_project.CardCount();
        if (link.m_strTitle.empty()) {
            Add(c, l, Kind::EmptyTitle, "the link has no caption");
        }
        CheckGlyphs(c, l, TextRole::Caption, link.m_strTitle);
        if (link.m_nGoto < 0 || link.m_nGoto >= n) {
            Add(c, l, Kind::GotoPastEnd,
                "the link goes to " + CardNumber(link.m_nGoto) + ", past the last card (" +
                    CardNumber(n - 1) + ")");
        }
        if (link.m_strCompare.empty()) {
            return;
        }
        const std::string condition =
            "\"if score " + link.m_strCompare + " " + std::to_string(link.m_nCompareValue) + "\"";
        if (link.m_nThenGoto < 0 || link.m_nThenGoto >= n) {
            Add(c, l, Kind::GotoPastEnd,
                "when " + condition + " holds the link goes to " + CardNumber(link.m_nThenGoto) +
                    ", past the last card (" + CardNumber(n - 1) + ")");
        }
        const auto op = ParseCompare(link.m_strCompare);
        if (!op || entry.Empty()) {
            return;
        }
        const ScoreRange after = entry.Plus(link.m_nScore);
        const std::string scores = "the score after this link is " + after.Describe();
        if (after.Holding(*op, link.m_nCompareValue).Empty()) {
            Add(c, l, Kind::ConditionNever, condition + " never holds: " + scores);
        } else if (after.Failing(*op, link.m_nCompareValue).Empty()) {
            Add(c, l, Kind::ConditionAlways, condition + " always holds: " + scores);
        }
    }

    const model::Project& m_project;
    const CheckOptions& m_options;
    std::vector<Finding> m_findings;
};

} // namespace

double ContrastRatio(uint32_t rgb1, uint32_t rgb2) {
    const double a = Luminance(rgb1);
    const double b = Luminance(rgb2);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::vector<Finding> CheckProject(const model::Project& project, const CheckOptions& options) {
    return Checker(project, options).Run();
}

} // namespace check
