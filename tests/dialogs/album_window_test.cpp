// Tools > Create Photo Album from the window: the progress window counts to the total, Cancel leaves
// nothing behind, and the closing question's Yes opens the stand-alone player.
#include "dialogs/album_progress.h"
#include "dialogs/publish_actions.h"
#include "finish_prompts_support.h"

#include <QImage>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

namespace fs = std::filesystem;
using finish_test::PromptRecorder;

const QString kQuestion = QStringLiteral(
    "The photo album has been created successfully. Do you want to view it?\n\n  Click Yes to view it.\n  "
    "Click No to open the folder of the photo album\n  Click Cancel to close");

struct AlbumHarness {
    fs::path pics = finish_test::FreshFolder("pics");
    fs::path out = finish_test::FreshFolder("out");
    PromptRecorder prompts;
    QStringList played;
    QStringList shown;
    std::vector<std::pair<int, int>> progress;
    publish_ui::PublishContext ctx;

    explicit AlbumHarness(int pictures) {
        for (int i = 0; i < pictures; ++i) {
            QImage image(120 + 10 * i, 90, QImage::Format_RGB32);
            image.fill(QColor(40 * i, 120, 200));
            image.save(QString::fromStdString((pics / ("p" + std::to_string(i) + ".png")).string()));
        }
        ctx = publish_ui::PublishContext::ForWindow(nullptr, CW_TEST_DATA_DIR,
                                                    finish_test::FreshFolder("Temp"));
        ctx.prompts = prompts.Prompts();
        ctx.openInPlayer = [this](const QString& path) { played << path; };
        ctx.showInFolder = [this](const QString& path) { shown << path; };
        prompts.folderAnswers = {QString::fromStdString(pics.string())};
        prompts.saveAnswers = {Album()};
    }
    QString Album() const { return QString::fromStdString((out / "album.swf").string()); }
    void Record(publish_ui::AlbumProgressDialog& dialog) {
        QObject::connect(&dialog, &publish_ui::AlbumProgressDialog::progressed,
                         [this](int n, int total) { progress.emplace_back(n, total); });
    }
};

TEST(AlbumWindowTest, ProgressReachesTheTotalAndYesOpensThePlayer) {
    AlbumHarness h(3);
    h.prompts.buttonAnswers = {QMessageBox::Yes};
    int finalValue = -1;
    int finalMaximum = -1;
    h.ctx.prepareAlbumProgress = [&](publish_ui::AlbumProgressDialog& dialog) {
        h.Record(dialog);
        QObject::connect(&dialog, &publish_ui::AlbumProgressDialog::progressed, [&](int, int) {
            finalValue = dialog.value();
            if (finalValue == 1) {
                dialog.grab().save(QStringLiteral("/tmp/cw_album_progress.png")); // for looking at only
            }
            finalMaximum = dialog.maximum();
        });
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::CreatePhotoAlbum));

    EXPECT_EQ(h.progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}, {3, 3}}));
    EXPECT_EQ(finalValue, 3);
    EXPECT_EQ(finalMaximum, 3);
    EXPECT_TRUE(fs::exists(h.out / "album.swf"));
    EXPECT_EQ(h.prompts.messages, QStringList{kQuestion});
    EXPECT_EQ(h.played, QStringList{h.Album()});
    EXPECT_EQ(finish_test::FilesBelow(h.pics), (std::vector<std::string>{"p0.png", "p1.png", "p2.png"}));
    EXPECT_EQ(h.prompts.folderTitles.size(), 1);
    ASSERT_EQ(h.prompts.saveRequests.size(), 1u);
    EXPECT_EQ(h.prompts.saveRequests[0].filter, QStringLiteral("Flash movies (*.swf);;All files (*)"));
}

TEST(AlbumWindowTest, NoShowsTheAlbumInItsFolder) {
    AlbumHarness h(1);
    h.prompts.buttonAnswers = {QMessageBox::No};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::CreatePhotoAlbum));
    EXPECT_EQ(h.shown, QStringList{h.Album()});
    EXPECT_TRUE(h.played.isEmpty());
}

TEST(AlbumWindowTest, CancelLeavesNothingBehind) {
    AlbumHarness h(4);
    h.ctx.prepareAlbumProgress = [&](publish_ui::AlbumProgressDialog& dialog) {
        h.Record(dialog);
        // The user presses Cancel while picture 1 is shown; the build is held at picture 2 until then.
        QObject::connect(&dialog, &publish_ui::AlbumProgressDialog::progressed, &dialog,
                         [&dialog](int n, int) {
                             if (n == 1) {
                                 QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
                             }
                         });
        dialog.workerHook = [](int n, int, std::stop_token stop) {
            if (n == 2) {
                std::mutex m;
                std::condition_variable_any cv;
                std::unique_lock lock(m);
                cv.wait_for(lock, stop, std::chrono::seconds(20),
                            [] { return false; }); // a safety limit only
            }
        };
    };
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::CreatePhotoAlbum));

    EXPECT_FALSE(h.progress.empty());
    EXPECT_LT(h.progress.back().first, 4);
    EXPECT_TRUE(finish_test::FilesBelow(h.out).empty()) << "no album, no partial file";
    EXPECT_EQ(finish_test::FilesBelow(h.pics),
              (std::vector<std::string>{"p0.png", "p1.png", "p2.png", "p3.png"}))
        << "no converted picture is left";
    EXPECT_TRUE(h.prompts.messages.isEmpty());
    EXPECT_TRUE(h.played.isEmpty());
}

TEST(AlbumWindowTest, CancelledBrowserOrSaveDialogEndsTheCommand) {
    AlbumHarness h(1);
    h.prompts.folderAnswers = {QString()};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::CreatePhotoAlbum));
    EXPECT_TRUE(h.prompts.saveRequests.empty());

    h.prompts.folderAnswers = {QString::fromStdString(h.pics.string())};
    h.prompts.saveAnswers = {QString()};
    ASSERT_TRUE(finish_test::RunToEnd(h.ctx, publish_ui::CreatePhotoAlbum));
    EXPECT_TRUE(finish_test::FilesBelow(h.out).empty());
    EXPECT_TRUE(h.prompts.messages.isEmpty());
}

} // namespace
