// The open-project dialog: start a new project, open a sample project ("theme") from the Themes folder,
// or open any project file from the disk. It only decides which file; the caller loads it.
//
//     CDlgOpenProject dlg(workspace.DataRoot(), this);
//     switch (dlg.exec()) {
//     case QDialog::Accepted: load dlg.m_strProjectPath; break;
//     case CDlgOpenProject::kResultNew: run New; break;
//     default: break; // cancelled
//     }
#pragma once

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QString>

#include <filesystem>
#include <optional>

class QListWidget;
class QPushButton;

namespace dialogs {

// A picture of a project's first card (its background colour or picture, its title and comment) at
// `size`; a grey card with a question mark when the file cannot be read. Safe to call off the GUI thread.
QImage DrawThemeThumbnail(const std::filesystem::path& projectFile, const std::filesystem::path& dataRoot,
                          QSize size);

} // namespace dialogs

class CDlgOpenProject : public QDialog {
    Q_OBJECT
public:
    // exec() result when "New" was pressed.
    static constexpr int kResultNew = 10;

    explicit CDlgOpenProject(std::filesystem::path dataRoot, QWidget* parent = nullptr);
    ~CDlgOpenProject() override;

    // On Accepted: the project file to open.
    QString m_strProjectPath;

    // The list of themes (for tests and the editor's keyboard tests).
    QListWidget* ThemeList() const { return m_listThemes; }
    // Every theme's thumbnail is drawn and shown.
    bool ThumbnailsDone() const;

protected:
    // Asks for any project file; nullopt when the user cancels. Tests replace it.
    virtual std::optional<QString> ChooseProjectFile();
    virtual void ShowMessage(const QString& text);

private slots:
    void OnOK();
    void OnBtnNew();
    void OnBtnOpenFrom();

private:
    void StartThumbnails();

    std::filesystem::path m_dataRoot;
    QListWidget* m_listThemes = nullptr;
    QPushButton* m_btnNew = nullptr;
    class Thumbnails;
    Thumbnails* m_thumbnails = nullptr;
    int m_shownThumbnails = 0;
};
