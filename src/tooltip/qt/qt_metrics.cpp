#include "tooltip/qt/qt_metrics.h"

#include <algorithm>

namespace tooltip {
namespace {
constexpr std::size_t kMaxCachedWidths = 4096;
} // namespace

QColor ToQColor(markup::Colour colour) {
    return QColor(colour.r, colour.g, colour.b);
}

markup::Colour FromQColor(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

QFont MakeFont(const markup::TextStyle& style) {
    QFont font(QString::fromStdString(style.face));
    font.setPixelSize(std::clamp(style.size, 1, markup::kMaxLength));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(style.weight, 100, 900)));
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikeout);
    return font;
}

const QtMetrics::FontEntry& QtMetrics::EntryOf(const markup::TextStyle& style) const {
    const Key key{style.face, style.size, style.weight, style.italic, style.underline, style.strikeout};
    auto it = cache_.find(key);
    if (it == cache_.end()) {
        QFontMetrics fm(MakeFont(style));
        const markup::FontInfo info{fm.ascent(), fm.descent(), fm.xHeight()};
        it = cache_.emplace(key, FontEntry{fm, info}).first;
    }
    return it->second;
}

const QFontMetrics& QtMetrics::MetricsOf(const markup::TextStyle& style) const {
    return EntryOf(style).metrics;
}

markup::FontInfo QtMetrics::Font(const markup::TextStyle& style) const {
    return EntryOf(style).info;
}

int QtMetrics::TextWidth(const markup::TextStyle& style, std::string_view text) const {
    auto key = std::make_pair(
        Key{style.face, style.size, style.weight, style.italic, style.underline, style.strikeout},
        std::string(text));
    if (const auto it = widths_.find(key); it != widths_.end()) {
        return it->second;
    }
    if (widths_.size() >= kMaxCachedWidths) {
        widths_.clear();
    }
    const int width = MetricsOf(style).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    widths_.emplace(std::move(key), width);
    return width;
}

markup::Size QtMetrics::ImageSize(const markup::ImageRef& image) const {
    const QImage picture = pictures_ ? pictures_(image) : QImage();
    return {picture.width(), picture.height()};
}

} // namespace tooltip
