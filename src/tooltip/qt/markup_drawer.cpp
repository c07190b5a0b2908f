#include "tooltip/qt/markup_drawer.h"

#include "tooltip/qt/tip_effects.h"

#include <QPainter>

namespace tooltip {
namespace {

// Image styles: g greyed, d disabled, l lightened, s shadowed.
QImage Styled(QImage image, std::string_view style, QImage* shadow) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (const char letter : style) {
        if (letter == 'g' || letter == 'd' || letter == 'l') {
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = line[x];
                    int r = qRed(p), g = qGreen(p), b = qBlue(p);
                    if (letter != 'l') {
                        r = g = b = qGray(p);
                    }
                    if (letter != 'g') { // disabled and lightened lean towards white
                        r = (r + 2 * 255) / 3;
                        g = (g + 2 * 255) / 3;
                        b = (b + 2 * 255) / 3;
                    }
                    line[x] = qRgba(r, g, b, qAlpha(p));
                }
            }
        } else if (letter == 's' && shadow) {
            *shadow = image;
            for (int y = 0; y < shadow->height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(shadow->scanLine(y));
                for (int x = 0; x < shadow->width(); ++x) {
                    line[x] = qRgba(0, 0, 0, qAlpha(line[x]) / 2);
                }
            }
        }
    }
    return image;
}

} // namespace

markup::SystemColours SystemColoursFrom(const QPalette& palette) {
    const auto c = [&](QPalette::ColorGroup group, QPalette::ColorRole role) {
        return FromQColor(palette.color(group, role));
    };
    using G = QPalette::ColorGroup;
    using R = QPalette::ColorRole;
    return {
        {"activeborder", c(G::Active, R::Window)},
        {"activecaption", c(G::Active, R::Highlight)},
        {"appworkspace", c(G::Active, R::Mid)},
        {"background", c(G::Active, R::Window)},
        {"buttonface", c(G::Active, R::Button)},
        {"buttonhighlight", c(G::Active, R::Light)},
        {"buttonshadow", c(G::Active, R::Dark)},
        {"buttontext", c(G::Active, R::ButtonText)},
        {"captiontext", c(G::Active, R::HighlightedText)},
        {"graytext", c(G::Disabled, R::Text)},
        {"highlight", c(G::Active, R::Highlight)},
        {"highlighttext", c(G::Active, R::HighlightedText)},
        {"inactiveborder", c(G::Inactive, R::Window)},
        {"inactivecaption", c(G::Inactive, R::Highlight)},
        {"inactivecaptiontext", c(G::Inactive, R::HighlightedText)},
        {"infobackground", c(G::Active, R::ToolTipBase)},
        {"infotext", c(G::Active, R::ToolTipText)},
        {"menu", c(G::Active, R::Window)},
        {"menutext", c(G::Active, R::WindowText)},
        {"scrollbar", c(G::Active, R::Mid)},
        {"threeddarkshadow", c(G::Active, R::Shadow)},
        {"threedface", c(G::Active, R::Button)},
        {"threedhighlight", c(G::Active, R::Light)},
        {"threedlightshadow", c(G::Active, R::Midlight)},
        {"threedshadow", c(G::Active, R::Dark)},
        {"window", c(G::Active, R::Base)},
        {"windowframe", c(G::Active, R::Shadow)},
        {"windowtext", c(G::Active, R::WindowText)},
    };
}

MarkupDrawer::MarkupDrawer(const QPalette& palette, int dpiY)
    : system_(SystemColoursFrom(palette)), dpiY_(dpiY),
      metrics_([this](const markup::ImageRef& image) { return pictures_.Find(image); }) {}

void MarkupDrawer::SetStyleSheet(std::string_view text) {
    sheet_ = markup::StyleSheet::Parse(text);
    source_.clear();
    doc_.reset();
}

const markup::Document& MarkupDrawer::Prepare(const QString& markup) {
    if (!doc_ || markup != source_) {
        markup::ParseOptions options;
        options.styleSheet = sheet_ ? &*sheet_ : nullptr;
        options.environment = {&system_, dpiY_};
        doc_ = markup::Parse(markup.toStdString(), options);
        source_ = markup;
        drawn_ = {};
        hot_ = {};
    }
    return *doc_;
}

QSize MarkupDrawer::Measure(const QString& markup) {
    const markup::LayoutResult layout = markup::Layout(Prepare(markup), metrics_, 0, hot_, dpiY_);
    return {layout.size.width, layout.size.height};
}

void MarkupDrawer::Draw(QPainter& painter, const QRect& rect, const QString& markup) {
    drawn_ = markup::Layout(Prepare(markup), metrics_, rect.width(), hot_, dpiY_);
    origin_ = rect.topLeft();
    painter.save();
    painter.translate(origin_);
    painter.setClipRect(QRect(QPoint(0, 0), rect.size()));
    for (const markup::Box& box : drawn_.boxes) {
        DrawBox(painter, box);
    }
    painter.restore();
}

void MarkupDrawer::DrawBox(QPainter& painter, const markup::Box& box) const {
    const QRect rect(box.rect.x, box.rect.y, box.rect.width, box.rect.height);
    switch (box.kind) {
    case markup::Box::Kind::Text: {
        const markup::TextStyle& style = *box.style;
        if (style.opaque) {
            painter.fillRect(rect, ToQColor(style.background));
        }
        painter.setFont(MakeFont(style));
        painter.setPen(ToQColor(style.colour));
        const QString text = QString::fromUtf8(box.text.data(), static_cast<qsizetype>(box.text.size()));
        painter.drawText(QPoint(rect.x(), box.baseline), text);
        if (style.overline) {
            const int width = style.weight >= 700 ? 2 : 1;
            painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), width), ToQColor(style.colour));
        }
        break;
    }
    case markup::Box::Kind::Rule:
        painter.fillRect(rect, ToQColor(box.colour));
        break;
    case markup::Box::Kind::Image:
        DrawImage(painter, box);
        break;
    case markup::Box::Kind::Fill:
        PaintEffect(painter, rect, box.effect, {ToQColor(box.colour), ToQColor(box.mid), ToQColor(box.end)},
                    10);
        break;
    case markup::Box::Kind::Frame: {
        const QColor light = ToQColor(box.colour);
        const QColor dark = ToQColor(box.end);
        const int w = std::min({box.frameWidth, rect.width() / 2, rect.height() / 2});
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), w), light);
        painter.fillRect(QRect(rect.left(), rect.top(), w, rect.height()), light);
        painter.fillRect(QRect(rect.left(), rect.bottom() - w + 1, rect.width(), w), dark);
        painter.fillRect(QRect(rect.right() - w + 1, rect.top(), w, rect.height()), dark);
        break;
    }
    }
}

void MarkupDrawer::DrawImage(QPainter& painter, const markup::Box& box) const {
    QImage image = pictures_.Find(*box.image);
    if (image.isNull()) {
        return;
    }
    const markup::ImageRef& ref = *box.image;
    if (ref.mask && (ref.maskColour || !image.hasAlphaChannel())) {
        // Without an alpha channel the top-left pixel names the see-through colour.
        const QColor key = ref.maskColour ? ToQColor(*ref.maskColour) : QColor(image.pixel(0, 0));
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == (key.rgb() & 0xFFFFFF)) {
                    line[x] = 0;
                }
            }
        }
    }
    QImage shadow;
    image = Styled(image, box.hot ? ref.hotStyle : ref.style, &shadow);
    const QRect target(box.rect.x, box.rect.y, box.rect.width, box.rect.height);
    if (!shadow.isNull()) {
        painter.drawImage(target.translated(2, 2), shadow);
    }
    painter.drawImage(target, image);
}

markup::Hot MarkupDrawer::HitTest(QPoint point) const {
    const QPoint local = point - origin_;
    return markup::HitTest(drawn_, local.x(), local.y());
}

bool MarkupDrawer::SetHot(markup::Hot hot) {
    if (hot == hot_) {
        return false;
    }
    hot_ = hot;
    return true;
}

std::optional<markup::Link> MarkupDrawer::LinkAt(int index) const {
    if (!doc_ || index < 0 || index >= static_cast<int>(doc_->links.size())) {
        return std::nullopt;
    }
    return doc_->links[static_cast<std::size_t>(index)];
}

} // namespace tooltip
