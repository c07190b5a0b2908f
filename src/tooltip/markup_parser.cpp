#include "tooltip/markup_parser.h"

#include "tooltip/markup_tokenizer.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace markup {
namespace {

// Deeper nesting than this ignores further opening tags, so hostile input cannot grow the stack freely.
constexpr std::size_t kMaxStateDepth = 256;

// Tags that apply the style sheet's rule of their own name ("p" is not one of them).
constexpr std::array<std::string_view, 13> kSheetTags{"body", "h1",  "h2",  "h3",    "h4",  "h5", "h6",
                                                      "code", "pre", "big", "small", "sub", "sup"};

std::optional<int> ParseInt(std::string_view text, int base = 10) {
    if (base == 16 && text.size() > 2 && text[0] == '0' && text[1] == 'x') {
        text.remove_prefix(2);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return static_cast<int>(std::clamp<long long>(value, -1'000'000, 1'000'000));
}

void ApplyTransform(std::string& text, Transform transform, bool& afterBlank) {
    for (char& c : text) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        switch (transform) {
        case Transform::Upper:
            if (lower) {
                c = static_cast<char>(c - 'a' + 'A');
            }
            break;
        case Transform::Lower:
            if (upper) {
                c = static_cast<char>(c - 'A' + 'a');
            }
            break;
        case Transform::Capitalize:
            if (afterBlank && lower) {
                c = static_cast<char>(c - 'a' + 'A');
            }
            break;
        case Transform::None:
            break;
        }
        afterBlank = c == ' ';
    }
}

struct State {
    std::string tag;
    TextStyle normal;
    TextStyle hover;
    int link = -1;
    bool pre = false;
};

struct TableContext {
    Table* table = nullptr;
    std::size_t stateDepth = 0; // the state stack's size with the table's own state on it
    bool rowOpen = false;
    bool cellOpen = false;
};

class Parser {
public:
    Parser(const StyleSheet& sheet, const StyleEnvironment& env) : sheet_(sheet), env_(env) {
        states_.push_back({});
    }

    // The text is read as if wrapped in "<body>" and "</body>"; the body is opened here rather than by
    // text, so a stray "<" at the end cannot swallow the closing tag.
    Document Run(std::string_view markup) {
        Tag body;
        body.name = "body";
        Open(body);
        for (auto& token : Tokenize(markup)) {
            if (token.kind == Token::Kind::Text) {
                AddText(token.text);
            } else if (token.tag.closing) {
                Close(token.tag.name);
            } else {
                Open(token.tag);
            }
        }
        return std::move(doc_);
    }

private:
    State& Top() { return states_.back(); }

    std::vector<Item>* Target() {
        if (tables_.empty()) {
            return &doc_.items;
        }
        const TableContext& context = tables_.back();
        if (!context.cellOpen) {
            return nullptr; // text between table tags outside a cell is dropped
        }
        return &context.table->rows.back().cells.back().items;
    }

    Item MakeItem(Item::Kind kind) {
        Item item;
        item.kind = kind;
        item.style = Top().normal;
        item.hoverStyle = Top().hover;
        item.link = Top().link;
        return item;
    }

    void Add(Item item) {
        if (auto* target = Target()) {
            target->push_back(std::move(item));
        }
    }

    void AddText(std::string_view raw) {
        std::string run;
        const auto flush = [&] {
            if (run.empty()) {
                return;
            }
            ApplyTransform(run, Top().normal.transform, afterBlank_);
            auto* target = Target();
            if (target && !target->empty()) {
                Item& last = target->back();
                if (last.kind == Item::Kind::Text && last.link == Top().link && last.style == Top().normal &&
                    last.hoverStyle == Top().hover) {
                    last.text += run;
                    run.clear();
                    return;
                }
            }
            Item item = MakeItem(Item::Kind::Text);
            item.text = std::move(run);
            run.clear();
            Add(std::move(item));
        };
        const std::string text = DecodeEntities(raw);
        for (const char c : text) {
            if (c == '\n' || c == '\t') {
                if (Top().pre) {
                    flush();
                    Add(MakeItem(c == '\n' ? Item::Kind::Break : Item::Kind::Tab));
                    afterBlank_ = true;
                }
                continue;
            }
            if (c == '\r') {
                continue;
            }
            run += c;
        }
        flush();
    }

    bool Push(std::string_view tag) {
        if (states_.size() >= kMaxStateDepth) {
            return false;
        }
        State state = Top();
        state.tag = std::string(tag);
        states_.push_back(std::move(state));
        return true;
    }

    template <typename F> void Both(F&& change) {
        change(Top().normal);
        change(Top().hover);
    }

    void ApplyRule(std::string_view selector) {
        Both([&](TextStyle& style) { sheet_.Apply(selector, style, env_); });
    }

    std::size_t Floor() const { return tables_.empty() ? 1 : tables_.back().stateDepth; }

    void CloseCell() {
        if (tables_.empty()) {
            return;
        }
        TableContext& context = tables_.back();
        states_.resize(context.stateDepth);
        context.cellOpen = false;
    }

    void Close(const std::string& name) {
        if (name == "table") {
            if (!tables_.empty()) {
                states_.resize(tables_.back().stateDepth - 1);
                tables_.pop_back();
            }
            return;
        }
        if (name == "td") {
            CloseCell();
            return;
        }
        if (name == "tr") {
            CloseCell();
            if (!tables_.empty()) {
                tables_.back().rowOpen = false;
            }
            return;
        }
        // Back to the state outside the nearest matching opening tag; a closing tag with no opening
        // one (or one outside the current table cell) is ignored.
        for (std::size_t k = states_.size(); k-- > Floor();) {
            if (states_[k].tag == name) {
                states_.resize(k);
                return;
            }
        }
    }

    void Open(const Tag& tag) {
        const std::string& name = tag.name;
        if (name == "br" || name == "t") {
            Item item = MakeItem(name == "br" ? Item::Kind::Break : Item::Kind::Tab);
            item.count = RepeatCount(tag);
            Add(std::move(item));
            afterBlank_ = true;
        } else if (name == "hr") {
            Item item = MakeItem(Item::Kind::Rule);
            item.ruleColour = Top().normal.colour;
            if (const auto* width = tag.Find("width")) {
                item.ruleWidth = *width;
            }
            if (const auto* size = tag.Find("size")) {
                item.ruleSize = std::clamp(ParseInt(*size).value_or(1), 1, 100);
            }
            if (const auto* colour = tag.Find("color")) {
                item.ruleColour = ParseColour(*colour, env_.systemColours).value_or(item.ruleColour);
            }
            Add(std::move(item));
        } else if (name == "bmp" || name == "icon" || name == "ilst") {
            AddImage(tag);
        } else if (name == "table") {
            OpenTable(tag);
        } else if (name == "tr") {
            if (!tables_.empty()) {
                CloseCell();
                TableContext& context = tables_.back();
                context.table->rows.push_back({ReadCellAttributes(tag), {}});
                context.rowOpen = true;
            }
        } else if (name == "td") {
            OpenCell(tag);
        } else if (name == "a") {
            if (Push(name)) {
                Top().link = static_cast<int>(doc_.links.size());
                Link link;
                if (const auto* href = tag.Find("href")) {
                    link.href = *href;
                }
                if (const auto* msg = tag.Find("msg")) {
                    link.msg = *msg;
                }
                doc_.links.push_back(std::move(link));
                sheet_.Apply("a:link", Top().normal, env_);
                sheet_.Apply("a:hover", Top().hover, env_);
            }
        } else if (name == "b") {
            if (Push(name)) {
                Both([](TextStyle& s) { s.weight = std::min(kMaxWeight, s.weight * 2); });
            }
        } else if (name == "i" || name == "em") {
            if (Push(name)) {
                Both([](TextStyle& s) { s.italic = !s.italic; });
            }
        } else if (name == "u") {
            if (Push(name)) {
                Both([](TextStyle& s) { s.underline = !s.underline; });
            }
        } else if (name == "s" || name == "strike") {
            if (Push(name)) {
                Both([](TextStyle& s) { s.strikeout = !s.strikeout; });
            }
        } else if (name == "font") {
            if (Push(name)) {
                Both([&](TextStyle& s) { ApplyFont(tag, s); });
            }
        } else if (name == "span") {
            if (Push(name)) {
                if (const auto* cls = tag.Find("class")) {
                    ApplyRule("." + *cls);
                }
            }
        } else if (name == "left" || name == "center" || name == "right") {
            if (Push(name)) {
                const HAlign align = name == "left"     ? HAlign::Left
                                     : name == "center" ? HAlign::Center
                                                        : HAlign::Right;
                Both([&](TextStyle& s) { s.align = align; });
            }
        } else if (name == "baseline" || name == "top" || name == "middle" || name == "vcenter" ||
                   name == "bottom") {
            if (Push(name)) {
                const VAlign valign = name == "baseline" ? VAlign::Baseline
                                      : name == "top"    ? VAlign::Top
                                      : name == "bottom" ? VAlign::Bottom
                                                         : VAlign::Middle;
                Both([&](TextStyle& s) { s.valign = valign; });
            }
        } else if (std::find(kSheetTags.begin(), kSheetTags.end(), name) != kSheetTags.end()) {
            if (Push(name)) {
                ApplyRule(name);
                if (name == "pre") {
                    Top().pre = true;
                }
            }
        }
        // Any other tag (p, string, ...) is ignored.
    }

    static int RepeatCount(const Tag& tag) {
        for (const auto& [attribute, value] : tag.attributes) {
            if (const auto n = ParseInt(value.empty() ? attribute : value)) {
                return std::clamp(*n, 1, kMaxRepeat);
            }
        }
        return 1;
    }

    void ApplyFont(const Tag& tag, TextStyle& s) {
        if (const auto* face = tag.Find("face"); face && !face->empty()) {
            s.face = *face;
        }
        if (const auto* size = tag.Find("size")) {
            if (const auto px = ParseLength(*size, MakeLengthContext(s, s.size, env_.dpiY), true)) {
                s.size = std::max(1, *px);
            }
        }
        if (const auto* colour = tag.Find("color")) {
            s.colour = ParseColour(*colour, env_.systemColours).value_or(s.colour);
        }
        if (const auto* weight = tag.Find("weight")) {
            ApplyDeclaration({"font-weight", *weight}, s, env_);
        }
        if (const auto* letters = tag.Find("style")) {
            bool on = true;
            for (const char c : *letters) {
                if (c == '-' || c == '+') {
                    on = c == '+';
                    continue;
                }
                if (c == 'b') {
                    s.weight = on ? 700 : 400;
                } else if (c == 'i') {
                    s.italic = on;
                } else if (c == 'u') {
                    s.underline = on;
                } else if (c == 's') {
                    s.strikeout = on;
                } else if (c == 'o') {
                    s.overline = on;
                }
                on = true;
            }
        }
        if (const auto* background = tag.Find("bkgnd")) {
            if (background->empty() || *background == "transparent") {
                s.opaque = false;
            } else if (const auto colour = ParseColour(*background, env_.systemColours)) {
                s.opaque = true;
                s.background = *colour;
            }
        }
    }

    void AddImage(const Tag& tag) {
        Item item = MakeItem(Item::Kind::Image);
        ImageRef& image = item.image;
        image.kind = tag.name == "bmp"    ? ImageKind::Bitmap
                     : tag.name == "icon" ? ImageKind::Icon
                                          : ImageKind::ImageList;
        if (const auto* v = tag.Find("idres")) {
            image.idres = ParseInt(*v).value_or(-1);
        }
        if (const auto* v = tag.Find("file")) {
            image.file = *v;
        }
        if (const auto* v = tag.Find("handle")) {
            image.handle = static_cast<std::uint32_t>(ParseInt(*v, 16).value_or(0));
        }
        if (const auto* v = tag.Find("index")) {
            image.index = std::max(0, ParseInt(*v).value_or(0));
        }
        if (const auto* v = tag.Find("cx")) {
            image.cx = std::clamp(ParseInt(*v).value_or(0), 0, kMaxLength);
        }
        if (const auto* v = tag.Find("cy")) {
            image.cy = std::clamp(ParseInt(*v).value_or(0), 0, kMaxLength);
        }
        if (const auto* v = tag.Find("width")) {
            image.width = *v;
        }
        if (const auto* v = tag.Find("height")) {
            image.height = *v;
        }
        if (const auto* v = tag.Find("mask")) {
            image.mask = true;
            image.maskColour = ParseColour(*v, env_.systemColours);
        }
        if (const auto* v = tag.Find("style")) {
            image.style = *v;
        }
        if (const auto* v = tag.Find("hotstyle")) {
            image.hotStyle = *v;
        }
        item.imageIndex = doc_.imageCount++;
        Add(std::move(item));
    }

    CellAttributes ReadCellAttributes(const Tag& tag) const {
        CellAttributes a;
        const auto colour = [&](const char* name) -> std::optional<Colour> {
            const auto* v = tag.Find(name);
            return v ? ParseColour(*v, env_.systemColours) : std::nullopt;
        };
        const auto integer = [&](const char* name) -> std::optional<int> {
            const auto* v = tag.Find(name);
            if (!v) {
                return std::nullopt;
            }
            const auto n = ParseInt(*v);
            return n ? std::optional<int>(std::clamp(*n, 0, 256)) : std::nullopt;
        };
        if (const auto* v = tag.Find("width")) {
            a.width = *v;
        }
        if (const auto* v = tag.Find("align")) {
            if (*v == "left") {
                a.align = HAlign::Left;
            } else if (*v == "center") {
                a.align = HAlign::Center;
            } else if (*v == "right") {
                a.align = HAlign::Right;
            }
        }
        if (const auto* v = tag.Find("valign")) {
            if (*v == "top") {
                a.valign = VAlign::Top;
            } else if (*v == "middle") {
                a.valign = VAlign::Middle;
            } else if (*v == "bottom") {
                a.valign = VAlign::Bottom;
            }
        }
        a.bgColour = colour("bgcolor");
        if (const auto* v = tag.Find("bgeffect")) {
            a.bgEffect = ParseEffect(*v);
        }
        a.bgMidColour = colour("bgmidcolor");
        a.bgEndColour = colour("bgendcolor");
        a.border = integer("border");
        a.borderColour = colour("bordercolor");
        a.borderColourLight = colour("bordercolorlight");
        a.borderColourDark = colour("bordercolordark");
        a.cellPadding = integer("cellpadding");
        a.cellSpacing = integer("cellspacing");
        a.rowSpan = std::max(1, integer("rowspan").value_or(1));
        a.colSpan = std::clamp(integer("colspan").value_or(1), 1, 64);
        return a;
    }

    void OpenTable(const Tag& tag) {
        if (tables_.size() >= static_cast<std::size_t>(kMaxTableDepth) || !Target() || !Push("table")) {
            return;
        }
        Item item = MakeItem(Item::Kind::Table);
        item.table = std::make_shared<Table>();
        item.table->attributes = ReadCellAttributes(tag);
        Table* table = item.table.get();
        Target()->push_back(std::move(item));
        tables_.push_back({table, states_.size(), false, false});
    }

    void OpenCell(const Tag& tag) {
        if (tables_.empty()) {
            return;
        }
        CloseCell();
        TableContext& context = tables_.back();
        if (!context.rowOpen || context.table->rows.empty()) {
            context.table->rows.push_back({});
            context.rowOpen = true;
        }
        Row& row = context.table->rows.back();
        row.cells.push_back({ReadCellAttributes(tag), {}});
        context.cellOpen = true;
        // The cell's state always goes on the stack, so closing the cell restores what was outside it.
        State state = Top();
        state.tag = "td";
        states_.push_back(std::move(state));
        const auto align =
            row.cells.back().attributes.align ? row.cells.back().attributes.align : row.attributes.align;
        if (align) {
            Both([&](TextStyle& s) { s.align = *align; });
        }
        afterBlank_ = true;
    }

    const StyleSheet& sheet_;
    StyleEnvironment env_;
    Document doc_;
    std::vector<State> states_;
    std::vector<TableContext> tables_;
    bool afterBlank_ = true;
};

} // namespace

int ParseEffect(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, int>, 17> kNames{{{"transparent", -1},
                                                                              {"solid", 0},
                                                                              {"hgradient", 1},
                                                                              {"vgradient", 2},
                                                                              {"hcgradient", 3},
                                                                              {"vcgradient", 4},
                                                                              {"3hgradient", 5},
                                                                              {"3vgradient", 6},
                                                                              {"noise", 7},
                                                                              {"diagshade", 8},
                                                                              {"hshade", 9},
                                                                              {"vshade", 10},
                                                                              {"hbump", 11},
                                                                              {"vbump", 12},
                                                                              {"softbump", 13},
                                                                              {"hardbump", 14},
                                                                              {"metal", 15}}};
    for (const auto& [name, value] : kNames) {
        if (text == name) {
            return value;
        }
    }
    if (!text.empty() && text.front() == '-') {
        return -ParseInt(text.substr(1)).value_or(0);
    }
    return ParseInt(text).value_or(0);
}

Document Parse(std::string_view markup, const ParseOptions& options) {
    static const StyleSheet defaultSheet = StyleSheet::Default();
    Parser parser(options.styleSheet ? *options.styleSheet : defaultSheet, options.environment);
    return parser.Run(markup);
}

} // namespace markup
