// The reader of skin pictures: what it decodes must equal what Qt's reader gives, what it
// cannot read must be left to Qt or refused, and a picture must not make the program load
// every image format plugin.
#include "SkinImage.h"

#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// A picture with every alpha from 0 to 255 and colours that differ in each channel.
QImage testPattern(QImage::Format format) {
    QImage image(64, 16, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 4, y * 16, 255 - x * 4, (y * 64 + x) & 0xff));
    return image.convertToFormat(format);
}

bool mapsImageFormatPlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("plugins/imageformats");
}

} // namespace

class TestSkinImage : public QObject {
    Q_OBJECT

private slots:
    // First: Qt's PNG writer, used by the other cases, loads every plugin itself.
    void aSkinPictureLoadsNoImagePlugin() {
        const QPixmap back(QStringLiteral(MOUSECFG_APP_DIR "/skin/cfgMainback.png"));
        QCOMPARE(back.size(), QSize(999, 640));
        QVERIFY(back.hasAlphaChannel());
        QVERIFY(!readSkinIcon(QStringLiteral(MOUSECFG_APP_DIR "/skin/icon.ico")).isNull());
        QVERIFY(!mapsImageFormatPlugins());
    }

    void pngReadsAsQtReadsIt() {
        QTemporaryDir dir;
        // Written by Qt's own PNG writer: RGBA, RGB, grey and palette files.
        const QList<QPair<QImage::Format, QImage::Format>> kinds = {
            {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied},
            {QImage::Format_RGB32, QImage::Format_RGB32},
            {QImage::Format_Grayscale8, QImage::Format_RGB32},
            {QImage::Format_Indexed8, QImage::Format_ARGB32_Premultiplied},
        };
        int n = 0;
        for (const auto &kind : kinds) {
            const QImage source = testPattern(kind.first);
            const QString path = dir.filePath(QStringLiteral("p%1.png").arg(n++));
            QVERIFY(source.save(path, "PNG"));
            const QImage expected = source.convertToFormat(kind.second);
            // Read directly, and through QPixmap, which finds the reader by the suffix.
            const QImage direct = readSkinImage(path);
            QCOMPARE(direct.format(), kind.second);
            QCOMPARE(direct, expected);
            QCOMPARE(QPixmap(path).toImage().convertToFormat(kind.second), expected);
        }
    }

    void damagedOrUnusualFilesAreRefusedOrLeftToQt() {
        QTemporaryDir dir;
        const QImage source = testPattern(QImage::Format_ARGB32);
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(source.save(&buffer, "PNG"));
        }
        // Cut short: nothing, and no crash.
        QBuffer cut;
        cut.setData(png.left(png.size() / 2));
        cut.open(QIODevice::ReadOnly);
        QVERIFY(readPngImage(&cut).isNull());
        // A header claiming a picture larger than any of ours is refused before decoding.
        QByteArray huge = png;
        qToBigEndian<quint32>(100000, huge.data() + 16);
        QBuffer hugeBuffer(&huge);
        hugeBuffer.open(QIODevice::ReadOnly);
        QVERIFY(readPngImage(&hugeBuffer).isNull());
        // 16 bits a channel: left to Qt's reader, which gives what it always gave.
        const QString deep = dir.filePath(QStringLiteral("deep.png"));
        QVERIFY(testPattern(QImage::Format_RGBA64).save(deep, "PNG"));
        const QImage deepRead = readSkinImage(deep);
        QVERIFY(!deepRead.isNull());
        QCOMPARE(deepRead.convertToFormat(QImage::Format_ARGB32),
                 testPattern(QImage::Format_ARGB32));
    }

    void iconKeepsItsSizesUpToTheLimit() {
        // Our icon: PNG and 32-bit bitmap images of seven sizes.
        const QString path = QStringLiteral(MOUSECFG_APP_DIR "/skin/icon.ico");
        const QIcon all = readSkinIcon(path);
        QCOMPARE(all.availableSizes().size(), 7);
        const QIcon small = readSkinIcon(path, 64);
        QCOMPARE(small.availableSizes().size(), 5);
        for (const QSize &size : small.availableSizes())
            QVERIFY(size.width() <= 64);
        // Pixels agree with Qt's icon reader for the same size.
        const QImage ours = small.pixmap(QSize(48, 48)).toImage();
        const QImage qts = QIcon(path).pixmap(QSize(48, 48)).toImage();
        QCOMPARE(ours.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 qts.convertToFormat(QImage::Format_ARGB32_Premultiplied));

        // A directory entry that points past the end of the file is passed over.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray broken = file.readAll();
        qToLittleEndian<quint32>(quint32(broken.size()), broken.data() + 6 + 12);
        QTemporaryDir dir;
        QFile out(dir.filePath(QStringLiteral("broken.ico")));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(broken) == broken.size());
        out.close();
        QCOMPARE(readSkinIcon(out.fileName()).availableSizes().size(), 6);
    }
};

QTEST_MAIN(TestSkinImage)
#include "tst_skinimage.moc"
