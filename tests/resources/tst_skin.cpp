// SPDX-License-Identifier: GPL-3.0-or-later
// The rendered skin as the program finds it after a build: every picture of the manifest at its
// size, the window shape of the background, the icon, the compiled-in resources and the button
// centres of the model pictures.
#include "ModelSpots.h"
#include "Resources.h"

#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <iterator>

namespace {

struct ManifestEntry {
    QString output; // skin/... or qrc/...
    QString source;
    QString pixels; // WxH or a list of icon sizes
    QStringList options;
};

QList<ManifestEntry> readManifest() {
    QList<ManifestEntry> entries;
    QFile f(QStringLiteral(MOUSECFG_SOURCE_DIR "/resources/skin.manifest"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return entries;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split(QRegularExpression("\\s+"));
        if (fields.size() < 3)
            continue;
        entries.push_back({fields[0], fields[1], fields[2], fields.mid(3)});
    }
    return entries;
}

QString builtPath(const QString &output) {
    if (output.startsWith(QLatin1String("qrc/")))
        return QStringLiteral(MOUSECFG_QRC_DIR "/") + output;
    return QStringLiteral(MOUSECFG_APP_DIR "/") + output;
}

QImage skinImage(const QString &name) {
    return QImage(QStringLiteral(MOUSECFG_APP_DIR "/skin/") + name)
        .convertToFormat(QImage::Format_ARGB32);
}

// The window outline of the background: a rounded panel 4 px inside the picture with a
// chamfered bottom-right corner.
QPainterPath windowOutline() {
    QPainterPath p;
    p.moveTo(18, 4);
    p.lineTo(981, 4);
    p.arcTo(QRectF(967, 4, 28, 28), 90, -90);
    p.lineTo(995, 598);
    p.lineTo(957, 636);
    p.lineTo(18, 636);
    p.arcTo(QRectF(4, 608, 28, 28), 270, -90);
    p.lineTo(4, 18);
    p.arcTo(QRectF(4, 4, 28, 28), 180, -90);
    p.closeSubpath();
    return p;
}

// The outline filled without antialiasing: 1 inside, 0 outside.
QImage outlineMask(QSize size) {
    QImage mask(size, QImage::Format_Grayscale8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(windowOutline(), QColor(1, 1, 1));
    return mask;
}

// Centres of the "spot-N" circles of a model picture's source, in design units.
QMap<int, QPoint> spotsInSource(const QString &relative) {
    QMap<int, QPoint> spots;
    QFile f(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/skin-src/") + relative);
    QDomDocument doc;
    if (!f.open(QIODevice::ReadOnly) || !doc.setContent(&f))
        return spots;
    const QDomNodeList circles = doc.elementsByTagName(QStringLiteral("circle"));
    for (int i = 0; i < circles.size(); ++i) {
        const QDomElement c = circles.at(i).toElement();
        const QString id = c.attribute(QStringLiteral("id"));
        if (!id.startsWith(QLatin1String("spot-")))
            continue;
        spots.insert(id.mid(5).toInt(), QPoint(qRound(c.attribute("cx").toDouble()),
                                               qRound(c.attribute("cy").toDouble())));
    }
    return spots;
}

int alphaAt(const QImage &img, QPoint p) {
    return qAlpha(img.pixel(p));
}

} // namespace

class TestSkin : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyManifestPictureIsBuilt_data();
    void everyManifestPictureIsBuilt();
    void pictureSizesTheProgramLaysOut_data();
    void pictureSizesTheProgramLaysOut();
    void backgroundOutlineGivesTheWindowShape();
    void dialogBackgroundsAreOpaquePanels();
    void iconHoldsSeveralSizes();
    void loadingAnimationPlays();
    void messageBoxIconsLoad();
    void spotTablesMatchTheArtwork();
    void glowPicturesLightTheirOwnButton();
};

void TestSkin::initTestCase() {
    initMousecfgResources();
    QVERIFY2(!readManifest().isEmpty(), "skin.manifest is missing or empty");
}

void TestSkin::everyManifestPictureIsBuilt_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pixels");
    for (const ManifestEntry &e : readManifest())
        QTest::newRow(qPrintable(e.output)) << builtPath(e.output) << e.pixels;
}

void TestSkin::everyManifestPictureIsBuilt() {
    QFETCH(QString, path);
    QFETCH(QString, pixels);
    QVERIFY2(QFileInfo::exists(path), qPrintable(path + " was not rendered"));
    QImageReader reader(path);
    if (path.endsWith(QLatin1String(".ico"))) {
        // One image per listed size, in the listed order.
        const QStringList sizes = pixels.split(',');
        QCOMPARE(reader.imageCount(), sizes.size());
        for (int i = 0; i < sizes.size(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage img = reader.read();
            QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
            QCOMPARE(img.size(), QSize(sizes[i].toInt(), sizes[i].toInt()));
        }
        return;
    }
    const QStringList wh = pixels.split('x');
    QCOMPARE(wh.size(), 2);
    const QImage img = reader.read();
    QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(img.size(), QSize(wh[0].toInt(), wh[1].toInt()));
    // Nothing is blank: every picture draws something.
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    bool drawn = false;
    for (int y = 0; y < argb.height() && !drawn; ++y)
        for (int x = 0; x < argb.width() && !drawn; ++x)
            drawn = qAlpha(argb.pixel(x, y)) > 0;
    QVERIFY2(drawn, "the picture is fully transparent");
}

void TestSkin::pictureSizesTheProgramLaysOut_data() {
    // The program's own layout sizes; the mouse pictures are drawn at twice their layout size.
    QTest::addColumn<QString>("output");
    QTest::addColumn<QSize>("size");
    const struct {
        const char *name;
        int w;
        int h;
    } pictures[] = {
        {"cfgMainback.png", 999, 640},
        {"bat1.png", 86, 47},
        {"bat2.png", 86, 47},
        {"tabbutton-1.png", 210, 44},
        {"tabbutton-2.png", 210, 44},
        {"tabbutton-3.png", 210, 44},
        {"profile-1.png", 210, 32},
        {"profile-2.png", 210, 32},
        {"profile-3.png", 210, 32},
        {"button-1.png", 90, 28},
        {"button-2.png", 90, 28},
        {"button-3.png", 90, 28},
        {"button-4.png", 90, 28},
        {"close-1.png", 30, 30},
        {"close-2.png", 30, 30},
        {"close-3.png", 30, 30},
        {"min-1.png", 30, 30},
        {"min-2.png", 30, 30},
        {"min-3.png", 30, 30},
        {"library-1.png", 26, 26},
        {"library-2.png", 26, 26},
        {"library-3.png", 26, 26},
        {"mousesel.png", 100, 20},
        {"lang.png", 90, 26},
        {"spot-1.png", 22, 22},
        {"spot-2.png", 22, 22},
        {"spot-3.png", 22, 22},
        {"btn_up1.png", 28, 20},
        {"btn_up2.png", 28, 20},
        {"btn_up3.png", 28, 20},
        {"btn_up4.png", 28, 20},
        {"btn_down1.png", 28, 20},
        {"btn_down2.png", 28, 20},
        {"btn_down3.png", 28, 20},
        {"btn_down4.png", 28, 20},
        {"lightning.png", 26, 40},
        {"dongle.png", 48, 48},
        {"mouselogo.png", 200, 50},
        {"dlg.png", 478, 309},
        {"warn.png", 45, 45},
        {"dongle2.png", 45, 45},
        {"process.png", 300, 160},
        {"mouse/TOLV/Mouse.png", 600, 800},
        {"mouse/TOLV_Side.png", 600, 600},
    };
    for (const auto &p : pictures)
        QTest::newRow(p.name) << QStringLiteral("skin/") + p.name << QSize(p.w, p.h);
    for (int i = 1; i <= 6; ++i)
        QTest::addRow("mouse_%d", i)
            << QStringLiteral("skin/mouse/TOLV/mouse_%1.png").arg(i) << QSize(600, 800);
    QTest::newRow("yes_Btn") << QStringLiteral("qrc/yes_Btn.png") << QSize(40, 40);
    QTest::newRow("no_Btn") << QStringLiteral("qrc/no_Btn.png") << QSize(40, 40);
    QTest::newRow("loading") << QStringLiteral("qrc/loading.gif") << QSize(64, 64);
}

void TestSkin::pictureSizesTheProgramLaysOut() {
    QFETCH(QString, output);
    QFETCH(QSize, size);
    const QList<ManifestEntry> manifest = readManifest();
    const auto it = std::find_if(manifest.begin(), manifest.end(),
                                 [&](const ManifestEntry &e) { return e.output == output; });
    QVERIFY2(it != manifest.end(), qPrintable(output + " is not in the manifest"));
    QCOMPARE(it->pixels, QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
    QCOMPARE(QImageReader(builtPath(output)).size(), size);
}

void TestSkin::backgroundOutlineGivesTheWindowShape() {
    const QImage bg = skinImage(QStringLiteral("cfgMainback.png"));
    QCOMPARE(bg.size(), QSize(999, 640));
    const QImage mask = outlineMask(bg.size());
    // Away from the outline's antialiased edge every pixel is either fully transparent (outside)
    // or fully opaque (inside), so the program's window mask follows the outline exactly.
    int outside = 0;
    int inside = 0;
    for (int y = 2; y < bg.height() - 2; ++y) {
        for (int x = 2; x < bg.width() - 2; ++x) {
            const int m = mask.constScanLine(y)[x];
            bool nearEdge = false;
            for (int dy = -2; dy <= 2 && !nearEdge; ++dy)
                for (int dx = -2; dx <= 2 && !nearEdge; ++dx)
                    nearEdge = mask.constScanLine(y + dy)[x + dx] != m;
            if (nearEdge)
                continue;
            const int a = qAlpha(bg.pixel(x, y));
            if (m) {
                ++inside;
                if (a != 255)
                    QFAIL(qPrintable(
                        QString("inside pixel %1,%2 has alpha %3").arg(x).arg(y).arg(a)));
            } else {
                ++outside;
                if (a != 0)
                    QFAIL(qPrintable(
                        QString("outside pixel %1,%2 has alpha %3").arg(x).arg(y).arg(a)));
            }
        }
    }
    for (int x = 0; x < bg.width(); ++x)
        for (int y : {0, 1, bg.height() - 2, bg.height() - 1})
            QCOMPARE(qAlpha(bg.pixel(x, y)), 0);
    for (int y = 0; y < bg.height(); ++y)
        for (int x : {0, 1, bg.width() - 2, bg.width() - 1})
            QCOMPARE(qAlpha(bg.pixel(x, y)), 0);
    // The corners, the chamfer above all, are cut away.
    QVERIFY(outside > 300);
    QVERIFY(inside > 900 * 600);
    QCOMPARE(qAlpha(bg.pixel(990, 630)), 0);
    QCOMPARE(qAlpha(bg.pixel(6, 6)), 0);
    QCOMPARE(qAlpha(bg.pixel(960, 600)), 255);
}

void TestSkin::dialogBackgroundsAreOpaquePanels() {
    for (const char *name : {"dlg.png", "process.png"}) {
        const QImage img = skinImage(QString::fromLatin1(name));
        QVERIFY(!img.isNull());
        // Rounded corners on transparency, opaque everywhere a few pixels inside the edge.
        QVERIFY(alphaAt(img, QPoint(0, 0)) < 40);
        QVERIFY(alphaAt(img, QPoint(img.width() - 1, img.height() - 1)) < 40);
        QCOMPARE(alphaAt(img, QPoint(img.width() / 2, 0)), 255);
        for (int y = 8; y < img.height() - 8; y += 3)
            for (int x = 8; x < img.width() - 8; x += 3)
                if (alphaAt(img, QPoint(x, y)) != 255)
                    QFAIL(
                        qPrintable(QString("%1: pixel %2,%3 not opaque").arg(name).arg(x).arg(y)));
    }
}

void TestSkin::iconHoldsSeveralSizes() {
    QImageReader reader(QStringLiteral(MOUSECFG_APP_DIR "/skin/icon.ico"));
    QVERIFY(reader.imageCount() >= 5);
    QSet<int> sides;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage img = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!img.isNull(), qPrintable(reader.errorString()));
        sides.insert(img.width());
        // A tile on transparency: clear corner, opaque middle.
        QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255);
    }
    for (int side : {16, 32, 48, 256})
        QVERIFY2(sides.contains(side), qPrintable(QString("no %1 px image").arg(side)));
}

void TestSkin::loadingAnimationPlays() {
    QMovie movie(QStringLiteral(":/skin/loading.gif"));
    QVERIFY(movie.isValid());
    QVERIFY2(movie.frameCount() >= 12 && movie.frameCount() <= 24,
             qPrintable(QString::number(movie.frameCount())));
    QCOMPARE(movie.loopCount(), -1); // forever
    const QColor accent(0, 190, 255);
    QVector<int> opaqueCounts;
    QImage previous;
    for (int i = 0; i < movie.frameCount(); ++i) {
        QVERIFY(movie.jumpToFrame(i));
        QVERIFY(movie.nextFrameDelay() >= 20 && movie.nextFrameDelay() <= 100);
        const QImage frame = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(frame.size(), QSize(64, 64));
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);   // transparent around
        QCOMPARE(qAlpha(frame.pixel(32, 32)), 0); // and in the middle of the ring
        int opaque = 0;
        bool accentSeen = false;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb p = frame.pixel(x, y);
                if (qAlpha(p) == 0)
                    continue;
                ++opaque;
                accentSeen = accentSeen || (qAbs(qRed(p) - accent.red()) < 24 &&
                                            qAbs(qGreen(p) - accent.green()) < 24 &&
                                            qAbs(qBlue(p) - accent.blue()) < 24);
            }
        QVERIFY(accentSeen);
        opaqueCounts.push_back(opaque);
        if (!previous.isNull())
            QVERIFY2(frame != previous, "the spinner does not move between frames");
        previous = frame;
    }
    // Frames replace each other rather than pile up: the drawn area stays about the same.
    const auto [lo, hi] = std::minmax_element(opaqueCounts.begin(), opaqueCounts.end());
    QVERIFY2(*hi < *lo * 1.15, qPrintable(QString("%1 .. %2").arg(*lo).arg(*hi)));
}

void TestSkin::messageBoxIconsLoad() {
    for (const char *path : {":/yes_Btn", ":/no_Btn"}) {
        const QImage img = QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!img.isNull(), path);
        QCOMPARE(img.size(), QSize(40, 40));
        // A mark of clean strokes on transparency.
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                opaque += qAlpha(img.pixel(x, y)) == 255;
                clear += qAlpha(img.pixel(x, y)) == 0;
            }
        QVERIFY2(opaque > 40 && opaque < 800, qPrintable(QString::number(opaque)));
        QVERIFY(clear > 800);
    }
}

void TestSkin::spotTablesMatchTheArtwork() {
    const QMap<int, QPoint> top = spotsInSource(QStringLiteral("mouse/TOLV/Mouse.svg"));
    const QMap<int, QPoint> side = spotsInSource(QStringLiteral("mouse/TOLV_Side.svg"));
    QCOMPARE(top.size(), int(std::size(ModelSpots::kTopView)));
    for (const ModelSpots::Spot &s : ModelSpots::kTopView)
        QCOMPARE(top.value(s.button, QPoint(-1, -1)), QPoint(s.x, s.y));
    QCOMPARE(side.size(), int(std::size(ModelSpots::kSideView)));
    for (const ModelSpots::Spot &s : ModelSpots::kSideView)
        QCOMPARE(side.value(s.button, QPoint(-1, -1)), QPoint(s.x, s.y));
    // Every spot sits on the mouse itself, in the pictures as built (rendered at 2x).
    const QImage front = skinImage(QStringLiteral("mouse/TOLV/Mouse.png"));
    QCOMPARE(front.width(), 2 * ModelSpots::kTopViewWidth);
    QCOMPARE(front.height(), 2 * ModelSpots::kTopViewHeight);
    for (const ModelSpots::Spot &s : ModelSpots::kTopView)
        QCOMPARE(alphaAt(front, QPoint(2 * s.x, 2 * s.y)), 255);
    const QImage sideView = skinImage(QStringLiteral("mouse/TOLV_Side.png"));
    QCOMPARE(sideView.width(), 2 * ModelSpots::kSideViewWidth);
    QCOMPARE(sideView.height(), 2 * ModelSpots::kSideViewHeight);
    for (const ModelSpots::Spot &s : ModelSpots::kSideView)
        QCOMPARE(alphaAt(sideView, QPoint(2 * s.x, 2 * s.y)), 255);
}

void TestSkin::glowPicturesLightTheirOwnButton() {
    for (const ModelSpots::Spot &own : ModelSpots::kTopView) {
        const QImage glow = skinImage(QStringLiteral("mouse/TOLV/mouse_%1.png").arg(own.button));
        QCOMPARE(glow.size(), QSize(600, 800));
        const int ownAlpha = alphaAt(glow, QPoint(2 * own.x, 2 * own.y));
        QVERIFY2(
            ownAlpha >= 48,
            qPrintable(
                QString("mouse_%1 is dark at its own button (%2)").arg(own.button).arg(ownAlpha)));
        for (const ModelSpots::Spot &other : ModelSpots::kTopView) {
            if (other.button == own.button)
                continue;
            const int a = alphaAt(glow, QPoint(2 * other.x, 2 * other.y));
            QVERIFY2(a * 3 < ownAlpha, qPrintable(QString("mouse_%1 lights button %2 too (%3)")
                                                      .arg(own.button)
                                                      .arg(other.button)
                                                      .arg(a)));
        }
        // Only the button: the rest of the picture is clear, so it can lie over Mouse.png.
        QCOMPARE(alphaAt(glow, QPoint(0, 0)), 0);
        QCOMPARE(alphaAt(glow, QPoint(300, 680)), 0); // the palm
    }
}

// QMovie keeps its frames as pixmaps, so this runs as a GUI application (offscreen).
QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
