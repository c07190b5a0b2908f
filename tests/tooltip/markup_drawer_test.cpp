// Drawing mark-up with Qt, offscreen: weights, colours, cell backgrounds, pictures, effects.
#include "tooltip/qt/markup_drawer.h"
#include "tooltip/qt/tip_effects.h"
#include "tooltip/tip_texts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace tooltip {
namespace {

struct Drawing {
    QImage image;
    QRect ink; // bounding box of the pixels that are not the white ground
};

Drawing Draw(MarkupDrawer& drawer, const QString& markup) {
    const QSize size = drawer.Measure(markup);
    Drawing d{QImage(size.expandedTo({1, 1}), QImage::Format_RGB32), {}};
    d.image.fill(Qt::white);
    QPainter painter(&d.image);
    drawer.Draw(painter, d.image.rect(), markup);
    painter.end();
    for (int y = 0; y < d.image.height(); ++y) {
        for (int x = 0; x < d.image.width(); ++x) {
            if (d.image.pixel(x, y) != qRgb(255, 255, 255)) {
                d.ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return d;
}

// Pixels in `rect` close to `colour`.
int CountNear(const QImage& image, const QRect& rect, QColor colour) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                     std::abs(c.blue() - colour.blue()) <
                 60;
        }
    }
    return n;
}

QRect RectOf(const markup::Box& box) {
    return {box.rect.x, box.rect.y, box.rect.width, box.rect.height};
}

TEST(markup_drawer_test, bold_text_draws_wider_than_plain) {
    MarkupDrawer drawer(QApplication::palette());
    const Drawing plain = Draw(drawer, QStringLiteral("Cardwright Cardwright"));
    const Drawing bold = Draw(drawer, QStringLiteral("<b>Cardwright Cardwright</b>"));
    ASSERT_FALSE(plain.ink.isEmpty());
    EXPECT_GT(bold.ink.width(), plain.ink.width());
    EXPECT_GT(drawer.Measure(QStringLiteral("<b>x</b>xxxxxxxx")).width(),
              drawer.Measure(QStringLiteral("xxxxxxxxx")).width());
}

TEST(markup_drawer_test, welcome_title_is_red_exactly_where_the_name_is) {
    MarkupDrawer drawer(QApplication::palette());
    const Drawing d = Draw(drawer, QString::fromUtf8(kWelcomeText.data(), qsizetype(kWelcomeText.size())));
    const markup::Box* name = nullptr;
    const markup::Box* welcome = nullptr;
    for (const markup::Box& box : drawer.Drawn().boxes) {
        if (box.kind == markup::Box::Kind::Text && box.text == "Cardwright") {
            name = &box;
        } else if (box.kind == markup::Box::Kind::Text && box.text == "Welcome to ") {
            welcome = &box;
        }
    }
    ASSERT_TRUE(name && welcome);
    EXPECT_GT(CountNear(d.image, RectOf(*name), Qt::red), 10);
    EXPECT_EQ(CountNear(d.image, RectOf(*welcome), Qt::red), 0);
    EXPECT_GT(CountNear(d.image, RectOf(*welcome), Qt::black), 10);
}

TEST(markup_drawer_test, table_cell_background_and_system_colours) {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ToolTipBase, QColor(1, 2, 250));
    MarkupDrawer drawer(palette);
    const Drawing d = Draw(drawer, QStringLiteral("<table cellpadding=6><tr><td bgcolor=#00ff00>x</td>"
                                                  "<td bgcolor=infobackground>y</td></tr></table>"));
    std::vector<QRect> fills;
    for (const markup::Box& box : drawer.Drawn().boxes) {
        if (box.kind == markup::Box::Kind::Fill) {
            fills.push_back(RectOf(box));
        }
    }
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(d.image.pixelColor(fills[0].topLeft() + QPoint(1, 1)), QColor(0, 255, 0));
    EXPECT_EQ(d.image.pixelColor(fills[1].topLeft() + QPoint(1, 1)), QColor(1, 2, 250));
    const markup::SystemColours system = SystemColoursFrom(palette);
    for (const std::string_view name : markup::SystemColourNames()) {
        EXPECT_TRUE(system.contains(name)) << name;
    }
}

TEST(markup_drawer_test, welcome_picture_is_drawn_and_unknown_pictures_take_no_room) {
    MarkupDrawer drawer(QApplication::palette());
    const QString markup = QStringLiteral("<bmp idres=165 mask>");
    const Drawing d = Draw(drawer, markup);
    EXPECT_EQ(d.image.size(), ProgramPicture(kWelcomePicture).size());
    EXPECT_FALSE(d.ink.isEmpty());
    EXPECT_EQ(drawer.Measure(QStringLiteral("<bmp idres=999>")).width(), 0);
    const std::uint32_t handle = drawer.Pictures().Register(QImage(10, 7, QImage::Format_RGB32));
    EXPECT_EQ(drawer.Measure(QStringLiteral("<icon handle=0x%1>").arg(handle, 0, 16)), QSize(10, 7));
}

TEST(markup_drawer_test, overline_and_opaque_background) {
    MarkupDrawer drawer(QApplication::palette());
    const Drawing d = Draw(drawer, QStringLiteral("<font style=o color=blue bkgnd=yellow>xx</font>"));
    EXPECT_EQ(d.image.pixelColor(0, 0), QColor(0, 0, 255)) << "overline at the top of the run";
    EXPECT_EQ(d.image.pixelColor(1, d.image.height() - 1), QColor(255, 255, 0));
}

TEST(markup_drawer_test, effects_run_between_their_colours) {
    const EffectColours colours{Qt::white, QColor(128, 128, 128), Qt::black};
    QImage image(100, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    struct Case {
        int effect;
        QPoint first;
        QColor firstColour;
        QPoint second;
        QColor secondColour;
    } const cases[] = {
        {1, {0, 10}, Qt::white, {99, 10}, Qt::black}, // horizontal gradient
        {3, {0, 10}, Qt::white, {50, 10}, Qt::black}, // to the end colour at the centre
        {5, {0, 10}, Qt::white, {50, 10}, QColor(128, 128, 128)},
        {9, {0, 10}, Qt::white, {99, 10}, Qt::black}, // horizontal shade texture
        {-1, {0, 0}, Qt::red, {99, 19}, Qt::red},     // transparent
        {99, {0, 0}, Qt::white, {99, 19}, Qt::white}, // unknown: the begin colour
    };
    for (const auto& c : cases) {
        image.fill(Qt::red);
        QPainter painter(&image);
        PaintEffect(painter, image.rect(), c.effect, colours, 0);
        painter.end();
        EXPECT_LT(std::abs(image.pixelColor(c.first).lightness() - c.firstColour.lightness()), 16)
            << c.effect;
        EXPECT_EQ(image.pixelColor(c.first).red() == 255 && image.pixelColor(c.first).green() == 0,
                  c.firstColour == Qt::red)
            << c.effect;
        EXPECT_LT(std::abs(image.pixelColor(c.second).lightness() - c.secondColour.lightness()), 16)
            << c.effect;
    }
    const QImage soft = EffectTexture({40, 40}, 13, colours, 5);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_GE(soft.pixelIndex(x, y), 5);
            ASSERT_LE(soft.pixelIndex(x, y), 250);
        }
    }
}

} // namespace
} // namespace tooltip
