#include "tooltip/markup_layout.h"

#include <algorithm>
#include <memory>

namespace markup {
namespace {

int Sat(long long value) {
    return static_cast<int>(std::clamp<long long>(value, 0, kMaxExtent));
}

struct TableLayout;

struct Placed {
    const Item* item = nullptr;
    const TextStyle* style = nullptr;
    int width = 0;
    int ascent = 0;
    int descent = 0;
    int height = 0; // for items not on the baseline
    VAlign valign = VAlign::Baseline;
    int rulePercent = -1; // a rule as a share of the area
    std::shared_ptr<TableLayout> table;
};

struct Line {
    std::vector<Placed> items;
    int width = 0;
    int ascent = 0;
    int descent = 0;
    int height = 0;
    HAlign align = HAlign::Left;
};

struct CellLayout {
    const Cell* cell = nullptr;
    std::vector<Line> lines;
    Size content;
    int column = 0;
    int span = 1;
    int rowSpan = 1;
    int neededHeight = 0;
};

struct TableLayout {
    const Table* table = nullptr;
    std::vector<std::vector<CellLayout>> rows;
    std::vector<int> columns;
    std::vector<int> rowHeights;
    int border = 0;
    int spacing = 2;
    int padding = 1;
    Size size;
};

Size Extent(const std::vector<Line>& lines) {
    Size size;
    long long height = 0;
    for (const Line& line : lines) {
        size.width = std::max(size.width, line.width);
        height += line.height;
    }
    size.height = Sat(height);
    return size;
}

// The height of `count` rows from `first`, with the spacing between them.
int SpannedHeight(const TableLayout& t, int first, int count) {
    long long sum = static_cast<long long>(t.spacing) * (count - 1);
    for (int k = 0; k < count; ++k) {
        sum += t.rowHeights[first + k];
    }
    return Sat(sum);
}

class Layouter {
public:
    Layouter(const Metrics& metrics, Hot hot, int dpiY) : metrics_(metrics), hot_(hot), dpiY_(dpiY) {}

    const TextStyle& StyleOf(const Item& item) const {
        return item.link >= 0 && item.link == hot_.link ? item.hoverStyle : item.style;
    }

    std::vector<Line> BuildLines(const std::vector<Item>& items) {
        std::vector<Line> lines;
        Line current;
        long long x = 0;
        const auto finish = [&](Line& line, const TextStyle& breakStyle) {
            if (line.items.empty()) {
                const FontInfo font = metrics_.Font(breakStyle);
                line.height = Sat(font.ascent + font.descent);
            }
            line.width = Sat(x);
            lines.push_back(std::move(line));
            line = Line{};
            x = 0;
        };
        for (const Item& item : items) {
            const TextStyle& style = StyleOf(item);
            Placed placed;
            placed.item = &item;
            placed.style = &style;
            placed.valign = style.valign;
            switch (item.kind) {
            case Item::Kind::Text: {
                const FontInfo font = metrics_.Font(style);
                placed.width = Sat(metrics_.TextWidth(style, item.text));
                placed.ascent = font.ascent;
                placed.descent = font.descent;
                break;
            }
            case Item::Kind::Tab: {
                const long long stop = std::max(1, 2 * style.size);
                const long long before = x;
                long long after = x;
                for (int i = 0; i < item.count; ++i) {
                    after = (after / stop + 1) * stop;
                }
                placed.width = Sat(after - before);
                break;
            }
            case Item::Kind::Break:
                finish(current, style);
                for (int i = 1; i < item.count; ++i) {
                    Line empty;
                    finish(empty, style);
                }
                continue;
            case Item::Kind::Rule: {
                const FontInfo font = metrics_.Font(style);
                placed.height = std::max(item.ruleSize, font.ascent + font.descent);
                placed.valign = VAlign::Middle;
                const std::string& width = item.ruleWidth;
                if (width.empty()) {
                    placed.rulePercent = 100;
                } else if (width.back() == '%') {
                    placed.rulePercent =
                        ParseLength(width, {100, style.size, font.xHeight, dpiY_}).value_or(100);
                } else {
                    placed.width = ParseLength(width, {0, style.size, font.xHeight, dpiY_}).value_or(0);
                }
                break;
            }
            case Item::Kind::Image: {
                const Size size = ImageSize(item.image, style);
                placed.width = size.width;
                placed.ascent = size.height;
                placed.height = size.height;
                break;
            }
            case Item::Kind::Table:
                placed.table = MeasureTable(*item.table);
                placed.width = placed.table->size.width;
                placed.ascent = placed.table->size.height;
                placed.height = placed.table->size.height;
                break;
            }
            if (current.items.empty()) {
                current.align = style.align;
            }
            x += placed.width;
            if (placed.valign == VAlign::Baseline) {
                current.ascent = std::max(current.ascent, placed.ascent);
                current.descent = std::max(current.descent, placed.descent);
            } else if (placed.height == 0) {
                placed.height = placed.ascent + placed.descent;
            }
            current.height = std::max({current.height, current.ascent + current.descent, placed.height});
            current.items.push_back(std::move(placed));
        }
        if (!current.items.empty()) {
            current.width = Sat(x);
            lines.push_back(std::move(current));
        }
        return lines;
    }

    Size ImageSize(const ImageRef& image, const TextStyle& style) const {
        const Size natural = metrics_.ImageSize(image);
        const FontInfo font = metrics_.Font(style);
        const auto scaled = [&](const std::string& length, int value) {
            if (length.empty()) {
                return value;
            }
            return ParseLength(length, {value, style.size, font.xHeight, dpiY_}).value_or(value);
        };
        return {scaled(image.width, natural.width), scaled(image.height, natural.height)};
    }

    std::shared_ptr<TableLayout> MeasureTable(const Table& table) {
        auto layout = std::make_shared<TableLayout>();
        layout->table = &table;
        const CellAttributes& a = table.attributes;
        layout->border = a.border.value_or(0);
        layout->spacing = a.cellSpacing.value_or(2);
        layout->padding = a.cellPadding.value_or(1);
        const int frame = layout->border > 0 ? 1 : 0;
        const int extra = 2 * (layout->padding + frame);

        std::vector<std::pair<int, int>> spanned; // (row, cell) of cells spanning columns
        std::vector<std::pair<int, int>> tall;    // (row, cell) of cells spanning rows
        std::vector<int> occupied;                // rows still covered by a cell from a row above, per column
        const int rowCount = static_cast<int>(table.rows.size());
        for (const Row& row : table.rows) {
            auto& cells = layout->rows.emplace_back();
            const int r = static_cast<int>(layout->rows.size()) - 1;
            int column = 0;
            int height = 0;
            for (const Cell& cell : row.cells) {
                while (column < static_cast<int>(occupied.size()) && occupied[column] > 0) {
                    ++column; // a cell from above reaches into this row
                }
                CellLayout c;
                c.cell = &cell;
                ++depth_;
                c.lines = BuildLines(cell.items);
                --depth_;
                c.content = Extent(c.lines);
                c.column = column;
                c.span = cell.attributes.colSpan;
                c.rowSpan = std::clamp(cell.attributes.rowSpan, 1, rowCount - r);
                column += c.span;
                if (occupied.size() < static_cast<std::size_t>(column)) {
                    occupied.resize(column, 0);
                }
                for (int k = c.column; k < column; ++k) {
                    occupied[k] = c.rowSpan; // counted down after the row
                }
                int width = Sat(static_cast<long long>(c.content.width) + extra);
                if (!cell.attributes.width.empty() && cell.attributes.width.back() != '%') {
                    width = std::max(width, ParseLength(cell.attributes.width, {}).value_or(0));
                }
                if (layout->columns.size() < static_cast<std::size_t>(column)) {
                    layout->columns.resize(column, 0);
                }
                if (c.span == 1) {
                    layout->columns[c.column] = std::max(layout->columns[c.column], width);
                } else {
                    spanned.emplace_back(static_cast<int>(layout->rows.size()) - 1,
                                         static_cast<int>(cells.size()));
                }
                c.neededHeight = Sat(static_cast<long long>(c.content.height) + extra);
                if (c.rowSpan == 1) {
                    height = std::max(height, c.neededHeight);
                } else {
                    tall.emplace_back(r, static_cast<int>(cells.size()));
                }
                c.content.width = width; // remembered as the cell's needed width
                cells.push_back(std::move(c));
            }
            for (int& rows : occupied) {
                rows = std::max(0, rows - 1);
            }
            layout->rowHeights.push_back(height);
        }
        // Cells spanning rows make the last of them higher when the rows are too low together.
        for (const auto& [r, i] : tall) {
            const CellLayout& c = layout->rows[r][i];
            if (const int sum = SpannedHeight(*layout, r, c.rowSpan); sum < c.neededHeight) {
                layout->rowHeights[r + c.rowSpan - 1] += c.neededHeight - sum;
            }
        }
        // Cells spanning columns widen the last of them when the columns are too narrow together.
        for (const auto& [r, i] : spanned) {
            const CellLayout& c = layout->rows[r][i];
            long long sum = static_cast<long long>(layout->spacing) * (c.span - 1);
            for (int k = 0; k < c.span; ++k) {
                sum += layout->columns[c.column + k];
            }
            if (sum < c.content.width) {
                layout->columns[c.column + c.span - 1] += static_cast<int>(c.content.width - sum);
            }
        }
        const auto columnCount = static_cast<long long>(layout->columns.size());
        long long width = 2LL * layout->border + layout->spacing * (columnCount + 1);
        for (const int w : layout->columns) {
            width += w;
        }
        // A width in percent is a share of the area; only tables outside tables know it.
        const bool percent = !a.width.empty() && a.width.back() == '%';
        sawPercentTable_ = sawPercentTable_ || (percent && depth_ == 0);
        if (!a.width.empty() && (!percent || depth_ == 0) && columnCount > 0) {
            const long long wanted = percent ? std::min(100, ParseLength(a.width, {100}).value_or(0)) *
                                                   static_cast<long long>(percentBase_) / 100
                                             : ParseLength(a.width, {}).value_or(0);
            if (wanted > width) {
                const long long share = (wanted - width) / columnCount;
                for (int& w : layout->columns) {
                    w = Sat(w + share);
                }
                layout->columns.back() = Sat(layout->columns.back() + (wanted - width) - share * columnCount);
                width = wanted;
            }
        }
        long long height =
            2LL * layout->border + layout->spacing * static_cast<long long>(layout->rows.size() + 1);
        for (const int h : layout->rowHeights) {
            height += h;
        }
        layout->size = {Sat(width), Sat(height)};
        return layout;
    }

    void Place(const std::vector<Line>& lines, int x0, int y0, int areaWidth, std::vector<Box>& out) {
        long long y = y0;
        for (const Line& line : lines) {
            long long x = x0;
            const int free = std::max(0, areaWidth - line.width);
            if (line.align == HAlign::Center) {
                x += free / 2;
            } else if (line.align == HAlign::Right) {
                x += free;
            }
            for (const Placed& p : line.items) {
                int top = 0;
                switch (p.valign) {
                case VAlign::Baseline:
                    top = Sat(y + line.ascent - p.ascent);
                    break;
                case VAlign::Top:
                    top = Sat(y);
                    break;
                case VAlign::Middle:
                    top = Sat(y + (line.height - p.height) / 2);
                    break;
                case VAlign::Bottom:
                    top = Sat(y + line.height - p.height);
                    break;
                }
                const Item& item = *p.item;
                Box box;
                box.link = item.link;
                switch (item.kind) {
                case Item::Kind::Text:
                    box.kind = Box::Kind::Text;
                    box.rect = {Sat(x), top, p.width, p.ascent + p.descent};
                    box.style = p.style;
                    box.text = item.text;
                    box.baseline = top + p.ascent;
                    out.push_back(box);
                    break;
                case Item::Kind::Rule: {
                    const int width = p.rulePercent >= 0
                                          ? Sat(static_cast<long long>(areaWidth) * p.rulePercent / 100)
                                          : p.width;
                    const long long start = p.rulePercent >= 0 ? x0 + (areaWidth - width) / 2 : x;
                    box.kind = Box::Kind::Rule;
                    box.rect = {Sat(start), Sat(y + (line.height - item.ruleSize) / 2), width, item.ruleSize};
                    box.colour = item.ruleColour;
                    out.push_back(box);
                    break;
                }
                case Item::Kind::Image:
                    box.kind = Box::Kind::Image;
                    box.rect = {Sat(x), top, p.width, p.height};
                    box.image = &item.image;
                    box.imageIndex = item.imageIndex;
                    box.hot = item.imageIndex == hot_.image;
                    box.style = p.style;
                    out.push_back(box);
                    break;
                case Item::Kind::Table:
                    PlaceTable(*p.table, Sat(x), top, out);
                    break;
                case Item::Kind::Tab:
                case Item::Kind::Break:
                    break;
                }
                x += p.width;
            }
            y += line.height;
        }
    }

    static void AddFill(const CellAttributes& a, const CellAttributes* fallback, Rect rect,
                        std::vector<Box>& out) {
        const auto pick = [&](auto member) {
            auto value = a.*member;
            if (!value && fallback) {
                value = fallback->*member;
            }
            return value;
        };
        const auto colour = pick(&CellAttributes::bgColour);
        const auto effect = pick(&CellAttributes::bgEffect);
        if (!colour && !effect) {
            return;
        }
        Box box;
        box.kind = Box::Kind::Fill;
        box.rect = rect;
        box.colour = colour.value_or(Colour{255, 255, 255});
        box.effect = effect.value_or(0);
        box.mid = pick(&CellAttributes::bgMidColour).value_or(box.colour);
        box.end = pick(&CellAttributes::bgEndColour).value_or(box.colour);
        out.push_back(box);
    }

    static void AddFrame(Rect rect, int width, Colour light, Colour dark, std::vector<Box>& out) {
        Box box;
        box.kind = Box::Kind::Frame;
        box.rect = rect;
        box.frameWidth = width;
        box.colour = light;
        box.end = dark;
        out.push_back(box);
    }

    void PlaceTable(const TableLayout& t, int x0, int y0, std::vector<Box>& out) {
        const CellAttributes& a = t.table->attributes;
        AddFill(a, nullptr, {x0, y0, t.size.width, t.size.height}, out);
        const Colour light = a.borderColourLight.value_or(a.borderColour.value_or(Colour{224, 224, 224}));
        const Colour dark = a.borderColourDark.value_or(a.borderColour.value_or(Colour{128, 128, 128}));
        if (t.border > 0) {
            AddFrame({x0, y0, t.size.width, t.size.height}, t.border, light, dark, out);
        }
        std::vector<int> columnX(t.columns.size() + 1);
        long long cx = static_cast<long long>(x0) + t.border + t.spacing;
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            columnX[c] = Sat(cx);
            cx += t.columns[c] + t.spacing;
        }
        columnX.back() = Sat(cx);
        long long y = static_cast<long long>(y0) + t.border + t.spacing;
        const int frame = t.border > 0 ? 1 : 0;
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const Row& row = t.table->rows[r];
            for (const CellLayout& c : t.rows[r]) {
                const int left = columnX[c.column];
                const int right = columnX[c.column + c.span] - t.spacing;
                const Rect rect{left, Sat(y), std::max(0, right - left),
                                SpannedHeight(t, static_cast<int>(r), c.rowSpan)};
                AddFill(c.cell->attributes, &row.attributes, rect, out);
                if (frame) {
                    AddFrame(rect, 1, dark, light, out); // cells look sunk into a raised table
                }
                const int inset = frame + t.padding;
                const Rect inner{rect.x + inset, rect.y + inset, std::max(0, rect.width - 2 * inset),
                                 std::max(0, rect.height - 2 * inset)};
                const Size content = Extent(c.lines);
                const VAlign valign =
                    c.cell->attributes.valign.value_or(row.attributes.valign.value_or(VAlign::Middle));
                int offset = 0;
                if (valign == VAlign::Middle) {
                    offset = std::max(0, inner.height - content.height) / 2;
                } else if (valign == VAlign::Bottom) {
                    offset = std::max(0, inner.height - content.height);
                }
                Place(c.lines, inner.x, inner.y + offset, inner.width, out);
            }
            y += t.rowHeights[r] + t.spacing;
        }
    }

private:
    const Metrics& metrics_;
    Hot hot_;
    int dpiY_;

public:
    int percentBase_ = 0;          // the area's width, for tables with a width in percent
    bool sawPercentTable_ = false; // whether the layout has to be redone once the width is known

private:
    int depth_ = 0; // tables around the cell being measured
};

} // namespace

FontInfo FixedMetrics::Font(const TextStyle& style) const {
    const int ascent = style.size * 4 / 5;
    return {ascent, style.size - ascent, style.size / 2};
}

int FixedMetrics::TextWidth(const TextStyle& style, std::string_view text) const {
    long long glyphs = 0;
    for (const char c : text) {
        glyphs += (static_cast<unsigned char>(c) & 0xC0) != 0x80; // count code points, not bytes
    }
    return Sat(glyphs * style.size * (style.weight >= 700 ? 6 : 5) / 10);
}

Size FixedMetrics::ImageSize(const ImageRef& image) const {
    return {image.cx > 0 ? image.cx : 16, image.cy > 0 ? image.cy : 16};
}

LayoutResult Layout(const Document& doc, const Metrics& metrics, int areaWidth, Hot hot, int dpiY) {
    Layouter layouter(metrics, hot, dpiY);
    layouter.percentBase_ = areaWidth;
    std::vector<Line> lines = layouter.BuildLines(doc.items);
    LayoutResult result;
    result.size = Extent(lines);
    if (layouter.sawPercentTable_ && areaWidth < result.size.width) {
        // Measured without an area: tables in percent take their share of the widest line.
        layouter.percentBase_ = result.size.width;
        lines = layouter.BuildLines(doc.items);
        result.size = Extent(lines);
    }
    layouter.Place(lines, 0, 0, std::max(areaWidth, result.size.width), result.boxes);
    return result;
}

Hot HitTest(const LayoutResult& layout, int x, int y) {
    for (auto it = layout.boxes.rbegin(); it != layout.boxes.rend(); ++it) {
        if ((it->link >= 0 || it->imageIndex >= 0) && it->rect.Contains(x, y)) {
            return {it->link, it->imageIndex};
        }
    }
    return {};
}

} // namespace markup
