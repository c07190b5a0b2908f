#include "dialogs/dlg_open_project.h"

#include "app/asset_path.h"
#include "app/data_listing.h"
#include "model/archive.h"
#include "movie/card_text.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <vector>

namespace dialogs {

namespace {

QColor ToQColor(const movie::Rgb& rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

// Draws the background picture the way the movie places it (grid position, tile or stretch), scaled.
void DrawPicture(QPainter& p, const QImage& picture, int align, double scale, QSizeF stage) {
    const QSizeF own(picture.width() * scale, picture.height() * scale);
    if (align == 10) {
        p.drawImage(QRectF(QPointF(0, 0), stage), picture);
    } else if (align == 11) {
        const QSizeF fitted = own.scaled(stage, Qt::KeepAspectRatio);
        p.drawImage(
            QRectF(QPointF((stage.width() - fitted.width()) / 2, (stage.height() - fitted.height()) / 2),
                   fitted),
            picture);
    } else if (align == 9) {
        for (double y = 0; y < stage.height(); y += std::max(1.0, own.height())) {
            for (double x = 0; x < stage.width(); x += std::max(1.0, own.width())) {
                p.drawImage(QRectF(QPointF(x, y), own), picture);
            }
        }
    } else {
        const int column = std::clamp(align, 0, 8) % 3;
        const int row = std::clamp(align, 0, 8) / 3;
        const QPointF at(column * (stage.width() - own.width()) / 2,
                         row * (stage.height() - own.height()) / 2);
        p.drawImage(QRectF(at, own), picture);
    }
}

} // namespace

QImage DrawThemeThumbnail(const std::filesystem::path& projectFile, const std::filesystem::path& dataRoot,
                          QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::lightGray);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    model::Project project;
    try {
        project = model::LoadProjectFile(projectFile);
    } catch (const std::exception&) {
        QFont font = p.font();
        font.setPixelSize(std::max(8, size.height() / 2));
        p.setFont(font);
        p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("?"));
        return image;
    }
    if (project.cards.empty()) {
        return image;
    }
    const model::CCardInfo& card = *project.cards.front();
    const double W = std::max(1, project.settings.m_nGiftWidth);
    const double H = std::max(1, project.settings.m_nGiftHeight);
    const double scale = std::min(size.width() / W, size.height() / H);
    const QSizeF stage(W * scale, H * scale);
    p.translate((size.width() - stage.width()) / 2, (size.height() - stage.height()) / 2);
    p.setClipRect(QRectF(QPointF(0, 0), stage));

    // The colour carries on from the background to the title and the comment, as in the movie.
    movie::Rgb colour;
    movie::ReadColour(card.m_strBackground, colour);
    p.fillRect(QRectF(QPointF(0, 0), stage), ToQColor(colour));
    if (!card.m_strBackground.empty() && card.m_strBackground[0] != '#') {
        const auto file = app::ResolveReference(dataRoot, card.m_strBackground);
        QImage picture;
        if (picture.load(QString::fromStdString(file.string()))) {
            DrawPicture(p, picture, card.m_nBgAlign, scale, stage);
        }
    }
    movie::ReadColour(card.m_strTitleColor, colour);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(1, int(24 * scale)));
    p.setFont(font);
    p.setPen(ToQColor(colour));
    p.drawText(QPointF(10 * scale, 40 * scale), QString::fromStdString(card.m_strTitle));
    movie::ReadColour(card.m_strCommentColor, colour);
    font.setBold(false);
    font.setPixelSize(std::max(1, int(20 * scale)));
    p.setFont(font);
    p.setPen(ToQColor(colour));
    const QStringList lines = QString::fromStdString(card.m_strComment).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size() && 100 + 20 * i < H + 20; ++i) {
        p.drawText(QPointF(10 * scale, (100 + 20 * i) * scale), lines[i].trimmed());
    }
    return image;
}

} // namespace dialogs

// Thumbnails are drawn on worker threads and fill in the list as they arrive.
class CDlgOpenProject::Thumbnails : public QFutureWatcher<QImage> {
public:
    using QFutureWatcher<QImage>::QFutureWatcher;
};

CDlgOpenProject::CDlgOpenProject(std::filesystem::path dataRoot, QWidget* parent)
    : QDialog(parent), m_dataRoot(std::move(dataRoot)) {
    setWindowTitle(tr("Open an existing CWP project file"));
    setWindowIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));

    auto* intro = new QLabel(tr("You can:\nClick \"New\" to create a new project.\nChoose a sample from the "
                                "list and click OK.\nClick \"Open from...\" to open a project file from "
                                "your disk."),
                             this);
    m_listThemes = new QListWidget(this);
    m_listThemes->setViewMode(QListView::IconMode);
    m_listThemes->setResizeMode(QListView::Adjust);
    m_listThemes->setMovement(QListView::Static);
    m_listThemes->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listThemes->setAccessibleName(tr("Samples"));
    const int em = fontMetrics().height();
    m_listThemes->setIconSize(QSize(em * 8, em * 6));
    m_listThemes->setGridSize(QSize(em * 10, em * 8));
    m_listThemes->setMinimumSize(em * 32, em * 18);
    intro->setBuddy(m_listThemes);

    auto* buttons = new QDialogButtonBox(this);
    m_btnNew = buttons->addButton(tr("New"), QDialogButtonBox::ActionRole);
    auto* openFrom = buttons->addButton(tr("Open from..."), QDialogButtonBox::ActionRole);
    auto* ok = buttons->addButton(QDialogButtonBox::Ok);
    auto* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    openFrom->setAutoDefault(false);
    ok->setAutoDefault(false);
    cancel->setAutoDefault(false);
    m_btnNew->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_listThemes, 1);
    layout->addWidget(buttons);

    const QIcon placeholder = style()->standardIcon(QStyle::SP_FileIcon);
    for (const app::ThemeEntry& theme : app::ListThemes(m_dataRoot)) {
        auto* item = new QListWidgetItem(placeholder, QString::fromStdString(theme.title), m_listThemes);
        item->setData(Qt::UserRole, QString::fromStdString(theme.file.string()));
    }

    connect(ok, &QPushButton::clicked, this, &CDlgOpenProject::OnOK);
    connect(m_listThemes, &QListWidget::itemDoubleClicked, this, &CDlgOpenProject::OnOK);
    connect(m_btnNew, &QPushButton::clicked, this, &CDlgOpenProject::OnBtnNew);
    connect(openFrom, &QPushButton::clicked, this, &CDlgOpenProject::OnBtnOpenFrom);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_btnNew->setFocus();
    StartThumbnails();
}

CDlgOpenProject::~CDlgOpenProject() {
    if (m_thumbnails) {
        m_thumbnails->cancel();
        m_thumbnails->waitForFinished();
    }
}

bool CDlgOpenProject::ThumbnailsDone() const {
    return m_thumbnails == nullptr || m_shownThumbnails == m_listThemes->count();
}

void CDlgOpenProject::StartThumbnails() {
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < m_listThemes->count(); ++i) {
        files.emplace_back(m_listThemes->item(i)->data(Qt::UserRole).toString().toStdString());
    }
    if (files.empty()) {
        return;
    }
    m_thumbnails = new Thumbnails(this);
    connect(m_thumbnails, &QFutureWatcherBase::resultReadyAt, this, [this](int index) {
        if (QListWidgetItem* item = m_listThemes->item(index)) {
            item->setIcon(QIcon(QPixmap::fromImage(m_thumbnails->resultAt(index))));
        }
        ++m_shownThumbnails;
    });
    const QSize size = m_listThemes->iconSize();
    const std::filesystem::path root = m_dataRoot;
    m_thumbnails->setFuture(QtConcurrent::mapped(files, [root, size](const std::filesystem::path& file) {
        return dialogs::DrawThemeThumbnail(file, root, size);
    }));
}

std::optional<QString> CDlgOpenProject::ChooseProjectFile() {
    QFileDialog dialog(this, tr("Open"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("cwp"));
    dialog.setNameFilters({tr("Cardwright Project (*.cwp)"), tr("All Files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

void CDlgOpenProject::ShowMessage(const QString& text) {
    QMessageBox::information(this, windowTitle(), text);
}

void CDlgOpenProject::OnOK() {
    const QList<QListWidgetItem*> selected = m_listThemes->selectedItems();
    if (selected.isEmpty()) {
        ShowMessage(tr("Please choose a sample from the list."));
        return;
    }
    // The file listed under that title, even when it has been removed meanwhile: loading reports that.
    m_strProjectPath = selected.front()->data(Qt::UserRole).toString();
    accept();
}

void CDlgOpenProject::OnBtnNew() {
    done(kResultNew);
}

void CDlgOpenProject::OnBtnOpenFrom() {
    if (const auto file = ChooseProjectFile()) {
        m_strProjectPath = *file;
        accept();
    }
}
