// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The battery's week, shown when the battery picture is pressed: a skinned dialog with the
// chart of the last 7 days of level and charging, a line with the level now and the time left
// (or, while charging, the time to full), and "Ok". Enter and Escape close it.

#include "MouseRequests.h"

#include <QDialog>
#include <QPixmap>
#include <optional>

class BatteryChart;
class KelLabel;
class QToolButton;
struct BatterySample;

class BatteryChartDialog : public QDialog {
    Q_OBJECT

public:
    explicit BatteryChartDialog(QWidget *parent = nullptr);

    // Shows readings up to nowMs (ms since the epoch) and the battery now; onCable: the mouse
    // charges on its cable.
    void setBattery(const QVector<BatterySample> &samples, qint64 nowMs, const MouseStatus &battery,
                    bool onCable, std::optional<double> hoursToFull);
    // The line under the chart for the battery now.
    static QString noteFor(const MouseStatus &battery, bool onCable,
                           std::optional<double> hoursToFull);

    BatteryChart *chart() const { return m_chart; }
    QString note() const;
    void retranslateUi();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_background;
    KelLabel *m_title = nullptr;
    BatteryChart *m_chart = nullptr;
    KelLabel *m_note = nullptr;
    QToolButton *m_okBtn = nullptr;
    MouseStatus m_battery;
    bool m_onCable = false;
    std::optional<double> m_hoursToFull;
};
