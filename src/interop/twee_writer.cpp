#include "interop/twee_writer.h"

#include "interop/passage_text.h"
#include "interop/special_passages.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>

namespace interop {

namespace {

// Card titles made into passage names: unique, not a special passage's name, without line breaks or
// spaces at either end (Twee headers lose them).
std::vector<std::string> PassageNames(const model::Project& project) {
    std::vector<std::string> names;
    std::set<std::string, std::less<>> used;
    for (size_t i = 0; i < project.cards.size(); ++i) {
        std::string base;
        for (char c : project.cards[i]->m_strTitle) {
            base += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
        const size_t b = base.find_first_not_of(' ');
        base = b == std::string::npos ? std::string() : base.substr(b, base.find_last_not_of(' ') - b + 1);
        if (base.empty()) {
            base = "Card " + std::to_string(i + 1);
        }
        std::string name = base;
        for (int k = 2; used.contains(name) || IsSpecialName(name); ++k) {
            name = base + " (" + std::to_string(k) + ")";
        }
        used.insert(name);
        names.push_back(std::move(name));
    }
    return names;
}

std::string HeaderName(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '[' || c == ']' || c == '{' || c == '}' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string StringLiteral(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
    }
    return out + "\"";
}

// Text that [[caption|target]] carries unchanged.
bool SafeInLink(const std::string& s) {
    return !s.empty() && s.find_first_of("[]|\n") == std::string::npos && s.find("->") == std::string::npos &&
           s.find("<-") == std::string::npos;
}

std::string ToLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    return out;
}

class Writer {
public:
    explicit Writer(const model::Project& project) : m_project(project), m_names(PassageNames(project)) {}

    ExportResult Run() {
        std::string passages;
        for (size_t i = 0; i < m_project.cards.size(); ++i) {
            passages += ":: " + HeaderName(m_names[i]) + "\n" + PassageText(static_cast<int>(i)) + "\n\n";
        }
        std::string title = m_project.cards.empty() ? std::string() : m_names.front();
        nlohmann::ordered_json data = {
            {"ifid", IfidFor(passages)}, {"format", kExportFormat}, {"format-version", kExportFormatVersion}};
        if (!m_names.empty()) {
            data["start"] = m_names.front();
        }
        title.erase(0, title.find_first_not_of(": ")); // never a passage header
        m_result.twee = ":: StoryTitle\n" + (title.empty() ? std::string("Untitled story") : title) +
                        "\n\n:: StoryData\n" +
                        data.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n\n" +
                        passages;
        return std::move(m_result);
    }

private:
    const model::Project& m_project;
    std::vector<std::string> m_names;
    ExportResult m_result;

    void Warn(int card, std::string what) {
        m_result.warnings.push_back("card " + std::to_string(card + 1) + " \"" +
                                    m_project.cards[card]->m_strTitle + "\": " + what);
    }

    bool UsesScore() const {
        for (const auto& card : m_project.cards) {
            for (const auto& link : card->m_pLinks->m_pLinkList) {
                if (link->m_nScore != 0 || !link->m_strCompare.empty()) {
                    return true;
                }
            }
        }
        return false;
    }

    // The passage a card reference names; nullopt for one past the last card (no card yet).
    std::optional<std::string> Target(int card, int32_t ref, const std::string& caption) {
        if (ref >= 0 && size_t(ref) < m_names.size()) {
            return m_names[ref];
        }
        if (size_t(ref) != m_names.size()) {
            Warn(card, "link \"" + caption + "\" names card " + std::to_string(ref) +
                           ", which does not exist; it leads nowhere");
        }
        return std::nullopt;
    }

    std::string Goto(const std::optional<std::string>& target) {
        return target ? "<<goto " + StringLiteral(*target) + ">>" : std::string();
    }

    std::string LinkText(int card, const model::CLinkInfo& link) {
        const auto target = Target(card, link.m_nGoto, link.m_strTitle);
        std::string compare = link.m_strCompare;
        if (!compare.empty() && compare != ">" && compare != ">=" && compare != "=" && compare != "<=" &&
            compare != "<") {
            Warn(card, "the condition of link \"" + link.m_strTitle + "\" has the unknown operator \"" +
                           compare + "\"; it is left out");
            compare.clear();
        }
        if (link.m_nScore == 0 && compare.empty() && target && SafeInLink(link.m_strTitle) &&
            SafeInLink(*target)) {
            return link.m_strTitle == *target ? "[[" + *target + "]]"
                                              : "[[" + link.m_strTitle + "|" + *target + "]]";
        }
        std::string body;
        if (link.m_nScore > 0 || link.m_nScore == INT32_MIN) {
            body += "<<set $score += " + std::to_string(link.m_nScore) + ">>";
        } else if (link.m_nScore < 0) {
            body += "<<set $score -= " + std::to_string(-link.m_nScore) + ">>";
        }
        if (compare.empty()) {
            body += Goto(target);
        } else {
            body += "<<if $score " + (compare == "=" ? std::string("is") : compare) + " " +
                    std::to_string(link.m_nCompareValue) + ">>" +
                    Goto(Target(card, link.m_nThenGoto, link.m_strTitle)) + "<<else>>" + Goto(target) +
                    "<</if>>";
        }
        return "<<link " + StringLiteral(link.m_strTitle) + ">>" + body + "<</link>>";
    }

    // The card's text so that SugarCube shows it as it is and the importer reads it back unchanged:
    // lines that would read as mark-up are wrapped in verbatim quotes; with `all`, every line.
    static std::string CommentText(const std::string& text, bool all) {
        std::string out;
        for (size_t p = 0;;) {
            const size_t nl = text.find('\n', p);
            std::string line = text.substr(p, nl == std::string::npos ? std::string::npos : nl - p);
            if (!line.empty() && (all || !IsPlainText(line))) {
                if (line.find("\"\"\"") == std::string::npos) {
                    line = "\"\"\"" + line + "\"\"\"";
                } else if (line.find("</nowiki>") == std::string::npos) {
                    line = "<nowiki>" + line + "</nowiki>";
                } else if (line.starts_with("::")) {
                    line = " " + line; // never a passage header
                }
            }
            out += line;
            if (nl == std::string::npos) {
                return out;
            }
            out += '\n';
            p = nl + 1;
        }
    }

    std::string PassageText(int card) {
        const model::CCardInfo& c = *m_project.cards[card];
        std::string head;
        if (m_names[card] != c.m_strTitle) {
            head += TitleLine(c.m_strTitle) + "\n";
        }
        if (card == 0 && UsesScore()) {
            head += "<<set $score to 0>>\n";
        }
        std::string links;
        for (const auto& link : c.m_pLinks->m_pLinkList) {
            links += "\n" + LinkText(card, *link);
        }
        const std::string text = ToLf(c.m_strComment);
        // Twee drops trailing blank lines: a text whose last line is blank keeps it through an empty
        // SugarCube comment after it.
        const size_t lastLine = text.rfind('\n');
        if (links.empty() && !text.empty() &&
            text.find_first_not_of(" \t", lastLine == std::string::npos ? 0 : lastLine + 1) ==
                std::string::npos) {
            links = "\n/**/";
        }
        // A line that is plain alone may still open something a later line closes: then every line is
        // wrapped.
        std::string out;
        for (bool all : {false, true}) {
            out = head + CommentText(text, all) + links;
            const PassageContent back = ParsePassage(out, StoryFormat::SugarCube);
            if (back.text == text && back.links.size() == c.m_pLinks->m_pLinkList.size()) {
                return out;
            }
        }
        Warn(card, "a line of the text holds both \"\"\" and </nowiki>; it may read back changed");
        return out;
    }
};

uint64_t Fnv1a(std::string_view s, uint64_t seed) {
    uint64_t h = seed;
    for (unsigned char c : s) {
        h = (h ^ c) * 0x100000001b3ULL;
    }
    // Final mix (splitmix64) so that every output bit depends on every input bit.
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    return h ^ (h >> 31);
}

} // namespace

std::string IfidFor(std::string_view content) {
    const uint64_t hi = Fnv1a(content, 0xcbf29ce484222325ULL);
    const uint64_t lo = Fnv1a(content, 0x84222325cbf29ce4ULL);
    char buf[37];
    std::snprintf(buf, sizeof buf, "%08X-%04X-4%03X-%04X-%012llX", unsigned(hi >> 32),
                  unsigned(hi >> 16) & 0xFFFF, unsigned(hi) & 0x0FFF,
                  unsigned(0x8000 | ((lo >> 48) & 0x3FFF)),
                  static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFULL));
    return buf;
}

ExportResult ExportTwee(const model::Project& project) {
    return Writer(project).Run();
}

} // namespace interop
