// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A skinned horizontal slider: dark groove, the filled part and the handle in the interface
// colour, sized by the scale factor. A click on the groove moves the handle there at once
// (sliderClicked), instead of stepping a page towards the click. The arrow keys move it a
// step, Page Up and Page Down a page, Home and End to the ends; it marks the keyboard focus.

#include <QSlider>

class KelSlider : public QSlider {
    Q_OBJECT

public:
    explicit KelSlider(QWidget *parent = nullptr);

    // The style sheet for an accent colour at a scale factor.
    static QString sliderStyleSheet(const QColor &accent, double factor);
    // Applies the current interface colour and scale factor.
    void refreshStyle();
    // The value under a point of the slider, by its groove.
    int valueAt(const QPoint &pos) const;

signals:
    // The user clicked the groove; the slider now holds value.
    void sliderClicked(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
