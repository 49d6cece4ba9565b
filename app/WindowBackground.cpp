// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowBackground.h"

#include "MainLayout.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QPainter>

using namespace MainLayout;

const WindowBackground::Step &WindowBackground::forStep(int step, const QColor &fill) {
    step = qBound(0, step, kSteps - 1);
    Step &cached = m_steps[step];
    if (!cached.picture.isNull())
        return cached;
    // Read again for each step rather than kept: the screen keeps only what it shows.
    QImage source = readSkinImage(m_path);
    if (source.isNull())
        return cached;
    const QSize size = scaledSize(kWidth, kHeight, scaleFactorForStep(step));
    if (source.size() != size)
        source = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // The outline is every pixel not wholly transparent.
    QImage outline(source.size(), QImage::Format_MonoLSB);
    outline.setColorCount(2);
    outline.setColor(0, QColor(Qt::color0).rgba());
    outline.setColor(1, QColor(Qt::color1).rgba());
    outline.fill(0);
    for (int y = 0; y < source.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        uchar *bits = outline.scanLine(y);
        for (int x = 0; x < source.width(); ++x)
            if (qAlpha(line[x]) > 0)
                bits[x >> 3] |= uchar(1 << (x & 7));
    }
    cached.outline = QBitmap::fromImage(outline);
    // Drawn over the window's colour exactly as the screen would draw it, a row at a time,
    // and kept in three bytes a pixel instead of four.
    QImage picture(source.size(), QImage::Format_RGB888);
    QImage row(source.width(), 1, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        row.fill(fill);
        {
            QPainter painter(&row);
            painter.drawImage(QPoint(0, 0), source, QRect(0, y, source.width(), 1));
        }
        const auto *in = reinterpret_cast<const QRgb *>(row.constScanLine(0));
        uchar *out = picture.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            out[3 * x] = uchar(qRed(in[x]));
            out[3 * x + 1] = uchar(qGreen(in[x]));
            out[3 * x + 2] = uchar(qBlue(in[x]));
        }
    }
    cached.picture = std::move(picture);
    return cached;
}
