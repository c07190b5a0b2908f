#include "dialogs/dlg_tips.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr const char* kStartUp = "Tip/StartUp";
constexpr const char* kFilePos = "Tip/FilePos";
constexpr const char* kTimeStamp = "Tip/TimeStamp";

app::TipsProfile LoadProfile() {
    QSettings settings;
    app::TipsProfile profile;
    profile.startUp = settings.value(QLatin1String(kStartUp), 0).toInt();
    profile.filePos = settings.value(QLatin1String(kFilePos), 0).toLongLong();
    profile.timeStamp = settings.value(QLatin1String(kTimeStamp)).toString().toStdString();
    return profile;
}

// Reads the profile first so the reader can be a plain member.
app::TipsProfile& Loaded(app::TipsProfile& profile) {
    profile = LoadProfile();
    return profile;
}

} // namespace

CDlgTips::CDlgTips(const std::filesystem::path& dataRoot, QWidget* parent)
    : QDialog(parent), m_reader(dataRoot / "Tips.txt", Loaded(m_profile)) {
    setWindowTitle(tr("Cardwright Tip of the Day"));
    if (m_reader.IsOpen()) {
        // A changed file starts again from the first tip: remember its new time stamp now.
        QSettings().setValue(QLatin1String(kTimeStamp), QString::fromStdString(m_profile.timeStamp));
    }

    auto* bulb = new QLabel(this);
    const int em = fontMetrics().height();
    bulb->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(em * 2, em * 2));
    bulb->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    auto* heading = new QLabel(tr("Did you know..."), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.6);
    heading->setFont(headingFont);
    m_labelTip = new QLabel(this);
    m_labelTip->setWordWrap(true);
    m_labelTip->setTextFormat(Qt::PlainText);
    m_labelTip->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_labelTip->setMinimumSize(em * 24, em * 6);
    m_labelTip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_labelTip->setAccessibleName(tr("Tip"));

    // The tip sits on the window colour with a shaded band on its left, like a page.
    auto* band = new QFrame(this);
    band->setBackgroundRole(QPalette::Mid);
    band->setAutoFillBackground(true);
    auto* bandLayout = new QVBoxLayout(band);
    bandLayout->addWidget(bulb);
    bandLayout->addStretch(1);
    auto* page = new QFrame(this);
    page->setFrameShape(QFrame::StyledPanel);
    page->setBackgroundRole(QPalette::Base);
    page->setAutoFillBackground(true);
    auto* text = new QVBoxLayout;
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    text->addWidget(heading);
    text->addWidget(line);
    text->addWidget(m_labelTip, 1);
    auto* pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(band);
    pageLayout->addLayout(text, 1);

    m_checkStartup = new QCheckBox(tr("&Show tips on startup"), this);
    m_checkStartup->setChecked(ShowAtStartup());
    auto* buttons = new QDialogButtonBox(this);
    m_btnPrev = buttons->addButton(tr("&Previous Tip"), QDialogButtonBox::ActionRole);
    m_btnNext = buttons->addButton(tr("&Next Tip"), QDialogButtonBox::ActionRole);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    m_btnPrev->setAutoDefault(false);
    m_btnNext->setAutoDefault(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_checkStartup);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page, 1);
    layout->addLayout(bottom);

    connect(m_btnNext, &QPushButton::clicked, this, &CDlgTips::OnBtnNextTip);
    connect(m_btnPrev, &QPushButton::clicked, this, &CDlgTips::OnBtnPrevTip);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    UpdateTip();
}

CDlgTips::~CDlgTips() {
    if (m_reader.IsOpen()) {
        QSettings().setValue(QLatin1String(kFilePos), static_cast<qlonglong>(m_reader.Position()));
    }
}

bool CDlgTips::ShowAtStartup() const {
    return m_profile.startUp == 0;
}

QString CDlgTips::TipText() const {
    return m_labelTip->text();
}

int CDlgTips::ShowModal() {
    if (!m_reader.IsOpen()) {
        QApplication::beep();
        return QDialog::Rejected;
    }
    return exec();
}

void CDlgTips::ShowModeless() {
    setModal(false);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    raise();
}

void CDlgTips::UpdateTip() {
    m_labelTip->setText(QString::fromStdString(m_reader.Text()));
    const bool open = m_reader.IsOpen();
    m_btnNext->setEnabled(open);
    m_btnPrev->setEnabled(open && m_reader.HasPrevious());
}

void CDlgTips::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_reader.GetStatus() == app::TipsReader::Status::SeekFailed && !m_bTroubleShown) {
        m_bTroubleShown = true;
        ShowMessage(tr("Trouble reading the tips file"));
    }
}

void CDlgTips::ShowMessage(const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
}

void CDlgTips::OnBtnNextTip() {
    m_reader.Next();
    UpdateTip();
}

void CDlgTips::OnBtnPrevTip() {
    m_reader.Previous();
    UpdateTip();
}

void CDlgTips::done(int result) {
    // The check box is stored however the window is closed, so the choice is never lost.
    m_profile.startUp = m_checkStartup->isChecked() ? 0 : 1;
    QSettings().setValue(QLatin1String(kStartUp), m_profile.startUp);
    QDialog::done(result);
}
