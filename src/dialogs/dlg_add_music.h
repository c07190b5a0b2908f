// The music chooser: picks the project's background music, an MP3 or Flash clip from the Music samples
// or any such file on the disk, plays a candidate before it is chosen, or removes the music.
//
//     CDlgAddMusic dlg(workspace.DataRoot(), this);
//     dlg.m_strValue = "Chord.mp3";  // a sample name without "Music\", or an absolute path
//     dlg.m_nMode = CDlgAddMusic::kSampleMode;
//     if (dlg.exec() == QDialog::Accepted) { use dlg.m_strValue (empty: no music) and dlg.m_nMode; }
#pragma once

#include <QDialog>
#include <QString>

#include <filesystem>
#include <memory>

class QAbstractButton;
class QAudioOutput;
class QLabel;
class QLineEdit;
class QMediaPlayer;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QVBoxLayout;

namespace player {
class RuffleView;
}

class CDlgAddMusic : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSampleMode = 0;
    static constexpr int kOwnFileMode = 1;
    // Paths longer than this cannot be typed; long enough for any path the system allows.
    static constexpr int kMaxPathLength = 4096;

    explicit CDlgAddMusic(std::filesystem::path dataRoot, QWidget* parent = nullptr);
    ~CDlgAddMusic() override;

    // In: the current music (a sample name or an absolute path). Out: the chosen sample name, the path
    // of a disk file, or empty for no music.
    QString m_strValue;
    // In and out: kSampleMode or kOwnFileMode (-1 before the dialog has opened).
    int m_nMode = -1;
    // The disk file as typed or browsed.
    QString m_strPath;
    // The play button is down.
    bool m_bPlaying = false;

    // What the status line shows (playback problems such as a missing sound device).
    QString StatusText() const;
    // The player of Flash clips, made at the first one played; null before, and in builds without it.
    player::RuffleView* FlashPlayer() const { return m_flash; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

    // Asks for a music file; empty when the user cancels. Tests replace it.
    virtual QString ChooseMusicFile();
    // Plays a Flash music clip; false (with `why` set) when it cannot be played here.
    virtual bool PlayFlashClip(const QString& file, QString& why);
    virtual void StopFlashClip();
    // Shows a message the user must confirm.
    virtual void ShowMessage(const QString& text);

private slots:
    void OnRadioSamples();
    void OnRadioLocal();
    void OnClickListSamples();
    void OnBtnBrowse();
    void OnCheckPlay();
    void OnBtnRemove();
    void OnOK();

private:
    void InitDialog();
    void SetMode(int mode);
    void StopPlaying();
    void StopMedia();
    void SetStatus(const QString& text);
    QString SampleFile(const QString& name) const;

    std::filesystem::path m_dataRoot;
    bool m_bInitialised = false;

    QRadioButton* m_radioSamples = nullptr;
    QRadioButton* m_radioLocal = nullptr;
    QTreeWidget* m_listSamples = nullptr;
    QLineEdit* m_editPath = nullptr;
    QPushButton* m_btnBrowse = nullptr;
    QPushButton* m_btnPlay = nullptr;
    QPushButton* m_btnRemove = nullptr;
    QLabel* m_labelStatus = nullptr;
    QVBoxLayout* m_flashArea = nullptr;

    std::unique_ptr<QMediaPlayer> m_media;
    std::unique_ptr<QAudioOutput> m_audio;
    player::RuffleView* m_flash = nullptr;
};
