// The live preview in the real player: what is typed and chosen shows on the stage, and a player
// failure is reported and shown without closing the editor.
#include "editor_fixture.h"

#include "app/error_report.h"
#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "model/project.h"
#include "player/dlg_preview.h"
#include "player/ruffle_view.h"

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace editor::testing {
namespace {

// Waits until the preview has built every movie asked for (builds run on a worker thread).
bool Built(PreviewPanel& preview) {
    return QTest::qWaitFor([&] { return !preview.busy(); }, 60000);
}

// Waits until the last movie asked for is built and painted, then grabs the stage.
QImage PaintedStage(PreviewPanel& preview) {
    if (!Built(preview)) {
        return {};
    }
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
    RunPreview([&] { w.OnPreview(); },
               [&](QWidget* dialog) {
                   if (auto* preview = qobject_cast<CDlgPreview*>(dialog)) {
                       shown = preview->playerView();
                   }
               });
    EXPECT_EQ(shown, warm);
    EXPECT_EQ(warm->parentWidget(), &preview);
    EXPECT_FALSE(warm->isVisible());
}

TEST_F(EditorTest, OnlyTheNewestWaitingPreviewIsBuilt) {
    CCardwrightDlg& w = Open();
    PreviewPanel& preview = w.preview();
    ASSERT_TRUE(Built(preview));
    const int asked = preview.generationCount();
    const int built = preview.builtCount();
    CardValues v = CardValues::Of(*w.document().project().cards[0]);
    for (int i = 0; i < 6; ++i) { // six edits before the event loop runs again
        v.title += "x";
        w.document().setCard(0, Field::Title, v);
    }
    EXPECT_EQ(preview.generationCount(), asked + 6);
    EXPECT_TRUE(preview.busy()); // built off the GUI thread
    ASSERT_TRUE(Built(preview));
    // The first started at once; of the five that waited behind it only the newest was built.
    EXPECT_EQ(preview.builtCount(), built + 2);
    EXPECT_FALSE(PaintedStage(preview).isNull());
}

TEST_F(EditorTest, ADamagedButtonClipIsPreviewedAndGeneratedWithoutTouchingTheProject) {
    CCardwrightDlg& w = Open();
    model::Project p = model::MakeDefaultProject();
    const QString clip = Path(QStringLiteral("damaged.swf"));
    QFile damaged(clip);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("FWS not a movie");
    damaged.close();
    p.settings.m_strButton = clip.toStdString();
    const QString path = Path(QStringLiteral("damaged.cwp"));
    ASSERT_TRUE(model::SaveProjectFile(p, path.toStdString()));
    ASSERT_TRUE(w.openProjectFile(path));
    const std::vector<uint8_t> bytes = Bytes();
    const int steps = w.document().undoStack().count();
    ASSERT_FALSE(w.document().isModified());

    w.select({1, -1}); // a card with links: its buttons fall back to white
    ASSERT_TRUE(Built(w.preview()));
    EXPECT_FALSE(w.preview().lastMovie().isEmpty());
    EXPECT_EQ(RunPreview([&] { w.OnPreview(); }), QStringLiteral("Preview")); // the whole movie

    // Export > Generate SWF: the movie is made on a worker from a copy; the file name is given and the
    // question after it closed.
    const QString movie = Path(QStringLiteral("exported.swf"));
    QSignalSpy ended(&w, &CCardwrightDlg::publishingEnded);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->selectFile(movie);
            static_cast<QDialog*>(files)->accept(); // QFileDialog::accept, public through QDialog
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->reject();
        }
    });
    answer.start(10);
    for (QAction* action : w.findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Generate &SWF")) {
            action->trigger();
        }
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty(); }, 60000));
    EXPECT_GT(QFileInfo(movie).size(), 1000);
    EXPECT_EQ(Bytes(), bytes);
    EXPECT_EQ(w.document().undoStack().count(), steps);
    EXPECT_FALSE(w.document().isModified());
    EXPECT_FALSE(w.isWindowModified());
}

TEST_F(EditorTest, APhotoCardSelectedAgainReusesItsConvertedPicture) {
    CCardwrightDlg& w = Open();
    model::Project p = model::MakeDefaultProject();
    std::vector<QString> photos;
    for (int i = 0; i < 3; ++i) {
        photos.push_back(Path(QStringLiteral("photo%1.jpg").arg(i)));
        QImage photo(900, 700, QImage::Format_RGB32);
        photo.fill(QColor::fromHsv(i * 100, 200, 200));
        ASSERT_TRUE(photo.save(photos.back()));
        p.cards[size_t(i)]->m_strBackground = photos.back().toStdString();
        p.cards[size_t(i)]->m_bProjectBg = 0;
        p.cards[size_t(i)]->m_nBgAlign = 10; // stretched to the stage
    }
    const QString path = Path(QStringLiteral("photos.cwp"));
    ASSERT_TRUE(model::SaveProjectFile(p, path.toStdString()));
    ASSERT_TRUE(w.openProjectFile(path));
    for (int card : {1, 2, 0}) {
        w.select({card, -1});
        ASSERT_TRUE(Built(w.preview()));
    }
    const std::filesystem::path converted = workspace.TempDir() / "1.jpg";
    ASSERT_TRUE(std::filesystem::exists(converted));
    const auto written = std::filesystem::last_write_time(converted);
    const int conversions = w.preview().conversionCount();
    EXPECT_GE(conversions, 3);

    for (int card : {1, 2, 0, 1}) {
        w.select({card, -1});
        ASSERT_TRUE(Built(w.preview()));
    }
    EXPECT_EQ(w.preview().conversionCount(), conversions);
    EXPECT_EQ(std::filesystem::last_write_time(converted), written);

    // A photo changed on disk is converted again, and only that one.
    QImage wider(1000, 700, QImage::Format_RGB32);
    wider.fill(Qt::darkBlue);
    ASSERT_TRUE(wider.save(photos[2]));
    w.select({2, -1});
    ASSERT_TRUE(Built(w.preview()));
    w.select({1, -1});
    ASSERT_TRUE(Built(w.preview()));
    EXPECT_EQ(w.preview().conversionCount(), conversions + 1);
}

} // namespace
} // namespace editor::testing
