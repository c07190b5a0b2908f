// The gift check and the story map in the editor: the map follows edits and undo, a click on a box selects
// its card, F7 lists the findings and a finding leads to its card, Finish asks before it goes on.
#include "editor_fixture.h"

#include "editor/check_panel.h"
#include "editor/gift_check_views.h"
#include "editor/story_map_view.h"

#include <QDockWidget>
#include <QListWidget>
#include <QTest>

namespace editor::testing {
namespace {

using Sel = model::Selection;

TEST_F(EditorTest, StoryMapFollowsEditsAndAClickSelectsTheCard) {
    CCardwrightDlg& w = Open();
    GiftCheckViews& checks = w.giftCheck();
    StoryMapView& map = checks.map();
    checks.runner().waitForIdle();
    EXPECT_TRUE(checks.mapDock().isVisible());
    EXPECT_EQ(map.boxCount(), 3);
    EXPECT_EQ(map.arrowCount(), 4); // two links on each of the first two cards
    EXPECT_EQ(map.currentCard(), 0);

    const QPoint third = map.mapFromScene(map.boxRect(2).center());
    QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, third);
    EXPECT_EQ(w.selection(), (Sel{2, -1}));
    EXPECT_EQ(map.currentCard(), 2);

    w.AddLink(model::kPosAfter); // on the last card: its goto is past the end, no arrow
    w.AddCard(model::kPosAfter);
    checks.runner().waitForIdle();
    EXPECT_EQ(map.boxCount(), 4);
    EXPECT_EQ(map.arrowCount(), 5); // appending the card gave the new link a target
    w.document().undoStack().undo();
    checks.runner().waitForIdle();
    EXPECT_EQ(map.boxCount(), 3);
    EXPECT_EQ(map.arrowCount(), 4);
}

TEST_F(EditorTest, CheckGiftListsFindingsThatLeadToTheirCard) {
    CCardwrightDlg& w = Open();
    GiftCheckViews& checks = w.giftCheck();
    w.select({2, -1});
    w.AddCard(model::kPosAfter); // card 4: nothing leads to it
    w.select({0, 1});
    QTest::keyClick(&w, Qt::Key_F7);
    ASSERT_TRUE(checks.checkDock().isVisible());
    QListWidget& list = checks.panel().list();
    ASSERT_EQ(list.count(), 1);
    EXPECT_TRUE(list.item(0)->text().startsWith(QStringLiteral("card 4 \"Card 4:\": warning: unreachable:")))
        << list.item(0)->text().toStdString();
    list.setCurrentRow(0);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(w.selection(), (Sel{3, -1}));

    // The list follows the project: a link on card 4, past the last card, adds an error.
    w.AddLink(model::kPosAfter); // on card 4 itself, past the end: an error now
    checks.runner().waitForIdle();
    ASSERT_EQ(list.count(), 2);
    EXPECT_TRUE(list.item(1)->text().contains(QStringLiteral("error: goto-past-end")));
}

TEST_F(EditorTest, FinishAsksAboutFindingsFirst) {
    CCardwrightDlg& w = Open();
    GiftCheckViews& checks = w.giftCheck();
    EXPECT_TRUE(checks.confirmFinish()); // the default project has nothing to say
    QStringList asked;
    bool errorsSaid = false;
    checks.askFinish = [&](const QStringList& lines, bool errors) {
        asked = lines;
        errorsSaid = errors;
        return false; // Fix
    };
    w.select({2, -1});
    w.AddLink(model::kPosAfter);
    w.OnFinish();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(errorsSaid);
    EXPECT_TRUE(asked[0].contains(QStringLiteral("goto-past-end")));
    EXPECT_TRUE(checks.checkDock().isVisible()); // back in the editor with the list in sight
}

} // namespace
} // namespace editor::testing
