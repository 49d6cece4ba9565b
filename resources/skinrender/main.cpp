// SPDX-License-Identifier: GPL-3.0-or-later
// skinrender: renders one SVG source of the skin to a PNG, a multi-size ICO or an animated GIF.
//
//   skinrender [--layer NAME] input.svg output.png WxH
//   skinrender input.svg output.ico 16,24,32,48,64,128,256
//   skinrender --frames 24 --delay-ms 40 --matte #16191c input.svg output.gif WxH
//
// The animation turns the picture once around its centre over all frames. The output is
// replaced only when rendering succeeded.

#include "ImageFiles.h"
#include "SvgLayers.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

int fail(const QString &message) {
    std::fprintf(stderr, "skinrender: %s\n", qPrintable(message));
    return 1;
}

bool parseSize(const QString &text, QSize *size) {
    const QStringList parts = text.split('x');
    if (parts.size() != 2)
        return false;
    bool okW = false;
    bool okH = false;
    *size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
    return okW && okH && size->width() > 0 && size->height() > 0 && size->width() <= 8192 &&
           size->height() <= 8192;
}

} // namespace

int main(int argc, char *argv[]) {
    // Rendering into images needs no window system: no display on build machines, and no
    // platform plugin (the offscreen one of Qt 5.15 never frees its screen, which the
    // sanitizer build reports as a leak on every run).
    QCoreApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription("Renders a skin SVG to PNG, ICO or animated GIF.");
    parser.addHelpOption();
    const QCommandLineOption layerOpt("layer", "Draw only the children with data-layer=NAME.",
                                      "NAME");
    const QCommandLineOption framesOpt("frames", "GIF: number of frames of one turn.", "N", "24");
    const QCommandLineOption delayOpt("delay-ms", "GIF: time per frame.", "MS", "40");
    const QCommandLineOption matteOpt("matte", "GIF: colour behind soft edges.", "COLOUR",
                                      "#000000");
    parser.addOptions({layerOpt, framesOpt, delayOpt, matteOpt});
    parser.addPositionalArgument("input", "SVG source.");
    parser.addPositionalArgument("output", "PNG, ICO or GIF file.");
    parser.addPositionalArgument("size", "WxH, or the list of icon sizes for an ICO.");
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 3)
        return fail("expected: input.svg output size");
    const QString input = args[0];
    const QString output = args[1];
    const QString suffix = QFileInfo(output).suffix().toLower();

    QFile source(input);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QString("%1: %2").arg(input, source.errorString()));
    const QByteArray svg = source.readAll();

    skin::RenderOptions options;
    options.layer = parser.value(layerOpt);
    QString error;
    QSaveFile out(output);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QString("%1: %2").arg(output, out.errorString()));

    if (suffix == "ico") {
        QVector<QImage> images;
        for (const QString &s : args[2].split(',')) {
            bool ok = false;
            const int side = s.toInt(&ok);
            if (!ok || side < 1 || side > 256)
                return fail("icon sizes must be 1 to 256: " + args[2]);
            options.size = QSize(side, side);
            const QImage img = skin::renderSvg(svg, options, &error);
            if (img.isNull())
                return fail(QString("%1: %2").arg(input, error));
            images.push_back(img);
        }
        if (!skin::writeIco(&out, images, &error))
            return fail(QString("%1: %2").arg(output, error));
    } else {
        if (!parseSize(args[2], &options.size))
            return fail("bad size: " + args[2]);
        if (suffix == "gif") {
            bool okFrames = false;
            bool okDelay = false;
            const int frames = parser.value(framesOpt).toInt(&okFrames);
            const int delay = parser.value(delayOpt).toInt(&okDelay);
            const QColor matte(parser.value(matteOpt));
            if (!okFrames || frames < 1 || frames > 360 || !okDelay || delay < 10 ||
                !matte.isValid())
                return fail("bad --frames, --delay-ms or --matte");
            QVector<QImage> images;
            for (int i = 0; i < frames; ++i) {
                options.turnDeg = 360.0 * i / frames;
                const QImage img = skin::renderSvg(svg, options, &error);
                if (img.isNull())
                    return fail(QString("%1: %2").arg(input, error));
                images.push_back(img);
            }
            if (!skin::writeGif(&out, images, delay, matte, &error))
                return fail(QString("%1: %2").arg(output, error));
        } else if (suffix == "png") {
            const QImage img = skin::renderSvg(svg, options, &error);
            if (img.isNull())
                return fail(QString("%1: %2").arg(input, error));
            if (!img.convertToFormat(QImage::Format_ARGB32).save(&out, "PNG"))
                return fail(QString("%1: cannot encode PNG").arg(output));
        } else {
            return fail("the output must be .png, .ico or .gif: " + output);
        }
    }
    // Flushed before the commit, which misses an error of its own last write (a full disk).
    if (!out.flush() || !out.commit())
        return fail(QString("%1: %2").arg(output, out.errorString()));
    return 0;
}
