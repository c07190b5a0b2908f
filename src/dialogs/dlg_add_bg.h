// CDlgAddBg: the picker for a card or project background and for the link button style. The user takes
// a picture or Flash clip from the sample folder (thumbnails), a plain colour, or any picture or Flash
// file on the disk, and for backgrounds a placement (grid position, tile, stretch, lock W:H).
//
//     CDlgAddBg dlg(workspace.DataRoot(), workspace.WorkDir(), this);
//     dlg.m_strKind = "background";            // or "button" (then m_nThumbHeight = 60)
//     dlg.m_strValue = card.m_strBackground;   // "#RRGGBB", an absolute path, or "Background\x.jpg"
//     const add_bg::Alignment a = add_bg::SplitAlignCode(card.m_nBgAlign);
//     dlg.m_nPlacement = a.placement; dlg.m_nPosition = a.position; dlg.m_bKeepAspect = a.keepAspect;
//     if (dlg.exec() == QDialog::Accepted) {
//         const std::string value = dlg.m_strValue.toStdString();
//         card.m_strBackground = add_bg::ComposeStoredValue("background", dlg.m_nMode, value);
//         card.m_nBgAlign =
//             add_bg::ComposeAlignCode({dlg.m_nPlacement, dlg.m_nPosition, dlg.m_bKeepAspect != 0});
//         card.m_bProjectBg = 0;
//     }
//
// The dialog opens at once; thumbnails are made on a thread pool and fill in as they arrive. They are
// kept in the work folder (Thumbnails/<kind>), keyed by file, size and modification time.
#pragma once

#include "dialogs/dlg_add_bg_choice.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QImage>
#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

namespace app {
class Log;
}
namespace imaging {
class ThumbnailCache;
struct ThumbnailResult;
} // namespace imaging

class CColourPicker;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class CDlgAddBg : public QDialog {
    Q_OBJECT
public:
    CDlgAddBg(std::filesystem::path dataRoot, std::filesystem::path workDir, QWidget* parent = nullptr);
    ~CDlgAddBg() override;

    // Set before the dialog is shown; read back after it closes with OK.
    QString m_strValue; // in: the stored value; out: the choice (see header comment)
    QString m_strKind = QStringLiteral("background"); // "background" or "button"
    int m_nThumbWidth = 120;
    int m_nThumbHeight = 100;               // 100 for backgrounds, 60 for buttons
    int m_nMode = -1;                       // add_bg::kSampleMode, kColourMode or kFileMode
    int m_nPosition = add_bg::kNoPosition;  // 0..8, row-major
    int m_nPlacement = add_bg::kPositioned; // add_bg::kPositioned, kTile or kStretch
    int m_bKeepAspect = 0;                  // "Lock W:H"
    QString m_strPathText;                  // the chosen disk file
    app::Log* m_pLog = nullptr;             // the run log, when there is one

    // Fills the list and the controls from the members; runs once, when the dialog is first shown.
    void OnInitDialog();
    // Takes a file chosen on the disk, as Browse does after its file dialog.
    void OnFileChosen(const QString& path);

    // All thumbnails of this opening are there.
    bool ThumbnailsDone() const;
    // The thumbnail source of each listed sample, in list order (a .dbl's PNG companion, placeholders).
    const std::vector<std::filesystem::path>& ThumbnailSources() const { return m_sources; }
    // Thumbnails of this opening that had to be made (not found in the cache).
    int ThumbnailsMade() const { return m_made; }
    // The preview picture of a chosen disk file is still being made.
    bool PreviewPending() const { return m_previewPending; }
    // The sample list's tiles whose picture could not be read.
    bool IsTileMarked(int row) const;

    // Chooses the thumbnail source of a sample: .swf the Flash placeholder, .dbl its .png companion or
    // the DBL placeholder, anything else itself.
    static std::filesystem::path ThumbnailSource(const std::filesystem::path& file,
                                                 const std::filesystem::path& resourceFolder,
                                                 int thumbHeight);
    // The sample-folder test: .jpg .gif .png .bmp .wmf .swf .ico .dbl in any case, no ".dbl.png".
    static bool IsListedSample(const QString& fileName);

signals:
    void thumbnailsFinished();

public slots:
    void OnBtnBrowse();
    void OnBtnPreview();
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

    // Message boxes, file dialog and desktop hand-off; tests replace them.
    virtual void ShowMessage(const QString& text);
    virtual QString ChooseFile();
    virtual void OpenFile(const QString& file);

private:
    void buildUi();
    void listSamples();
    void startThumbnails();
    void onThumbnailReady(int index);
    void applyPlacementRule(int placement);
    void moveMembersToControls();
    void moveControlsToMembers();
    void showFilePreview(const QString& path);
    void selectSample(const QString& value);
    std::filesystem::path sampleFolder() const;
    std::filesystem::path resourceFolder() const;
    QImage markedTile(const QSize& size) const;

    std::filesystem::path m_dataRoot;
    std::filesystem::path m_workDir;
    bool m_initialised = false;
    std::vector<std::filesystem::path> m_sources;
    std::vector<bool> m_marked;
    int m_made = 0;
    int m_previewSerial = 0;
    bool m_previewPending = false;
    std::shared_ptr<imaging::ThumbnailCache> m_cache;
    QFutureWatcher<imaging::ThumbnailResult>* m_watcher = nullptr;

    QRadioButton* m_sampleRadio = nullptr;
    QRadioButton* m_colourRadio = nullptr;
    QRadioButton* m_fileRadio = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QListWidget* m_list = nullptr;
    CColourPicker* m_colourButton = nullptr;
    QLineEdit* m_pathLabel = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_previewButton = nullptr;
    QGroupBox* m_alignGroup = nullptr;
    QButtonGroup* m_positionGroup = nullptr;
    QButtonGroup* m_placementGroup = nullptr;
    QCheckBox* m_lockCheck = nullptr;
};
