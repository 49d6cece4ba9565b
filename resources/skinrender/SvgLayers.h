// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renders the skin's SVG sources. QSvgRenderer draws SVG Tiny 1.2, which has no filters and no
// clipping; the artwork needs soft shadows and glows, so this renderer adds two things for the
// direct children of the root element:
//
//   filter="url(#id)"     a filter made of feGaussianBlur (stdDeviation, one or two numbers)
//                         and/or feOffset (dx, dy);
//   clip-path="url(#id)"  a clipPath whose children give the clip geometry (applied after the
//                         filter, as SVG does).
//
// Such a child is drawn alone into a layer, filtered, clipped and composited with its opacity;
// the runs of plain children between such layers are drawn by QSvgRenderer as they are. A filter
// or clip-path anywhere deeper is refused rather than silently dropped.
//
// Layers: a direct child of the root with data-layer="NAME" is drawn only when that layer is
// asked for, and then only the children of that layer are drawn. One source can thus hold a
// picture and its variants (e.g. a mouse and the glowing button pictures over it) on the same
// geometry.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace skin {

struct RenderOptions {
    QSize size;        // output pixels; the viewBox is stretched to it
    QString layer;     // empty: the picture without any data-layer children
    qreal turnDeg = 0; // rotation about the centre of the picture, clockwise
};

// Returns a premultiplied ARGB image, or a null image with *error set.
QImage renderSvg(const QByteArray &svg, const RenderOptions &options, QString *error);

// Gaussian blur of a premultiplied ARGB image (three box passes per direction).
void gaussianBlur(QImage &image, qreal sigmaX, qreal sigmaY);

} // namespace skin
