// SPDX-License-Identifier: GPL-3.0-or-later
// The host pointer speed: the 1..20 scale against X pointer acceleration.

#include "PointerSpeed.h"

#include <QtTest>

using namespace PointerSpeed;

namespace {

// Unsets DISPLAY for its lifetime.
class WithoutDisplay {
public:
    WithoutDisplay() : m_saved(qgetenv("DISPLAY")) { qunsetenv("DISPLAY"); }
    ~WithoutDisplay() {
        if (!m_saved.isEmpty())
            qputenv("DISPLAY", m_saved);
    }

private:
    QByteArray m_saved;
};

bool haveDisplay() {
    return !qgetenv("DISPLAY").isEmpty();
}

} // namespace

class TestPointerSpeed : public QObject {
    Q_OBJECT

private slots:
    void fractionsRiseAndReadBack() {
        double last = 0.0;
        for (int s = kMinSpeed; s <= kMaxSpeed; ++s) {
            const Fraction f = pointerSpeedFraction(s);
            QVERIFY(f.denominator > 0);
            QVERIFY(f.numerator > 0);
            const double ratio = double(f.numerator) / f.denominator;
            QVERIFY2(ratio > last, qPrintable(QString::number(s)));
            last = ratio;
            QCOMPARE(speedFromFraction(f.numerator, f.denominator), s);
            // The server may keep the pair unreduced.
            QCOMPARE(speedFromFraction(f.numerator * 3, f.denominator * 3), s);
        }
        QCOMPARE(pointerSpeedFraction(kDefaultSpeed).numerator, 1);
        QCOMPARE(pointerSpeedFraction(kDefaultSpeed).denominator, 1);
    }

    void serverPairs_data() {
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("speed");
        QTest::newRow("X default 2/1") << 2 << 1 << 14;
        QTest::newRow("no acceleration") << 1 << 1 << 10;
        QTest::newRow("stopped") << 0 << 1 << 1;
        QTest::newRow("very fast") << 1000 << 1 << 20;
        QTest::newRow("between 10 and 11") << 9 << 8 << 10; // halfway to 5/4: the lower speed
        QTest::newRow("near 11") << 6 << 5 << 11;
        QTest::newRow("zero denominator") << 2 << 0 << 10;
        QTest::newRow("negative") << -1 << 4 << 10;
        QTest::newRow("large pair") << 2000000000 << 1000000000 << 14;
    }
    void serverPairs() {
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        QFETCH(int, speed);
        QCOMPARE(speedFromFraction(numerator, denominator), speed);
    }

    void withoutDisplayNothingHappens() {
        WithoutDisplay none;
        QCOMPARE(readSpeed(), kDefaultSpeed);
        QCOMPARE(writeSpeed(5), NoDisplay);
        QCOMPARE(writeSpeed(0), OutOfRange);
        QCOMPARE(writeSpeed(21), OutOfRange);
        QCOMPARE(readSpeed(), kDefaultSpeed);
    }

    void roundTripOnDisplay() {
        if (!haveDisplay()) {
            if (qEnvironmentVariableIsSet("MOUSECFG_EXPECT_DISPLAY"))
                QFAIL("DISPLAY is not set");
            QSKIP("no X display (the ctest variant under xvfb-run covers this)");
        }
        for (int s = kMinSpeed; s <= kMaxSpeed; ++s) {
            QCOMPARE(writeSpeed(s), Done);
            QCOMPARE(readSpeed(), s);
        }
        QCOMPARE(writeSpeed(7), Done);
        QCOMPARE(writeSpeed(0), OutOfRange);
        QCOMPARE(writeSpeed(-3), OutOfRange);
        QCOMPARE(writeSpeed(200), OutOfRange);
        QCOMPARE(readSpeed(), 7);
    }
};

QTEST_GUILESS_MAIN(TestPointerSpeed)
#include "tst_pointerspeed.moc"
