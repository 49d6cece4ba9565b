// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two file formats the skin needs and Qt does not write: a multi-size Windows icon and an
// animated GIF.

#include <QColor>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <QVector>

namespace skin {

// Windows icon with one entry per image (square, 1 to 256 pixels): 32-bit DIB entries, and a
// PNG entry for 256 pixels as Windows expects.
bool writeIco(QIODevice *out, const QVector<QImage> &images, QString *error);

// Animated GIF89a that loops forever, all frames with the same delay. GIF has one-bit
// transparency: pixels of less than half alpha become transparent, the others are composed
// over the matte colour, which should be the colour of the surface the animation is shown on.
// Colours are reduced to one global palette of 255 entries (median cut) plus transparency.
bool writeGif(QIODevice *out, const QVector<QImage> &frames, int delayMs, const QColor &matte,
              QString *error);

} // namespace skin
