// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Sniper Setting": the DPI step the button switches to while it is held, on a slider
// whose range follows the sensor.

#include "KelSkinDialog.h"

class KelLabel;
class KelSlider;

class KelSniperWindow : public KelSkinDialog {
    Q_OBJECT

public:
    KelSniperWindow(int sensorCode, QWidget *parent = nullptr);

    // Starts at a stored step (a step the sensor cannot take starts at its usual one).
    void preset(int stored);
    int value() const { return m_value; }
    KelSlider *slider() const { return m_slider; }
    QString dpiText() const;

private:
    void onSliderChanged(int value);

    int m_sensorCode;
    KelSlider *m_slider = nullptr;
    KelLabel *m_dpiLabel = nullptr;
    int m_value = 0;
};
