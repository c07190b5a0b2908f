// The stand-alone player program, its launcher and the Preview dialog.
#include "colour_movie.h"
#include "player/dlg_preview.h"
#include "player/open_in_player.h"
#include "player/player_window.h"
#include "player/ruffle_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The colour at the centre of the stage the view shows, invalid while nothing is painted.
QColor CentreColour(player::RuffleView& view) {
    QColor centre;
    bool done = false;
    view.grabStage([&](const QImage& image) {
        centre = image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    return centre;
}

QString WriteMovie(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

TEST(PlayerProgram, HelpExitsWithZero) {
    QProcess process;
    process.start(QStringLiteral(CW_PLAYER_PROGRAM), {QStringLiteral("--help")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().contains("--maximized"));
}

TEST(OpenInPlayer, PassesTheTargetUnchangedAsOneArgument) {
    struct Case {
        QString target;
        bool maximized;
        QStringList expected;
    };
    const QString spaced = QStringLiteral("/opt/my programs/Card wright/CWPHelp.swf");
    const QString url = QStringLiteral("https://example.org/flash/fun.swf");
    const Case cases[] = {
        {spaced, true, {QStringLiteral("--maximized"), QStringLiteral("--"), spaced}},
        {url, false, {QStringLiteral("--"), url}},
        {QStringLiteral("-odd name.swf"), false, {QStringLiteral("--"), QStringLiteral("-odd name.swf")}},
    };
    for (const Case& c : cases) {
        QString program;
        QStringList arguments;
        player::SetPlayerStarter([&](const QString& p, const QStringList& a) {
            program = p;
            arguments = a;
            return true;
        });
        EXPECT_TRUE(player::OpenInPlayer(c.target, c.maximized));
        EXPECT_EQ(program,
                  QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("cardwright-player")));
        EXPECT_EQ(arguments, c.expected) << qPrintable(c.target);
    }
    player::SetPlayerStarter({});
}

TEST(PlayerWindow, TitleNamesTheMovieAndTheWindowFitsItsStage) {
    QTemporaryDir dir;
    const QString path =
        WriteMovie(dir, QStringLiteral("big stage.swf"), player_test::ColourMovie(Qt::cyan, 400, 300));
    EXPECT_EQ(player::MovieStageSize(path), QSize(400, 300));
    EXPECT_EQ(player::MovieStageSize(WriteMovie(dir, QStringLiteral("junk.swf"), "junk")), std::nullopt);

    player::PlayerWindow window;
    QSignalSpy painted(window.view(), &player::RuffleView::moviePainted);
    window.open(path);
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !painted.isEmpty(); }, 60000));
    window.grab().save(QDir::temp().filePath(QStringLiteral("cw-player-window.png")));
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("big stage.swf")));
    EXPECT_EQ(window.centralWidget()->width(), 400);
    EXPECT_EQ(window.centralWidget()->height(), 300);
}

TEST(PreviewDialog, PlaysItsMovieAndEscapeCloses) {
    QTemporaryDir dir;
    CDlgPreview dlg;
    dlg.m_strMovie = WriteMovie(dir, QStringLiteral("preview.swf"), player_test::ColourMovie(Qt::magenta));
    QSignalSpy painted(dlg.playerView(), &player::RuffleView::moviePainted);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !painted.isEmpty(); }, 60000));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Preview"));
    dlg.grab().save(QDir::temp().filePath(QStringLiteral("cw-preview-dialog.png")));
    // Escape works while the movie has the keyboard focus.
    dlg.activateWindow();
    dlg.playerView()->setFocus();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(dlg.isAncestorOf(focused));
    QTest::keyClick(focused, Qt::Key_Escape);
    QTest::qWait(0);
    EXPECT_FALSE(dlg.isVisible());
}

// The dialog borrows a warm player hidden in another widget, plays the movie in it, and gives it back
// cleared and hidden when it closes; the next dialog borrows it again.
TEST(PreviewDialog, BorrowsAWarmPlayerAndGivesItBack) {
    QTemporaryDir dir;
    QWidget owner;
    owner.show();
    // Warmed up as the editor does it: shown (tiny) until its empty movie is painted, then hidden.
    auto* warm = new player::RuffleView(&owner);
    warm->setGeometry(0, 0, 2, 2);
    warm->show();
    QSignalSpy painted(warm, &player::RuffleView::moviePainted);
    const quint64 warmUp = warm->warmUp();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !painted.isEmpty() && painted.last().at(0).toULongLong() == warmUp; }, 60000));
    warm->hide();
    for (const QColor& colour : {QColor(Qt::magenta), QColor(Qt::cyan)}) {
        SCOPED_TRACE(qPrintable(colour.name()));
        {
            CDlgPreview dlg(nullptr, warm);
            EXPECT_EQ(dlg.playerView(), warm);
            dlg.m_strMovie =
                WriteMovie(dir, colour.name() + QStringLiteral(".swf"), player_test::ColourMovie(colour));
            dlg.show();
            EXPECT_TRUE(warm->isVisible());
            EXPECT_TRUE(QTest::qWaitFor([&] { return CentreColour(*warm) == colour; }, 60000));
            dlg.grab().save(QDir::temp().filePath(
                QStringLiteral("cw-preview-borrowed-%1.png").arg(colour.name().mid(1))));
        }
        EXPECT_EQ(warm->parentWidget(), &owner);
        EXPECT_FALSE(warm->isVisible());
        EXPECT_EQ(warm->loadingSerial(), 0u);
    }
}

} // namespace
