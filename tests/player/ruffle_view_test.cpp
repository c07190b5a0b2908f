// The player widget against the real Ruffle: colours painted, newest-only loading, broken movies.
#include "colour_movie.h"
#include "player/ruffle_view.h"
#include "swf/as/compiler.h"

#include <QFileInfo>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

using player::RuffleView;
using player_test::ColourMovie;

// One warm player for the whole suite: starting Ruffle costs far more than any single case.
class RuffleViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        view = std::make_unique<RuffleView>();
        view->resize(320, 240);
        view->show();
        ASSERT_TRUE(QTest::qWaitFor([] { return view->isReady(); }, 60000))
            << "the player page did not start";
    }
    static void TearDownTestSuite() { view.reset(); }

    // The colour at the centre of the painted stage, or an invalid colour when nothing is painted.
    static QColor CentreColour() {
        QImage image;
        bool done = false;
        view->grabStage([&](const QImage& grabbed) {
            image = grabbed;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
        if (image.isNull()) {
            return {};
        }
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }

    static bool WaitPainted(QSignalSpy& painted, quint64 serial) {
        return QTest::qWaitFor(
            [&] {
                for (const auto& args : painted) {
                    if (args.at(0).toULongLong() == serial) {
                        return true;
                    }
                }
                return false;
            },
            20000);
    }

    static inline std::unique_ptr<RuffleView> view;
};

TEST_F(RuffleViewTest, PaintsTheMoviesColour) {
    QSignalSpy painted(view.get(), &RuffleView::moviePainted);
    const quint64 serial = view->loadMovie(ColourMovie(QColor(0x20, 0xa0, 0x40)));
    ASSERT_TRUE(WaitPainted(painted, serial));
    const QColor seen = CentreColour();
    ASSERT_TRUE(seen.isValid());
    EXPECT_NEAR(seen.red(), 0x20, 8);
    EXPECT_NEAR(seen.green(), 0xa0, 8);
    EXPECT_NEAR(seen.blue(), 0x40, 8);
}

TEST_F(RuffleViewTest, OnlyTheNewestWaitingMovieIsLoaded) {
    QSignalSpy painted(view.get(), &RuffleView::moviePainted);
    const quint64 first = view->loadMovie(ColourMovie(Qt::red));
    const quint64 dropped = view->loadMovie(ColourMovie(Qt::green));
    const quint64 newest = view->loadMovie(ColourMovie(Qt::blue));
    ASSERT_TRUE(WaitPainted(painted, newest));
    for (const auto& args : painted) {
        EXPECT_NE(args.at(0).toULongLong(), dropped);
    }
    EXPECT_LT(first, newest);
    const QColor seen = CentreColour();
    EXPECT_NEAR(seen.blue(), 255, 8);
    EXPECT_NEAR(seen.green(), 0, 8);
}

TEST_F(RuffleViewTest, BrokenMovieFailsAndTheNextOnePlays) {
    QSignalSpy failed(view.get(), &RuffleView::failed);
    QSignalSpy painted(view.get(), &RuffleView::moviePainted);
    const quint64 broken = view->loadMovie(QByteArray("this is not a movie at all, only words"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 20000));
    EXPECT_FALSE(failed.first().at(0).toString().isEmpty());
    for (const auto& args : painted) {
        EXPECT_NE(args.at(0).toULongLong(), broken);
    }
    const quint64 good = view->loadMovie(ColourMovie(QColor(0xf0, 0xd0, 0x10)));
    ASSERT_TRUE(WaitPainted(painted, good));
    EXPECT_NEAR(CentreColour().red(), 0xf0, 8);
}

TEST_F(RuffleViewTest, RecoversWhenThePlayerProcessDies) {
    QSignalSpy failed(view.get(), &RuffleView::failed);
    QSignalSpy ready(view.get(), &RuffleView::ready);
    QSignalSpy painted(view.get(), &RuffleView::moviePainted);
    view->webView()->page()->load(QUrl(QStringLiteral("chrome://crash")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 20000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ready.isEmpty(); }, 60000));
    const quint64 serial = view->loadMovie(ColourMovie(QColor(0x10, 0x20, 0xe0)));
    ASSERT_TRUE(WaitPainted(painted, serial));
    EXPECT_NEAR(CentreColour().blue(), 0xe0, 8);
}

TEST_F(RuffleViewTest, AddressesTheMovieOpensArePassedOn) {
    QSignalSpy links(view.get(), &RuffleView::linkActivated);
    const QUrl target(QStringLiteral("https://example.org/cards?from=player"));
    const auto script = swf::as::compile("getURL(\"" + target.toString().toStdString() + "\", \"_blank\");");
    ASSERT_TRUE(script.has_value());
    view->loadMovie(ColourMovie(Qt::white, 200, 150, swf::Action(*script)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !links.isEmpty(); }, 20000));
    EXPECT_EQ(links.first().at(0).toUrl(), target);
    // The player page itself stays and plays on.
    QSignalSpy painted(view.get(), &RuffleView::moviePainted);
    ASSERT_TRUE(WaitPainted(painted, view->loadMovie(ColourMovie(Qt::black))));
}

// The movies made at build time play without a failure and show more than one colour (text and links).
TEST_F(RuffleViewTest, SampleAndHelpMoviesPlay) {
    for (const char* name : {"Samples/workout.swf", "Samples/loveletter.swf", "CWPHelp.swf"}) {
        QSignalSpy failed(view.get(), &RuffleView::failed);
        QSignalSpy painted(view.get(), &RuffleView::moviePainted);
        const quint64 serial =
            view->loadUrl(QUrl::fromLocalFile(QStringLiteral(CW_TEST_DATA_DIR "/") + QLatin1String(name)));
        ASSERT_TRUE(WaitPainted(painted, serial)) << name;
        EXPECT_TRUE(failed.isEmpty()) << name;
        QImage stage;
        view->grabStage([&](const QImage& image) { stage = image; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return !stage.isNull(); }, 10000)) << name;
        stage.save(QStringLiteral("/tmp/cw-%1.png").arg(QFileInfo(QLatin1String(name)).baseName()));
        QSet<QRgb> colours;
        for (int y = 0; y < stage.height(); y += 4) {
            for (int x = 0; x < stage.width(); x += 4) {
                colours.insert(stage.pixel(x, y));
            }
        }
        EXPECT_GT(colours.size(), 2) << name;
    }
}

} // namespace
