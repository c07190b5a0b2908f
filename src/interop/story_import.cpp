#include "interop/story_import.h"

#include "interop/passage_text.h"
#include "interop/special_passages.h"
#include "interop/story_readers.h"
#include "interop/text_utf8.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace interop {

namespace {

constexpr uintmax_t kMaxFileBytes = 64u << 20;

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

std::string ToCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

// The warnings of one passage, joined into one line.
class PassageNotes {
public:
    void Add(std::string note) { m_notes.push_back(std::move(note)); }
    void Flush(const std::string& passage, std::vector<std::string>& out) const {
        if (m_notes.empty()) {
            return;
        }
        std::string line = "passage " + Quoted(passage) + ": ";
        for (size_t i = 0; i < m_notes.size(); ++i) {
            line += (i ? "; " : "") + m_notes[i];
        }
        out.push_back(std::move(line));
    }

private:
    std::vector<std::string> m_notes;
};

class Importer {
public:
    explicit Importer(const Story& story) : m_story(story), m_format(FormatFromName(story.format)) {}

    ImportResult Run() {
        for (const std::string& note : m_story.notes) {
            m_result.warnings.push_back("story: " + note);
        }
        ChooseCards();
        m_result.project.settings = model::NewProjectSettings();
        for (size_t i = 0; i < m_cards.size(); ++i) {
            MakeCard(static_cast<int>(i), *m_cards[i]);
        }
        return std::move(m_result);
    }

private:
    const Story& m_story;
    StoryFormat m_format;
    ImportResult m_result;
    std::vector<const Passage*> m_cards;
    std::map<std::string, int, std::less<>> m_cardOf; // passage name to card index
    std::set<std::string, std::less<>> m_special, m_leftOut;

    void ChooseCards() {
        std::vector<const Passage*> candidates;
        std::set<std::string, std::less<>> seen;
        for (const Passage& p : m_story.passages) {
            if (IsSpecialPassage(p)) {
                m_special.insert(p.name);
                if (p.name != "StoryTitle" && p.name != "StoryData" &&
                    p.text.find_first_not_of(" \t\n") != std::string::npos) {
                    m_result.warnings.push_back("passage " + Quoted(p.name) +
                                                ": skipped (the story format's own passage; its code, "
                                                "style or macros are not carried over)");
                }
            } else if (!seen.insert(p.name).second) {
                m_result.warnings.push_back("passage " + Quoted(p.name) +
                                            ": a second passage of this name is left out");
            } else {
                candidates.push_back(&p);
            }
        }
        if (candidates.empty()) {
            throw StoryError("the story has no passage that can become a card");
        }
        auto find = [&](std::string_view name) -> const Passage* {
            for (const Passage* p : candidates) {
                if (p->name == name) {
                    return p;
                }
            }
            return nullptr;
        };
        const Passage* start = nullptr;
        if (!m_story.start.empty()) {
            start = find(m_story.start);
            if (!start) {
                m_result.warnings.push_back("story: the start passage " + Quoted(m_story.start) +
                                            " is not a story passage; the first passage starts instead");
            }
        }
        if (!start) {
            start = find("Start");
        }
        if (!start) {
            start = candidates.front();
        }
        m_cards.push_back(start);
        for (const Passage* p : candidates) {
            if (p == start) {
                continue;
            }
            if (m_cards.size() < size_t(model::kMaxCards)) {
                m_cards.push_back(p);
            } else {
                m_leftOut.insert(p->name);
                m_result.warnings.push_back("passage " + Quoted(p->name) +
                                            ": left out (a project holds at most " +
                                            std::to_string(model::kMaxCards) + " cards)");
            }
        }
        for (size_t i = 0; i < m_cards.size(); ++i) {
            m_cardOf.emplace(m_cards[i]->name, static_cast<int>(i));
        }
    }

    // The card a link leads to; nullopt (and a note) when the passage is not a card.
    std::optional<int32_t> Resolve(const std::optional<std::string>& target, PassageNotes& notes,
                                   const std::string& caption) {
        if (!target) {
            return static_cast<int32_t>(m_cards.size()); // leads nowhere: one past the last card
        }
        if (auto it = m_cardOf.find(*target); it != m_cardOf.end()) {
            return it->second;
        }
        // "[[Go -> Garden]]": some formats allow spaces around the divider.
        const size_t b = target->find_first_not_of(' '), e = target->find_last_not_of(' ');
        if (b != std::string::npos) {
            if (auto it = m_cardOf.find(std::string_view(*target).substr(b, e - b + 1));
                it != m_cardOf.end()) {
                return it->second;
            }
        }
        std::string why = m_leftOut.contains(*target)   ? "left out beyond the card limit"
                          : m_special.contains(*target) ? "a special passage, not a card"
                                                        : "no such passage";
        notes.Add("link " + Quoted(caption) + " to " + Quoted(*target) + " dropped (" + why + ")");
        return std::nullopt;
    }

    void MakeCard(int index, const Passage& passage) {
        PassageNotes notes;
        const PassageContent content = ParsePassage(passage.text, m_format);
        auto card = model::CCardInfo::MakeNew(index);
        std::string title = content.title.value_or(passage.name);
        std::string comment = content.text;
        if (CharCount(title) > kTitleChars) {
            comment = title + (comment.empty() ? "" : "\n") + comment;
            title = FirstChars(title, kTitleChars);
            notes.Add("title cut to " + std::to_string(kTitleChars) +
                      " characters; the whole name is the first line of the text");
        }
        // A blank passage name (only Twine 2 HTML can hold one) leaves the first card to the story's title.
        if (index == 0 && !content.title && title.find_first_not_of(" \t") == std::string::npos &&
            !m_story.title.empty()) {
            title = FirstChars(m_story.title, kTitleChars);
        }
        card->m_strTitle = std::move(title);
        card->m_strComment = ToCrLf(comment);
        if (!content.removed.empty()) {
            std::string what;
            for (size_t i = 0; i < content.removed.size(); ++i) {
                what += (i ? ", " : "") + content.removed[i];
            }
            notes.Add("removed " + what);
        }
        if (content.resetsScore && index != 0) {
            notes.Add("removed <<set $score to 0>> (the score starts afresh on the first card only)");
        }
        std::vector<std::string> beyond;
        for (const PassageLink& link : content.links) {
            const auto target = Resolve(link.target, notes, link.caption);
            if (!target) {
                continue;
            }
            if (card->m_pLinks->Count() >= model::kMaxLinks) {
                beyond.push_back(Quoted(link.caption));
                continue;
            }
            std::string caption = link.caption;
            if (CharCount(caption) > kCaptionChars) {
                caption = FirstChars(caption, kCaptionChars);
                notes.Add("link caption " + Quoted(link.caption) + " cut to " + Quoted(caption));
            }
            std::string compare = link.compare;
            int32_t thenGoto = 0;
            if (!compare.empty()) {
                if (const auto then = Resolve(link.thenTarget, notes, link.caption)) {
                    thenGoto = *then;
                } else {
                    notes.Add("the condition of link " + Quoted(link.caption) + " dropped");
                    compare.clear();
                }
            }
            if (!link.setter.empty()) {
                notes.Add("link " + Quoted(link.caption) + ": its macros are not carried over");
            }
            card->m_pLinks->AddLink(std::move(caption), *target, link.score, -1, compare,
                                    compare.empty() ? 0 : link.compareValue, thenGoto);
        }
        if (!beyond.empty()) {
            std::string list;
            for (size_t i = 0; i < beyond.size(); ++i) {
                list += (i ? ", " : "") + beyond[i];
            }
            notes.Add(std::to_string(beyond.size()) + " link(s) beyond the tenth left out: " + list);
        }
        notes.Flush(passage.name, m_result.warnings);
        m_result.project.cards.push_back(std::move(card));
    }
};

} // namespace

ImportResult ImportStory(const Story& story) {
    return Importer(story).Run();
}

ImportResult ImportStoryFile(const std::filesystem::path& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxFileBytes) {
        throw StoryError("the file is too large for a story (" + std::to_string(size >> 20) + " MB)");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in || ec) {
        throw StoryError("cannot read the file");
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw StoryError("cannot read the file");
    }
    return ImportStory(ReadStory(bytes));
}

} // namespace interop
