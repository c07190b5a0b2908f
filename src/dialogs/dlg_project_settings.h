// The project settings: author and e-mail, gift size, slide show, picture quality, background, button
// style, caption colour, music, font and the two promote options.
//
//     CDlgProjectSettings dlg(project, appState, workspace, this);
//     const int result = dlg.exec();
//     // Background, button style and music are written into the project (and the project background
//     // into the cards that follow it) as soon as their picker closes with OK, so refresh the view
//     // after either result when dlg.PickersChangedProject() is true. Everything else is stored on OK.
#pragma once

#include "app/app_state.h"
#include "app/workspace.h"
#include "model/project.h"

#include <QColor>
#include <QDialog>
#include <QString>

#include <optional>

class CColourPicker;
class CDlgAddMusic;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace dialogs {

// Bounds of the gift size, in pixels.
inline constexpr int kMinGiftSize = 100;
inline constexpr int kMaxGiftSize = 4000;
// The intervals the slide show offers, in seconds.
inline constexpr const char* kSlideSecondsList[] = {
    "0", "0.01", "0.02", "0.03", "0.04", "0.05", "0.08", "0.1", "0.2", "0.5", "1", "1.5", "3", "5", "10"};

// The caption colour as the settings dialog reads it: a text starting with '#' and hexadecimal digits
// (red in the high byte), anything else black.
QColor ReadCaptionColour(const std::string& text);
// "#RRGGBB" with upper-case digits.
std::string FormatCaptionColour(const QColor& colour);

// The picture quality is a program preference, not part of a project: stored in QSettings.
int StoredPictureQuality();
void StorePictureQuality(int quality);

// Copies the project background and its placement code into every card that follows it.
void ApplyProjectBackground(model::Project& project);

} // namespace dialogs

class CDlgProjectSettings : public QDialog {
    Q_OBJECT
public:
    // The project, the program state and the folders must outlive the dialog.
    CDlgProjectSettings(model::Project& project, app::AppState& state, const app::Workspace& workspace,
                        QWidget* parent = nullptr);

    // True once a picker wrote into the project (a later Cancel keeps what it wrote).
    bool PickersChangedProject() const { return m_bPickersChanged; }

    // What the three statics show.
    QString BackgroundText() const;
    QString ButtonText() const;
    QString MusicText() const;
    // The caption colour as it stands in the colour button.
    QColor CaptionColour() const;

    struct Picture {
        QString value; // a colour "#RRGGBB" or "Background\" / "Button\" + file name, or a path
        int align = 4; // placement code (backgrounds only)
    };

signals:
    // A picker wrote into the project.
    void projectChanged();

protected:
    // The background picker for the project background; nullopt when cancelled.
    virtual std::optional<Picture> PickBackground(const Picture& current);
    // The button style picker (120 x 60 thumbnails); nullopt when cancelled.
    virtual std::optional<QString> PickButton(const QString& current);
    // Runs the music chooser (tests drive it instead).
    virtual int ExecMusicChooser(CDlgAddMusic& chooser);

private slots:
    void OnBtnEditBackground();
    void OnBtnEditButtons();
    void OnBtnEditMusic();
    void OnCheckSlideShow();
    void OnOK();

private:
    void BuildLayout();
    void InitDialog();

    model::Project& m_project;
    app::AppState& m_state;
    const app::Workspace& m_workspace;
    bool m_bPickersChanged = false;

    QLineEdit* m_editAuthor = nullptr;
    QLineEdit* m_editEmail = nullptr;
    QSpinBox* m_spinWidth = nullptr;
    QSpinBox* m_spinHeight = nullptr;
    QCheckBox* m_checkSlideShow = nullptr;
    QComboBox* m_comboSeconds = nullptr;
    QSlider* m_sliderQuality = nullptr;
    QSpinBox* m_spinQuality = nullptr;
    QLabel* m_staticBackground = nullptr;
    QLabel* m_staticButton = nullptr;
    QLabel* m_staticMusic = nullptr;
    CColourPicker* m_btnTextColor = nullptr;
    QComboBox* m_comboFont = nullptr;
    QCheckBox* m_checkPromoteLast = nullptr;
    QCheckBox* m_checkPromoteEach = nullptr;
};
