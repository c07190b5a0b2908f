#include "dialogs/dlg_add_bg.h"

#include "app/asset_path.h"
#include "app/log.h"
#include "dialogs/colour_picker.h"
#include "dialogs/colour_picker_table.h"
#include "imaging/error.h"
#include "imaging/thumbnail_cache.h"
#include "player/open_in_player.h"
#include "swf/flash_test_load.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCollator>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QThreadPool>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace fs = std::filesystem;

namespace {

constexpr QSize kPreviewSize(120, 80);

QImage ToImage(const imaging::Thumbnail& thumb) {
    QImage image(reinterpret_cast<const uchar*>(thumb.rgb.data()), thumb.size.width, thumb.size.height,
                 thumb.size.width * 3, QImage::Format_RGB888);
    return image.copy(); // detached from the thumbnail's buffer
}

QString FromPath(const fs::path& path) {
    return QString::fromStdString(path.string());
}

fs::path ToPath(const QString& text) {
    return fs::path(text.toStdString());
}

// Thumbnails have a pool of their own: Qt's painting splits large image work over the global pool and
// waits for it, so thumbnails queued there would hold up the painting of the dialog itself.
QThreadPool* ThumbnailPool() {
    static QThreadPool* const pool = [] {
        auto* p = new QThreadPool(qApp);
        p->setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
        return p;
    }();
    return pool;
}

QString LoadFailedText(const QString& path) {
    return QCoreApplication::translate("CDlgAddBg", "Loading the picture '%1' failed; please try again.")
        .arg(path);
}

} // namespace

CDlgAddBg::CDlgAddBg(fs::path dataRoot, fs::path workDir, QWidget* parent)
    : QDialog(parent), m_dataRoot(std::move(dataRoot)), m_workDir(std::move(workDir)) {
    buildUi();
}

CDlgAddBg::~CDlgAddBg() {
    if (m_watcher) {
        // Thumbnails still being made finish into the cache; those not started are dropped.
        m_watcher->disconnect(this);
        m_watcher->cancel();
        m_watcher->waitForFinished();
    }
}

void CDlgAddBg::buildUi() {
    m_sampleRadio = new QRadioButton(tr("Default"));
    m_colourRadio = new QRadioButton(tr("Background Color Only"));
    m_fileRadio = new QRadioButton(tr("Picture or Flash Only"));
    m_modeGroup = new QButtonGroup(this);
    m_modeGroup->addButton(m_sampleRadio, add_bg::kSampleMode);
    m_modeGroup->addButton(m_colourRadio, add_bg::kColourMode);
    m_modeGroup->addButton(m_fileRadio, add_bg::kFileMode);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("sampleList"));
    m_list->setAccessibleName(tr("Default"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setUniformItemSizes(true);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    m_colourButton = new CColourPicker;
    m_colourButton->setObjectName(QStringLiteral("colourButton"));
    m_colourButton->setAccessibleName(tr("Background Color Only"));

    // Read-only: the path comes from Browse. A line edit shows a long path without widening the dialog.
    m_pathLabel = new QLineEdit;
    m_pathLabel->setObjectName(QStringLiteral("pathText"));
    m_pathLabel->setAccessibleName(tr("Picture or Flash Only"));
    m_pathLabel->setReadOnly(true);
    m_browseButton = new QPushButton(tr("Browse"));
    m_preview = new QLabel;
    m_preview->setObjectName(QStringLiteral("previewPicture"));
    m_preview->setAccessibleName(tr("Preview"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumSize(kPreviewSize);

    // Placement: the nine anchor buttons, then default / Tile / Stretch and Lock W:H.
    m_alignGroup = new QGroupBox(tr("Picture Alignment"));
    m_positionGroup = new QButtonGroup(this);
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    static const char* const kPositionNames[9] = {
        QT_TR_NOOP("Top left"),    QT_TR_NOOP("Top centre"),    QT_TR_NOOP("Top right"),
        QT_TR_NOOP("Middle left"), QT_TR_NOOP("Centre"),        QT_TR_NOOP("Middle right"),
        QT_TR_NOOP("Bottom left"), QT_TR_NOOP("Bottom centre"), QT_TR_NOOP("Bottom right")};
    static const char16_t* const kArrows[9] = {u"\u2196", u"\u2191", u"\u2197", u"\u2190", u"\u25CF",
                                               u"\u2192", u"\u2199", u"\u2193", u"\u2198"};
    for (int i = 0; i < 9; ++i) {
        auto* button = new QToolButton;
        button->setCheckable(true);
        button->setText(QString::fromUtf16(kArrows[i]));
        button->setAccessibleName(tr(kPositionNames[i]));
        button->setToolTip(tr(kPositionNames[i]));
        button->setFocusPolicy(Qt::StrongFocus);
        const int side = fontMetrics().height() * 2;
        button->setMinimumSize(side, side);
        m_positionGroup->addButton(button, i);
        grid->addWidget(button, i / 3, i % 3);
    }
    auto* defaultRadio = new QRadioButton(tr("default"));
    auto* tileRadio = new QRadioButton(tr("Tile"));
    auto* stretchRadio = new QRadioButton(tr("Stretch"));
    m_placementGroup = new QButtonGroup(this);
    m_placementGroup->addButton(defaultRadio, add_bg::kPositioned);
    m_placementGroup->addButton(tileRadio, add_bg::kTile);
    m_placementGroup->addButton(stretchRadio, add_bg::kStretch);
    m_lockCheck = new QCheckBox(tr("Lock W:H"));
    auto* placements = new QVBoxLayout;
    placements->addWidget(defaultRadio);
    placements->addWidget(tileRadio);
    placements->addWidget(stretchRadio);
    placements->addWidget(m_lockCheck);
    placements->addStretch();
    auto* alignLayout = new QHBoxLayout(m_alignGroup);
    alignLayout->addLayout(grid);
    alignLayout->addLayout(placements);

    // Left: the samples. Right: colour, own file, placement.
    auto* left = new QVBoxLayout;
    left->addWidget(m_sampleRadio);
    left->addWidget(m_list, 1);

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colourRadio);
    colourRow->addStretch();
    colourRow->addWidget(m_colourButton);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_pathLabel, 1);
    fileRow->addWidget(m_browseButton);
    auto* right = new QVBoxLayout;
    right->addLayout(colourRow);
    right->addWidget(m_fileRadio);
    right->addLayout(fileRow);
    right->addWidget(m_preview);
    right->addWidget(m_alignGroup);
    right->addStretch();

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_previewButton = buttons->addButton(tr("Preview"), QDialogButtonBox::ActionRole);
    auto* main = new QVBoxLayout(this);
    main->addLayout(columns, 1);
    main->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgAddBg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgAddBg::reject);
    connect(m_previewButton, &QPushButton::clicked, this, &CDlgAddBg::OnBtnPreview);
    connect(m_browseButton, &QPushButton::clicked, this, &CDlgAddBg::OnBtnBrowse);
    connect(m_list, &QListWidget::itemClicked, this, [this] { m_sampleRadio->setChecked(true); });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_initialised && !m_list->selectedItems().isEmpty()) {
            m_sampleRadio->setChecked(true); // a sample chosen with the keys counts like a click
        }
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDlgAddBg::OnBtnPreview);
    connect(m_colourButton, &CColourPicker::colourAccepted, this,
            [this] { m_colourRadio->setChecked(true); });
    connect(m_placementGroup, &QButtonGroup::idClicked, this, &CDlgAddBg::applyPlacementRule);
}

fs::path CDlgAddBg::sampleFolder() const {
    return app::ResolveReference(m_dataRoot, m_strKind.toStdString());
}

fs::path CDlgAddBg::resourceFolder() const {
    return app::ResolveReference(m_dataRoot, "Resource");
}

bool CDlgAddBg::IsListedSample(const QString& fileName) {
    static const QStringList kTypes = {QStringLiteral("JPG"), QStringLiteral("GIF"), QStringLiteral("PNG"),
                                       QStringLiteral("BMP"), QStringLiteral("WMF"), QStringLiteral("SWF"),
                                       QStringLiteral("ICO"), QStringLiteral("DBL")};
    if (fileName.contains(QStringLiteral(".dbl.png"), Qt::CaseInsensitive)) {
        return false; // the preview companion of a .dbl
    }
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString ext = (dot < 0 ? fileName : fileName.mid(dot + 1)).toUpper();
    return kTypes.contains(ext);
}

fs::path CDlgAddBg::ThumbnailSource(const fs::path& file, const fs::path& resourceFolder, int thumbHeight) {
    const QString name = FromPath(file.filename()).toLower();
    if (name.endsWith(QStringLiteral(".swf"))) {
        return resourceFolder / (thumbHeight == 100 ? "flash.gif" : "flash_btn.gif");
    }
    if (name.endsWith(QStringLiteral(".dbl"))) {
        fs::path companion = file;
        companion += ".png";
        std::error_code ec;
        return fs::exists(companion, ec) ? companion : resourceFolder / "dbl.gif";
    }
    return file;
}

void CDlgAddBg::showEvent(QShowEvent* event) {
    if (!m_initialised) {
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CDlgAddBg::OnInitDialog() {
    if (m_initialised) {
        return;
    }
    listSamples();
    startThumbnails();

    // The incoming value decides the mode.
    if (m_strValue.contains(QLatin1Char('#'))) {
        m_nMode = add_bg::kColourMode;
        m_colourButton->setColour(colour_picker::ParseColour(m_strValue));
    } else if (m_strValue.contains(QLatin1Char(':')) || m_strValue.startsWith(QLatin1Char('/'))) {
        m_nMode = add_bg::kFileMode;
        m_strPathText = m_strValue;
        showFilePreview(m_strValue);
    } else {
        m_nMode = add_bg::kSampleMode;
        selectSample(m_strValue);
    }
    if (m_strPathText.isEmpty()) {
        m_preview->setPixmap(QPixmap(FromPath(resourceFolder() / "empty.png")));
    }

    applyPlacementRule(m_nPlacement == add_bg::kPositioned || m_nPlacement == add_bg::kTile
                           ? m_nPlacement
                           : add_bg::kStretch);
    moveMembersToControls();

    if (m_strKind == QLatin1String("button")) {
        m_alignGroup->setEnabled(false);
        setWindowTitle(tr("Adjust the style of button"));
    } else {
        setWindowTitle(tr("Adjust the background of cards"));
    }
    m_initialised = true;
    if (m_pLog) {
        m_pLog->Write("CDlgAddBg::OnInitDialog }\n");
    }
}

void CDlgAddBg::listSamples() {
    const QSize thumb(m_nThumbWidth, m_nThumbHeight);
    m_list->setIconSize(thumb);
    const int textLines = 2 * fontMetrics().height();
    const int spacing = style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    const QSize cell(std::max(120, thumb.width()) + std::max(spacing, 4), thumb.height() + textLines + 8);
    m_list->setGridSize(cell);
    m_list->setMinimumSize(cell.width() * 3 + 2 * spacing + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                           cell.height() * 2);

    // Shown until a tile's thumbnail arrives.
    QImage blank(thumb, QImage::Format_RGB888);
    blank.fill(palette().color(QPalette::Base));
    const QIcon waiting(QPixmap::fromImage(blank));

    QStringList names;
    const QDir folder(FromPath(sampleFolder()));
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files)) { // hidden files are left out
        if (IsListedSample(info.fileName())) {
            names << info.fileName();
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);

    const fs::path samples = sampleFolder();
    const fs::path resources = resourceFolder();
    for (const QString& name : names) {
        m_sources.push_back(ThumbnailSource(samples / ToPath(name), resources, m_nThumbHeight));
        auto* item = new QListWidgetItem(waiting, name, m_list);
        item->setToolTip(name);
    }
    m_marked.assign(m_sources.size(), false);
}

void CDlgAddBg::startThumbnails() {
    if (m_sources.empty()) {
        return;
    }
    m_cache = std::make_shared<imaging::ThumbnailCache>(m_workDir / "Thumbnails" / m_strKind.toStdString());
    const imaging::Size size{m_nThumbWidth, m_nThumbHeight};
    auto cache = m_cache;
    m_watcher = new QFutureWatcher<imaging::ThumbnailResult>(this);
    connect(m_watcher, &QFutureWatcherBase::resultReadyAt, this, &CDlgAddBg::onThumbnailReady);
    connect(m_watcher, &QFutureWatcherBase::finished, this, &CDlgAddBg::thumbnailsFinished);
    m_watcher->setFuture(
        QtConcurrent::mapped(ThumbnailPool(), m_sources,
                             [cache, size](const fs::path& source) { return cache->Obtain(source, size); }));
}

bool CDlgAddBg::ThumbnailsDone() const {
    return !m_watcher || m_watcher->isFinished();
}

bool CDlgAddBg::IsTileMarked(int row) const {
    return row >= 0 && size_t(row) < m_marked.size() && m_marked[size_t(row)];
}

QImage CDlgAddBg::markedTile(const QSize& size) const {
    // A picture that cannot be read: white tile, grey frame, a cross through it.
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setPen(QPen(QColor(200, 0, 0), 2));
    const QRect r = QRect(QPoint(0, 0), size)
                        .adjusted(size.width() / 3, size.height() / 3, -size.width() / 3, -size.height() / 3);
    painter.drawLine(r.topLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomLeft());
    return image;
}

void CDlgAddBg::onThumbnailReady(int index) {
    const imaging::ThumbnailResult result = m_watcher->resultAt(index);
    QListWidgetItem* item = m_list->item(index);
    if (!item) {
        return;
    }
    m_made += result.fromCache ? 0 : 1;
    if (result.thumb) {
        item->setIcon(QIcon(QPixmap::fromImage(ToImage(*result.thumb))));
        return;
    }
    m_marked[size_t(index)] = true;
    item->setIcon(QIcon(QPixmap::fromImage(markedTile(QSize(m_nThumbWidth, m_nThumbHeight)))));
    item->setToolTip(LoadFailedText(FromPath(m_sources[size_t(index)])));
}

void CDlgAddBg::selectSample(const QString& value) {
    QString rest = value.toLower();
    const QString kind = m_strKind.toLower();
    rest.remove(kind + QLatin1Char('\\'));
    rest.remove(kind + QLatin1Char('/'));
    m_list->setCurrentRow(-1);
    if (rest.isEmpty()) {
        return; // nothing stored: no sample is preselected
    }
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text().startsWith(rest, Qt::CaseInsensitive)) {
            m_list->setCurrentRow(row);
            m_list->scrollToItem(m_list->item(row));
            return;
        }
    }
}

void CDlgAddBg::applyPlacementRule(int placement) {
    const bool positioned = placement == add_bg::kPositioned;
    for (QAbstractButton* button : m_positionGroup->buttons()) {
        button->setEnabled(positioned);
    }
    m_lockCheck->setEnabled(placement == add_bg::kStretch);
}

void CDlgAddBg::moveMembersToControls() {
    if (QAbstractButton* mode = m_modeGroup->button(m_nMode)) {
        mode->setChecked(true);
    }
    m_positionGroup->setExclusive(false);
    for (QAbstractButton* button : m_positionGroup->buttons()) {
        button->setChecked(m_positionGroup->id(button) == m_nPosition);
    }
    m_positionGroup->setExclusive(true);
    if (QAbstractButton* placement = m_placementGroup->button(m_nPlacement)) {
        placement->setChecked(true);
    }
    m_lockCheck->setChecked(m_bKeepAspect != 0);
    m_pathLabel->setText(m_strPathText);
}

void CDlgAddBg::moveControlsToMembers() {
    m_nMode = m_modeGroup->checkedId();
    m_nPosition = m_positionGroup->checkedId();
    m_nPlacement = m_placementGroup->checkedId() < 0 ? add_bg::kPositioned : m_placementGroup->checkedId();
    m_bKeepAspect = m_lockCheck->isChecked() ? 1 : 0;
    m_strPathText = m_pathLabel->text();
}

void CDlgAddBg::showFilePreview(const QString& path) {
    const QString lower = path.toLower();
    if (lower.endsWith(QStringLiteral("swf"))) {
        m_preview->setPixmap(QPixmap(FromPath(resourceFolder() / "flash_preview.png")));
        m_preview->setToolTip(QString());
        return;
    }
    fs::path source = ToPath(path);
    if (lower.endsWith(QStringLiteral("dbl"))) {
        source = ThumbnailSource(source, resourceFolder(), kPreviewSize.height());
    }
    // A large photo takes a moment to shrink: made on the thumbnail pool; only the newest choice is shown.
    QImage waiting(kPreviewSize, QImage::Format_RGB888);
    waiting.fill(palette().color(QPalette::Base));
    m_preview->setPixmap(QPixmap::fromImage(waiting));
    m_preview->setToolTip(QString());
    const int serial = ++m_previewSerial;
    auto* watcher = new QFutureWatcher<imaging::ThumbnailResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial, path] {
        watcher->deleteLater();
        if (serial != m_previewSerial) {
            return; // another file was chosen meanwhile
        }
        const imaging::ThumbnailResult result = watcher->result();
        if (result.thumb) {
            m_preview->setPixmap(QPixmap::fromImage(ToImage(*result.thumb)));
        } else {
            m_preview->setPixmap(QPixmap::fromImage(markedTile(kPreviewSize)));
            m_preview->setToolTip(LoadFailedText(path));
        }
        m_previewPending = false;
    });
    m_previewPending = true;
    watcher->setFuture(QtConcurrent::run(ThumbnailPool(), [source] {
        imaging::ThumbnailResult result;
        try {
            result.thumb = imaging::MakeThumbnail(source, {kPreviewSize.width(), kPreviewSize.height()});
        } catch (const imaging::Error& e) {
            result.error = e.what();
        }
        return result;
    }));
}

void CDlgAddBg::OnFileChosen(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    m_nMode = add_bg::kFileMode;
    m_fileRadio->setChecked(true);
    m_strPathText = QDir::toNativeSeparators(path);
    m_pathLabel->setText(m_strPathText);
    m_pathLabel->setToolTip(m_strPathText);
    m_pathLabel->setCursorPosition(0);
    showFilePreview(m_strPathText);
}

void CDlgAddBg::OnBtnBrowse() {
    OnFileChosen(ChooseFile());
}

QString CDlgAddBg::ChooseFile() {
    const QString filter = tr("All Images (*.jpg *.gif *.swf *.png *.bmp *.ico *.pcx *.dbl "
                              "*.JPG *.GIF *.SWF *.PNG *.BMP *.ICO *.PCX *.DBL);;(*.swf);;All Files (*)");
    return QFileDialog::getOpenFileName(this, tr("Browse"), QString(), filter);
}

void CDlgAddBg::OnBtnPreview() {
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        ShowMessage(tr("Choose a picture or SWF clip from the list to preview it."));
        return;
    }
    const QString name = item->text().toLower();
    // The file keeps its own case on the disk.
    QString file = FromPath(sampleFolder() / ToPath(item->text()));
    if (name.endsWith(QStringLiteral("dbl"))) {
        file += QStringLiteral(".png");
    }
    OpenFile(file);
}

void CDlgAddBg::OpenFile(const QString& file) {
    // Flash clips play in our own player; the desktop may have nothing that opens them.
    if (file.endsWith(QStringLiteral("swf"), Qt::CaseInsensitive) && player::OpenInPlayer(file, false)) {
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void CDlgAddBg::ShowMessage(const QString& text) {
    QMessageBox::information(this, windowTitle(), text);
}

void CDlgAddBg::accept() {
    moveControlsToMembers();
    const QString notSupported = tr(" This version of Flash file (SWF) is not supported.");
    if (m_nMode == add_bg::kColourMode) {
        m_strValue = colour_picker::FormatColour(m_colourButton->colour());
        QDialog::accept();
        return;
    }
    if (m_nMode == add_bg::kFileMode) {
        if (m_strPathText.endsWith(QStringLiteral("swf")) &&
            !swf::flash_test_load(ToPath(m_strPathText)).ok) {
            ShowMessage(notSupported);
            return;
        }
        m_strValue = m_strPathText;
        QDialog::accept();
        return;
    }
    QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected()) {
        ShowMessage(tr("Please choose a picture before you continue."));
        return;
    }
    m_nMode = add_bg::kSampleMode;
    m_strValue = item->text();
    if (m_strValue.endsWith(QStringLiteral("swf")) &&
        !swf::flash_test_load(sampleFolder() / ToPath(m_strValue)).ok) {
        ShowMessage(notSupported); // the sample is taken all the same
    }
    QDialog::accept();
}
