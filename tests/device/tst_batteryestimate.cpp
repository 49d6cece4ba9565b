// SPDX-License-Identifier: GPL-3.0-or-later
// The time left from discharges made up here, read at the mouse's millivolt steps: straight,
// noisy, and with a charge between two; unknown until two hours of discharge with a drop.
#include "BatteryEstimate.h"
#include "MouseRequests.h"

#include <QRandomGenerator>
#include <QtTest>

using Samples = QVector<BatterySample>;
Q_DECLARE_METATYPE(Samples)

namespace {
// Level 0: 20% at 3200 mV, 10% less per 200 mV below.
constexpr double kEmpty = 2800;

struct Battery {
    Samples samples;
    double mv = 4000; // without the noise
    // Readings every 10 minutes for the hours given, changing by perHour, up to noise mV off.
    Battery &run(double perHour, double hours, bool charging, int noise = 0) {
        static QRandomGenerator random(7);
        for (int i = 0; i < hours * 6; ++i) {
            mv += perHour / 6;
            const double off = noise ? random.bounded(2 * noise) - noise : 0;
            const int raw = int(std::lround((mv + off) * 240 / 990));
            const int reported = batteryMillivolts(quint8(raw & 0xFF), quint8(raw >> 8));
            const qint64 t = samples.isEmpty() ? 0 : samples.last().timeMs + 10 * 60 * 1000;
            samples.append({t, reported, batteryLevelFor(reported, 4200), charging});
        }
        return *this;
    }
    double left(double perHour) const { return (mv - kEmpty) / perHour; }
};
} // namespace

class TestBatteryEstimate : public QObject {
    Q_OBJECT

private slots:
    void estimate_data() {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<double>("hoursLeft"); // -1: unknown
        QTest::addColumn<double>("hoursToFull");
        Battery b, noisy{{}, 4050}, flat{{}, 4100}, c;
        QTest::newRow("1.5 h") << b.run(-25, 1.5, false).samples << -1.0 << -1.0;
        QTest::newRow("3.5 h") << b.run(-25, 2, false).samples << b.left(25) << -1.0;
        QTest::newRow("noisy") << noisy.run(-20, 10, false, 12).samples << noisy.left(20) << -1.0;
        QTest::newRow("no drop") << flat.run(0, 4, false, 4).samples << -1.0 << -1.0;
        // A fast discharge, a charge, then a slow one: only the last counts.
        c.run(-80, 5, false, 6).run(150, 2, true);
        QTest::newRow("charged, 1 h since") << c.run(-15, 1, false, 6).samples << -1.0 << -1.0;
        QTest::newRow("charged, 5 h since")
            << c.run(-15, 4, false, 6).samples << c.left(15) << -1.0;
        QTest::newRow("charging for 1 h")
            << c.run(200, 1, true).samples << -1.0 << (4200 - c.mv) / 200;
        QTest::newRow("charged full")
            << c.run(200, 1, true).run(0, 2, true).samples << -1.0 << -1.0;
        // Charged while no reading was taken: the discharge since counts, not the one before.
        Battery u;
        u.run(-25, 5, false).run(1800, 1.0 / 6, false).run(-15, 4, false, 6);
        QTest::newRow("charged unseen") << u.samples << u.left(15) << -1.0;
        // Two charges with a discharge between that no reading saw: only the last one counts.
        Battery t{{}, 3600};
        t.run(200, 1, true).run(-1800, 1.0 / 6, true).run(200, 1, true);
        QTest::newRow("two charges") << t.samples << -1.0 << (4200 - t.mv) / 200;
    }

    void estimate() {
        QFETCH(Samples, samples);
        QFETCH(double, hoursLeft);
        QFETCH(double, hoursToFull);
        const BatteryEstimate e = estimateBattery(samples, samples.last().timeMs, 4200);
        for (const auto &[got, want] :
             {std::pair(e.hoursLeft, hoursLeft), std::pair(e.hoursToFull, hoursToFull)}) {
            QCOMPARE(got.has_value(), want >= 0);
            QVERIFY2(!got || std::abs(*got - want) <= 0.1 * want,
                     qPrintable(QString::number(got.value_or(-1))));
        }
    }
};

QTEST_GUILESS_MAIN(TestBatteryEstimate)
#include "tst_batteryestimate.moc"
