// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The battery's last days as a small chart in the skin's colours: the level as a line in the
// interface colour over a dark field, the times of charging as bands behind it, a thin line at
// each midnight with the day's short name under it, and 0%, 50% and 100% at the side. Where the
// history has a gap (the program was not running, the mouse was off) the line breaks.

#include "BatteryHistory.h"

#include <QPair>
#include <QPolygonF>
#include <QVector>
#include <QWidget>

// What the chart draws, in parts of the chart's width and height: x 0 at the first moment
// shown and 1 at the last, y 0 at level 0 and 1 at 100.
struct BatteryChartSeries {
    QVector<QPolygonF> lines;                // the level, one polyline per stretch without gap
    QVector<QPair<double, double>> charging; // x from, x to of each time of charging
    bool empty() const { return lines.isEmpty() && charging.isEmpty(); }
};

// The series of samples (oldest first) between fromMs and toMs. Readings no more than gapMs
// apart are joined by the line, which breaks between two further apart; the last reading
// holds until toMs when that is no more than gapMs later. A charging reading means charging
// until the next reading, for at most gapMs. What lies before fromMs is cut off there.
BatteryChartSeries batteryChartSeries(const QVector<BatterySample> &samples, qint64 fromMs,
                                      qint64 toMs, qint64 gapMs);

class BatteryChart : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDays = 7;
    // A reading older than this is not carried on: the line breaks.
    static constexpr qint64 kGapMs = 3 * 60 * 60 * 1000;

    explicit BatteryChart(QWidget *parent = nullptr);

    // The readings to show and the moment at the chart's right edge (ms since the epoch); the
    // chart spans kDays days up to it.
    void setSamples(const QVector<BatterySample> &samples, qint64 nowMs);
    const BatteryChartSeries &series() const { return m_series; }
    qint64 nowMs() const { return m_nowMs; }

    void retranslateUi();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Where the level is drawn, in the widget: room at the left for the percentages and
    // below for the days.
    QRectF plotArea() const;

    BatteryChartSeries m_series;
    qint64 m_nowMs = 0;
};
