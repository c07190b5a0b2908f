#include "dialogs/dlg_add_music.h"

#include "app/asset_path.h"
#include "app/data_listing.h"
#include "swf/flash_test_load.h"

#ifdef CW_HAVE_PLAYER
#include "player/ruffle_view.h"
#endif

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString ToQString(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

CDlgAddMusic::CDlgAddMusic(std::filesystem::path dataRoot, QWidget* parent)
    : QDialog(parent), m_dataRoot(std::move(dataRoot)) {
    setWindowTitle(tr("Choose an SWF or MP3 file to use as music"));

    m_radioSamples = new QRadioButton(tr("Select from samples"), this);
    m_listSamples = new QTreeWidget(this);
    m_listSamples->setColumnCount(2);
    m_listSamples->setHeaderLabels({tr("Samples list"), tr("Type")});
    m_listSamples->headerItem()->setTextAlignment(1, Qt::AlignCenter);
    m_listSamples->setRootIsDecorated(false);
    m_listSamples->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listSamples->setAccessibleName(tr("Samples list"));
    m_listSamples->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_listSamples->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_listSamples->header()->setStretchLastSection(false);

    m_radioLocal = new QRadioButton(tr("Choose from local disk"), this);
    m_editPath = new QLineEdit(this);
    m_editPath->setMaxLength(kMaxPathLength);
    m_editPath->setAccessibleName(tr("Music file"));
    m_btnBrowse = new QPushButton(tr("Browse"), this);
    m_btnBrowse->setAutoDefault(false);

    m_btnPlay = new QPushButton(tr("Play>"), this);
    m_btnPlay->setCheckable(true);
    m_btnPlay->setAutoDefault(false);
    m_labelStatus = new QLabel(this);
    m_labelStatus->setWordWrap(true);
    m_labelStatus->setAccessibleName(tr("Playing"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnRemove = buttons->addButton(tr("Remove"), QDialogButtonBox::DestructiveRole);
    m_btnRemove->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_editPath, 1);
    pathRow->addWidget(m_btnBrowse);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(m_btnPlay);
    playRow->addWidget(m_labelStatus, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_radioSamples);
    layout->addWidget(m_listSamples, 1);
    layout->addWidget(m_radioLocal);
    layout->addLayout(pathRow);
    layout->addLayout(playRow);
    // The Flash player joins here at the first Flash clip played: starting it costs a second or two.
    m_flashArea = new QVBoxLayout;
    layout->addLayout(m_flashArea);
    layout->addWidget(buttons);

    connect(m_radioSamples, &QRadioButton::clicked, this, &CDlgAddMusic::OnRadioSamples);
    connect(m_radioLocal, &QRadioButton::clicked, this, &CDlgAddMusic::OnRadioLocal);
    connect(m_listSamples, &QTreeWidget::itemSelectionChanged, this, &CDlgAddMusic::OnClickListSamples);
    connect(m_btnBrowse, &QPushButton::clicked, this, &CDlgAddMusic::OnBtnBrowse);
    connect(m_btnPlay, &QPushButton::clicked, this, &CDlgAddMusic::OnCheckPlay);
    connect(m_btnRemove, &QPushButton::clicked, this, &CDlgAddMusic::OnBtnRemove);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgAddMusic::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CDlgAddMusic::~CDlgAddMusic() {
    StopMedia();
}

QString CDlgAddMusic::StatusText() const {
    return m_labelStatus->text();
}

void CDlgAddMusic::showEvent(QShowEvent* event) {
    if (!m_bInitialised) {
        m_bInitialised = true;
        InitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgAddMusic::InitDialog() {
    for (const app::MusicSample& sample : app::ListMusicSamples(m_dataRoot)) {
        auto* item = new QTreeWidgetItem(m_listSamples);
        item->setText(0, QString::fromStdString(sample.name));
        item->setText(1, QString::fromStdString(sample.type));
        item->setTextAlignment(1, Qt::AlignCenter);
    }
    if (!m_strValue.contains(QLatin1Char(':')) && !m_strValue.startsWith(QLatin1Char('/'))) {
        SetMode(kSampleMode);
        const QString wanted = m_strValue;
        for (int i = 0; i < m_listSamples->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = m_listSamples->topLevelItem(i);
            if (item->text(0).startsWith(wanted, Qt::CaseInsensitive)) {
                m_listSamples->setCurrentItem(item);
                m_listSamples->scrollToItem(item);
                break;
            }
        }
    } else {
        SetMode(kOwnFileMode);
        m_strPath = m_strValue;
        m_editPath->setText(m_strPath);
    }
}

void CDlgAddMusic::SetMode(int mode) {
    m_nMode = mode;
    const bool samples = mode == kSampleMode;
    m_radioSamples->setChecked(samples);
    m_radioLocal->setChecked(!samples);
    m_listSamples->setEnabled(samples);
    m_editPath->setEnabled(!samples);
    m_btnBrowse->setEnabled(!samples);
}

void CDlgAddMusic::OnRadioSamples() {
    SetMode(kSampleMode);
}

void CDlgAddMusic::OnRadioLocal() {
    SetMode(kOwnFileMode);
}

void CDlgAddMusic::OnClickListSamples() {
    if (QTreeWidgetItem* item = m_listSamples->currentItem(); item && item->isSelected()) {
        m_strValue = item->text(0);
    }
}

QString CDlgAddMusic::ChooseMusicFile() {
    return QFileDialog::getOpenFileName(this, tr("Choose an SWF or MP3 file to use as music"),
                                        QFileInfo(m_editPath->text()).absolutePath(),
                                        tr("Music (*.mp3 *.swf)"));
}

void CDlgAddMusic::OnBtnBrowse() {
    const QString file = ChooseMusicFile();
    if (!file.isEmpty()) {
        m_strValue = file;
        m_strPath = file;
        m_editPath->setText(file);
    }
}

QString CDlgAddMusic::SampleFile(const QString& name) const {
    return ToQString(
        app::ResolveReference(m_dataRoot, QString(QStringLiteral("Music\\") + name).toStdString()));
}

void CDlgAddMusic::SetStatus(const QString& text) {
    m_labelStatus->setText(text);
}

void CDlgAddMusic::OnCheckPlay() {
    if (m_bPlaying) {
        StopPlaying();
        return;
    }
    // The candidate is what the dialog shows: the selected sample, or the path in the edit box.
    const QString file = m_nMode == kOwnFileMode ? m_editPath->text() : SampleFile(m_strValue);
    const QString lower = file.toLower();
    m_bPlaying = true;
    m_btnPlay->setChecked(true);
    SetStatus({});
    if (lower.endsWith(QLatin1String("mp3"))) {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            SetStatus(tr("No sound device was found: the music cannot be played on this computer."));
            m_bPlaying = false;
            m_btnPlay->setChecked(false);
            return;
        }
        StopMedia();
        m_audio = std::make_unique<QAudioOutput>();
        m_media = std::make_unique<QMediaPlayer>();
        m_media->setAudioOutput(m_audio.get());
        connect(m_media.get(), &QMediaPlayer::errorOccurred, this,
                [this](QMediaPlayer::Error, const QString& text) {
                    SetStatus(tr("This file cannot be played: %1").arg(text));
                });
        connect(m_media.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
            if (s == QMediaPlayer::EndOfMedia) {
                StopPlaying();
            }
        });
        m_media->setSource(QUrl::fromLocalFile(file));
        m_media->play();
    } else if (lower.endsWith(QLatin1String("swf"))) {
        QString why;
        if (!PlayFlashClip(file, why)) {
            SetStatus(why);
            m_bPlaying = false;
            m_btnPlay->setChecked(false);
        }
    }
}

void CDlgAddMusic::StopMedia() {
    if (m_media) {
        m_media->stop();
        m_media.reset();
    }
    m_audio.reset();
}

void CDlgAddMusic::StopPlaying() {
    m_bPlaying = false;
    m_btnPlay->setChecked(false);
    // Clearing the Flash player's stage ends any sound its clip made.
    StopFlashClip();
    StopMedia();
}

bool CDlgAddMusic::PlayFlashClip(const QString& file, QString& why) {
#ifdef CW_HAVE_PLAYER
    Q_UNUSED(why);
    if (m_flash == nullptr) {
        m_flash = new player::RuffleView(this);
        m_flash->setAccessibleName(tr("Flash music clip"));
        m_flash->setMinimumHeight(fontMetrics().height() * 4);
        m_flashArea->addWidget(m_flash);
        connect(m_flash, &player::RuffleView::failed, this, [this](const QString& reason) {
            SetStatus(tr("This file cannot be played: %1").arg(reason));
        });
    }
    m_flash->loadUrl(QUrl::fromLocalFile(file));
    return true;
#else
    Q_UNUSED(file);
    why = tr("Flash clips cannot be played in this version of the program.");
    return false;
#endif
}

void CDlgAddMusic::StopFlashClip() {
#ifdef CW_HAVE_PLAYER
    if (m_flash) {
        m_flash->clear();
    }
#endif
}

void CDlgAddMusic::ShowMessage(const QString& text) {
    QMessageBox::information(this, windowTitle(), text);
}

void CDlgAddMusic::OnBtnRemove() {
    m_strValue.clear();
    m_strPath = m_editPath->text();
    StopPlaying();
    accept();
}

void CDlgAddMusic::OnOK() {
    m_strPath = m_editPath->text();
    QString tested;
    if (m_nMode == kSampleMode) {
        QTreeWidgetItem* item = m_listSamples->currentItem();
        if (item == nullptr || !item->isSelected()) {
            ShowMessage(tr("Please choose a sample from the list."));
            return;
        }
        m_strValue = item->text(0);
        tested = SampleFile(m_strValue);
    } else {
        m_strValue = m_strPath;
        tested = m_strValue;
        if (!tested.isEmpty() && !QFileInfo(tested).isFile()) {
            ShowMessage(tr("The music file cannot be found:\n%1").arg(tested));
            return;
        }
    }
    if (tested.toLower().endsWith(QLatin1String("swf"))) {
        const swf::FlashTestResult test = swf::flash_test_load(tested.toStdString());
        if (!test.ok) {
            ShowMessage(tr(" This version of Flash file (SWF) is not supported."));
            m_strValue.clear();
            return;
        }
    }
    StopPlaying();
    accept();
}

void CDlgAddMusic::done(int result) {
    StopPlaying();
    QDialog::done(result);
}
