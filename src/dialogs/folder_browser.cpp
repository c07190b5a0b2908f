#include "dialogs/folder_browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace dialogs {

QString FolderBrowserTitle() {
    return QCoreApplication::translate("FolderBrowser",
                                       "Choose the folder you want to lock and append\n(If you need only one "
                                       "file, please move it into a folder too)");
}

std::optional<QString> BrowseForFolder(QWidget* owner, const QString& initialFolder, const QString& title) {
    // A folder that does not exist leaves the dialog at its default place.
    const QString start = QFileInfo(initialFolder).isDir() ? initialFolder : QString();
    // A window title is one line.
    QString caption = title;
    caption.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString chosen = QFileDialog::getExistingDirectory(
        owner, caption, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty() || !QFileInfo(chosen).isDir()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(chosen);
}

} // namespace dialogs
