// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One DPI stage row of the DPI page: the stage button, the enable box, the two-handle
// slider with the range ends either side, the DPI, X and Y readings and "Link XY". The row
// holds the stage's values as given and changes them only when the user moves the slider.

#include "PerformanceRules.h"

#include <QWidget>

class KelCheckBox;
class KelLabel;
class KelStageButton;
class KelTwoBarSlider;

class KelSingleDPI : public QWidget {
    Q_OBJECT

public:
    explicit KelSingleDPI(quint8 stage, QWidget *parent = nullptr);

    // The sensor code converts every number shown; a known range becomes the slider's
    // range and decides whether "Link XY" is offered. An unknown range leaves both.
    void setSensor(int sensorCode, const DpiRange &range);
    // These show a stage's values without telling anyone.
    void setLink(quint8 link);
    void setUsed(quint8 used);
    void setValues(int x, int y);
    // The active stage's row is lit.
    void setActive(bool active);
    // Places the controls for a row of this height in design units.
    void relayout(int designHeight);
    void retranslateUi();

    quint8 stage() const { return m_stage; }
    int xValue() const { return m_x; }
    int yValue() const { return m_y; }
    quint8 link() const { return m_link; }
    quint8 used() const { return m_used; }
    int sensorCode() const { return m_sensorCode; }
    bool isActive() const { return m_active; }
    KelStageButton *stageButton() const { return m_stageButton; }
    KelTwoBarSlider *slider() const { return m_slider; }
    KelCheckBox *linkBox() const { return m_linkBox; }
    KelCheckBox *enableBox() const { return m_enableBox; }
    // The readings as shown: DPI, X, Y, lower and upper end.
    QString dpiText() const;
    QString xText() const;
    QString yText() const;
    QString minimumText() const;
    QString maximumText() const;

signals:
    void DPISignal(int x, int y, quint8 stage);
    void LinkSignal(quint8 link, quint8 stage);
    void EnableSignal(quint8 used, quint8 stage);
    void MouseinSignal(quint8 stage);

public slots:
    // The link or the enable box changed (by the sender).
    void onStateChanged(int state);
    // The user moved the slider.
    void onSliderChanged(int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showValues();
    void showRange();

    KelCheckBox *m_linkBox = nullptr;
    KelCheckBox *m_enableBox = nullptr;
    KelTwoBarSlider *m_slider = nullptr;
    KelLabel *m_xLabel = nullptr;
    KelLabel *m_yLabel = nullptr;
    KelLabel *m_dpiLabel = nullptr;
    KelLabel *m_minLabel = nullptr;
    KelLabel *m_maxLabel = nullptr;
    KelStageButton *m_stageButton = nullptr;
    int m_sensorCode = 0;
    int m_x = 0;
    int m_y = 0;
    quint8 m_stage = 0;
    quint8 m_link = 0;
    bool m_linkShown = true; // the sensor lets X and Y be set apart
    quint8 m_used = 0;
    bool m_active = false;
    int m_designHeight = 48;
};
