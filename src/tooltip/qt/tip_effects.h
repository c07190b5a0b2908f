// Background effects of table cells and of the tip window: solid, gradients and textures, painted over a
// rectangle or clipped to a shape.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace tooltip {

struct EffectColours {
    QColor begin;
    QColor mid;
    QColor end;
};

// Paints `effect` (the numbers of markup::Effect) over `rect`. Gradients run from the begin to the end
// colour ("c" forms: begin, end at the centre, begin; "3" forms: begin, middle, end). Textures (7..15)
// map a pattern through a palette from the end colour (0) over the middle colour (128) to the begin
// colour (255), plus noise of +-granularity. Transparent (-1) paints nothing; unknown numbers paint the
// begin colour.
void PaintEffect(QPainter& painter, const QRect& rect, int effect, const EffectColours& colours,
                 int granularity);

// The texture of effects 7..15 as an indexed image; the noise is seeded, so a texture is reproducible.
QImage EffectTexture(QSize size, int effect, const EffectColours& colours, int granularity);

} // namespace tooltip
