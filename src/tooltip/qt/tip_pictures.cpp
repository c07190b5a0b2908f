#include "tooltip/qt/tip_pictures.h"

#include "tooltip/tip_texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tooltip {
namespace {

// The welcome tip's picture: a small wrapped gift with a bow, on a transparent ground.
QImage GiftPicture() {
    QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient box(0, 9, 0, 23);
    box.setColorAt(0, QColor(236, 72, 88));
    box.setColorAt(1, QColor(168, 28, 52));
    p.setPen(QPen(QColor(120, 16, 36), 1));
    p.setBrush(box);
    p.drawRoundedRect(QRectF(3.5, 10.5, 17, 12), 1.5, 1.5);
    p.setBrush(QColor(246, 96, 110));
    p.drawRoundedRect(QRectF(2.5, 7.5, 19, 4), 1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 214, 64));
    p.drawRect(QRectF(10.5, 7.5, 3, 15));
    QPainterPath bow;
    bow.moveTo(12, 7.5);
    bow.cubicTo(6, 0, 3, 6, 12, 7.5);
    bow.moveTo(12, 7.5);
    bow.cubicTo(18, 0, 21, 6, 12, 7.5);
    p.setPen(QPen(QColor(200, 150, 20), 1));
    p.drawPath(bow);
    return image;
}

} // namespace

QImage ProgramPicture(int idres) {
    if (idres == kWelcomePicture) {
        static const QImage gift = GiftPicture();
        return gift;
    }
    return {};
}

std::uint32_t PictureStore::Register(const QImage& image) {
    const std::uint32_t handle = next_++;
    registered_[handle] = image;
    return handle;
}

QImage PictureStore::Find(const markup::ImageRef& ref) const {
    QImage image;
    if (ref.handle != 0) {
        if (const auto it = registered_.find(ref.handle); it != registered_.end()) {
            image = it->second;
        }
    } else if (ref.idres >= 0) {
        image = ProgramPicture(ref.idres);
    } else if (!ref.file.empty()) {
        // File names arrive lower-cased from the mark-up; relative ones are looked up beside the program's
        // data, ignoring case like the stored references do.
        QString path = QString::fromStdString(ref.file);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        image = QImage(path);
        if (image.isNull() && QDir::isRelativePath(path)) {
            const QString home = qEnvironmentVariable("CARDWRIGHT_HOME");
            const QFileInfo info(QDir(home).filePath(path));
            const QDir folder = info.dir();
            for (const QString& entry : folder.entryList(QDir::Files)) {
                if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
                    image = QImage(folder.filePath(entry));
                    break;
                }
            }
        }
    }
    if (image.isNull()) {
        return {};
    }
    const bool strip = ref.kind == markup::ImageKind::ImageList || ref.cx > 0 || ref.cy > 0;
    if (strip) {
        const int cx = ref.cx > 0 ? ref.cx : image.height();
        const int cy = ref.cy > 0 ? ref.cy : image.height();
        const int columns = std::max(1, image.width() / std::max(1, cx));
        const QRect cell((ref.index % columns) * cx, (ref.index / columns) * cy, cx, cy);
        if (!image.rect().contains(cell)) {
            return {};
        }
        image = image.copy(cell);
    }
    return image;
}

} // namespace tooltip
