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

} // namespace
