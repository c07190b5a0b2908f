#include "tooltip/qt/tip_effects.h"

#include "tooltip/markup_document.h"

#include <QLinearGradient>

#include <algorithm>
#include <cmath>
#include <random>

namespace tooltip {
namespace {

using markup::Effect;

QRgb Mix(const QColor& a, const QColor& b, double t) {
    return qRgb(static_cast<int>(a.red() + (b.red() - a.red()) * t),
                static_cast<int>(a.green() + (b.green() - a.green()) * t),
                static_cast<int>(a.blue() + (b.blue() - a.blue()) * t));
}

// A bump across 0..1: 0 at both edges, 1 in the middle, with a cubic shoulder.
double Bump(double t) {
    const double s = 1.0 - std::abs(2.0 * t - 1.0);
    return s * s * (3.0 - 2.0 * s);
}

} // namespace

QImage EffectTexture(QSize size, int effect, const EffectColours& colours, int granularity) {
    QImage image(size, QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i) {
        palette[i] = i < 128 ? Mix(colours.end, colours.mid, i / 128.0)
                             : Mix(colours.mid, colours.begin, (i - 128) / 127.0);
    }
    image.setColorTable(palette);
    const int g = std::clamp(granularity, 0, 127);
    std::minstd_rand random(size.width() * 7919 + size.height() * 104729 + effect);
    std::uniform_int_distribution<int> noise(-g, g);
    std::uniform_int_distribution<int> streak(64, 255);
    const int w = std::max(1, size.width() - 1);
    const int h = std::max(1, size.height() - 1);
    int rowBase = 128;
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        const double ty = double(y) / h;
        if (effect == int(Effect::Metal)) {
            rowBase = (rowBase * 3 + streak(random)) / 4; // streaks that drift from row to row
        }
        for (int x = 0; x < size.width(); ++x) {
            const double tx = double(x) / w;
            int value = 128;
            int low = 0;
            int high = 255;
            switch (static_cast<Effect>(effect)) {
            case Effect::DiagShade:
                value = static_cast<int>(255 * (1.0 - (tx + ty) / 2));
                break;
            case Effect::HShade:
                value = static_cast<int>(255 * (1.0 - tx));
                break;
            case Effect::VShade:
                value = static_cast<int>(255 * (1.0 - ty));
                break;
            case Effect::HBump:
                value = static_cast<int>(255 * Bump(tx));
                break;
            case Effect::VBump:
                value = static_cast<int>(255 * Bump(ty));
                break;
            case Effect::SoftBump:
                value = static_cast<int>(255 * (Bump(tx) + Bump(ty)) / 2);
                low = g;
                high = 255 - g;
                break;
            case Effect::HardBump: {
                // A raised panel: light along the top and left, dark along the bottom and right.
                const int edge = std::max(2, std::min(size.width(), size.height()) / 8);
                value = x < edge || y < edge                                    ? 255
                        : x >= size.width() - edge || y >= size.height() - edge ? 0
                                                                                : 160;
                break;
            }
            case Effect::Metal:
                value = rowBase + static_cast<int>(32 * std::sin(tx * 6.283));
                break;
            default: // noise: the middle colour with noise only
                break;
            }
            line[x] = static_cast<uchar>(std::clamp(value + noise(random), low, high));
        }
    }
    return image;
}

void PaintEffect(QPainter& painter, const QRect& rect, int effect, const EffectColours& c, int granularity) {
    if (rect.isEmpty() || effect == int(Effect::Transparent)) {
        return;
    }
    const auto gradient = [&](bool horizontal) {
        return horizontal ? QLinearGradient(rect.left(), 0, rect.right() + 1, 0)
                          : QLinearGradient(0, rect.top(), 0, rect.bottom() + 1);
    };
    switch (effect) {
    case int(Effect::HGradient):
    case int(Effect::VGradient): {
        QLinearGradient g = gradient(effect == int(Effect::HGradient));
        g.setColorAt(0, c.begin);
        g.setColorAt(1, c.end);
        painter.fillRect(rect, g);
        return;
    }
    case int(Effect::HCGradient):
    case int(Effect::VCGradient): {
        QLinearGradient g = gradient(effect == int(Effect::HCGradient));
        g.setColorAt(0, c.begin);
        g.setColorAt(0.5, c.end);
        g.setColorAt(1, c.begin);
        painter.fillRect(rect, g);
        return;
    }
    case int(Effect::H3Gradient):
    case int(Effect::V3Gradient): {
        QLinearGradient g = gradient(effect == int(Effect::H3Gradient));
        g.setColorAt(0, c.begin);
        g.setColorAt(0.5, c.mid);
        g.setColorAt(1, c.end);
        painter.fillRect(rect, g);
        return;
    }
    default:
        break;
    }
    if (effect >= int(Effect::Noise) && effect <= int(Effect::Metal)) {
        // Only the part that can show is textured, so a huge cell costs no more than the device.
        const QRect visible = rect & painter.window();
        if (!visible.isEmpty()) {
            painter.drawImage(visible.topLeft(), EffectTexture(visible.size(), effect, c, granularity));
        }
        return;
    }
    painter.fillRect(rect, c.begin); // solid, and any other number
}

} // namespace tooltip
