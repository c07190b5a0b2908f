// Finish, Generate SWF and the self-running command driven through their context: what is written,
// asked and handed on, with the dialog, the message boxes and the mail program answered by the test.
#include "dialogs/dlg_finish.h"
#include "dialogs/publish_actions.h"
#include "finish_prompts_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using finish_test::PromptRecorder;
using publish_ui::CDlgFinish;

const QString kSuccess =
    QStringLiteral("The gift was created successfully.\n  Yes to view it.\n  No to find it in its folder.");

// A context over a fresh folder: the movie is a sample clip; every outside effect is recorded.
struct Harness {
    fs::path dir = finish_test::FreshFolder("out");
    fs::path temp = finish_test::FreshFolder("Temp");
    PromptRecorder prompts;
    std::vector<std::string> generated;
    int rescues = 0;
    int reportsShown = 0; // the generation's follow-up on the GUI thread
    QStringList played;
    QStringList shown;
    QStringList tips;
    std::vector<QUrl> opened;
    publish_ui::PublishContext ctx;

    Harness() {
        ctx = publish_ui::PublishContext::ForWindow(nullptr, CW_TEST_DATA_DIR, temp);
        ctx.prompts = prompts.Prompts();
        ctx.generate = [this](const fs::path& movie, const dialogs::TaskControl&) -> std::function<void()> {
            generated.push_back(movie.string()); // on the worker; read once the command is over
            finish_test::WriteMovie(movie);
            return [this] { ++reportsShown; };
        };
        ctx.rescueSave = [this] {
            ++rescues;
            std::ofstream(temp / "temp.cwp") << "rescue";
        };
        ctx.tip = [this](const QString& text) { tips << text; };
        ctx.authorEmail = [] { return std::string("ann@example.org"); };
        ctx.openInPlayer = [this](const QString& path) { played << path; };
        ctx.showInFolder = [this](const QString& path) { shown << path; };
        ctx.openUrl = [this](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
    }
    QString Target(const char* name) const { return QString::fromStdString((dir / name).string()); }
};

TEST(FinishActionsTest, CancelWritesNothingButTheRescueFile) {
    Harness h;
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
    EXPECT_EQ(h.rescues, 1);
    EXPECT_TRUE(h.generated.empty());
    EXPECT_TRUE(h.prompts.messages.isEmpty());
    EXPECT_EQ(finish_test::FilesBelow(h.temp), std::vector<std::string>{"temp.cwp"});
    EXPECT_TRUE(finish_test::FilesBelow(h.dir).empty());
}

TEST(FinishActionsTest, OkWithoutAPathAsksForOneAndWritesNothing) {
    Harness h;
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        QTest::mouseClick(dialog.mailBox(), Qt::LeftButton);
        QTest::mouseClick(dialog.makeExeBox(), Qt::LeftButton);
        dialog.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
    EXPECT_EQ(h.prompts.messages, QStringList{QStringLiteral("Please choose where to export the gift.")});
    EXPECT_TRUE(h.generated.empty());
    EXPECT_TRUE(h.prompts.saveRequests.empty());
}

struct MailCase {
    const char* name;
    bool lock;
    std::vector<std::string> attached;
    QStringList messages;
};

class FinishMailTest : public ::testing::TestWithParam<MailCase> {};

TEST_P(FinishMailTest, MailCarriesTheFilesInOrderAndNoQuestionFollows) {
    const MailCase& c = GetParam();
    Harness h;
    const fs::path pics = finish_test::FreshFolder("pics");
    std::ofstream(pics / "a.txt") << "a picture";
    finish_test::FakeMailProgram mailer(finish_test::FreshFolder("bin"), 0);
    h.prompts.saveAnswers = {h.Target("gift.swf")};
    h.prompts.folderAnswers = {QString::fromStdString(pics.string())};
    h.ctx.runDialog = [&](CDlgFinish& dialog) {
        dialog.OnBtnPath();
        if (c.lock) {
            QTest::mouseClick(dialog.encryptBox(), Qt::LeftButton);
            dialog.passwordEdit()->setText(QStringLiteral("secret"));
        }
        QTest::mouseClick(dialog.mailBox(), Qt::LeftButton);
        dialog.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));

    EXPECT_EQ(h.generated, std::vector<std::string>{(h.dir / "gift.swf").string()});
    EXPECT_EQ(h.prompts.messages, c.messages);
    std::vector<std::string> attached;
    const std::vector<std::string> args = mailer.Arguments();
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--attach") {
            attached.push_back(fs::path(args[i + 1]).filename().string());
        }
    }
    EXPECT_EQ(attached, c.attached);
    EXPECT_TRUE(h.played.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Finish, FinishMailTest,
                         ::testing::Values(MailCase{"movie_only", false, {"Run me first.swf"}, {}},
                                           MailCase{"movie_and_zip",
                                                    true,
                                                    {"Run me first.swf", "Special gift but locked.zip"},
                                                    {QStringLiteral("zip it"),
                                                     QStringLiteral("The locked zip file has been created "
                                                                    "successfully.")}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FinishActionsTest, NoMailProgramLeavesADraftAndOffersItsFolder) {
    Harness h;
    finish_test::FakeMailProgram mailer(finish_test::FreshFolder("bin"), 3);
    h.prompts.saveAnswers = {h.Target("gift.swf")};
    h.prompts.buttonAnswers = {QMessageBox::Open};
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        dialog.OnBtnPath();
        QTest::mouseClick(dialog.mailBox(), Qt::LeftButton);
        dialog.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
    EXPECT_TRUE(fs::exists(h.dir / "gift.swf.eml"));
    ASSERT_EQ(h.prompts.messages.size(), 1);
    EXPECT_TRUE(h.prompts.messages[0].contains(h.Target("gift.swf.eml")));
    EXPECT_EQ(h.shown, QStringList{h.Target("gift.swf.eml")});
}

TEST(FinishActionsTest, SelfRunningFileIsMadeAfterTheMovieThenYesViews) {
    Harness h;
    h.prompts.saveAnswers = {h.Target("gift.swf"), h.Target("gift.html")};
    h.prompts.buttonAnswers = {QMessageBox::Yes};
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        dialog.OnBtnPath();
        QTest::mouseClick(dialog.makeExeBox(), Qt::LeftButton);
        dialog.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
    EXPECT_EQ(h.generated.size(), 1u);
    EXPECT_EQ(h.reportsShown, 1) << "what the builder reported is shown once the movie is made";
    EXPECT_TRUE(fs::exists(h.dir / "gift.html"));
    ASSERT_EQ(h.prompts.saveRequests.size(), 2u);
    EXPECT_EQ(h.prompts.saveRequests[1].defaultSuffix, QStringLiteral("html"));
    EXPECT_EQ(h.prompts.saveRequests[1].suggestedPath, h.Target("gift.html"));
    EXPECT_EQ(h.prompts.messages, QStringList{kSuccess});
    EXPECT_EQ(h.played, QStringList{h.Target("gift.swf")});
}

TEST(FinishActionsTest, NoShowsTheMovieInItsFolder) {
    Harness h;
    h.prompts.saveAnswers = {h.Target("gift.swf")};
    h.prompts.buttonAnswers = {QMessageBox::No};
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        dialog.OnBtnPath();
        dialog.accept();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
    EXPECT_EQ(h.shown, QStringList{h.Target("gift.swf")});
    EXPECT_TRUE(h.played.isEmpty());
}

// The movie is made on a worker: the window goes on answering, the progress window counts the cards, and
// Cancel ends Finish without a question.
TEST(FinishActionsTest, MovieIsMadeOffTheGuiThreadWithProgressAndCancel) {
    Harness h;
    h.prompts.saveAnswers = {h.Target("gift.swf")};
    h.ctx.runDialog = [](CDlgFinish& dialog) {
        dialog.OnBtnPath();
        dialog.accept();
        return int(QDialog::Accepted);
    };
    h.ctx.generate = [](const fs::path&, const dialogs::TaskControl& control) -> std::function<void()> {
        control.Report(1, 200);
        for (int i = 0; i < 2000 && !control.StopRequested(); ++i) { // 20 s at most
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    };
    bool over = false;
    h.ctx.ended = [&] { over = true; };
    int ticks = 0;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(10);

    publish_ui::OnFinish(h.ctx);
    QProgressDialog* progress = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible() && p->value() == 1) {
                    progress = p;
                }
            }
            return progress != nullptr;
        },
        10000));
    EXPECT_EQ(progress->maximum(), 200);
    EXPECT_GT(ticks, 5) << "the GUI thread kept running while the movie was made";
    QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return over; }, 10000));
    EXPECT_TRUE(h.prompts.messages.isEmpty());
    EXPECT_TRUE(h.played.isEmpty());
    EXPECT_TRUE(h.shown.isEmpty());
}

TEST(GenerateSwfTest, YesOpensTheFileWithTheDesktopNotThePlayer) {
    Harness h;
    h.prompts.saveAnswers = {h.Target("card.swf")};
    h.prompts.buttonAnswers = {QMessageBox::Yes};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnGenerateSwf));
    EXPECT_EQ(h.rescues, 0);
    EXPECT_EQ(
        h.prompts.messages,
        QStringList{QStringLiteral(
            "The gift was created successfully.\n    Yes to view it.\n    No to find it in its folder.")});
    ASSERT_EQ(h.opened.size(), 1u);
    EXPECT_EQ(h.opened[0], QUrl::fromLocalFile(h.Target("card.swf")));
    EXPECT_TRUE(h.played.isEmpty());
}

TEST(GenerateExeTest, OutcomeIsATip) {
    Harness h;
    h.prompts.saveAnswers = {h.Target("gift.html")};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnGenerateExe));
    EXPECT_EQ(h.generated, std::vector<std::string>{(h.temp / "generate.swf").string()});
    EXPECT_TRUE(fs::exists(h.dir / "gift.html"));
    EXPECT_EQ(h.tips, QStringList{QStringLiteral("The e-gift was created successfully.")});
    ASSERT_EQ(h.prompts.saveRequests.size(), 1u);
    EXPECT_EQ(h.prompts.saveRequests[0].suggestedPath, QDir::home().filePath(QStringLiteral("gift.html")))
        << "not a name in the work folder";

    h.ctx.dataRoot = h.dir; // no player there
    h.prompts.saveAnswers = {h.Target("other.html")};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnGenerateExe));
    EXPECT_EQ(h.tips.value(1),
              QStringLiteral("The self-running file could not be made: the player could not be opened."));
    EXPECT_FALSE(fs::exists(h.dir / "other.html"));
}

// The web page: Finish's box writes it through the page writer; a gift with a Flash clip gets the page with
// the player, the line saying why in the dialog and after it.
TEST(WebPageActionsTest, FinishMakesTheWebPageOrThePlayerPageWithTheReason) {
    const std::string reason = "the gift uses the Flash clip Bubbles.swf";
    for (const bool flash : {false, true}) {
        Harness h;
        std::vector<fs::path> pages;
        h.ctx.writeWebPage = [&](const fs::path& page) -> std::optional<std::string> {
            if (flash) {
                return reason;
            }
            pages.push_back(page);
            std::ofstream(page) << "<!DOCTYPE html>";
            return std::nullopt;
        };
        h.ctx.flashClip = [&]() -> std::optional<std::string> {
            return flash ? std::optional<std::string>(reason) : std::nullopt;
        };
        h.prompts.saveAnswers = {h.Target("gift.swf"), h.Target("gift.html")};
        h.prompts.buttonAnswers = {QMessageBox::Ok, QMessageBox::Cancel};
        QString note;
        h.ctx.runDialog = [&](CDlgFinish& dialog) {
            note =
                dialog.selfRunningNote()->isVisibleTo(&dialog) ? dialog.selfRunningNote()->text() : QString();
            dialog.OnBtnPath();
            QTest::mouseClick(dialog.makeExeBox(), Qt::LeftButton);
            dialog.accept();
            return int(QDialog::Accepted);
        };
        ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnFinish));
        EXPECT_EQ(note, flash ? QString::fromStdString(reason) : QString());
        if (flash) {
            EXPECT_TRUE(pages.empty());
            EXPECT_EQ(h.prompts.messages.value(0), QString::fromStdString(reason));
            EXPECT_GT(fs::file_size(h.dir / "gift.html"), 1000u * 1000) << "the page with the player";
        } else {
            EXPECT_EQ(pages, std::vector<fs::path>{h.dir / "gift.html"});
            EXPECT_EQ(h.prompts.messages, QStringList{kSuccess});
        }
    }
}

TEST(WebPageActionsTest, PreviewWritesThePageIntoTempAndOpensIt) {
    Harness h;
    h.ctx.writeWebPage = [](const fs::path& page) -> std::optional<std::string> {
        std::ofstream(page) << "<!DOCTYPE html>";
        return std::nullopt;
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::OnPreviewWebPage));
    ASSERT_EQ(h.opened.size(), 1u);
    EXPECT_EQ(h.opened[0], QUrl::fromLocalFile(QString::fromStdString((h.temp / "preview.html").string())));
    EXPECT_TRUE(h.generated.empty());
    EXPECT_EQ(publish_ui::GenerateExeMenuText().remove(QLatin1Char('&')),
              QStringLiteral("Generate Web Page (plays in any browser)"));
}

} // namespace
