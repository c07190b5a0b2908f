#include "dialogs/folder_browser.h"
#include "dlg_b_support.h"

#include <QFileDialog>

#include <gtest/gtest.h>

namespace {

TEST(FolderBrowserTest, CancelGivesNothing) {
    QString title;
    dlgtest::WhenModalOpens([&](QWidget* modal) {
        title = modal->windowTitle();
        qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_EQ(dialogs::BrowseForFolder(nullptr, QStringLiteral("/no/such/folder")), std::nullopt);
    EXPECT_TRUE(title.startsWith(QStringLiteral("Choose the folder you want to lock and append")));
}

TEST(FolderBrowserTest, ChosenFolderIsReturned) {
    const auto dir = dlgtest::FreshDir();
    const QString folder = QString::fromStdString(dir.string());
    QString shownAt;
    dlgtest::WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_TRUE(dialog);
        shownAt = dialog->directory().absolutePath();
        QMetaObject::invokeMethod(dialog, "accept"); // a protected slot
    });
    EXPECT_EQ(dialogs::BrowseForFolder(nullptr, folder), std::optional<QString>(folder));
    EXPECT_EQ(shownAt, folder);
}

} // namespace
