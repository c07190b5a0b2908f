#include "dialogs/dlg_project_settings.h"

#include "app/asset_path.h"
#include "app/data_listing.h"
#include "dialogs/colour_picker.h"
#include "dialogs/dlg_add_bg.h"
#include "dialogs/dlg_add_bg_choice.h"
#include "dialogs/dlg_add_music.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>

namespace dialogs {

namespace {

constexpr const char* kQualityKey = "Gift/PictureQuality";
constexpr int kAuthorLength = 40;
constexpr int kEmailLength = 50;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QColor ReadCaptionColour(const std::string& text) {
    // Read like "#%x": hexadecimal digits right after a leading '#', as many as there are.
    if (text.size() < 2 || text[0] != '#' || !std::isxdigit(static_cast<unsigned char>(text[1]))) {
        return QColor(Qt::black);
    }
    uint32_t value = 0;
    for (size_t i = 1; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    }
    return QColor(int((value >> 16) & 255), int((value >> 8) & 255), int(value & 255));
}

std::string FormatCaptionColour(const QColor& colour) {
    return QString::asprintf("#%.2X%.2X%.2X", colour.red(), colour.green(), colour.blue()).toStdString();
}

int StoredPictureQuality() {
    bool ok = false;
    const int quality = QSettings().value(QLatin1String(kQualityKey)).toInt(&ok);
    return ok ? std::clamp(quality, 0, 100) : app::kDefaultPictureQuality;
}

void StorePictureQuality(int quality) {
    QSettings().setValue(QLatin1String(kQualityKey), std::clamp(quality, 0, 100));
}

void ApplyProjectBackground(model::Project& project) {
    for (const auto& card : project.cards) {
        if (card->m_bProjectBg == 1) {
            card->m_strBackground = project.settings.m_strBackground;
            card->m_nBgAlign = project.settings.m_nBgAlign;
        }
    }
}

} // namespace dialogs

CDlgProjectSettings::CDlgProjectSettings(model::Project& project, app::AppState& state,
                                         const app::Workspace& workspace, QWidget* parent)
    : QDialog(parent), m_project(project), m_state(state), m_workspace(workspace) {
    setWindowTitle(tr("Project Settings"));
    BuildLayout();
    InitDialog();
}

void CDlgProjectSettings::BuildLayout() {
    // Personal Settings
    m_editAuthor = new QLineEdit(this);
    m_editAuthor->setMaxLength(dialogs::kAuthorLength);
    m_editEmail = new QLineEdit(this);
    m_editEmail->setMaxLength(dialogs::kEmailLength);
    auto* personal = new QGroupBox(tr("Personal Settings"), this);
    auto* personalForm = new QFormLayout(personal);
    personalForm->addRow(tr("&Author"), m_editAuthor);
    personalForm->addRow(tr("Your &email"), m_editEmail);

    // Main Settings
    auto makeSize = [this](const QString& name) {
        auto* spin = new QSpinBox(this);
        spin->setRange(dialogs::kMinGiftSize, dialogs::kMaxGiftSize);
        spin->setSuffix(tr(" px"));
        spin->setAccessibleName(name);
        return spin;
    };
    m_spinWidth = makeSize(tr("Gift width"));
    m_spinHeight = makeSize(tr("Gift height"));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_spinWidth);
    sizeRow->addWidget(new QLabel(tr("x"), this));
    sizeRow->addWidget(m_spinHeight);
    sizeRow->addWidget(new QLabel(tr("(For advanced users)"), this));
    sizeRow->addStretch(1);
    m_checkSlideShow = new QCheckBox(tr("Slide show enabled"), this);
    m_comboSeconds = new QComboBox(this);
    for (const char* seconds : dialogs::kSlideSecondsList) {
        m_comboSeconds->addItem(QLatin1String(seconds));
    }
    auto* secondsRow = new QHBoxLayout;
    secondsRow->addWidget(m_comboSeconds);
    secondsRow->addWidget(new QLabel(tr("Sec"), this));
    secondsRow->addStretch(1);
    m_sliderQuality = new QSlider(Qt::Horizontal, this);
    m_sliderQuality->setRange(0, 100);
    m_sliderQuality->setAccessibleName(tr("Picture quality"));
    m_spinQuality = new QSpinBox(this);
    m_spinQuality->setRange(0, 100);
    m_spinQuality->setAccessibleName(tr("Picture quality"));
    connect(m_sliderQuality, &QSlider::valueChanged, m_spinQuality, &QSpinBox::setValue);
    connect(m_spinQuality, &QSpinBox::valueChanged, m_sliderQuality, &QSlider::setValue);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(m_sliderQuality, 1);
    qualityRow->addWidget(m_spinQuality);
    auto* main = new QGroupBox(tr("Main Settings"), this);
    auto* mainForm = new QFormLayout(main);
    auto* sizeLabel = new QLabel(tr("Gift &size"), this);
    sizeLabel->setBuddy(m_spinWidth);
    mainForm->addRow(sizeLabel, sizeRow);
    mainForm->addRow(m_checkSlideShow);
    auto* secondsLabel = new QLabel(tr("&Jump to next card every"), this);
    secondsLabel->setBuddy(m_comboSeconds);
    mainForm->addRow(secondsLabel, secondsRow);
    auto* qualityLabel = new QLabel(tr("Picture &quality"), this);
    qualityLabel->setBuddy(m_sliderQuality);
    mainForm->addRow(qualityLabel, qualityRow);

    // Style Settings
    auto makeStatic = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAccessibleName(name);
        return label;
    };
    auto* btnBackground = new QPushButton(tr("Edit &Background"), this);
    auto* btnButtons = new QPushButton(tr("Edit B&uttons"), this);
    auto* btnMusic = new QPushButton(tr("Edit &Music"), this);
    for (QPushButton* button : {btnBackground, btnButtons, btnMusic}) {
        button->setAutoDefault(false);
    }
    m_staticBackground = makeStatic(tr("Background"));
    m_staticButton = makeStatic(tr("Buttons"));
    m_staticMusic = makeStatic(tr("Music"));
    m_btnTextColor = new CColourPicker(this);
    m_btnTextColor->setAutomaticText({}); // a caption always has a colour of its own
    m_btnTextColor->setAutoDefault(false);
    m_btnTextColor->setAccessibleName(tr("Text color"));
    auto* colourLabel = new QLabel(tr("&Text color"), this);
    colourLabel->setBuddy(m_btnTextColor);
    m_comboFont = new QComboBox(this);
    auto* style = new QGroupBox(tr("Style Settings"), this);
    auto* styleGrid = new QGridLayout(style);
    styleGrid->addWidget(btnBackground, 0, 0);
    styleGrid->addWidget(m_staticBackground, 0, 1);
    styleGrid->addWidget(btnButtons, 1, 0);
    styleGrid->addWidget(m_staticButton, 1, 1);
    styleGrid->addWidget(colourLabel, 2, 0);
    styleGrid->addWidget(m_btnTextColor, 2, 1, Qt::AlignLeft);
    styleGrid->addWidget(btnMusic, 3, 0);
    styleGrid->addWidget(m_staticMusic, 3, 1);
    auto* fontLabel = new QLabel(tr("Gift &Font"), this);
    fontLabel->setBuddy(m_comboFont);
    styleGrid->addWidget(fontLabel, 4, 0);
    styleGrid->addWidget(m_comboFont, 4, 1);
    styleGrid->setColumnStretch(1, 1);

    // Promote options
    m_checkPromoteLast = new QCheckBox(tr("Add a Cardwright link to the last card"), this);
    m_checkPromoteEach = new QCheckBox(tr("Add a link to each card"), this);
    auto* promote = new QGroupBox(tr("Promote"), this);
    auto* promoteLayout = new QVBoxLayout(promote);
    promoteLayout->addWidget(m_checkPromoteLast);
    promoteLayout->addWidget(m_checkPromoteEach);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(personal);
    layout->addWidget(main);
    layout->addWidget(style);
    layout->addWidget(promote);
    layout->addWidget(buttons);

    connect(btnBackground, &QPushButton::clicked, this, &CDlgProjectSettings::OnBtnEditBackground);
    connect(btnButtons, &QPushButton::clicked, this, &CDlgProjectSettings::OnBtnEditButtons);
    connect(btnMusic, &QPushButton::clicked, this, &CDlgProjectSettings::OnBtnEditMusic);
    connect(m_checkSlideShow, &QCheckBox::toggled, this, &CDlgProjectSettings::OnCheckSlideShow);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgProjectSettings::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CDlgProjectSettings::InitDialog() {
    const model::ProjectSettings& s = m_project.settings;
    m_editAuthor->setText(dialogs::Q(s.m_strAuthor));
    m_editEmail->setText(dialogs::Q(s.m_strEmail));
    m_staticBackground->setText(dialogs::Q(s.m_strBackground));
    m_staticButton->setText(dialogs::Q(s.m_strButton));
    m_staticMusic->setText(dialogs::Q(s.m_strMusic));
    m_checkPromoteLast->setChecked(s.m_bPromoteLast != 0);
    m_checkPromoteEach->setChecked(s.m_bPromoteEach != 0);
    m_btnTextColor->setColour(dialogs::ReadCaptionColour(s.m_strButtonTextColor));

    m_spinWidth->setValue(s.m_nGiftWidth);
    m_spinHeight->setValue(s.m_nGiftHeight);
    m_checkSlideShow->setChecked(s.m_bSlideShow != 0);
    // An interval the list does not offer (written by hand or by another program) is kept as it is.
    const QString seconds =
        s.m_strSlideSeconds.empty() ? QStringLiteral("0") : dialogs::Q(s.m_strSlideSeconds);
    if (m_comboSeconds->findText(seconds) < 0) {
        m_comboSeconds->addItem(seconds);
    }
    m_comboSeconds->setCurrentText(seconds);
    m_comboSeconds->setEnabled(m_checkSlideShow->isChecked());
    m_spinQuality->setValue(std::clamp(m_state.m_nPictureQuality, 0, 100));

    for (const std::string& face : app::ListFontFaces(m_workspace.DataRoot())) {
        m_comboFont->addItem(dialogs::Q(face));
    }
    // A face whose files are missing stays chosen; the movie then falls back to Sans.
    if (m_comboFont->findText(dialogs::Q(s.m_strFont)) < 0) {
        m_comboFont->addItem(dialogs::Q(s.m_strFont));
    }
    m_comboFont->setCurrentText(dialogs::Q(s.m_strFont));
}

QString CDlgProjectSettings::BackgroundText() const {
    return m_staticBackground->text();
}

QString CDlgProjectSettings::ButtonText() const {
    return m_staticButton->text();
}

QString CDlgProjectSettings::MusicText() const {
    return m_staticMusic->text();
}

QColor CDlgProjectSettings::CaptionColour() const {
    return m_btnTextColor->colour();
}

std::optional<CDlgProjectSettings::Picture> CDlgProjectSettings::PickBackground(const Picture& current) {
    CDlgAddBg dlg(m_workspace.DataRoot(), m_workspace.WorkDir(), this);
    dlg.m_strKind = QStringLiteral("background");
    dlg.m_nThumbWidth = 120;
    dlg.m_nThumbHeight = 100;
    dlg.m_strValue = current.value;
    const add_bg::Alignment a = add_bg::SplitAlignCode(current.align);
    dlg.m_nPlacement = a.placement;
    dlg.m_nPosition = a.position;
    dlg.m_bKeepAspect = a.keepAspect ? 1 : 0;
    if (dlg.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const std::string value =
        add_bg::ComposeStoredValue("background", dlg.m_nMode, dlg.m_strValue.toStdString());
    return Picture{QString::fromStdString(value),
                   add_bg::ComposeAlignCode({dlg.m_nPlacement, dlg.m_nPosition, dlg.m_bKeepAspect != 0})};
}

std::optional<QString> CDlgProjectSettings::PickButton(const QString& current) {
    CDlgAddBg dlg(m_workspace.DataRoot(), m_workspace.WorkDir(), this);
    dlg.m_strKind = QStringLiteral("button");
    dlg.m_nThumbWidth = 120;
    dlg.m_nThumbHeight = 60;
    dlg.m_strValue = current;
    if (dlg.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return QString::fromStdString(
        add_bg::ComposeStoredValue("button", dlg.m_nMode, dlg.m_strValue.toStdString()));
}

int CDlgProjectSettings::ExecMusicChooser(CDlgAddMusic& chooser) {
    return chooser.exec();
}

void CDlgProjectSettings::OnBtnEditBackground() {
    model::ProjectSettings& s = m_project.settings;
    const auto picked = PickBackground({dialogs::Q(s.m_strBackground), s.m_nBgAlign});
    if (!picked) {
        return;
    }
    s.m_strBackground = picked->value.toStdString();
    s.m_nBgAlign = picked->align;
    m_staticBackground->setText(picked->value);
    dialogs::ApplyProjectBackground(m_project);
    m_bPickersChanged = true;
    emit projectChanged();
}

void CDlgProjectSettings::OnBtnEditButtons() {
    const auto picked = PickButton(dialogs::Q(m_project.settings.m_strButton));
    if (!picked) {
        return;
    }
    m_project.settings.m_strButton = picked->toStdString();
    m_staticButton->setText(*picked);
    m_bPickersChanged = true;
    emit projectChanged();
}

void CDlgProjectSettings::OnBtnEditMusic() {
    QString value = dialogs::Q(m_project.settings.m_strMusic);
    int mode = CDlgAddMusic::kOwnFileMode;
    if (!app::IsAbsoluteReference(m_project.settings.m_strMusic)) {
        value.remove(QStringLiteral("Music\\"));
        mode = CDlgAddMusic::kSampleMode;
    }
    CDlgAddMusic chooser(m_workspace.DataRoot(), this);
    chooser.m_strValue = value;
    chooser.m_nMode = mode;
    if (ExecMusicChooser(chooser) != QDialog::Accepted) {
        return;
    }
    QString music;
    if (chooser.m_strValue.isEmpty()) {
        music.clear();
    } else if (chooser.m_nMode == CDlgAddMusic::kOwnFileMode) {
        music = chooser.m_strValue;
    } else {
        music = QStringLiteral("Music\\") + chooser.m_strValue;
    }
    m_project.settings.m_strMusic = music.toStdString();
    m_staticMusic->setText(music);
    m_bPickersChanged = true;
    emit projectChanged();
}

void CDlgProjectSettings::OnCheckSlideShow() {
    m_comboSeconds->setEnabled(m_checkSlideShow->isChecked());
}

void CDlgProjectSettings::OnOK() {
    model::ProjectSettings& s = m_project.settings;
    s.m_strAuthor = m_editAuthor->text().toStdString();
    s.m_strEmail = m_editEmail->text().toStdString();
    s.m_strBackground = m_staticBackground->text().toStdString();
    s.m_strButton = m_staticButton->text().toStdString();
    s.m_strMusic = m_staticMusic->text().toStdString();
    s.m_strButtonTextColor = dialogs::FormatCaptionColour(CaptionColour());
    s.m_bPromoteLast = m_checkPromoteLast->isChecked() ? 1 : 0;
    s.m_bPromoteEach = m_checkPromoteEach->isChecked() ? 1 : 0;

    s.m_nGiftWidth = m_spinWidth->value();
    s.m_nGiftHeight = m_spinHeight->value();
    s.m_bSlideShow = m_checkSlideShow->isChecked() ? 1 : 0;
    const std::string seconds = m_comboSeconds->currentText().toStdString();
    // "" and "0" both mean no interval; an empty interval stays empty unless another was chosen.
    if (!(seconds == "0" && s.m_strSlideSeconds.empty())) {
        s.m_strSlideSeconds = seconds;
    }
    s.m_strFont = m_comboFont->currentText().toStdString();
    m_state.m_nPictureQuality = m_spinQuality->value();
    dialogs::StorePictureQuality(m_state.m_nPictureQuality);
    accept();
}
