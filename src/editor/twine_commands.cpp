// File > Import Twine Story... and File > Export as Twine Story...: the editor's side of src/interop.
#include "editor/cardwright_dlg.h"

#include "app/log.h"
#include "editor/prompter.h"
#include "interop/story_import.h"
#include "interop/twee_writer.h"
#include "movie/gift_builder.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QVBoxLayout>

namespace editor {

namespace {

// One window listing every warning line; it does not block the editor.
void ShowWarnings(QWidget* parent, const QString& heading, const std::vector<std::string>& warnings) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("twineWarnings"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QObject::tr("Twine Story"));
    auto* layout = new QVBoxLayout(dialog);
    auto* text = new QPlainTextEdit(dialog);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString all = heading + QLatin1String("\n\n");
    for (const std::string& w : warnings) {
        all += QString::fromStdString(w) + QLatin1Char('\n');
    }
    text->setPlainText(all);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->resize(640, 360);
    dialog->show();
}

} // namespace

void CCardwrightDlg::OnImportTwine() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Import Twine Story"), QDir::homePath(),
                                     tr("Twine Stories (*.twee *.tw *.html *.htm);;All Files (*)"));
    if (!path.isEmpty() && askToSaveChanges(tr("Do you want to save this project?"))) {
        importTwineStory(path);
    }
}

bool CCardwrightDlg::importTwineStory(const QString& path) {
    interop::ImportResult result;
    try {
        result = interop::ImportStoryFile(path.toStdString());
    } catch (const interop::StoryError& e) {
        m_log.Write(std::string("Story not imported: ") + e.what() + "\n");
        m_prompter.inform(
            this,
            tr("%1 cannot be imported: %2").arg(QFileInfo(path).fileName(), QString::fromStdString(e.what())),
            QMessageBox::Warning);
        return false;
    }
    for (const std::string& w : result.warnings) {
        m_log.Write("Story import: " + w + "\n");
    }
    m_state.m_strProjectPath.clear(); // a new project, saved under a name of the user's choosing
    m_doc.replace(std::move(result.project), true);
    m_builder->LoadGiftFonts(1);
    refreshPreview();
    updateTitle();
    if (!result.warnings.empty()) {
        ShowWarnings(
            this, tr("%1: these parts of the story were not carried over.").arg(QFileInfo(path).fileName()),
            result.warnings);
    }
    return true;
}

void CCardwrightDlg::OnExportTwine() {
    if (m_doc.project().cards.empty()) {
        ShowTipMessage(tr("The project has no cards, so there is nothing to export."));
        return;
    }
    QString suggested = QDir::home().filePath(QStringLiteral("story.twee"));
    if (!m_state.m_strProjectPath.empty()) {
        const QFileInfo project(QString::fromStdString(m_state.m_strProjectPath));
        suggested = project.dir().filePath(project.completeBaseName() + QLatin1String(".twee"));
    }
    QString path = QFileDialog::getSaveFileName(this, tr("Export as Twine Story"), suggested,
                                                tr("Twee Stories (*.twee *.tw);;All Files (*)"));
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1String(".twee");
    }
    exportTwineStory(path);
}

bool CCardwrightDlg::exportTwineStory(const QString& path) {
    const interop::ExportResult result = interop::ExportTwee(m_doc.project());
    QSaveFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(result.twee);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_log.Write("Story not exported: " + file.errorString().toStdString() + "\n");
        m_prompter.inform(this, tr("The story cannot be written to %1.").arg(path), QMessageBox::Warning);
        return false;
    }
    if (!result.warnings.empty()) {
        ShowWarnings(this, tr("The story was written; these parts of the project could not go with it."),
                     result.warnings);
    }
    return true;
}

} // namespace editor
