// The live preview in the real player: what is typed and chosen shows on the stage, and a player
// failure is reported and shown without closing the editor.
#include "editor_fixture.h"

#include "app/error_report.h"
#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "player/dlg_preview.h"
#include "player/ruffle_view.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace editor::testing {
namespace {

// Waits until the last movie handed to the player is painted, then grabs the stage.
QImage PaintedStage(PreviewPanel& preview) {
    quint64 painted = 0;
    auto connection = QObject::connect(&preview, &PreviewPanel::moviePainted,
                                       [&painted](quint64 serial) { painted = serial; });
    const bool ok = QTest::qWaitFor([&] { return painted >= preview.lastSerial(); }, 60000);
    QObject::disconnect(connection);
    if (!ok) {
        return {};
    }
    QImage stage;
    bool done = false;
    preview.player()->grabStage([&](const QImage& image) {
        stage = image;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000)) {
        return {};
    }
    return stage;
}

// Share of the pixels of `area` (fractions of the image) close to `colour`.
double Share(const QImage& image, const QRectF& area, const QColor& colour) {
    const QRect r(int(area.x() * image.width()), int(area.y() * image.height()),
                  int(area.width() * image.width()), int(area.height() * image.height()));
    int near = 0;
    int all = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            near += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                        std::abs(c.blue() - colour.blue()) <
                    60;
            ++all;
        }
    }
    return all == 0 ? 0 : double(near) / all;
}

TEST_F(EditorTest, TypedTitleShowsInItsColourAndAColourBackgroundFillsTheStage) {
    CCardwrightDlg& w = Open();
    ASSERT_NE(w.preview().player(), nullptr);
    CardValues v = CardValues::Of(*w.document().project().cards[0]);
    v.titleColor = "#E00000";
    v.title.clear();
    w.document().setCard(0, Field::TitleColor, v);
    QImage stage = PaintedStage(w.preview());
    ASSERT_FALSE(stage.isNull());
    const QRectF titleBand(0, 0, 1, 0.3);
    EXPECT_LT(Share(stage, titleBand, QColor(0xE0, 0, 0)), 0.001);

    w.cardFields().title->setFocus();
    QTest::keyClicks(w.cardFields().title, QStringLiteral("WWWWWWWW"));
    stage = PaintedStage(w.preview());
    ASSERT_FALSE(stage.isNull());
    EXPECT_GT(Share(stage, titleBand, QColor(0xE0, 0, 0)), 0.005);

    v = CardValues::Of(*w.document().project().cards[0]);
    v.background = "#20A040";
    v.projectBg = 0;
    w.document().setCard(0, Field::Background, v);
    stage = PaintedStage(w.preview());
    ASSERT_FALSE(stage.isNull());
    EXPECT_GT(Share(stage, QRectF(0, 0, 1, 1), QColor(0x20, 0xA0, 0x40)), 0.6);
    for (QPointF corner : {QPointF(0.02, 0.02), QPointF(0.02, 0.5)}) {
        EXPECT_EQ(stage.pixelColor(int(corner.x() * stage.width()), int(corner.y() * stage.height())),
                  QColor(0x20, 0xA0, 0x40));
    }
}

TEST_F(EditorTest, PlayerFailureIsReportedAndShownAndTheEditorStays) {
    CCardwrightDlg& w = Open();
    ASSERT_NE(w.preview().player(), nullptr);
    prompter.answers = {Answer::No};
    emit w.preview().player()->failed(QStringLiteral("the page crashed"));
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(
        prompter.questions[0].contains(QString::fromLatin1(app::reasons::kFlashDisplay.message.data())));
    EXPECT_TRUE(w.preview().failureText().contains(QStringLiteral("the page crashed")));
    EXPECT_TRUE(w.isVisible());
    // A second failure is shown but not asked about again.
    emit w.preview().player()->failed(QStringLiteral("again"));
    EXPECT_EQ(prompter.questions.size(), 1);
    w.AddCard(model::kPosBottom);
    EXPECT_EQ(w.document().project().CardCount(), 4);
}

// Kept warm as the program keeps it, the second player is lent to the Preview dialog and comes back.
TEST_F(EditorTest, PreviewDialogBorrowsTheWarmPlayer) {
    prepare = [](CCardwrightDlg& w) { w.preview().keepWarmPlayer(0); };
    CCardwrightDlg& w = Open();
    PreviewPanel& preview = w.preview();
    // Warmed up once it is hidden again.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return preview.warmPlayer() != nullptr && !preview.warmPlayer()->isVisible(); }, 60000));
    player::RuffleView* warm = preview.warmPlayer();
    player::RuffleView* shown = nullptr;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<CDlgPreview*>(QApplication::activeModalWidget())) {
            shown = dialog->playerView();
            dialog->close();
        }
    });
    w.OnPreview();
    EXPECT_EQ(shown, warm);
    EXPECT_EQ(warm->parentWidget(), &preview);
    EXPECT_FALSE(warm->isVisible());
}

} // namespace
} // namespace editor::testing
