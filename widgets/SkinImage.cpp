// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinImage.h"

#include "AppDir.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmapCache>

namespace {

// The format Qt's reader is told: PNG by its signature, anything else by the suffix.
QByteArray pictureFormat(QFile &file) {
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (file.peek(pngSignature.size()) == pngSignature)
        return QByteArrayLiteral("png");
    return QFileInfo(file.fileName()).suffix().toLower().toLatin1();
}

// The reader's current picture in the screen's form. Straight alpha, what Qt's PNG reader
// gives, becomes premultiplied in place: the picture is never held twice.
QImage readForScreen(QImageReader &reader) {
    const QSize size = reader.size();
    QImage image;
    if (size.width() > kSkinImageMaxSide || size.height() > kSkinImageMaxSide ||
        !reader.read(&image))
        return QImage();
    const QImage::Format screen =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return std::move(image).convertToFormat(screen);
}

} // namespace

QImage readSkinImage(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&file, pictureFormat(file));
    reader.setAutoDetectImageFormat(false);
    return readForScreen(reader);
}

QPixmap readSkinPixmap(const QString &path) {
    // Kept as QPixmap(path) keeps it: forty buttons showing one picture share one pixmap, and
    // a file changed on disk is read again.
    const QFileInfo info(path);
    const QString key =
        QStringLiteral("mousecfg_skin:%1:%2:%3")
            .arg(info.absoluteFilePath(), QString::number(info.lastModified().toMSecsSinceEpoch()),
                 QString::number(info.size()));
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    // A picture already in the screen's form becomes the pixmap without a copy.
    pixmap = QPixmap::fromImage(readSkinImage(path));
    if (!pixmap.isNull())
        QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon readSkinIcon(const QString &path, int maxSide) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    QIcon icon;
    if (pictureFormat(file) != "ico") {
        file.close();
        const QPixmap pixmap = readSkinPixmap(path);
        if (!pixmap.isNull())
            icon.addPixmap(pixmap);
        return icon;
    }
    QImageReader reader(&file, QByteArrayLiteral("ico"));
    reader.setAutoDetectImageFormat(false);
    const int count = reader.imageCount();
    for (int i = 0; i < count && reader.jumpToImage(i); ++i) {
        // The size comes from the icon's directory: a larger image is passed over unread.
        const QSize size = reader.size();
        if (!size.isValid() || qMax(size.width(), size.height()) > maxSide)
            continue;
        QImage image = readForScreen(reader);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return icon;
}

QIcon resourceIcon(const QString &name) {
    return QFile::exists(name) ? readSkinIcon(name) : QIcon();
}

QString skinPath(const QString &relative) {
    return AppDir::path() + QStringLiteral("/skin/") + relative;
}

QStringList skinStates(const QString &stem, int count) {
    QStringList paths;
    for (int i = 1; i <= count; ++i)
        paths << skinPath(QStringLiteral("%1-%2.png").arg(stem).arg(i));
    return paths;
}
