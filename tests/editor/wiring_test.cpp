// The dialogs, pickers and rich tips as the editor window uses them.
#include "editor_fixture.h"

#include "dialogs/colour_picker.h"
#include "dialogs/colour_picker_table.h"
#include "dialogs/dlg_add_bg.h"
#include "dialogs/dlg_tips.h"
#include "dialogs/publish_actions.h"
#include "editor/field_panels.h"
#include "editor/preview_panel.h"
#include "tooltip/qt/editor_tips.h"
#include "tooltip/tip_texts.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace editor::testing {
namespace {

using State = tooltip::CPPToolTip::State;

QString TipText(int id) {
    const std::string_view text = tooltip::ControlTipText(id);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QPushButton* ButtonNamed(QWidget& window, const QString& name) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->accessibleName() == name) {
            return button;
        }
    }
    return nullptr;
}

void MoveMouse(QWidget* widget, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(widget->mapToGlobal(local)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

TEST_F(EditorTest, RestingOnAButtonShowsItsTipAfterTheDelay) {
    CCardwrightDlg& w = Open();
    tooltip::CPPToolTip* tip = w.richTips().ToolTip();
    tip->SetDelayTime(tooltip::CPPToolTip::Delay::Show, 20);
    tip->SetScreens({QRect(-2000, -2000, 6000, 6000)});
    struct Case {
        const char* button;
        int id;
    };
    for (const Case& c : {Case{"Preview", 1100}, Case{"Remove Card", 1002}}) {
        QPushButton* button = ButtonNamed(w, QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr) << c.button;
        MoveMouse(button, {4, 4});
        EXPECT_EQ(tip->CurrentState(), State::Hidden) << "not before the mouse rests";
        ASSERT_TRUE(QTest::qWaitFor([&] { return tip->CurrentState() == State::Shown; }, 2000)) << c.button;
        EXPECT_EQ(tip->CurrentText(), TipText(c.id));
        MoveMouse(w.centralWidget(), {1, 1});
    }
}

TEST_F(EditorTest, WelcomeTipLinkOneOpensThePreview) {
    welcome = true;
    prepare = [](CCardwrightDlg& w) {
        w.richTips().ToolTip()->SetScreens({QRect(-2000, -2000, 6000, 6000)});
    };
    CCardwrightDlg& w = Open();
    tooltip::CPPToolTip* tip = w.richTips().ToolTip();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tip->CurrentState() == State::Shown; }, 2000));
    tip->grab(); // lays the text out as drawn
    QPoint link;
    for (const markup::Box& box : tip->Drawer().Drawn().boxes) {
        if (box.link == 0) {
            link = QPoint(box.rect.x + 2, box.rect.y + box.rect.height / 2) + tip->Drawer().DrawnOrigin();
            break;
        }
    }
    ASSERT_FALSE(link.isNull());
    QSignalSpy opening(&w, &CCardwrightDlg::previewOpening);
    const QString dialogTitle =
        RunPreview([&] { QTest::mouseClick(tip, Qt::LeftButton, Qt::NoModifier, link); });
    ASSERT_EQ(opening.size(), 1);
    EXPECT_EQ(opening[0][0].toString(), QString::fromStdString(workspace.PreviewPath().string()));
    EXPECT_EQ(dialogTitle, QStringLiteral("Preview"));
}

TEST_F(EditorTest, AddPicsStoresAColourBackgroundAsOneStep) {
    CCardwrightDlg& w = Open();
    w.select({1, -1});
    const std::vector<uint8_t> before = Bytes();
    const int steps = w.document().undoStack().count();
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CDlgAddBg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
            if (radio->text() == QStringLiteral("Background Color Only")) {
                radio->click();
            }
        }
        dialog->findChild<CColourPicker*>(QStringLiteral("colourButton"))
            ->setColour(QColor(0x12, 0xAB, 0x34));
        driven = true;
        dialog->accept();
    });
    w.OnAddPics();
    ASSERT_TRUE(driven);
    const model::CCardInfo& card = *w.document().project().cards[1];
    EXPECT_EQ(card.m_strBackground, "#12AB34");
    EXPECT_EQ(card.m_bProjectBg, 0);
    EXPECT_EQ(w.document().undoStack().count(), steps + 1);
    w.document().undoStack().undo();
    EXPECT_EQ(Bytes(), before);
}

TEST_F(EditorTest, ColourPickersStoreTheColourAsHex) {
    CCardwrightDlg& w = Open();
    w.select({0, -1});
    struct Case {
        CColourPicker* picker;
        const std::string model::CCardInfo::*field;
    };
    for (const Case& c : {Case{w.cardFields().titleColor, &model::CCardInfo::m_strTitleColor},
                          Case{w.cardFields().commentColor, &model::CCardInfo::m_strCommentColor}}) {
        const int steps = w.document().undoStack().count();
        const int generations = w.preview().generationCount();
        c.picker->setColourDialog([](const QColor&, QWidget*) { return QColor(0x0a, 0xbc, 0xde); });
        c.picker->click();
        ASSERT_NE(c.picker->popup(), nullptr);
        for (int i = 0; i < 4 && c.picker->popup()->hotCell() != colour_picker::kCustomCell; ++i) {
            QTest::keyClick(c.picker->popup(), Qt::Key_Up);
        }
        ASSERT_EQ(c.picker->popup()->hotCell(), colour_picker::kCustomCell);
        QTest::keyClick(c.picker->popup(), Qt::Key_Space); // "More Colours..."
        EXPECT_EQ(w.document().project().cards[0].get()->*c.field, "#0ABCDE");
        EXPECT_EQ(w.document().undoStack().count(), steps + 1);
        EXPECT_GT(w.preview().generationCount(), generations);
    }
}

TEST_F(EditorTest, ProjectSettingsAreOneUndoStep) {
    CCardwrightDlg& w = Open();
    const std::vector<uint8_t> before = Bytes();
    const std::string author = w.document().project().settings.m_strAuthor;
    for (const bool ok : {false, true}) {
        const int steps = w.document().undoStack().count();
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                if (edit->text() == QString::fromStdString(author)) {
                    edit->setText(QStringLiteral("Ann"));
                }
            }
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        w.OnProjectSettings();
        EXPECT_EQ(w.document().project().settings.m_strAuthor, ok ? "Ann" : author);
        EXPECT_EQ(w.document().undoStack().count(), steps + (ok ? 1 : 0));
    }
    w.document().undoStack().undo();
    EXPECT_EQ(Bytes(), before);
}

// Closes every modal window that comes up while `run` runs (or, when none has yet, until the first one
// has) and names the classes of them in order.
QStringList ModalWindowsOf(const std::function<void()>& run) {
    QStringList seen;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            seen << QString::fromLatin1(dialog->metaObject()->className());
            dialog->close();
        }
    });
    closer.start(10);
    run();
    // A publishing command makes its movie on a worker first; its dialog comes after.
    (void)QTest::qWaitFor([&] { return !seen.isEmpty(); }, 20000); // the caller checks what was seen
    return seen;
}

TEST_F(EditorTest, MenuCommandsOpenTheirDialogs) {
    CCardwrightDlg& w = Open();
    const struct {
        QString action;
        const char* dialog;
        bool publishes; // ends later, with publishingEnded
    } cases[] = {{QStringLiteral("&Open..."), "CDlgOpenProject", false},
                 {QStringLiteral("3 &Finish"), "publish_ui::CDlgFinish", true},
                 {QStringLiteral("Generate &SWF"), "QFileDialog", true},
                 {publish_ui::GenerateExeMenuText(), "QFileDialog", true},
                 {publish_ui::CreatePhotoAlbumMenuText(), "QFileDialog", true},
                 {QStringLiteral("&Tip of the Day"), "CDlgTips", false},
                 {QStringLiteral("Project &Settings"), "CDlgProjectSettings", false}};
    QSignalSpy ended(&w, &CCardwrightDlg::publishingEnded);
    for (const auto& c : cases) {
        QAction* action = nullptr;
        for (QAction* candidate : w.findChildren<QAction*>()) {
            if (candidate->text() == c.action) {
                action = candidate;
            }
        }
        ASSERT_NE(action, nullptr) << c.action.toStdString();
        const QStringList seen = ModalWindowsOf([action] { action->trigger(); });
        ASSERT_FALSE(seen.isEmpty()) << c.action.toStdString();
        EXPECT_EQ(seen.first(), QString::fromLatin1(c.dialog)) << c.action.toStdString();
        if (c.publishes) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty(); }, 20000)) << c.action.toStdString();
            ended.clear();
        }
    }
    EXPECT_EQ(w.document().project(), model::MakeDefaultProject()) << "closing the dialogs changed nothing";
}

TEST_F(EditorTest, StartupTipsAreModelessAndGoWithTheWindow) {
    CCardwrightDlg& w = Open();
    w.showStartupTips();
    auto* tips = [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<CDlgTips*>(top)) {
                return found;
            }
        }
        return static_cast<CDlgTips*>(nullptr);
    }();
    ASSERT_NE(tips, nullptr);
    EXPECT_TRUE(tips->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(tips->testAttribute(Qt::WA_QuitOnClose)) << "it must not keep the program running";
    w.close();
    EXPECT_FALSE(tips->isVisible());
}

} // namespace
} // namespace editor::testing
