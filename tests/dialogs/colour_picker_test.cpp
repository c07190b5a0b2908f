#include "dialogs/colour_picker.h"
#include "dialogs/colour_picker_popup.h"
#include "dialogs/colour_picker_table.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace colour_picker;

TEST(ColourTable, FortyNamedColoursWithTheirValues) {
    ASSERT_EQ(Colours().size(), 40u);
    EXPECT_STREQ(Colours()[35].name, "Pale green "); // the trailing blank is part of the name
    const struct {
        int index;
        const char* hex;
    } cases[] = {{0, "#000000"},  {1, "#A52A00"},  {9, "#FF6820"}, {14, "#7B7BC0"},
                 {29, "#C0FFFF"}, {37, "#68838B"}, {39, "#FFFFFF"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FormatColour(ColourAt(c.index)), QString::fromUtf8(c.hex)) << c.index;
    }
    EXPECT_EQ(FormatColour(QColor()), QStringLiteral("#000000")); // the automatic value
    EXPECT_EQ(ParseColour(QStringLiteral("#2781c4")), QColor(0x27, 0x81, 0xC4));
    EXPECT_FALSE(ParseColour(QStringLiteral("Background\\x.jpg")).isValid());
}

TEST(ColourTable, ArrowKeysWrap) {
    const int kLast = kColourCount - 1;
    const struct {
        int from;
        Move move;
        bool automatic, custom;
        int to;
    } cases[] = {
        {0, Move::Right, true, true, 1},
        {7, Move::Right, true, true, 8}, // end of a row: first column of the next
        {8, Move::Left, true, true, 7},  // start of a row: last column of the previous
        {3, Move::Down, true, true, 11},
        {11, Move::Up, true, true, 3},
        {kLast, Move::Right, true, true, kCustomCell},
        {kLast, Move::Right, true, false, kAutomaticCell},
        {kLast, Move::Right, false, false, 0},
        {35, Move::Down, true, true, kCustomCell},
        {0, Move::Left, true, true, kAutomaticCell},
        {0, Move::Left, false, true, kCustomCell},
        {0, Move::Left, false, false, kLast},
        {4, Move::Up, true, true, kAutomaticCell},
        {kAutomaticCell, Move::Down, true, true, 0},
        {kAutomaticCell, Move::Right, true, true, 0},
        {kAutomaticCell, Move::Up, true, true, kCustomCell},
        {kAutomaticCell, Move::Left, true, false, kLast},
        {kCustomCell, Move::Up, true, true, kLast},
        {kCustomCell, Move::Left, true, true, kLast},
        {kCustomCell, Move::Down, true, true, kAutomaticCell},
        {kCustomCell, Move::Right, false, true, 0},
        {kNoCell, Move::Right, true, true, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextCell(c.from, c.move, c.automatic, c.custom), c.to)
            << "from " << c.from << " move " << int(c.move);
    }
}

TEST(ColourPickerTest, ChosenCellFollowsTheColour) {
    const struct {
        QColor colour;
        int chosen;
    } cases[] = {{QColor(165, 42, 0), 1}, {QColor(1, 2, 3), kCustomCell}, {QColor(), kAutomaticCell}};
    for (const auto& c : cases) {
        CColourPicker picker;
        picker.setColour(c.colour);
        picker.show();
        picker.click();
        ASSERT_TRUE(picker.popup());
        EXPECT_EQ(picker.popup()->chosenCell(), c.chosen);
        picker.popup()->close();
        EXPECT_FALSE(picker.isActive());
    }
    EXPECT_EQ(ChosenCell(QColor(1, 2, 3), true, false), kNoCell);
}

TEST(ColourPickerTest, AutomaticGivesTheAutomaticValue) {
    CColourPicker picker;
    picker.setColour(ColourAt(0));
    picker.show();
    QSignalSpy accepted(&picker, &CColourPicker::colourAccepted);
    picker.click();
    QTest::keyClick(picker.popup(), Qt::Key_Up); // from cell 0 up to "Automatic"
    QTest::keyClick(picker.popup(), Qt::Key_Return);
    ASSERT_EQ(accepted.size(), 1);
    EXPECT_FALSE(picker.colour().isValid());
    EXPECT_EQ(FormatColour(picker.colour()), QStringLiteral("#000000"));
}

TEST(ColourPickerTest, EscapeAfterHoveringRestoresTheColour) {
    CColourPicker picker;
    picker.setTrackSelection(true);
    picker.setColour(QColor(Qt::red));
    picker.show();
    QStringList order;
    QObject::connect(&picker, &CColourPicker::closedUp, [&] { order << "close-up"; });
    QObject::connect(&picker, &CColourPicker::colourCancelled, [&] { order << "cancel"; });
    QObject::connect(&picker, &CColourPicker::colourAccepted, [&] { order << "accept"; });
    QSignalSpy changed(&picker, &CColourPicker::colourChanged);
    QSignalSpy dropped(&picker, &CColourPicker::droppedDown);
    picker.click();
    EXPECT_EQ(dropped.size(), 1);
    CColourPopup* popup = picker.popup();
    for (int cell : {3, 10, 22}) {
        QTest::mouseMove(popup, popup->cellRect(cell).center());
        EXPECT_EQ(popup->hotCell(), cell);
    }
    EXPECT_EQ(picker.colour(), ColourAt(22)); // tracking shows the hovered colour
    EXPECT_GE(changed.size(), 3);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(picker.colour(), QColor(Qt::red));
    EXPECT_EQ(order, (QStringList{"close-up", "cancel"}));
    EXPECT_FALSE(picker.isActive());
}

TEST(ColourPickerTest, ClickOnACellAcceptsIt) {
    CColourPicker picker;
    picker.show();
    QSignalSpy accepted(&picker, &CColourPicker::colourAccepted);
    picker.click();
    CColourPopup* popup = picker.popup();
    QTest::mouseMove(popup, popup->cellRect(13).center());
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->cellRect(13).center());
    ASSERT_EQ(accepted.size(), 1);
    EXPECT_EQ(accepted[0][0].value<QColor>(), ColourAt(13));
    EXPECT_EQ(FormatColour(picker.colour()), QStringLiteral("#0000FF"));
}

TEST(ColourPickerTest, MoreColoursDialogDecides) {
    for (const bool choose : {true, false}) {
        CColourPicker picker;
        picker.setColour(ColourAt(5));
        QColor offered;
        picker.setColourDialog([&](const QColor& initial, QWidget*) {
            offered = initial;
            return choose ? QColor(1, 2, 3) : QColor();
        });
        picker.show();
        QSignalSpy accepted(&picker, &CColourPicker::colourAccepted);
        QSignalSpy cancelled(&picker, &CColourPicker::colourCancelled);
        picker.click();
        QTest::keyClick(picker.popup(), Qt::Key_Up); // from cell 5 to "Automatic"
        QTest::keyClick(picker.popup(), Qt::Key_Up); // and round to "More Colours..."
        EXPECT_EQ(picker.popup()->hotCell(), kCustomCell);
        QTest::keyClick(picker.popup(), Qt::Key_Space);
        EXPECT_EQ(offered, ColourAt(5));
        EXPECT_EQ(accepted.size(), choose ? 1 : 0);
        EXPECT_EQ(cancelled.size(), choose ? 0 : 1);
        EXPECT_EQ(picker.colour(), choose ? QColor(1, 2, 3) : ColourAt(5));
    }
}

TEST(ColourPickerTest, PopupStaysOnScreen) {
    const QRect screen(0, 0, 800, 600);
    const QSize size(150, 170);
    const struct {
        QRect button;
        QPoint at;
    } cases[] = {
        {{100, 100, 60, 24}, {100, 124}}, // below the button's bottom-left corner
        {{100, 560, 60, 24}, {100, 390}}, // near the bottom: above the button
        {{700, 100, 60, 24}, {650, 124}}, // near the right edge: shifted left
        {{-30, 100, 60, 24}, {0, 124}},   // past the left edge: shifted right
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CColourPopup::Place(size, c.button, screen), c.at);
    }
}

TEST(ColourPickerTest, PickerNearTheBottomOpensItsPopupAbove) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* picker = new CColourPicker;
    layout->addWidget(picker);
    window.adjustSize();
    window.move(screen.left() + 10, screen.bottom() - window.height() - 2);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int buttonTop = picker->mapToGlobal(QPoint(0, 0)).y();
    picker->click();
    ASSERT_TRUE(picker->popup());
    EXPECT_EQ(picker->popup()->geometry().bottom() + 1, buttonTop);
    EXPECT_GE(picker->popup()->geometry().top(), screen.top());
}

} // namespace
