// SPDX-License-Identifier: GPL-3.0-or-later
// The skin renderer: the SVG features it adds to QSvgRenderer (blur, offset, clipping, layers),
// its refusals, and the ICO and GIF files it writes, read back through Qt's own readers.
#include "ImageFiles.h"
#include "SvgLayers.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

namespace {

QByteArray svg(const QByteArray &defs, const QByteArray &body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" "
           "viewBox=\"0 0 100 100\"><defs>" +
           defs + "</defs>" + body + "</svg>";
}

QImage render(const QByteArray &doc, QSize size = QSize(100, 100), const QString &layer = {},
              QString *errorOut = nullptr) {
    skin::RenderOptions o;
    o.size = size;
    o.layer = layer;
    QString error;
    const QImage img = skin::renderSvg(doc, o, &error);
    if (errorOut)
        *errorOut = error;
    return img.convertToFormat(QImage::Format_ARGB32);
}

qint64 alphaSum(const QImage &img) {
    qint64 sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            sum += qAlpha(img.pixel(x, y));
    return sum;
}

const QByteArray kBlur = "<filter id=\"b\"><feGaussianBlur stdDeviation=\"4\"/></filter>";

} // namespace

class TestRender : public QObject {
    Q_OBJECT

private slots:
    void plainDocumentDrawsAsQtDoes();
    void blurSpreadsAndKeepsCoverage();
    void blurScalesWithTheOutputSize();
    void offsetMovesTheLayer();
    void clipPathCutsAfterTheFilter();
    void layersKeepTheirPlaceInThePaintingOrder();
    void groupOpacityAppliesToTheWholeLayer();
    void dataLayersAreDrawnOnlyWhenAsked();
    void refusesWhatItCannotDraw_data();
    void refusesWhatItCannotDraw();
    void turnRotatesAboutTheCentre();
    void icoRoundTripsThroughQt();
    void gifRoundTripsThroughQt();
    void gifReducesManyColoursClosely();
    void gifKeepsFewColoursExactly();
};

void TestRender::plainDocumentDrawsAsQtDoes() {
    const QImage img = render(svg("", "<rect x=\"10\" y=\"20\" width=\"30\" height=\"40\" "
                                      "fill=\"#00beff\"/>"),
                              QSize(200, 200));
    QCOMPARE(img.size(), QSize(200, 200));
    QCOMPARE(img.pixel(50, 80), qRgb(0, 190, 255)); // inside, scaled 2x
    QCOMPARE(qAlpha(img.pixel(10, 10)), 0);
    QCOMPARE(qAlpha(img.pixel(90, 80)), 0); // right of it
}

void TestRender::blurSpreadsAndKeepsCoverage() {
    const QByteArray sharp = svg("", "<rect x=\"40\" y=\"40\" width=\"20\" height=\"20\"/>");
    const QByteArray soft =
        svg(kBlur, "<rect x=\"40\" y=\"40\" width=\"20\" height=\"20\" filter=\"url(#b)\"/>");
    const QImage a = render(sharp);
    const QImage b = render(soft);
    // Soft edges: partly transparent outside the square, still dense in its middle.
    QCOMPARE(qAlpha(a.pixel(36, 50)), 0);
    QVERIFY(qAlpha(b.pixel(36, 50)) > 20 && qAlpha(b.pixel(36, 50)) < 200);
    QVERIFY(qAlpha(b.pixel(50, 50)) > 200);
    QCOMPARE(qAlpha(b.pixel(20, 50)), 0); // beyond three deviations
    // A blur moves coverage around but neither creates nor loses it.
    const double ratio = double(alphaSum(b)) / double(alphaSum(a));
    QVERIFY2(ratio > 0.97 && ratio < 1.03, qPrintable(QString::number(ratio)));
    // Symmetric: the same on all four sides.
    QVERIFY(qAbs(qAlpha(b.pixel(36, 50)) - qAlpha(b.pixel(63, 50))) <= 2);
    QVERIFY(qAbs(qAlpha(b.pixel(50, 36)) - qAlpha(b.pixel(50, 63))) <= 2);
    QVERIFY(qAbs(qAlpha(b.pixel(36, 50)) - qAlpha(b.pixel(50, 36))) <= 2);
}

void TestRender::blurScalesWithTheOutputSize() {
    // stdDeviation is in document units: at 2x the soft edge is twice as wide in pixels.
    const QByteArray doc =
        svg(kBlur, "<rect x=\"40\" y=\"40\" width=\"20\" height=\"20\" filter=\"url(#b)\"/>");
    const QImage one = render(doc);
    const QImage two = render(doc, QSize(200, 200));
    for (int d : {2, 4, 6})
        QVERIFY(qAbs(qAlpha(one.pixel(40 - d, 50)) - qAlpha(two.pixel(80 - 2 * d, 100))) <= 6);
}

void TestRender::offsetMovesTheLayer() {
    const QImage img =
        render(svg("<filter id=\"s\"><feOffset dx=\"10\" dy=\"-5\"/></filter>",
                   "<rect x=\"20\" y=\"20\" width=\"10\" height=\"10\" fill=\"#ff0000\" "
                   "filter=\"url(#s)\"/>"));
    QCOMPARE(qAlpha(img.pixel(25, 25)), 0);
    QCOMPARE(img.pixel(35, 20), qRgb(255, 0, 0));
}

void TestRender::clipPathCutsAfterTheFilter() {
    // A blurred stroke clipped to its rectangle: the inner shadow of the artwork's wells.
    const QImage img = render(
        svg(kBlur + "<clipPath id=\"c\"><rect x=\"20\" y=\"20\" width=\"60\" height=\"60\"/>"
                    "</clipPath>",
            "<rect x=\"20\" y=\"20\" width=\"60\" height=\"60\" fill=\"none\" stroke=\"#000\" "
            "stroke-width=\"8\" filter=\"url(#b)\" clip-path=\"url(#c)\"/>"));
    QCOMPARE(qAlpha(img.pixel(17, 50)), 0); // outside the clip, where the blur would reach
    QCOMPARE(qAlpha(img.pixel(50, 10)), 0);
    QVERIFY(qAlpha(img.pixel(22, 50)) > 100); // inside, near the edge
    QVERIFY(qAlpha(img.pixel(30, 50)) > 5);   // the blur reaches in
    QCOMPARE(qAlpha(img.pixel(50, 50)), 0);
}

void TestRender::layersKeepTheirPlaceInThePaintingOrder() {
    // red below a filtered green below blue: layers composite where they stand in the document
    const QImage img =
        render(svg("<filter id=\"n\"><feOffset dx=\"0\" dy=\"0\"/></filter>",
                   "<rect x=\"0\" y=\"0\" width=\"100\" height=\"100\" fill=\"#ff0000\"/>"
                   "<rect x=\"20\" y=\"20\" width=\"60\" height=\"60\" fill=\"#00ff00\" "
                   "filter=\"url(#n)\"/>"
                   "<rect x=\"40\" y=\"40\" width=\"20\" height=\"20\" fill=\"#0000ff\"/>"));
    QCOMPARE(img.pixel(5, 5), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(25, 25), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(50, 50), qRgb(0, 0, 255));
}

void TestRender::groupOpacityAppliesToTheWholeLayer() {
    // Two overlapping squares in a filtered group at half opacity: the overlap is no darker,
    // because the group is composed first and faded as one.
    const QImage img = render(svg("<filter id=\"n\"><feOffset dx=\"0\" dy=\"0\"/></filter>",
                                  "<g opacity=\"0.5\" filter=\"url(#n)\">"
                                  "<rect x=\"10\" y=\"10\" width=\"50\" height=\"50\"/>"
                                  "<rect x=\"30\" y=\"30\" width=\"50\" height=\"50\"/></g>"));
    QVERIFY(qAbs(qAlpha(img.pixel(20, 20)) - 128) <= 2);
    QVERIFY(qAbs(qAlpha(img.pixel(45, 45)) - 128) <= 2);
}

void TestRender::dataLayersAreDrawnOnlyWhenAsked() {
    const QByteArray doc =
        svg("", "<rect x=\"0\" y=\"0\" width=\"50\" height=\"100\" fill=\"#ff0000\"/>"
                "<rect data-layer=\"glow\" display=\"none\" x=\"50\" y=\"0\" width=\"50\" "
                "height=\"100\" fill=\"#00ff00\"/>"
                "<rect data-layer=\"other\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" "
                "fill=\"#0000ff\"/>");
    const QImage plain = render(doc);
    QCOMPARE(plain.pixel(20, 50), qRgb(255, 0, 0));
    QCOMPARE(plain.pixel(5, 5), qRgb(255, 0, 0)); // no layer drawn
    QCOMPARE(qAlpha(plain.pixel(75, 50)), 0);
    const QImage glow = render(doc, QSize(100, 100), QStringLiteral("glow"));
    QCOMPARE(glow.pixel(75, 50), qRgb(0, 255, 0));
    QCOMPARE(qAlpha(glow.pixel(20, 50)), 0); // only that layer
    QCOMPARE(qAlpha(glow.pixel(5, 5)), 0);
    QString error;
    QVERIFY(render(doc, QSize(100, 100), QStringLiteral("missing"), &error).isNull());
    QVERIFY(error.contains(QLatin1String("missing")));
}

void TestRender::refusesWhatItCannotDraw_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("nested filter")
        << svg(kBlur, "<g><rect width=\"10\" height=\"10\" filter=\"url(#b)\"/></g>")
        << "direct children";
    QTest::newRow("filter in style")
        << svg(kBlur, "<rect width=\"10\" height=\"10\" style=\"filter:url(#b)\"/>")
        << "attributes";
    QTest::newRow("unknown filter")
        << svg("", "<rect width=\"10\" height=\"10\" filter=\"url(#nope)\"/>") << "nope";
    QTest::newRow("other primitive")
        << svg("<filter id=\"m\"><feMorphology radius=\"2\"/></filter>",
               "<rect width=\"10\" height=\"10\" filter=\"url(#m)\"/>")
        << "feMorphology";
    QTest::newRow("mask") << svg("<mask id=\"m\"/>", "<rect width=\"10\" height=\"10\" "
                                                     "mask=\"url(#m)\"/>")
                          << "mask";
    QTest::newRow("unresolved paint")
        << svg("", "<rect width=\"10\" height=\"10\" fill=\"url(#nothing)\"/>") << "complained";
    QTest::newRow("not svg") << QByteArray("<html/>") << "root";
    QTest::newRow("broken xml") << QByteArray("<svg") << "XML";
}

void TestRender::refusesWhatItCannotDraw() {
    QFETCH(QByteArray, doc);
    QFETCH(QString, complaint);
    QString error;
    const QImage img = render(doc, QSize(20, 20), {}, &error);
    QVERIFY(img.isNull());
    QVERIFY2(error.contains(complaint), qPrintable(error));
}

void TestRender::turnRotatesAboutTheCentre() {
    const QByteArray doc = svg("", "<rect x=\"45\" y=\"5\" width=\"10\" height=\"20\"/>");
    skin::RenderOptions o;
    o.size = QSize(100, 100);
    o.turnDeg = 90; // clockwise: the bar at the top goes to the right
    QString error;
    const QImage img = skin::renderSvg(doc, o, &error).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(img.pixel(50, 15)), 0);
    QCOMPARE(qAlpha(img.pixel(85, 50)), 255);
}

void TestRender::icoRoundTripsThroughQt() {
    QVector<QImage> images;
    for (int side : {16, 32, 256}) {
        QImage img(side, side, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        for (int y = side / 4; y < side * 3 / 4; ++y)
            for (int x = side / 4; x < side * 3 / 4; ++x)
                img.setPixel(x, y, qRgba(10, 190, 250, x % 2 ? 255 : 128));
        images.push_back(img);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(skin::writeIco(&buffer, images, &error));
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QCOMPARE(reader.imageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(back.size(), images[i].size());
        const int s = back.width();
        QCOMPARE(qAlpha(back.pixel(0, 0)), 0);
        QCOMPARE(back.pixel(s / 2 + 1, s / 2), qRgba(10, 190, 250, 255));
        QCOMPARE(qAlpha(back.pixel(s / 2, s / 2)), 128);
    }
    // Icons are square and at most 256 pixels.
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QVERIFY(!skin::writeIco(&sink, {QImage(300, 300, QImage::Format_ARGB32)}, &error));
    QVERIFY(!skin::writeIco(&sink, {QImage(16, 8, QImage::Format_ARGB32)}, &error));
}

void TestRender::gifRoundTripsThroughQt() {
    // Three frames of a square walking right, soft-edged, on transparency.
    QVector<QImage> frames;
    for (int i = 0; i < 3; ++i) {
        QImage f(40, 20, QImage::Format_ARGB32);
        f.fill(Qt::transparent);
        for (int y = 5; y < 15; ++y)
            for (int x = 5 + 10 * i; x < 15 + 10 * i; ++x)
                f.setPixel(x, y, qRgba(0, 190, 255, 255));
        f.setPixel(4 + 10 * i, 10, qRgba(0, 190, 255, 100));    // below half: dropped
        f.setPixel(15 + 10 * i, 10, qRgba(255, 255, 255, 200)); // above: mixed with the matte
        frames.push_back(f);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(skin::writeGif(&buffer, frames, 50, QColor(0, 0, 0), &error));
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    QVERIFY(reader.supportsAnimation());
    QCOMPARE(reader.imageCount(), 3);
    QCOMPARE(reader.loopCount(), -1); // forever
    for (int i = 0; i < 3; ++i) {
        const QImage f = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(reader.nextImageDelay(), 50);
        QCOMPARE(f.size(), QSize(40, 20));
        QCOMPARE(f.pixel(10 + 10 * i, 10), qRgb(0, 190, 255));
        QCOMPARE(qAlpha(f.pixel(4 + 10 * i, 10)), 0);
        const QRgb mixed = f.pixel(15 + 10 * i, 10);
        QCOMPARE(qAlpha(mixed), 255);
        QVERIFY(qAbs(qRed(mixed) - 200) <= 2); // 200/255 of white over black
        // The previous frame's square is gone, not left behind.
        if (i > 0)
            QCOMPARE(qAlpha(f.pixel(6 + 10 * (i - 1), 10)), 0);
    }
}

void TestRender::gifReducesManyColoursClosely() {
    // A 64 x 64 frame with 4096 colours must fit 255 palette entries without visible error.
    QImage f(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            f.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(skin::writeGif(&buffer, {f, f}, 40, QColor(0, 0, 0), &error));
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(back.size(), f.size());
    int worst = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb a = f.pixel(x, y);
            const QRgb b = back.pixel(x, y);
            worst = qMax(worst, qMax(qAbs(qRed(a) - qRed(b)),
                                     qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b)))));
        }
    QVERIFY2(worst <= 24, qPrintable(QString::number(worst)));
}

void TestRender::gifKeepsFewColoursExactly() {
    // Noise from 200 colours: no reduction, so every pixel must come back as it was; a long,
    // poorly compressible stream also runs the code table full and restarts it many times.
    QVector<QRgb> colours;
    for (int i = 0; i < 200; ++i)
        colours.push_back(qRgb((i * 37) % 256, (i * 91) % 256, (i * 13) % 256));
    QImage f(256, 256, QImage::Format_ARGB32);
    quint32 noise = 12345;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            noise = noise * 1103515245u + 12345u;
            f.setPixel(x, y, colours[(noise >> 16) % 200]);
        }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(skin::writeGif(&buffer, {f}, 40, QColor(0, 0, 0), &error));
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    const QImage back = reader.read().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(back, f);
}

// Pictures only: no window system needed.
QTEST_GUILESS_MAIN(TestRender)
#include "tst_render.moc"
