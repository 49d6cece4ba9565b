// SPDX-License-Identifier: GPL-3.0-or-later
// The reader of skin pictures: what it reads must equal what Qt's reader gives, in the form
// the screen draws, and a picture read at start-up must not make the program load every image
// format plugin.
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

// The image format plugins the process has loaded, by file name.
QStringList loadedImagePlugins() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    QStringList names;
    if (maps.open(QIODevice::ReadOnly))
        for (const QByteArray &line : maps.readAll().split('\n'))
            if (line.contains("plugins/imageformats/"))
                names.append(QFileInfo(QString::fromLatin1(line)).fileName());
    names.removeDuplicates();
    return names;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
}

} // namespace

class TestSkinImage : public QObject {
    Q_OBJECT

private slots:
    // First: Qt's PNG writer, used by the other cases, loads every plugin itself.
    void startPicturesLoadOnlyTheIcoPlugin() {
        // What the window reads at start: the background, and the icon up to 128 pixels, which
        // leaves out its one PNG image.
        const QPixmap back =
            readSkinPixmap(QStringLiteral(MOUSECFG_APP_DIR "/skin/cfgMainback.png"));
        QCOMPARE(back.size(), QSize(999, 640));
        QVERIFY(back.hasAlphaChannel());
        QCOMPARE(readSkinIcon(QStringLiteral(MOUSECFG_APP_DIR "/skin/icon.ico"), 128)
                     .availableSizes()
                     .size(),
                 6);
        QCOMPARE(loadedImagePlugins(), QStringList{QStringLiteral("libqico.so")});
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

    void pixmapIsSharedUntilItsFileChanges() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("button.png"));
        QVERIFY(testPattern(QImage::Format_ARGB32).save(path, "PNG"));
        const QPixmap first = readSkinPixmap(path);
        QCOMPARE(readSkinPixmap(path).cacheKey(), first.cacheKey());
        QImage other(8, 4, QImage::Format_RGB32);
        other.fill(Qt::blue);
        QVERIFY(other.save(path, "PNG"));
        QCOMPARE(readSkinPixmap(path).toImage(), other);
    }

    void damagedOrUnusualFilesAreRefusedOrReadAsQtReadsThem() {
        QTemporaryDir dir;
        const QImage source = testPattern(QImage::Format_ARGB32);
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(source.save(&buffer, "PNG"));
        }
        // Cut short: nothing, not the part decoded, and no crash.
        const QString cut = dir.filePath(QStringLiteral("cut.png"));
        QVERIFY(writeFile(cut, png.left(png.size() / 2)));
        QVERIFY(readSkinImage(cut).isNull());
        // Without a suffix, as compiled-in pictures are: told by the signature.
        const QString bare = dir.filePath(QStringLiteral("picture"));
        QVERIFY(writeFile(bare, png));
        QCOMPARE(readSkinImage(bare), source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        // Wider than any picture of ours: refused, though Qt would read it.
        const QString wide = dir.filePath(QStringLiteral("wide.png"));
        QImage wideImage(kSkinImageMaxSide + 1, 1, QImage::Format_RGB32);
        wideImage.fill(Qt::red);
        QVERIFY(wideImage.save(wide, "PNG"));
        QVERIFY(readSkinImage(wide).isNull());
        // 16 bits a channel: Qt's picture, brought to the screen's form.
        const QString deep = dir.filePath(QStringLiteral("deep.png"));
        QVERIFY(testPattern(QImage::Format_RGBA64).save(deep, "PNG"));
        QCOMPARE(readSkinImage(deep),
                 QImage(deep).convertToFormat(QImage::Format_ARGB32_Premultiplied));
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
