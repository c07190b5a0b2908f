// The questions publishing asks the user (file and folder choosers, message boxes), gathered in one
// struct of functions so that the commands can be driven without a human: the desktop uses Desktop(),
// tests put recorders in their place.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QWidget>

#include <functional>

namespace publish_ui {

struct SaveFileRequest {
    QString caption;
    QString filter;        // "Name (*.ext);;All Files (*.*)"
    QString defaultSuffix; // "swf", "html"
    QString suggestedPath; // may be empty
};

struct PublishPrompts {
    // The chosen path, or an empty text when the user cancels. Asks before overwriting.
    std::function<QString(QWidget* parent, const SaveFileRequest& request)> saveFile;
    // The chosen folder, or an empty text when the user cancels.
    std::function<QString(QWidget* parent, const QString& title)> chooseFolder;
    // A message box; returns the button pressed. A QMessageBox::Open button reads "Open Folder".
    std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                              QMessageBox::StandardButtons buttons)>
        message;

    // The desktop's own dialogs.
    static PublishPrompts Desktop();
};

} // namespace publish_ui
