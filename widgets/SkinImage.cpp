#include "SkinImage.h"

#include <QBuffer>
#include <QFile>
#include <QImageIOPlugin>
#include <QtEndian>
#include <QtPlugin>

#include <png.h>

#include <cstring>

namespace {

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kPngSignatureSize = 8;
// How much of a file is looked at to tell whether it is a plain PNG.
constexpr int kPngHeadSize = 4096;
// Larger than any picture file of ours by far; a bigger file is not read into memory.
constexpr qint64 kMaxPictureFileSize = 64 * 1024 * 1024;

bool startsAsPng(const QByteArray &head) {
    return head.size() >= kPngSignatureSize &&
           std::memcmp(head.constData(), kPngSignature, kPngSignatureSize) == 0;
}

quint32 bigEndianAt(const QByteArray &b, int at) {
    return qFromBigEndian<quint32>(b.constData() + at);
}

// A PNG of 8 bits a channel or fewer that says nothing of gamma or colour space before its
// picture data: decoded here exactly as Qt's reader decodes it. Anything else (16 bits a
// channel, a gamma or colour profile, which libpng would apply and Qt's reader ignores) is
// left to Qt's reader, so that every picture looks as it always did.
bool isPlainPng(const QByteArray &head) {
    // The signature, then IHDR: length, type, width, height, bit depth.
    if (!startsAsPng(head) || head.size() < 33 || head.mid(12, 4) != "IHDR" || head.at(24) > 8)
        return false;
    for (int at = kPngSignatureSize; at + 8 <= head.size();) {
        const quint32 length = bigEndianAt(head, at);
        const QByteArray type = head.mid(at + 4, 4);
        if (type == "IDAT")
            return true;
        if (type == "gAMA" || type == "cHRM" || type == "iCCP" || type == "sRGB" ||
            length > quint32(kPngHeadSize))
            return false;
        at += 12 + int(length); // length, type, data, check sum
    }
    return false; // the picture data lies further than the head looked at
}

// Straight alpha to premultiplied, in place: what QImage's conversion does, without a
// second copy of the picture.
void premultiply(QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qPremultiply(line[x]);
    }
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage decodePng(const QByteArray &bytes) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(), size_t(bytes.size())))
        return QImage();
    if (png.width == 0 || png.height == 0 || png.width > kSkinImageMaxSide ||
        png.height > kSkinImageMaxSide) {
        png_image_free(&png);
        return QImage();
    }
    const bool transparent = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // QImage's 32-bit formats hold one native-endian word per pixel.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png.format = PNG_FORMAT_BGRA;
#else
    png.format = PNG_FORMAT_ARGB;
#endif
    // Without transparency every alpha byte comes out 255, as RGB32 wants.
    QImage image(int(png.width), int(png.height),
                 transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        png_image_free(&png);
        return QImage();
    }
    // The row stride counts components, which are bytes here.
    if (!png_image_finish_read(&png, nullptr, image.bits(), png_int_32(image.bytesPerLine()),
                               nullptr))
        return QImage();
    if (transparent)
        premultiply(image);
    return image;
}

quint16 u16At(const QByteArray &b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32At(const QByteArray &b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

// A 32-bit bitmap image of an icon file: a header, then the rows bottom up as blue, green,
// red, alpha (the transparency mask that follows them says nothing alpha does not).
QImage decodeIconBitmap(const QByteArray &entry) {
    if (entry.size() < 40)
        return QImage();
    const quint32 headerSize = u32At(entry, 0);
    const qint32 width = qint32(u32At(entry, 4));
    const qint32 height = qint32(u32At(entry, 8)) / 2; // colour rows and mask rows
    const quint16 bitCount = u16At(entry, 14);
    const quint32 compression = u32At(entry, 16);
    if (headerSize < 40 || bitCount != 32 || compression != 0 || width <= 0 || height <= 0 ||
        width > 256 || height > 256)
        return QImage();
    const qint64 rowBytes = qint64(width) * 4;
    if (qint64(headerSize) + rowBytes * height > entry.size())
        return QImage();
    QImage image(width, height, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const char *row = entry.constData() + headerSize + rowBytes * (height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const auto *p = reinterpret_cast<const uchar *>(row + x * 4);
            line[x] = qRgba(p[2], p[1], p[0], p[3]);
            anyAlpha = anyAlpha || p[3] != 0;
        }
    }
    // An old icon keeps its transparency in the mask alone: left to Qt's reader.
    if (!anyAlpha)
        return QImage();
    premultiply(image);
    return image;
}

QList<QImage> iconImages(const QByteArray &file, int maxSide) {
    QList<QImage> images;
    if (file.size() < 6 || u16At(file, 0) != 0 || u16At(file, 2) != 1)
        return images;
    const int count = u16At(file, 4);
    for (int i = 0; i < count; ++i) {
        const int at = 6 + 16 * i;
        if (at + 16 > file.size())
            break;
        // A width or height byte of 0 means 256.
        const int side = qMax(uchar(file.at(at)) ? uchar(file.at(at)) : 256,
                              uchar(file.at(at + 1)) ? uchar(file.at(at + 1)) : 256);
        const quint32 size = u32At(file, at + 8);
        const quint32 offset = u32At(file, at + 12);
        if (side > maxSide || offset > quint32(file.size()) || size > quint32(file.size()) - offset)
            continue;
        const QByteArray entry = file.mid(int(offset), int(size));
        QImage image = isPlainPng(entry.left(kPngHeadSize)) ? decodePng(entry)
                       : startsAsPng(entry)                 ? QImage()
                                                            : decodeIconBitmap(entry);
        if (!image.isNull() && qMax(image.width(), image.height()) <= maxSide)
            images.append(std::move(image));
    }
    return images;
}

QByteArray readWhole(QIODevice *device) {
    if (!device || !device->isReadable())
        return QByteArray();
    if (!device->isSequential())
        return device->size() - device->pos() > kMaxPictureFileSize ? QByteArray()
                                                                    : device->readAll();
    // read(n) would reserve all n bytes at once: a stream is read a piece at a time.
    QByteArray bytes;
    char piece[16384];
    qint64 got = 0;
    while ((got = device->read(piece, sizeof piece)) > 0) {
        if (bytes.size() + got > kMaxPictureFileSize)
            return QByteArray();
        bytes.append(piece, int(got));
    }
    return bytes;
}

// The PNG reader offered to QImageReader for the "png" suffix (see the header).
class SkinPngHandler : public QImageIOHandler {
public:
    bool canRead() const override {
        if (!device() || !isPlainPng(device()->peek(kPngHeadSize)))
            return false;
        setFormat("png");
        return true;
    }
    bool read(QImage *image) override {
        QImage decoded = readPngImage(device());
        if (decoded.isNull())
            return false;
        *image = std::move(decoded);
        return true;
    }
};

class SkinPngPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "SkinPng.json")
public:
    Capabilities capabilities(QIODevice *device, const QByteArray &format) const override {
        // Asked without a file, it reads PNG; with one, only a plain PNG (see above). Any
        // other file goes on to Qt's readers.
        if (!device)
            return format == "png" ? CanRead : Capabilities();
        if ((format.isEmpty() || format == "png") && device->isReadable() &&
            isPlainPng(device->peek(kPngHeadSize)))
            return CanRead;
        return {};
    }
    QImageIOHandler *create(QIODevice *device, const QByteArray &format) const override {
        auto *handler = new SkinPngHandler;
        handler->setDevice(device);
        handler->setFormat(format.isEmpty() ? QByteArray("png") : format);
        return handler;
    }
};

} // namespace

Q_IMPORT_PLUGIN(SkinPngPlugin)

QImage readPngImage(QIODevice *device) {
    const QByteArray bytes = readWhole(device);
    return isPlainPng(bytes.left(kPngHeadSize)) ? decodePng(bytes) : QImage();
}

QImage readSkinImage(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    if (isPlainPng(file.peek(kPngHeadSize)))
        return readPngImage(&file);
    file.close();
    return QImage(path);
}

QPixmap readSkinPixmap(const QString &path) {
    // A picture already in the screen's form becomes the pixmap without a copy.
    return QPixmap::fromImage(readSkinImage(path));
}

QIcon readSkinIcon(const QString &path, int maxSide) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    QIcon icon;
    if (path.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive)) {
        const QList<QImage> images = iconImages(readWhole(&file), maxSide);
        for (const QImage &image : images)
            icon.addPixmap(QPixmap::fromImage(image));
        // An icon file of another kind is still shown, through Qt's reader.
        return images.isEmpty() ? QIcon(path) : icon;
    }
    file.close();
    const QPixmap pixmap = readSkinPixmap(path);
    if (!pixmap.isNull())
        icon.addPixmap(pixmap);
    return icon;
}

QIcon resourceIcon(const QString &name) {
    return QFile::exists(name) ? readSkinIcon(name) : QIcon();
}

#include "SkinImage.moc"
