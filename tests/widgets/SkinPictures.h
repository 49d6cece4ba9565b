// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writes small solid-colour PNG pictures into a test application directory.

#include "TestAppDir.h"

#include <QColor>
#include <QImage>

inline QString writePicture(const TestAppDir &dir, const QString &relative, QSize size,
                            const QColor &colour) {
    QDir().mkpath(QFileInfo(dir.file(relative)).absolutePath());
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.file(relative);
    if (!image.save(path, "PNG"))
        qWarning("cannot write %s", qPrintable(path));
    return path;
}

inline QColor pixelAt(QWidget *widget, QPoint at) {
    return widget->grab().toImage().pixelColor(at);
}
