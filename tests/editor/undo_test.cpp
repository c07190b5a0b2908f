// Every kind of edit can be undone back to the very bytes the project had, and redone to the bytes it
// made; typing in one field is one step.
#include "editor_fixture.h"

#include "editor/field_panels.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

#include <functional>

namespace editor::testing {
namespace {

struct Edit {
    const char* name;
    model::Selection at;
    std::function<void(CCardwrightDlg&)> run;
};

// Qt's model tester on the tree model for as long as it lives: every signal the model sends is checked
// against what the model then reports; what it finds is collected.
class ModelWatch {
public:
    explicit ModelWatch(QAbstractItemModel& model)
        : m_tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning) {
        s_problems = &problems;
        m_previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext& where, const QString& text) {
                if (QByteArray(where.category) == "qt.modeltest") {
                    *s_problems << text;
                }
            });
    }
    ~ModelWatch() { qInstallMessageHandler(m_previous); }
    QStringList problems;

private:
    static inline QStringList* s_problems = nullptr;
    QAbstractItemModelTester m_tester;
    QtMessageHandler m_previous;
};

void Type(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClicks(field, text);
}

TEST_F(EditorTest, EveryEditUndoesAndRedoesToTheSameBytes) {
    const Edit edits[] = {
        {"add card at top", {1, -1}, [](CCardwrightDlg& w) { w.AddCard(model::kPosTop); }},
        {"add card after", {1, -1}, [](CCardwrightDlg& w) { w.AddCard(model::kPosAfter); }},
        {"add link before", {0, 1}, [](CCardwrightDlg& w) { w.AddLink(model::kPosBefore); }},
        {"remove card", {1, -1}, [](CCardwrightDlg& w) { w.OnBtnRemovecard(); }},
        {"remove link", {1, 0}, [](CCardwrightDlg& w) { w.OnBtnRemovelink(); }},
        {"move card down", {0, -1}, [](CCardwrightDlg& w) { w.moveCard(1); }},
        {"move card up", {2, -1}, [](CCardwrightDlg& w) { w.moveCard(-1); }},
        {"title", {1, -1}, [](CCardwrightDlg& w) { Type(w.cardFields().title, QStringLiteral(" Hi")); }},
        {"comment",
         {0, -1},
         [](CCardwrightDlg& w) {
             Type(w.cardFields().comment, QStringLiteral("Dear"));
             QTest::keyClick(w.cardFields().comment, Qt::Key_Return);
             QTest::keyClicks(w.cardFields().comment, QStringLiteral("friend"));
         }},
        {"colours, mail alert, background",
         {2, -1},
         [](CCardwrightDlg& w) {
             for (Field f : {Field::TitleColor, Field::CommentColor, Field::MailAlert, Field::Background}) {
                 CardValues v = CardValues::Of(*w.document().project().cards[2]);
                 v.titleColor = "#FF0000";
                 v.commentColor = "#00FF00";
                 v.mailAlert = f == Field::MailAlert || f == Field::Background;
                 v.background = f == Field::Background ? "#123456" : v.background;
                 v.projectBg = f == Field::Background ? 0 : v.projectBg;
                 w.document().setCard(2, f, v);
             }
             w.cardFields().mailAlert->click();
         }},
        {"link title", {0, 0}, [](CCardwrightDlg& w) { Type(w.linkFields().title, QStringLiteral("Yes")); }},
        {"link goto, then-goto, operator",
         {0, 1},
         [](CCardwrightDlg& w) {
             w.linkFields().gotoCard->activated(2);
             w.linkFields().thenGoto->activated(0);
             w.linkFields().compare->activated(2);
         }},
        {"score and compare value",
         {1, 1},
         [](CCardwrightDlg& w) {
             w.linkFields().score->setValue(7);
             w.linkFields().score->setValue(12);
             w.linkFields().compareValue->setValue(3);
         }},
        {"settings",
         {0, -1},
         [](CCardwrightDlg& w) {
             model::ProjectSettings s = w.document().project().settings;
             s.m_strAuthor = "Ann";
             s.m_nGiftWidth = 800;
             w.document().setSettings(s);
         }},
    };
    for (const Edit& e : edits) {
        CCardwrightDlg& w = Open();
        ModelWatch watch(w.document().treeModel());
        w.select(e.at);
        const auto start = Bytes();
        e.run(w);
        const auto edited = Bytes();
        EXPECT_NE(edited, start) << e.name;
        EXPECT_TRUE(w.isWindowModified()) << e.name;
        QUndoStack& stack = w.document().undoStack();
        while (stack.canUndo()) {
            stack.undo();
        }
        EXPECT_EQ(Bytes(), start) << e.name;
        EXPECT_FALSE(w.isWindowModified()) << e.name;
        while (stack.canRedo()) {
            stack.redo();
        }
        EXPECT_EQ(Bytes(), edited) << e.name;
        EXPECT_EQ(watch.problems, QStringList()) << e.name;
        window->document().markSaved();
        window.reset();
    }
}

TEST_F(EditorTest, TypingInOneFieldIsOneStep) {
    CCardwrightDlg& w = Open();
    Type(w.cardFields().title, QStringLiteral("abcd"));
    EXPECT_EQ(w.document().undoStack().count(), 1);
    w.document().undoStack().undo();
    EXPECT_EQ(w.cardFields().title->text(), QStringLiteral("Card 1:"));
    EXPECT_EQ(w.document().treeModel().data(w.document().treeModel().indexOf({0, -1}), Qt::DisplayRole),
              QStringLiteral("Card 1: {2}"));
}

// The tree tells its view which rows moved, so the expanded card and the current one stay with their cards
// through moves, undo and redo.
TEST_F(EditorTest, ExpansionAndSelectionFollowTheirCardsThroughMovesAndUndo) {
    CCardwrightDlg& w = Open();
    CardTreeModel& m = w.document().treeModel();
    const auto title = [&](int row) { return w.document().project().cards[size_t(row)]->m_strTitle; };
    const std::string moved = title(0);
    w.tree().collapseAll();
    w.tree().expand(m.index(0, 0));
    w.select({0, -1});
    QUndoStack& stack = w.document().undoStack();
    const std::pair<const char*, std::function<void()>> steps[] = {{"down", [&] { w.moveCard(1); }},
                                                                   {"down again", [&] { w.moveCard(1); }},
                                                                   {"undo", [&] { stack.undo(); }},
                                                                   {"redo", [&] { stack.redo(); }},
                                                                   {"undo twice", [&] {
                                                                        stack.undo();
                                                                        stack.undo();
                                                                    }}};
    for (const auto& [name, step] : steps) {
        step();
        for (int row = 0; row < m.rowCount(); ++row) {
            EXPECT_EQ(w.tree().isExpanded(m.index(row, 0)), title(row) == moved) << name << ", row " << row;
        }
        EXPECT_EQ(title(w.tree().currentIndex().row()), moved) << name;
    }
    EXPECT_EQ(title(0), moved);
}

// The Edit menu names the step that Undo and Redo take.
TEST_F(EditorTest, UndoAndRedoEntriesNameTheirStep) {
    CCardwrightDlg& w = Open();
    const auto entry = [&](const QString& prefix) {
        for (QAction* action : w.findChildren<QAction*>()) {
            if (action->text().startsWith(prefix)) {
                return action;
            }
        }
        return static_cast<QAction*>(nullptr);
    };
    w.AddCard(model::kPosAfter);
    ASSERT_NE(entry(QStringLiteral("&Undo")), nullptr);
    EXPECT_EQ(entry(QStringLiteral("&Undo"))->text(), QStringLiteral("&Undo Add card"));
    EXPECT_TRUE(entry(QStringLiteral("&Undo"))->isEnabled());
    entry(QStringLiteral("&Undo"))->trigger();
    EXPECT_EQ(entry(QStringLiteral("&Redo"))->text(), QStringLiteral("&Redo Add card"));
    EXPECT_EQ(w.document().project().CardCount(), 3);
}

} // namespace
} // namespace editor::testing
