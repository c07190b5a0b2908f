// The editor window: fields shown per selection, keys, the Flash background rule, the rescue timer,
// opening files and closing.
#include "editor_fixture.h"

#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "editor/tip_message.h"

#include "app/rescue.h"
#include <QAbstractButton>
#include <QAbstractSpinBox>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <filesystem>

namespace editor::testing {
namespace {

using Sel = model::Selection;

TEST_F(EditorTest, CardFieldsForACardLinkFieldsForALink) {
    CCardwrightDlg& w = Open();
    EXPECT_EQ(w.selection(), (Sel{0, -1}));
    struct Case {
        Sel sel;
        bool cardFields;
    };
    for (const Case& c :
         {Case{{0, 1}, false}, Case{{1, -1}, true}, Case{{1, 0}, false}, Case{{2, -1}, true}}) {
        w.select(c.sel);
        EXPECT_EQ(w.selection(), c.sel);
        EXPECT_EQ(w.cardFields().isVisible(), c.cardFields);
        EXPECT_EQ(w.linkFields().isVisible(), !c.cardFields);
    }
    // The link fields show the link: its title, its goto card, an empty operator.
    w.select({1, 0});
    EXPECT_EQ(w.linkFields().title->text(), QStringLiteral("Link 1"));
    EXPECT_EQ(w.linkFields().gotoCard->currentText(), QStringLiteral("Card 3:"));
    EXPECT_EQ(w.linkFields().compare->currentIndex(), 0);
    // A new link on the last card goes past the last card: no goto entry is chosen.
    w.select({2, -1});
    w.AddLink(model::kPosAfter);
    EXPECT_EQ(w.selection(), (Sel{2, 0}));
    EXPECT_EQ(w.linkFields().gotoCard->currentIndex(), -1);
    EXPECT_EQ(
        w.document().treeModel().data(w.document().treeModel().indexOf({2, 0}), Qt::DisplayRole).toString(),
        QStringLiteral("Link 1"));
}

TEST_F(EditorTest, ALongTitleFromAFileIsShownAndKeptWhole) {
    CCardwrightDlg& w = Open();
    model::Project p = model::MakeDefaultProject();
    p.cards[1]->m_strTitle = std::string(130, 'T');
    p.cards[1]->m_pLinks->m_pLinkList[0]->m_strTitle = std::string(30, 'L');
    const QString path = Path(QStringLiteral("long.cwp"));
    ASSERT_TRUE(model::SaveProjectFile(p, path.toStdString()));
    ASSERT_TRUE(w.openProjectFile(path));
    w.select({1, -1});
    w.cardFields().title->setFocus();
    w.cardFields().title->end(false);
    QTest::keyClick(w.cardFields().title, Qt::Key_X); // full: refused
    QTest::keyClick(w.cardFields().title, Qt::Key_Backspace);
    EXPECT_EQ(w.document().project().cards[1]->m_strTitle, std::string(129, 'T'));
    w.select({1, 0});
    EXPECT_EQ(w.linkFields().title->text().size(), 30);
    // A new card's title stops at 100 characters.
    w.select({0, -1});
    w.cardFields().title->selectAll();
    QTest::keyClicks(w.cardFields().title, QString(120, QLatin1Char('a')));
    EXPECT_EQ(w.document().project().cards[0]->m_strTitle, std::string(100, 'a'));
}

TEST_F(EditorTest, KeysFromInsideTheFields) {
    struct Case {
        const char* name;
        bool inComment;
        Qt::Key key;
        int cardsAdded;
        int linksAdded;
        QString commentAdded;
    };
    const Case cases[] = {
        {"F2 in the title", false, Qt::Key_F2, 1, 0, {}},
        {"F3 in the title", false, Qt::Key_F3, 0, 1, {}},
        {"F2 in the comment", true, Qt::Key_F2, 1, 0, {}},
        {"F11", false, Qt::Key_F11, 0, 0, {}},
        {"F12", true, Qt::Key_F12, 0, 0, {}},
        {"Enter in the title", false, Qt::Key_Return, 0, 0, {}},
        {"Enter in the comment", true, Qt::Key_Return, 0, 0, QStringLiteral("\n")},
    };
    for (const Case& c : cases) {
        CCardwrightDlg& w = Open();
        QWidget* field = c.inComment ? static_cast<QWidget*>(w.cardFields().comment) : w.cardFields().title;
        field->setFocus();
        const QString title = w.cardFields().title->text();
        const QString comment = w.cardFields().comment->toPlainText();
        const int links = w.document().project().cards[0]->m_pLinks->Count();
        if (c.inComment) {
            w.cardFields().comment->moveCursor(QTextCursor::End);
        }
        QTest::keyClick(field, c.key);
        EXPECT_TRUE(w.isVisible()) << c.name;
        EXPECT_EQ(w.document().project().CardCount(), 3 + c.cardsAdded) << c.name;
        EXPECT_EQ(w.document().project().cards[0]->m_pLinks->Count(), links + c.linksAdded) << c.name;
        if (c.cardsAdded == 0 && c.linksAdded == 0) {
            EXPECT_EQ(w.cardFields().title->text(), title) << c.name;
            EXPECT_EQ(w.cardFields().comment->toPlainText(), comment + c.commentAdded) << c.name;
        }
        window->document().markSaved();
        window.reset();
    }
}

TEST_F(EditorTest, FlashBackgroundRegeneratesOnlyWhenTheFieldLosesTheFocus) {
    struct Case {
        const char* background;
        int perKey;
    };
    for (const Case& c : {Case{"#FFFFFF", 1}, Case{"Background\\Bubbles.swf", 0}}) {
        CCardwrightDlg& w = Open();
        CardValues values = CardValues::Of(*w.document().project().cards[0]);
        values.background = c.background;
        w.document().setCard(0, Field::Background, values);
        w.cardFields().title->setFocus();
        const int before = w.preview().generationCount();
        QTest::keyClicks(w.cardFields().title, QStringLiteral("abc"));
        // The tree and the goto lists follow every key in both cases.
        EXPECT_EQ(w.document().project().cards[0]->m_strTitle, "Card 1:abc");
        EXPECT_EQ(w.linkFields().gotoCard->itemText(0), QStringLiteral("Card 1:abc"));
        EXPECT_EQ(w.preview().generationCount(), before + 3 * c.perKey) << c.background;
        w.tree().setFocus();
        EXPECT_EQ(w.preview().generationCount(), before + (c.perKey == 0 ? 1 : 3)) << c.background;
        window->document().markSaved();
        window.reset();
    }
}

TEST_F(EditorTest, RescueSaveByTheTimerAndNeverForAnEmptyProject) {
    CCardwrightDlg& w = Open();
    EXPECT_EQ(w.rescueInterval(), 15000);
    w.setRescueInterval(5);
    const auto rescue = workspace.RescuePath();
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(rescue); }, 5000));
    EXPECT_EQ(model::LoadProjectFile(rescue), w.document().project());
    std::filesystem::remove(rescue);
    for (int i = 0; i < 3; ++i) {
        w.select({0, -1});
        w.OnBtnRemovecard();
    }
    ASSERT_EQ(w.document().project().CardCount(), 0);
    EXPECT_FALSE(w.rescueSave());
    QTest::qWait(50); // ten timer periods
    EXPECT_FALSE(std::filesystem::exists(rescue));
}

TEST_F(EditorTest, CloseAsksToSaveAndCancelKeepsTheWindow) {
    struct Case {
        Answer answer;
        bool closed;
        bool saved;
    };
    for (const Case& c :
         {Case{Answer::Cancel, false, false}, Case{Answer::No, true, false}, Case{Answer::Yes, true, true}}) {
        CCardwrightDlg& w = Open();
        const QString path = Path(QStringLiteral("closed.cwp"));
        QFile::remove(path);
        prompter.saveAs = path;
        prompter.questions.clear();
        w.AddCard(model::kPosBottom);
        prompter.answers = {c.answer};
        w.close();
        EXPECT_EQ(prompter.questions, QStringList{QStringLiteral("Do you want to save this project?")});
        EXPECT_EQ(w.isVisible(), !c.closed);
        EXPECT_EQ(QFile::exists(path), c.saved);
        if (c.saved) {
            EXPECT_EQ(model::LoadProjectFile(path.toStdString()), w.document().project());
        }
        window->document().markSaved();
        window.reset();
    }
}

TEST_F(EditorTest, AFailedSaveIsReportedAndTheWorkStaysUnsaved) {
    CCardwrightDlg& w = Open();
    w.AddCard(model::kPosBottom);
    prompter.saveAs = Path(QStringLiteral("missing-folder/gift.cwp"));
    prompter.answers = {Answer::No};
    EXPECT_FALSE(w.OnSave());
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(
        prompter.questions[0].contains(QStringLiteral("Reason:\n    Failed to save the current project")));
    EXPECT_TRUE(w.isWindowModified());
}

TEST_F(EditorTest, NewAsksAboutUnsavedWorkThenStartsTheDefaultProject) {
    struct Case {
        Answer answer;
        bool renewed;
    };
    for (const Case& c : {Case{Answer::Cancel, false}, Case{Answer::No, true}}) {
        CCardwrightDlg& w = Open();
        w.AddCard(model::kPosTop);
        const auto marker = workspace.TempDir() / "0.jpg";
        QFile(QString::fromStdString(marker.string())).open(QIODevice::WriteOnly);
        prompter.questions.clear();
        prompter.answers = {c.answer};
        // New goes on to the project settings, which may be a modal dialog: close it.
        QTimer::singleShot(0, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialog->close();
            }
        });
        w.OnNew();
        EXPECT_EQ(prompter.questions, QStringList{QStringLiteral("Do you want to save this gift?")});
        EXPECT_EQ(w.document().project().CardCount(), c.renewed ? 3 : 4);
        EXPECT_EQ(w.isWindowModified(), !c.renewed);
        EXPECT_EQ(std::filesystem::exists(marker), !c.renewed); // New empties Temp
        window->document().markSaved();
        window.reset();
    }
}

TEST_F(EditorTest, OpensAProjectAndRefusesAFileThatIsNot) {
    CCardwrightDlg& w = Open();
    model::Project quiz = model::MakeDefaultProject();
    quiz.AddCard(model::kPosTop, {});
    quiz.cards[0]->m_strTitle = "Question";
    const QString theme = Path(QStringLiteral("Quiz.cwp"));
    ASSERT_TRUE(model::SaveProjectFile(quiz, theme.toStdString()));
    ASSERT_TRUE(w.openProjectFile(theme));
    EXPECT_EQ(w.document().project(), quiz);
    EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Quiz.cwp")));
    EXPECT_FALSE(w.isWindowModified());

    QFile junk(Path(QStringLiteral("notes.cwp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a project");
    junk.close();
    EXPECT_FALSE(w.openProjectFile(junk.fileName()));
    EXPECT_EQ(prompter.messages, QStringList{QString::fromLatin1(model::kOldVersionMessage)});
    EXPECT_EQ(w.document().project(), quiz);
    // Still usable.
    w.AddCard(model::kPosBottom);
    EXPECT_EQ(w.document().project().CardCount(), quiz.CardCount() + 1);
    EXPECT_TRUE(w.isWindowModified());
}

TEST_F(EditorTest, EveryControlHasTheNameAUserSees) {
    CCardwrightDlg& w = Open();
    QStringList names;
    for (QWidget* control : w.centralWidget()->findChildren<QWidget*>()) {
        const bool isControl =
            qobject_cast<QAbstractButton*>(control) || qobject_cast<QComboBox*>(control) ||
            qobject_cast<QAbstractSpinBox*>(control) || qobject_cast<QPlainTextEdit*>(control) ||
            qobject_cast<QTreeView*>(control) ||
            (qobject_cast<QLineEdit*>(control) && !qobject_cast<QAbstractSpinBox*>(control->parentWidget()) &&
             !qobject_cast<QComboBox*>(control->parentWidget()));
        if (isControl && !w.preview().isAncestorOf(control)) {
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
            names << control->accessibleName();
        }
    }
    for (const char* name : {"Add Card",   "Remove Card", "Add Link",    "Remove Link",   "New",
                             "Open",       "Preview",     "Finish",      "Save",          "Project Settings",
                             "Title",      "More",        "Title color", "Comment color", "Add Pics",
                             "Link title", "Go to",       "Score",       "If score",      "Then go to"}) {
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
    }
    // Tab goes from the tree to the title: the preview takes no keys.
    w.tree().setFocus();
    QTest::keyClick(&w.tree(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.cardFields().title);
}

TEST_F(EditorTest, HintsAreNotModal) {
    CCardwrightDlg& w = Open();
    w.select({0, -1});
    w.OnBtnRemovelink();
    EXPECT_EQ(w.tips().lastText(), QString::fromLatin1(model::kHintSelectLink));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (QAction* action : w.findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Hot &Keys")) {
            action->trigger();
        }
    }
    EXPECT_EQ(w.tips().lastText(),
              QStringLiteral("F1:  Help Center\nF2:  Add new card\nF3:  Add new link\nF5:  "
                             "Preview Flash e-gift"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(EditorTest, F5FromAFieldSavesForRescueAndPreviewsTheWholeMovie) {
    CCardwrightDlg& w = Open();
    w.cardFields().comment->setFocus();
    EXPECT_EQ(RunPreview([&] { QTest::keyClick(w.cardFields().comment, Qt::Key_F5); }),
              QStringLiteral("Preview"));
    EXPECT_TRUE(app::HasRescueFile(workspace));
    EXPECT_GT(std::filesystem::file_size(workspace.PreviewPath()), 0u);
}

TEST_F(EditorTest, UndoInATextFieldUndoesTheTypingAsOneProjectStep) {
    CCardwrightDlg& w = Open();
    w.AddLink(model::kPosAfter); // a project step before the typing
    w.select({0, -1});
    const auto before = Bytes();
    QLineEdit* title = w.cardFields().title;
    title->setFocus();
    title->end(false);
    QTest::keyClicks(title, QStringLiteral("xy"));
    EXPECT_EQ(w.document().project().cards[0]->m_strTitle, "Card 1:xy");
    QTest::keySequence(title, QKeySequence::Undo); // the typing was one step of the project's stack
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(title->text(), QStringLiteral("Card 1:"));
    EXPECT_EQ(w.document().project().cards[0]->m_pLinks->Count(), 3);
    QTest::keySequence(title, QKeySequence::Undo); // the step before it: the added link goes
    EXPECT_EQ(w.document().project().cards[0]->m_pLinks->Count(), 2);
}

} // namespace
} // namespace editor::testing
