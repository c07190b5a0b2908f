// The folder browser: the desktop's folder-choosing dialog, for the places where the user picks a folder
// rather than a file (the folder packed with the e-gift, the pictures of the photo album).
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace dialogs {

// The instruction both callers show.
QString FolderBrowserTitle();

// Shows the folder dialog, starting in `initialFolder` when it exists. Returns the chosen folder's path,
// or nullopt when the user cancels (or the choice has no path on the file system).
std::optional<QString> BrowseForFolder(QWidget* owner, const QString& initialFolder = {},
                                       const QString& title = FolderBrowserTitle());

} // namespace dialogs
