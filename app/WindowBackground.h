// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's background for each scale step: the skin's picture scaled and composed on the
// window's colour (what the screen shows where the picture is partly transparent), and the
// outline it gives the frameless window. Each step is made once, when first asked for.

#include <QBitmap>
#include <QColor>
#include <QImage>
#include <QString>

class WindowBackground {
public:
    static constexpr int kSteps = 17;

    struct Step {
        QImage picture;
        QBitmap outline;
    };

    // picturePath: the skin's background picture.
    explicit WindowBackground(const QString &picturePath) : m_path(picturePath) {}

    // The background of a scale step (bounded to the steps there are), composed on fill when
    // first made; null pictures when the skin's picture cannot be read.
    const Step &forStep(int step, const QColor &fill);

private:
    QString m_path;
    Step m_steps[kSteps];
};
