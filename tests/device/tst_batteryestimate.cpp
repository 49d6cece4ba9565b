// SPDX-License-Identifier: GPL-3.0-or-later
// The time left on the battery from discharges made up here: straight, noisy, and with a
// charge between two, each read at the millivolt steps the mouse reports in.
#include "BatteryEstimate.h"
#include "MouseRequests.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(QVector<BatterySample>)

namespace {
constexpr int kFull = 4200;
// Level 0 by the level rule: 20% at 3200 mV, 10% less per 200 mV below.
constexpr double kEmpty = 2800;
constexpr qint64 kHour = 60 * 60 * 1000;
constexpr qint64 kStart = 1700000000000; // a time in November 2023

// Readings every 10 minutes for the hours given, falling (or rising) by perHour from
// millivolts, with up to noise mV either way; millivolts as the mouse's raw value gives them.
void add(QVector<BatterySample> &samples, double millivolts, double perHour, double hours,
         bool charging, int noise = 0) {
    static QRandomGenerator random(7);
    const qint64 from = samples.isEmpty() ? kStart : samples.last().timeMs + kHour / 6;
    for (int i = 0; i <= hours * 6; ++i) {
        const double mv =
            millivolts + perHour * i / 6.0 + (noise ? random.bounded(2 * noise) - noise : 0);
        const int raw = int(std::lround(mv * 240 / 990));
        const int reported = batteryMillivolts(quint8(raw & 0xFF), quint8(raw >> 8));
        samples.append(
            {from + i * kHour / 6, reported, batteryLevelFor(reported, kFull), charging});
    }
}
} // namespace

class TestBatteryEstimate : public QObject {
    Q_OBJECT

private slots:
    void estimate_data() {
        QTest::addColumn<QVector<BatterySample>>("samples");
        QTest::addColumn<double>("hoursLeft"); // -1: unknown
        QTest::addColumn<double>("hoursToFull");
        QVector<BatterySample> s;
        add(s, 4000, -25, 1.5, false);
        QTest::newRow("1.5 h: too short") << s << -1.0 << -1.0;
        add(s, 4000 - 25 * 1.5 - 25.0 / 6, -25, 2, false);
        // Now at 4000 - 25 * 3.67 mV, falling 25 mV an hour.
        QTest::newRow("3.7 h, straight") << s << (4000 - 25 * 3.67 - kEmpty) / 25 << -1.0;
        s.clear();
        add(s, 4050, -20, 10, false, 12);
        QTest::newRow("10 h, noisy") << s << (4050 - 20 * 10 - kEmpty) / 20 << -1.0;
        s.clear();
        add(s, 4100, 0, 4, false, 4);
        QTest::newRow("4 h, no drop") << s << -1.0 << -1.0;
        // A fast discharge, a charge, then a slow one: only the last counts.
        s.clear();
        add(s, 4000, -80, 5, false, 6);
        add(s, 3700, 150, 2, true);
        add(s, 4000, -15, 1, false, 6);
        QTest::newRow("charged, 1 h since") << s << -1.0 << -1.0;
        add(s, 4000 - 15 * 1.17, -15, 4, false, 6);
        QTest::newRow("charged, 5 h since") << s << (4000 - 15 * 5.17 - kEmpty) / 15 << -1.0;
        add(s, 3900, 200, 1, true);
        QTest::newRow("charging for 1 h") << s << -1.0 << (kFull - 4100.0) / 200;
    }

    void estimate() {
        QFETCH(QVector<BatterySample>, samples);
        QFETCH(double, hoursLeft);
        QFETCH(double, hoursToFull);
        const BatteryEstimate e = estimateBattery(samples, samples.last().timeMs, kFull);
        QCOMPARE(e.hoursLeft.has_value(), hoursLeft >= 0);
        QCOMPARE(e.hoursToFull.has_value(), hoursToFull >= 0);
        if (e.hoursLeft)
            QVERIFY2(std::abs(*e.hoursLeft - hoursLeft) <= 0.1 * hoursLeft,
                     qPrintable(QString::number(*e.hoursLeft)));
        if (e.hoursToFull)
            QVERIFY2(std::abs(*e.hoursToFull - hoursToFull) <= 0.1 * hoursToFull,
                     qPrintable(QString::number(*e.hoursToFull)));
        // Later, with no new reading, less is left.
        if (e.hoursLeft) {
            const BatteryEstimate later =
                estimateBattery(samples, samples.last().timeMs + 2 * kHour, kFull);
            QVERIFY(std::abs(*later.hoursLeft - (*e.hoursLeft - 2)) < 0.01);
        }
    }
};

QTEST_GUILESS_MAIN(TestBatteryEstimate)
#include "tst_batteryestimate.moc"
