// Measurements of the mark-up with Qt fonts and the program's pictures.
#pragma once

#include "tooltip/markup_layout.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace tooltip {

QColor ToQColor(markup::Colour colour);
markup::Colour FromQColor(const QColor& colour);

// The font of a text style: face, pixel size, weight (100..900 maps onto Qt's weights), italic,
// underline and strikeout. Overline is drawn by the drawer, as a line in the text colour.
QFont MakeFont(const markup::TextStyle& style);

// Finds a picture of the mark-up; an empty image when it does not exist.
using PictureSource = std::function<QImage(const markup::ImageRef&)>;

class QtMetrics final : public markup::Metrics {
public:
    explicit QtMetrics(PictureSource pictures) : pictures_(std::move(pictures)) {}

    markup::FontInfo Font(const markup::TextStyle& style) const override;
    int TextWidth(const markup::TextStyle& style, std::string_view text) const override;
    markup::Size ImageSize(const markup::ImageRef& image) const override;

    const QFontMetrics& MetricsOf(const markup::TextStyle& style) const;

private:
    using Key = std::tuple<std::string, int, int, bool, bool, bool>;
    PictureSource pictures_;
    // Fonts are looked up once per distinct style; the welcome text uses a handful.
    struct FontEntry {
        QFontMetrics metrics;
        markup::FontInfo info; // asked for on every run; Qt does not keep the x height
    };
    const FontEntry& EntryOf(const markup::TextStyle& style) const;
    mutable std::map<Key, FontEntry> cache_;
    // Widths of runs already measured: the tip lays its text out again on every hover change and paint.
    mutable std::map<std::pair<Key, std::string>, int, std::less<>> widths_;
};

} // namespace tooltip
