#include "dialogs/publish_prompts.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QPushButton>

namespace publish_ui {

namespace {

QString SaveFile(QWidget* parent, const SaveFileRequest& request) {
    QFileDialog dialog(parent, request.caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filter.split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.suggestedPath.isEmpty()) {
        dialog.selectFile(request.suggestedPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString ChooseFolder(QWidget* parent, const QString& title) {
    return QFileDialog::getExistingDirectory(parent, title);
}

QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, buttons, parent);
    if (QAbstractButton* open = box.button(QMessageBox::Open)) {
        open->setText(QCoreApplication::translate("publish_ui", "Open Folder"));
    }
    if (buttons.testFlag(QMessageBox::Cancel)) {
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

PublishPrompts PublishPrompts::Desktop() {
    return PublishPrompts{SaveFile, ChooseFolder, Message};
}

} // namespace publish_ui
