#include "interop/passage_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>

namespace interop {

namespace {

constexpr std::string_view kTitlePrefix = "/* card title: ";
constexpr std::string_view kScoreReset = "<<set $score to 0>>";

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c) {
    return IsAlpha(c) || IsDigit(c) || c == '_' || c == '-';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

std::string Lower(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c != '-' && c != '_') {
            out += IsAlpha(c) ? char(c | 0x20) : c;
        }
    }
    return out;
}

// A cursor over a piece of text with the small matchers the macro readers need.
struct Cursor {
    std::string_view s;
    size_t i = 0;

    bool AtEnd() const { return i >= s.size(); }
    void SkipSpaces() {
        while (i < s.size() && IsSpace(s[i])) {
            ++i;
        }
    }
    bool Eat(std::string_view word) {
        if (s.substr(i).starts_with(word)) {
            i += word.size();
            return true;
        }
        return false;
    }
    // A string literal in double or single quotes with backslash escapes.
    std::optional<std::string> String() {
        if (i >= s.size() || (s[i] != '"' && s[i] != '\'')) {
            return std::nullopt;
        }
        const char q = s[i];
        std::string out;
        for (size_t k = i + 1; k < s.size(); ++k) {
            if (s[k] == '\\' && k + 1 < s.size()) {
                const char e = s[++k];
                out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
            } else if (s[k] == q) {
                i = k + 1;
                return out;
            } else {
                out += s[k];
            }
        }
        return std::nullopt;
    }
    std::optional<int32_t> Int() {
        int32_t v = 0;
        const auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), v);
        if (ec != std::errc()) {
            return std::nullopt;
        }
        i = static_cast<size_t>(end - s.data());
        return v;
    }
};

// The end of the construct opened at `from` and closed by `close`, skipping quoted strings; npos
// when it is not closed.
size_t FindClose(std::string_view s, size_t from, std::string_view close) {
    char quote = 0;
    for (size_t k = from; k < s.size(); ++k) {
        if (quote) {
            if (s[k] == '\\') {
                ++k;
            } else if (s[k] == quote) {
                quote = 0;
            }
        } else if (s[k] == '"' || s[k] == '\'' || s[k] == '`') {
            quote = s[k];
        } else if (s[k] == close[0] && s.substr(k).starts_with(close)) {
            return k;
        }
    }
    return std::string_view::npos;
}

// The closing parenthesis matching the one at `open`, skipping strings; npos when there is none.
size_t MatchParen(std::string_view s, size_t open, char o = '(', char c = ')') {
    int depth = 0;
    char quote = 0;
    for (size_t k = open; k < s.size(); ++k) {
        if (quote) {
            if (s[k] == '\\') {
                ++k;
            } else if (s[k] == quote) {
                quote = 0;
            }
        } else if (s[k] == '"' || s[k] == '\'') {
            quote = s[k];
        } else if (s[k] == o) {
            ++depth;
        } else if (s[k] == c && --depth == 0) {
            return k;
        }
    }
    return std::string_view::npos;
}

// Splits the inside of [[...]] into caption and target, as Twine reads it: the leftmost "<-" or else
// the rightmost "->" or else the last "|" divides them.
void SplitLink(std::string_view inner, PassageLink& link) {
    if (const size_t p = inner.find("<-"); p != std::string_view::npos) {
        link.target = std::string(inner.substr(0, p));
        link.caption = std::string(inner.substr(p + 2));
    } else if (const size_t p = inner.rfind("->"); p != std::string_view::npos) {
        link.caption = std::string(inner.substr(0, p));
        link.target = std::string(inner.substr(p + 2));
    } else if (const size_t p = inner.rfind('|'); p != std::string_view::npos) {
        link.caption = std::string(inner.substr(0, p));
        link.target = std::string(inner.substr(p + 1));
    } else {
        link.caption = std::string(inner);
        link.target = std::string(inner);
    }
}

// "<<goto "X">>" or "<<goto [[X]]>>".
std::optional<std::string> Goto(Cursor& c) {
    const size_t start = c.i;
    if (!c.Eat("<<goto ")) {
        return std::nullopt;
    }
    std::optional<std::string> target;
    if (c.Eat("[[")) {
        const size_t end = c.s.find("]]", c.i);
        if (end != std::string_view::npos) {
            PassageLink l;
            SplitLink(c.s.substr(c.i, end - c.i), l);
            target = l.target;
            c.i = end + 2;
        }
    } else {
        target = c.String();
    }
    if (!target || !c.Eat(">>")) {
        c.i = start;
        return std::nullopt;
    }
    return target;
}

std::optional<std::string> CompareOperator(Cursor& c) {
    static constexpr std::pair<std::string_view, std::string_view> kOps[] = {
        {"===", "="}, {"==", "="}, {">=", ">="},  {"<=", "<="},  {">", ">"},  {"<", "<"},
        {"is", "="},  {"eq", "="}, {"gte", ">="}, {"lte", "<="}, {"gt", ">"}, {"lt", "<"}};
    for (const auto& [word, op] : kOps) {
        if (c.Eat(word)) {
            return std::string(op);
        }
    }
    return std::nullopt;
}

// The body of a <<link>> as the Twee writer makes it: an optional score macro, then one goto or an
// <<if>> on the score with a goto in either branch. False for any other body.
bool ReadScoreBody(std::string_view body, PassageLink& link) {
    Cursor c{body};
    c.SkipSpaces();
    if (c.Eat("<<set $score ")) {
        const bool minus = c.Eat("-= ");
        if (!minus && !c.Eat("+= ")) {
            return false;
        }
        const auto v = c.Int();
        if (!v || !c.Eat(">>") || (minus && *v == INT32_MIN)) {
            return false;
        }
        link.score = minus ? -*v : *v;
        c.SkipSpaces();
    }
    if (c.Eat("<<if $score ")) {
        const auto op = CompareOperator(c);
        if (!op || !c.Eat(" ")) {
            return false;
        }
        const auto v = c.Int();
        if (!v || !c.Eat(">>")) {
            return false;
        }
        link.compare = *op;
        link.compareValue = *v;
        c.SkipSpaces();
        link.thenTarget = Goto(c);
        c.SkipSpaces();
        if (c.Eat("<<else>>")) {
            c.SkipSpaces();
            link.target = Goto(c);
            c.SkipSpaces();
        } else {
            link.target.reset();
        }
        if (!c.Eat("<</if>>")) {
            return false;
        }
    } else {
        link.target = Goto(c);
    }
    c.SkipSpaces();
    return c.AtEnd();
}

// Chapbook: "name: value" lines before a line "--".
size_t ChapbookVarsEnd(std::string_view s) {
    size_t pos = 0;
    bool any = false;
    while (pos < s.size()) {
        size_t end = s.find('\n', pos);
        end = end == std::string_view::npos ? s.size() : end;
        const std::string_view line = s.substr(pos, end - pos);
        if (line == "--") {
            return any ? std::min(end + 1, s.size()) : 0;
        }
        if (!line.empty()) {
            size_t k = 0;
            while (k < line.size() && (IsNameChar(line[k]) || line[k] == '.')) {
                ++k;
            }
            if (k == 0 || !IsAlpha(line[0]) || line.find(':', k) == std::string_view::npos) {
                return 0;
            }
            any = true;
        }
        pos = end + 1;
    }
    return 0;
}

// The characters that can begin mark-up, a macro, a link or a line.
bool StartsConstruct(char c) {
    static constexpr std::string_view kStarts = "\n\"[]<>/()$|{}'_~^*=@#";
    return kStarts.find(c) != std::string_view::npos;
}

class Parser {
public:
    Parser(std::string_view s, StoryFormat format)
        : m_s(s), m_format(format), m_budget(4 * static_cast<int64_t>(s.size()) + (1 << 20)) {}

    PassageContent Run() {
        const bool chapbook = m_format == StoryFormat::Chapbook || m_format == StoryFormat::Unknown;
        ReadTitleLine();
        if (chapbook) {
            if (const size_t end = ChapbookVarsEnd(m_s.substr(m_i)); end > 0) {
                m_i += end;
                Removed("Chapbook variables section");
            }
        }
        while (m_i < m_s.size()) {
            if (m_atLineStart && chapbook && Modifier()) {
                continue;
            }
            m_atLineStart = false;
            Step();
        }
        EndLine(false);
        if (!m_c.text.empty() && m_c.text.back() == '\n') {
            m_c.text.pop_back(); // the line break between the text and the links below it
        }
        return std::move(m_c);
    }

private:
    std::string_view m_s;
    StoryFormat m_format;
    size_t m_i = 0;
    PassageContent m_c;
    size_t m_lineStart = 0;
    bool m_lineRemoved = false;
    bool m_atLineStart = true;
    std::vector<bool> m_brackets; // open [ in text: true for a Harlowe hook, whose ] is dropped

    // Searches for the end of a construct cost up to the rest of the text each, and text full of
    // unclosed openers would make them add up to the square of its length: all of them share a budget
    // a few times the text's length, past which every construct counts as unclosed (left as text).
    int64_t m_budget = 0;

    template <typename Search> size_t Scan(size_t from, Search search) {
        if (m_budget <= 0) {
            return std::string_view::npos;
        }
        const size_t found = search();
        m_budget -= static_cast<int64_t>((found == std::string_view::npos ? m_s.size() : found) - from);
        return found;
    }

    bool At(std::string_view w) const {
        return m_i < m_s.size() && m_s[m_i] == w[0] && m_s.substr(m_i).starts_with(w);
    }

    void Removed(std::string what) {
        m_lineRemoved = true;
        // The list names kinds of things; a passage made of endless different ones gets a short list.
        constexpr size_t kMaxNamed = 40;
        if (m_c.removed.size() > kMaxNamed ||
            std::find(m_c.removed.begin(), m_c.removed.end(), what) != m_c.removed.end()) {
            return;
        }
        m_c.removed.push_back(m_c.removed.size() == kMaxNamed ? std::string("more") : std::move(what));
    }

    // Drops everything up to and including `close`; the rest of the text when it is not closed.
    void DropThrough(std::string_view close, std::string what) {
        const size_t end = m_s.find(close, m_i);
        m_i = end == std::string_view::npos ? m_s.size() : end + close.size();
        if (!what.empty()) {
            Removed(std::move(what));
        }
        m_lineRemoved = true;
    }

    void EndLine(bool newline) {
        const bool blank = m_c.text.find_first_not_of(" \t", m_lineStart) == std::string::npos;
        if (m_lineRemoved && blank) {
            m_c.text.resize(m_lineStart);
        } else if (newline) {
            m_c.text += '\n';
        }
        m_lineStart = m_c.text.size();
        m_lineRemoved = false;
        m_atLineStart = true;
    }

    void ReadTitleLine() {
        if (!At(kTitlePrefix)) {
            return;
        }
        const size_t end = m_s.find(" */", kTitlePrefix.size());
        if (end == std::string_view::npos) {
            return;
        }
        const auto json =
            nlohmann::json::parse(m_s.substr(kTitlePrefix.size(), end - kTitlePrefix.size()), nullptr, false);
        if (json.is_string()) {
            m_c.title = json.get<std::string>();
            m_i = end + 3;
            m_lineRemoved = true;
        }
    }

    // A Chapbook modifier: a whole line "[word ...]".
    bool Modifier() {
        size_t end = m_s.find('\n', m_i);
        end = end == std::string_view::npos ? m_s.size() : end;
        const std::string_view line = m_s.substr(m_i, end - m_i);
        if (line.size() < 3 || line.front() != '[' || line.back() != ']' || !IsAlpha(line[1]) ||
            line[1] < 'a' || line.substr(1).find_first_of("[]") != line.size() - 2) {
            return false;
        }
        Removed("Chapbook modifier " + std::string(line));
        m_i = end;
        return true;
    }

    void Step() {
        const char c = m_s[m_i];
        if (!StartsConstruct(c)) {
            // Plain text runs up to the next character that may begin something.
            size_t k = m_i + 1;
            while (k < m_s.size() && !StartsConstruct(m_s[k])) {
                ++k;
            }
            m_c.text.append(m_s.substr(m_i, k - m_i));
            m_i = k;
        } else if (c == '\n') {
            ++m_i;
            EndLine(true);
        } else if (At("\"\"\"")) {
            Verbatim("\"\"\"", "\"\"\"");
        } else if (At("<nowiki>")) {
            Verbatim("<nowiki>", "</nowiki>");
        } else if (At("[[")) {
            Link();
        } else if (At("[img[")) {
            DropThrough("]]", "image");
        } else if (At("<<")) {
            Macro();
        } else if (At("/**/")) {
            DropThrough("*/", "");
        } else if (At("/*")) {
            DropThrough("*/", "comment");
        } else if (At("<!--")) {
            DropThrough("-->", "comment");
        } else if (At("/%")) {
            DropThrough("%/", "comment");
        } else if (At("<%")) {
            DropThrough("%>", "script <% %>");
        } else if (c == '<' && m_i + 1 < m_s.size() &&
                   (IsAlpha(m_s[m_i + 1]) ||
                    (m_s[m_i + 1] == '/' && m_i + 2 < m_s.size() && IsAlpha(m_s[m_i + 2])))) {
            HtmlTag();
        } else if (c == '(' && HarloweMacro()) {
        } else if (c == '$' && m_i + 1 < m_s.size() && (IsAlpha(m_s[m_i + 1]) || m_s[m_i + 1] == '_')) {
            Variable();
        } else if (c == '|' && NamedHookOpen()) {
        } else if (c == '[') {
            m_brackets.push_back(false);
            m_c.text += c;
            ++m_i;
        } else if (c == ']') {
            CloseBracket();
        } else if (c == '{' && Insert()) {
        } else if (Formatting()) {
        } else {
            m_c.text += c;
            ++m_i;
        }
    }

    void Verbatim(std::string_view open, std::string_view close) {
        const size_t end = Scan(m_i, [&] { return m_s.find(close, m_i + open.size()); });
        if (end == std::string_view::npos) {
            m_c.text += open;
            m_i += open.size();
            return;
        }
        m_c.text += m_s.substr(m_i + open.size(), end - m_i - open.size());
        m_i = end + close.size();
    }

    void AddLink(PassageLink link) {
        m_lineRemoved = true;
        m_c.links.push_back(std::move(link));
    }

    void Link() {
        const size_t end = Scan(m_i, [&] { return m_s.find("]]", m_i + 2); });
        if (end == std::string_view::npos) {
            m_c.text += "[[";
            m_i += 2;
            return;
        }
        std::string_view inner = m_s.substr(m_i + 2, end - m_i - 2);
        m_i = end + 2;
        PassageLink link;
        if (const size_t setter = inner.find("]["); setter != std::string_view::npos) {
            const std::string_view code = inner.substr(setter + 2);
            inner = inner.substr(0, setter);
            Cursor c{code};
            int32_t sign = 1;
            if (c.Eat("$score += ") || (c.Eat("$score -= ") && (sign = -1))) {
                const auto v = c.Int();
                if (v && c.AtEnd() && *v != INT32_MIN) {
                    link.score = sign * *v;
                } else {
                    link.setter = std::string(code);
                }
            } else {
                link.setter = std::string(code);
            }
        }
        SplitLink(inner, link);
        AddLink(std::move(link));
    }

    void Macro() {
        const size_t end = Scan(m_i, [&] { return FindClose(m_s, m_i + 2, ">>"); });
        if (end == std::string_view::npos) {
            m_c.text += "<<";
            m_i += 2;
            return;
        }
        const std::string_view inside = m_s.substr(m_i + 2, end - m_i - 2);
        const size_t tagStart = m_i;
        m_i = end + 2;
        m_lineRemoved = true;
        if (inside.starts_with("/")) {
            return; // the closing tag of a macro already named
        }
        size_t n = 0;
        while (n < inside.size() && !IsSpace(inside[n])) {
            ++n;
        }
        const std::string name(inside.substr(0, n));
        const std::string_view args = inside.substr(std::min(n + 1, inside.size()));
        if (name == "link" || name == "button") {
            LinkMacro(name, args);
        } else if (name == "script") {
            DropThrough("<</script>>", "<<script>>");
        } else if (name == "set" && m_s.substr(tagStart, kScoreReset.size()) == kScoreReset &&
                   m_c.text.find_first_not_of(" \t\n") == std::string::npos && m_c.links.empty() &&
                   !m_c.resetsScore) {
            m_c.resetsScore = true;
        } else {
            Removed("<<" + name + ">>");
        }
    }

    void LinkMacro(const std::string& name, std::string_view args) {
        PassageLink link;
        Cursor a{args};
        a.SkipSpaces();
        if (a.Eat("[[")) {
            const size_t e = args.find("]]", a.i);
            if (e != std::string_view::npos) {
                SplitLink(args.substr(a.i, e - a.i), link);
            }
        } else if (auto caption = a.String()) {
            link.caption = *caption;
            a.SkipSpaces();
            link.target = a.String();
        }
        // The body up to the matching closing tag.
        const std::string open = "<<" + name, close = "<</" + name + ">>";
        size_t k = m_i;
        int depth = 1;
        size_t bodyEnd = std::string_view::npos;
        while (k < m_s.size()) {
            const size_t c = Scan(k, [&] { return m_s.find(close, k); });
            const size_t o = c == std::string_view::npos ? c : m_s.substr(0, c).find(open, k);
            if (c == std::string_view::npos) {
                break;
            }
            if (o != std::string_view::npos && o < c) {
                ++depth;
                k = o + open.size();
            } else if (--depth == 0) {
                bodyEnd = c;
                break;
            } else {
                k = c + close.size();
            }
        }
        if (bodyEnd != std::string_view::npos) {
            const std::string_view body = m_s.substr(m_i, bodyEnd - m_i);
            m_i = bodyEnd + close.size();
            PassageLink scored = link;
            if (!link.target && ReadScoreBody(body, scored)) {
                link = scored;
            } else if (body.find_first_not_of(" \t\n") != std::string_view::npos) {
                Cursor b{body};
                for (size_t g = body.find("<<goto "); !link.target && g != std::string_view::npos;
                     g = body.find("<<goto ", g + 1)) {
                    b.i = g;
                    link.target = Goto(b);
                }
                link.setter = std::string(body);
            }
        }
        AddLink(std::move(link));
    }

    void HtmlTag() {
        const size_t end = Scan(m_i, [&] { return FindClose(m_s, m_i, ">"); });
        if (end == std::string_view::npos) {
            m_c.text += m_s[m_i++];
            return;
        }
        const bool closing = m_s[m_i + 1] == '/';
        size_t k = m_i + (closing ? 2 : 1);
        const size_t nameStart = k;
        while (k < end && IsNameChar(m_s[k])) {
            ++k;
        }
        const std::string name = Lower(m_s.substr(nameStart, k - nameStart));
        m_i = end + 1;
        m_lineRemoved = true;
        if (closing) {
            return;
        }
        if (name == "br") {
            m_c.text += '\n';
        } else if (name == "img") {
            Removed("image");
        } else if (name == "script" || name == "style") {
            DropThrough("</" + name, "HTML <" + name + ">");
            DropThrough(">", "");
        } else {
            Removed("HTML <" + name + ">");
        }
    }

    bool HarloweMacro() {
        size_t k = m_i + 1;
        while (k < m_s.size() && IsNameChar(m_s[k])) {
            ++k;
        }
        if (k == m_i + 1 || k >= m_s.size() || m_s[k] != ':' || !IsAlpha(m_s[m_i + 1])) {
            return false;
        }
        const size_t close = Scan(m_i, [&] { return MatchParen(m_s, m_i); });
        if (close == std::string_view::npos) {
            return false;
        }
        const std::string rawName(m_s.substr(m_i + 1, k - m_i - 1));
        const std::string name = Lower(rawName);
        Cursor args{m_s.substr(k + 1, close - k - 1)};
        m_i = close + 1;
        m_lineRemoved = true;
        const bool hook = m_i < m_s.size() && m_s[m_i] == '[';
        if (name == "linkgoto" || name == "clickgoto") {
            PassageLink link;
            args.SkipSpaces();
            if (auto caption = args.String()) {
                link.caption = *caption;
                args.SkipSpaces();
                link.target = args.Eat(",") ? (args.SkipSpaces(), args.String()) : caption;
                AddLink(std::move(link));
                return true;
            }
        } else if ((name == "link" || name == "linkreveal" || name == "linkrepeat") && hook) {
            args.SkipSpaces();
            const auto caption = args.String();
            const size_t hookEnd = Scan(m_i, [&] { return MatchParen(m_s, m_i, '[', ']'); });
            if (caption && hookEnd != std::string_view::npos) {
                const std::string_view body = m_s.substr(m_i + 1, hookEnd - m_i - 1);
                for (size_t p = body.find('('); p != std::string_view::npos; p = body.find('(', p + 1)) {
                    size_t q = p + 1;
                    while (q < body.size() && IsNameChar(body[q])) {
                        ++q;
                    }
                    if (Lower(body.substr(p + 1, q - p - 1)) != "goto" || q >= body.size() ||
                        body[q] != ':') {
                        continue;
                    }
                    Cursor t{body, q + 1};
                    t.SkipSpaces();
                    PassageLink link{*caption, t.String(), 0, {}, 0, {}, {}};
                    const size_t gotoEnd = MatchParen(body, p);
                    if (link.target && gotoEnd != std::string_view::npos) {
                        const std::string rest =
                            std::string(body.substr(0, p)) + std::string(body.substr(gotoEnd + 1));
                        if (rest.find_first_not_of(" \t\n") != std::string::npos) {
                            link.setter = rest;
                        }
                        m_i = hookEnd + 1;
                        AddLink(std::move(link));
                        return true;
                    }
                }
            }
        }
        Removed("(" + rawName + ":)");
        if (hook) {
            m_brackets.push_back(true);
            ++m_i;
        }
        return true;
    }

    void Variable() {
        size_t k = m_i + 1;
        while (k < m_s.size() && (IsNameChar(m_s[k]) && m_s[k] != '-')) {
            ++k;
        }
        Removed("variable " + std::string(m_s.substr(m_i, k - m_i)));
        while (k + 1 < m_s.size() && m_s[k] == '.' && IsAlpha(m_s[k + 1])) {
            ++k;
            while (k < m_s.size() && IsNameChar(m_s[k]) && m_s[k] != '-') {
                ++k;
            }
        }
        m_i = k;
    }

    bool NamedHookOpen() {
        size_t k = m_i + 1;
        while (k < m_s.size() && IsNameChar(m_s[k])) {
            ++k;
        }
        if (k == m_i + 1 || k + 1 >= m_s.size() || m_s[k] != '>' || m_s[k + 1] != '[') {
            return false;
        }
        Removed("Harlowe named hook");
        m_brackets.push_back(true);
        m_i = k + 2;
        return true;
    }

    void CloseBracket() {
        const bool hook = !m_brackets.empty() && m_brackets.back();
        if (!m_brackets.empty()) {
            m_brackets.pop_back();
        }
        ++m_i;
        if (!hook) {
            m_c.text += ']';
            return;
        }
        m_lineRemoved = true;
        // "]<name|" closes a named hook.
        if (m_i < m_s.size() && m_s[m_i] == '<') {
            size_t k = m_i + 1;
            while (k < m_s.size() && IsNameChar(m_s[k])) {
                ++k;
            }
            if (k > m_i + 1 && k < m_s.size() && m_s[k] == '|') {
                m_i = k + 1;
            }
        }
    }

    // Chapbook inserts: {back link}, {link to: 'Passage', label: 'Text'}, {embed passage: 'x'} ...
    bool Insert() {
        if (m_format != StoryFormat::Chapbook && m_format != StoryFormat::Unknown) {
            return false;
        }
        const size_t end = Scan(m_i, [&] { return FindClose(m_s, m_i + 1, "}"); });
        if (end == std::string_view::npos ||
            m_s.substr(m_i, end - m_i).find('\n') != std::string_view::npos || m_i + 1 >= end ||
            !IsAlpha(m_s[m_i + 1])) {
            return false;
        }
        const std::string_view inside = m_s.substr(m_i + 1, end - m_i - 1);
        m_i = end + 1;
        m_lineRemoved = true;
        if (inside.starts_with("link to:")) {
            Cursor c{inside, 8};
            c.SkipSpaces();
            PassageLink link;
            link.target = c.String();
            c.SkipSpaces();
            if (link.target && c.Eat(",")) {
                c.SkipSpaces();
                if (c.Eat("label:")) {
                    c.SkipSpaces();
                    link.caption = c.String().value_or(*link.target);
                }
            }
            if (link.target) {
                if (link.caption.empty()) {
                    link.caption = *link.target;
                }
                AddLink(std::move(link));
                return true;
            }
        }
        const size_t nameEnd = inside.find_first_of(":}");
        Removed("Chapbook insert {" + std::string(inside.substr(0, nameEnd)) + "}");
        return true;
    }

    bool Formatting() {
        static constexpr std::string_view kMarks[] = {"''", "//", "__", "~~", "^^", "**", "==", "@@"};
        for (std::string_view mark : kMarks) {
            if (At(mark)) {
                if (mark == "//" && m_i > 0 && m_s[m_i - 1] == ':') {
                    return false; // a web address
                }
                m_i += mark.size();
                Removed("formatting " + std::string(mark));
                return true;
            }
        }
        if (m_s[m_i] == '#') {
            size_t k = m_i;
            while (k < m_s.size() && m_s[k] == '#') {
                ++k;
            }
            if (k > m_i && k - m_i <= 6 && k < m_s.size() && m_s[k] == ' ' &&
                m_c.text.size() == m_lineStart) {
                m_i = k + 1;
                Removed("heading #");
                return true;
            }
        }
        return false;
    }
};

} // namespace

StoryFormat FormatFromName(std::string_view name) {
    const std::string n = Lower(name);
    if (n.starts_with("harlowe")) {
        return StoryFormat::Harlowe;
    }
    if (n.starts_with("sugarcube")) {
        return StoryFormat::SugarCube;
    }
    if (n.starts_with("chapbook")) {
        return StoryFormat::Chapbook;
    }
    if (n.starts_with("snowman")) {
        return StoryFormat::Snowman;
    }
    return StoryFormat::Unknown;
}

PassageContent ParsePassage(std::string_view text, StoryFormat format) {
    return Parser(text, format).Run();
}

bool IsPlainText(std::string_view text) {
    for (size_t p = 0; p <= text.size();) {
        if (text.substr(p).starts_with("::")) {
            return false; // a passage header
        }
        const size_t nl = text.find('\n', p);
        p = nl == std::string_view::npos ? text.size() + 1 : nl + 1;
    }
    const PassageContent c = ParsePassage(text, StoryFormat::SugarCube);
    std::string_view expected = text;
    if (expected.ends_with('\n')) {
        expected.remove_suffix(1);
    }
    return c.removed.empty() && c.links.empty() && !c.title && !c.resetsScore && c.text == expected;
}

std::string TitleLine(const std::string& title) {
    std::string json = nlohmann::json(title).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string out;
    for (char c : json) {
        out += c == '/' ? std::string("\\/") : std::string(1, c);
    }
    return std::string(kTitlePrefix) + out + " */";
}

} // namespace interop
