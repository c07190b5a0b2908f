// File > Import Twine Story... and Export as Twine Story...: a story opens as a new project with its
// warnings in one window, a refused story changes nothing, and the project is written as Twee.
#include "editor_fixture.h"

#include <QDialog>
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace editor::testing {

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST_F(EditorTest, TwineStoryInAndOut) {
    CCardwrightDlg& w = Open();
    QStringList fileMenu;
    for (QAction* a : w.menuBar()->actions().first()->menu()->actions()) {
        fileMenu << a->text();
    }
    EXPECT_TRUE(fileMenu.contains(QStringLiteral("&Import Twine Story...")));
    EXPECT_TRUE(fileMenu.contains(QStringLiteral("&Export as Twine Story...")));

    const model::Project before = w.document().project().Clone();
    WriteFile(Path(QStringLiteral("notes.twee")), "Just notes.\n");
    EXPECT_FALSE(w.importTwineStory(Path(QStringLiteral("notes.twee"))));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(QStringLiteral("neither a Twee 3 story")));
    EXPECT_EQ(w.document().project(), before);

    WriteFile(Path(QStringLiteral("walk.twee")),
              ":: Gate\nA gate. <<set $x to 1>>\n[[In|Field]]\n:: Field\nGrass.\n");
    ASSERT_TRUE(w.importTwineStory(Path(QStringLiteral("walk.twee"))));
    const model::Project& p = w.document().project();
    ASSERT_EQ(p.CardCount(), 2);
    EXPECT_EQ(p.cards[0]->m_strTitle, "Gate");
    EXPECT_EQ(p.cards[0]->m_pLinks->m_pLinkList[0]->m_nGoto, 1);
    EXPECT_TRUE(w.isWindowModified());
    auto* warnings = w.findChild<QDialog*>(QStringLiteral("twineWarnings"));
    ASSERT_NE(warnings, nullptr);
    EXPECT_TRUE(warnings->findChild<QPlainTextEdit*>()->toPlainText().contains(QStringLiteral("<<set>>")));
    warnings->close();

    const QString out = Path(QStringLiteral("walk-out.twee"));
    ASSERT_TRUE(w.exportTwineStory(out));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith(":: StoryTitle\nGate\n")) << text.constData();
    EXPECT_TRUE(text.contains(":: Gate\nA gate. \n[[In|Field]]")) << text.constData();
}

} // namespace editor::testing
