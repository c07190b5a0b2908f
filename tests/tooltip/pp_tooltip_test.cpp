// The balloon window: placement and tail on screen, control tips after the delay, hiding, links, and
// the editor's welcome tip and hints.
#include "tooltip/qt/editor_tips.h"
#include "tooltip/qt/pp_tooltip.h"
#include "tooltip/tip_texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace tooltip {
namespace {

using State = CPPToolTip::State;

// A window with two buttons and a tooltip on them.
struct Fixture {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QPushButton* first = new QPushButton(QStringLiteral("First"));
    QPushButton* second = new QPushButton(QStringLiteral("Second"));
    CPPToolTip* tip = nullptr;

    Fixture() {
        auto* layout = new QHBoxLayout(window.get());
        layout->addWidget(first);
        layout->addWidget(second);
        window->move(100, 100);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        tip = new CPPToolTip(window.get());
        tip->SetScreens({QRect(0, 0, 1600, 1200)});
        tip->AddTool(first, QStringLiteral("<b>First</b> tip"));
        tip->AddTool(second, QStringLiteral("Second tip"));
    }

    static void Move(QWidget* widget, QPoint local = {5, 5}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(widget->mapToGlobal(local)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }
};

// Alpha of the grabbed tip at a point of the window.
int AlphaAt(const QImage& image, QPoint p) {
    return qAlpha(image.pixel(p));
}

TEST(pp_tooltip_test, control_tip_waits_for_the_mouse_to_rest) {
    Fixture f;
    ASSERT_EQ(f.tip->DelayTime(CPPToolTip::Delay::Show), 500);
    Fixture::Move(f.first);
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden);
    QTest::qWait(250);
    QElapsedTimer clock;
    clock.start();
    Fixture::Move(f.first, {7, 7}); // moving within the delay starts it again
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.tip->CurrentState() == State::Shown; }, 3000));
    EXPECT_GE(clock.elapsed(), 500);
    EXPECT_EQ(f.tip->CurrentText(), QStringLiteral("<b>First</b> tip"));
    EXPECT_TRUE(f.tip->isVisible());
}

TEST(pp_tooltip_test, moving_to_another_control_and_disabled_controls) {
    Fixture f;
    f.tip->SetDelayTime(CPPToolTip::Delay::Show, 20);
    Fixture::Move(f.first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.tip->CurrentState() == State::Shown; }, 2000));
    f.second->setEnabled(false);
    Fixture::Move(f.second);
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden) << "the first tip goes at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.tip->CurrentState() == State::Shown; }, 2000));
    EXPECT_EQ(f.tip->CurrentText(), QStringLiteral("Second tip"));
    Fixture::Move(f.window.get(), {1, 1});
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden) << "leaving every control hides the tip";
}

TEST(pp_tooltip_test, a_control_deleted_while_its_tip_waits_shows_nothing) {
    Fixture f;
    f.tip->SetDelayTime(CPPToolTip::Delay::Show, 20);
    Fixture::Move(f.first);
    delete f.first;
    QTest::qWait(60);
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden);
    EXPECT_EQ(f.tip->ToolText(f.second), QStringLiteral("Second tip"));
    f.tip->AddTool(f.second, QStringLiteral("Replaced"));
    EXPECT_EQ(f.tip->ToolText(f.second), QStringLiteral("Replaced"))
        << "the same control again replaces its entry";
}

TEST(pp_tooltip_test, hide_timer_follows_the_behaviour) {
    Fixture f;
    f.tip->SetDelayTime(CPPToolTip::Delay::Show, 0);
    f.tip->SetDelayTime(CPPToolTip::Delay::Hide, 30);
    Fixture::Move(f.first);
    ASSERT_EQ(f.tip->CurrentState(), State::Shown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.tip->CurrentState() == State::Hidden; }, 2000));

    f.tip->SetBehaviour(28);
    Fixture::Move(f.second);
    ASSERT_EQ(f.tip->CurrentState(), State::Shown);
    QTest::qWait(150);
    EXPECT_EQ(f.tip->CurrentState(), State::Shown) << "behaviour 16: never hidden by time";
    QTest::keyClick(f.first, Qt::Key_A);
    EXPECT_EQ(f.tip->CurrentState(), State::Hidden) << "a key hides it";
}

TEST(pp_tooltip_test, tip_near_each_screen_edge_flips_and_stays_on_screen) {
    Fixture f;
    const QRect screen(0, 0, 1024, 768);
    f.tip->SetScreens({screen});
    struct Case {
        QPoint anchor;
        TailEdge edge;
    } const cases[] = {
        {{500, 760}, TailEdge::Bottom}, // near the bottom the tip opens above the mouse
        {{500, 5}, TailEdge::Top},
        {{3, 300}, TailEdge::Top},
        {{1020, 300}, TailEdge::Top},
    };
    f.tip->SetDirection(direction::kTopRight);
    for (const auto& c : cases) {
        f.tip->ShowHelpTip(c.anchor, QStringLiteral("A tip with <b>some</b> text<br>on two lines"));
        const TipPlacement& p = f.tip->Placement();
        EXPECT_EQ(EdgeOf(p.direction), c.edge);
        EXPECT_TRUE(screen.contains(QRect(p.window.x, p.window.y, p.window.width, p.window.height)));
        EXPECT_EQ(f.tip->geometry().topLeft(), QPoint(p.window.x, p.window.y));

        // The tail is drawn on the chosen edge: opaque just beside the anchor inside the tail, and the
        // strip between body and anchor is see-through away from the tail.
        const QImage image = f.tip->grab().toImage();
        const QPoint anchor = c.anchor - f.tip->geometry().topLeft();
        const QRect body = f.tip->BodyRect();
        const bool below = c.edge == TailEdge::Top;
        EXPECT_EQ(below ? anchor.y() < body.top() : anchor.y() > body.bottom(), true);
        const QPoint baseMid =
            QPoint((p.tail[0].x + p.tail[1].x) / 2, p.tail[0].y) - f.tip->geometry().topLeft();
        const QPoint inTail = anchor + (baseMid - anchor) * 0.5;
        const int towardsBase = baseMid.x() >= anchor.x() ? 1 : -1;
        EXPECT_GT(AlphaAt(image, inTail), 200) << c.anchor.x() << "," << c.anchor.y();
        const int farX = towardsBase > 0 ? body.right() - 10 : body.left() + 10;
        EXPECT_LT(AlphaAt(image, QPoint(farX, inTail.y())), 200) << c.anchor.x() << "," << c.anchor.y();
        f.tip->HideTip();
    }
}

TEST(pp_tooltip_test, tables_effects_and_headings_fit_in_the_balloon) {
    Fixture f;
    f.tip->SetEffect(13, 5);
    f.tip->SetColours(Qt::white, QColor(240, 247, 255), QColor(192, 192, 208));
    f.tip->ShowHelpTip(
        {300, 300},
        QStringLiteral("<h1>Heading</h1> <h2>two</h2> <h3>three</h3><br><hr color=gray size=2><br>"
                       "<table border=1 cellpadding=3><tr><td bgcolor=#ffe0e0>plain</td>"
                       "<td bgeffect=hgradient bgcolor=yellow bgendcolor=orange>gradient</td></tr>"
                       "<tr><td colspan=2 align=center bgeffect=metal bgcolor=white bgendcolor=gray>"
                       "spanning <b>two</b> columns</td></tr></table><br>"
                       "H<sub>2</sub>O and x<sup>2</sup> <code>code()</code><br>"
                       "<pre>pre\ttab</pre> <a href=\"http://example.org\">a link</a>"),
        QIcon(QPixmap::fromImage(ProgramPicture(kWelcomePicture))));
    const QImage image = f.tip->grab().toImage();
    if (const QString folder = qEnvironmentVariable("CW_TIP_GRABS"); !folder.isEmpty()) {
        image.save(folder + QStringLiteral("/table-tip.png"));
    }
    const QRect body = f.tip->BodyRect();
    const QSize text = f.tip->Drawer().Measure(f.tip->CurrentText());
    EXPECT_EQ(body.size(), text + QSize(24, 24)) << "the text and the balloon's margins";
    int fills = 0;
    for (const markup::Box& box : f.tip->Drawer().Drawn().boxes) {
        fills += box.kind == markup::Box::Kind::Fill;
        EXPECT_TRUE(QRect(QPoint(0, 0), text)
                        .contains(QRect(box.rect.x, box.rect.y, box.rect.width, box.rect.height)))
            << "every box inside the measured text";
    }
    EXPECT_EQ(fills, 3);
}

TEST(pp_tooltip_test, grab_shows_the_background_border_and_text) {
    Fixture f;
    f.tip->SetColours(QColor(10, 200, 10), QColor(10, 200, 10), QColor(10, 200, 10));
    f.tip->SetBorder(QColor(200, 0, 0));
    f.tip->ShowHelpTip({400, 400}, QStringLiteral("Hello"));
    const QImage image = f.tip->grab().toImage();
    const QRect body = f.tip->BodyRect();
    EXPECT_EQ(QColor(image.pixel(body.center().x(), body.top() + 3)), QColor(10, 200, 10));
    const QColor edge(image.pixel(body.center().x(), body.top()));
    EXPECT_GT(edge.red(), 100);
    EXPECT_LT(edge.green(), 150);
    EXPECT_GT(AlphaAt(image, body.bottomRight() + QPoint(3, 3)), 0) << "the shadow";
    EXPECT_EQ(AlphaAt(image, {image.width() - 1, 0}), 0);
}

TEST(pp_tooltip_test, welcome_tip_link_one_asks_for_the_preview) {
    QWidget window;
    window.resize(800, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget* preview = new QWidget(&window);
    preview->setGeometry(200, 50, 400, 300);
    preview->show();
    EditorTips tips(&window);
    tips.ToolTip()->SetScreens({QRect(-2000, -2000, 6000, 6000)});
    QSignalSpy previewSpy(&tips, &EditorTips::previewRequested);
    QSignalSpy openSpy(&tips, &EditorTips::openRequested);
    tips.ShowWelcome(preview);
    CPPToolTip* tip = tips.ToolTip();
    ASSERT_EQ(tip->CurrentState(), State::Shown);
    EXPECT_EQ(tip->Behaviour(), 28);
    const TipPlacement& p = tip->Placement();
    EXPECT_EQ(QPoint(p.tail[2].x, p.tail[2].y), preview->mapToGlobal(QPoint(400 - 100, 10)));

    Fixture::Move(&window, {3, 3});
    EXPECT_EQ(tip->CurrentState(), State::Shown) << "moves do not hide a help tip";
    const QImage grabbed = tip->grab().toImage(); // lays the text out as drawn
    if (const QString folder = qEnvironmentVariable("CW_TIP_GRABS"); !folder.isEmpty()) {
        grabbed.save(folder + QStringLiteral("/welcome-tip.png"));
    }
    const markup::LayoutResult& drawn = tip->Drawer().Drawn();
    QPoint link;
    for (const markup::Box& box : drawn.boxes) {
        if (box.link == 0) {
            link = QPoint(box.rect.x + 2, box.rect.y + box.rect.height / 2) + tip->Drawer().DrawnOrigin();
            break;
        }
    }
    ASSERT_FALSE(link.isNull());
    EXPECT_NE(tip->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent hover(QEvent::MouseMove, QPointF(link), QPointF(tip->mapToGlobal(link)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tip, &hover);
    EXPECT_EQ(tip->cursor().shape(), Qt::PointingHandCursor);
    tip->grab();
    for (const markup::Box& box : tip->Drawer().Drawn().boxes) {
        if (box.kind == markup::Box::Kind::Text) {
            EXPECT_EQ(box.style->underline, box.link == 0) << box.text; // the hot link in its hover style
        }
    }
    QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, link);
    EXPECT_EQ(previewSpy.count(), 1);
    EXPECT_EQ(openSpy.count(), 0);
    EXPECT_EQ(tip->CurrentState(), State::Hidden);
}

TEST(pp_tooltip_test, tip_messages_break_their_lines_and_a_click_hides_them) {
    QWidget window;
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ShowTipMessage(&window, {20, 20}, QString::fromUtf8(kHotKeysHint.data(), qsizetype(kHotKeysHint.size())));
    auto* tips = window.findChild<EditorTips*>();
    ASSERT_NE(tips, nullptr);
    CPPToolTip* tip = tips->ToolTip();
    ASSERT_EQ(tip->CurrentState(), State::Shown);
    EXPECT_EQ(tip->CurrentText().count(QStringLiteral("<br>")), 3);
    const int oneLine = tip->Drawer().Measure(QStringLiteral("F1:  Help Center")).height();
    EXPECT_EQ(tip->Drawer().Measure(tip->CurrentText()).height(), 4 * oneLine);
    if (const QString folder = qEnvironmentVariable("CW_TIP_GRABS"); !folder.isEmpty()) {
        tip->grab().save(folder + QStringLiteral("/hint-tip.png"));
    }
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, {5, 5});
    EXPECT_EQ(tip->CurrentState(), State::Hidden);
    ShowTipMessage(&window, {20, 20}, QStringLiteral("again"));
    EXPECT_EQ(window.findChildren<EditorTips*>().size(), 1u) << "one tooltip per window";
}

TEST(pp_tooltip_test, editor_control_tips_come_from_the_table) {
    QWidget window;
    auto* open = new QPushButton(QStringLiteral("Open"), &window);
    auto* unknown = new QPushButton(QStringLiteral("?"), &window);
    EditorTips tips(&window);
    tips.AddControlTips(std::map<int, QWidget*>{{1034, open}, {4242, unknown}});
    EXPECT_EQ(tips.ToolTip()->ToolText(open).toStdString(), ControlTipText(1034));
    EXPECT_TRUE(tips.ToolTip()->ToolText(unknown).isEmpty());
}

} // namespace
} // namespace tooltip
