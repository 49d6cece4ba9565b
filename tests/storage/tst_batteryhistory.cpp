// SPDX-License-Identifier: GPL-3.0-or-later
// The battery history: only changes kept, bounded when written, a damaged file set aside, the
// readings of another writer taken in, and a writer killed at random moments leaving a whole
// file.
#include "BatteryHistory.h"
#include "TestAppDir.h"

#include <QRandomGenerator>
#include <QThreadPool>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr qint64 kMinute = 60 * 1000, kDay = 24 * 60 * kMinute;
const QString kModel = QStringLiteral("TOLV/2");
const QString kFile = QStringLiteral("state/mousecfg/TOLV_2.battery");
const QByteArray kGood = "mousecfg-battery-history 1\n0 3900 70 0\n";

// The reading a killed writer records as its i-th: each differs from the one before.
BatterySample numbered(qint64 i) {
    return {i * BatteryHistory::kWriteIntervalMs, 3000 + int(i % 1000), int(i % 101), false};
}
qint64 next(const BatterySample &s) {
    return s.timeMs / BatteryHistory::kWriteIntervalMs + 1;
}
} // namespace

class TestBatteryHistory : public QObject {
    Q_OBJECT

private slots:
    void keepsChangesAndStaysBounded() {
        TestAppDir dir;
        // 70 days of readings every 10 minutes, charging once a day at 0:10.
        QByteArray text = "mousecfg-battery-history 1\n";
        for (qint64 t = 0; t < 70 * kDay; t += 10 * kMinute)
            text +=
                QByteArray::number(t) + " 3900 70 " + (t % kDay == 10 * kMinute ? "1\n" : "0\n");
        dir.writeText(kFile, text);
        BatteryHistory history(kModel);
        QVERIFY(history.record({70 * kDay, 3890, 60, false}));
        QVERIFY(!history.record({70 * kDay + 1000, 3890, 60, false}));
        const QVector<BatterySample> s = history.samples();
        QVERIFY(s.first().timeMs >= 10 * kDay);
        int changes = 0;
        for (int i = 1; i < s.size(); ++i) {
            changes += s[i].charging != s[i - 1].charging;
            const bool old = s[i].timeMs < 68 * kDay && s[i].charging == s[i - 1].charging;
            QVERIFY(!old || s[i].timeMs - s[i - 1].timeMs >= 30 * kMinute);
        }
        QCOMPARE(changes, 2 * 60); // each charge's start and end
        QCOMPARE(s.size() - s.indexOf({68 * kDay, 3900, 70, false}), 2 * 144 + 1);
        // A reading a second for over two hours: the oldest go.
        for (int i = 1; i <= BatteryHistory::kMaxSamples + 500; ++i)
            history.record({70 * kDay + i * 1000, 3800 + i % 2, 60, false});
        QVERIFY(history.flush());
        QCOMPARE(BatteryHistory(kModel).samples(), history.samples());
        QCOMPARE(history.samples().size(), BatteryHistory::kMaxSamples);
    }

    void wrongClockForAWhileKeepsTheHistory() {
        TestAppDir dir;
        constexpr qint64 kHour = 60 * kMinute;
        dir.writeText(kFile, kGood + QByteArray::number(10 * kHour) + " 3890 70 0\n");
        BatteryHistory history(kModel);
        // Five hours back (a clock kept in local time, before the network time came).
        QVERIFY(!history.record({5 * kHour, 3880, 60, false}));
        QCOMPARE(history.samples().size(), 2);
        // The same reading half an hour on is kept: the program was looking.
        QVERIFY(history.record({10 * kHour + 30 * kMinute, 3890, 70, false}));
        // A clock that stays back an hour is believed: the readings after it go.
        QVERIFY(!history.record({2 * kHour, 3880, 60, false}));
        QVERIFY(!history.record({2 * kHour + 30 * kMinute, 3870, 60, false}));
        QVERIFY(history.record({3 * kHour, 3860, 60, false}));
        QCOMPARE(history.samples().size(), 2);
        QCOMPARE(history.samples().last().timeMs, 3 * kHour);
    }

    void damagedFileSetAside() {
        TestAppDir dir;
        const QString path = dir.file(kFile);
        for (const QByteArray &text : {QByteArray("[Config]\n"), kGood + "1 3900 7",
                                       kGood + "1 3900 101 0\n", kGood + "-1 3900 70 0\n"}) {
            dir.writeText(kFile, text);
            BatteryHistory history(kModel);
            QVERIFY(history.samples().isEmpty() && !QFile::exists(path));
            QFile bad(path + QStringLiteral(".bad"));
            QVERIFY(bad.open(QIODevice::ReadOnly) && bad.readAll() == text);
            QVERIFY(history.record({0, 3900, 70, false}));
            QFile fresh(path);
            QVERIFY(fresh.open(QIODevice::ReadOnly) && fresh.readAll() == kGood);
        }
        // A garbled report's reading is not kept: it would make the file one to set aside.
        BatteryHistory history(kModel);
        QVERIFY(!history.record({1000, 270000, 70, false}));
        QVERIFY(history.flush());
        QCOMPARE(BatteryHistory(kModel).samples().size(), 1);
    }

    // Two writers of one history, as the command line's follower and the window started
    // between two of its looks: a write takes in what the other wrote, and loses nothing.
    void anotherWritersReadingsTakenIn() {
        TestAppDir dir;
        BatteryHistory follower(kModel);
        QVERIFY(follower.record({0, 3900, 70, false}));       // written at once, as the first
        QVERIFY(follower.record({kMinute, 3890, 70, false})); // not yet written
        {
            BatteryHistory window(kModel);
            QCOMPARE(window.samples().size(), 1);
            QVERIFY(window.record({2 * kMinute, 3880, 70, false}));
            QVERIFY(window.record({3 * kMinute, 3870, 70, false}));
        }
        QVERIFY(follower.flush());
        const QVector<BatterySample> all = {{0, 3900, 70, false},
                                            {kMinute, 3890, 70, false},
                                            {2 * kMinute, 3880, 70, false},
                                            {3 * kMinute, 3870, 70, false}};
        QCOMPARE(follower.samples(), all);
        QCOMPARE(BatteryHistory(kModel).samples(), all);
        // Its own write is not read again.
        QVERIFY(!follower.reloadIfChanged());

        // A window writing on a thread of its own keeps what a follower wrote after the
        // window read the file.
        QThreadPool pool;
        BatteryHistory window(kModel, &pool);
        QVERIFY(follower.record({4 * kMinute, 3860, 70, false}));
        QVERIFY(follower.flush());
        QVERIFY(window.record({5 * kMinute, 3850, 70, false}));
        QVERIFY(window.flush());
        pool.waitForDone();
        const QVector<BatterySample> later = {{4 * kMinute, 3860, 70, false},
                                              {5 * kMinute, 3850, 70, false}};
        QCOMPARE(BatteryHistory(kModel).samples(), all + later);
    }

    void killedWriterLeavesWholeFile() {
        TestAppDir dir;
        qint64 last = -1;
        // Forty kills at least, more on a machine too busy for the writer to get far.
        for (int round = 0;
             round < 40 || (last <= 10 * BatteryHistory::kWriteIntervalMs && round < 400);
             ++round) {
            const pid_t writer = fork();
            if (writer == 0) {
                BatteryHistory history(kModel);
                const QVector<BatterySample> &kept = history.samples();
                for (qint64 i = kept.isEmpty() ? 0 : next(kept.last());; ++i)
                    history.record(numbered(i));
            }
            ::usleep(2000 + QRandomGenerator::global()->bounded(25000));
            ::kill(writer, SIGKILL);
            ::waitpid(writer, nullptr, 0);
            const BatteryHistory history(kModel);
            QVERIFY2(!QFile::exists(dir.file(kFile + QStringLiteral(".bad"))), "a torn file");
            for (const BatterySample &s : history.samples())
                QCOMPARE(s, numbered(s.timeMs / BatteryHistory::kWriteIntervalMs));
            // Never an older file (thinning may shorten it, its newest reading only moves on),
            // and no temporary file of a killed write left.
            const qint64 newest =
                history.samples().isEmpty() ? -1 : history.samples().last().timeMs;
            QVERIFY(newest >= last);
            last = newest;
            QCOMPARE(QDir(BatteryHistory::folder()).entryList({QStringLiteral("*.battery.??????")}),
                     {});
        }
        QVERIFY2(last > 10 * BatteryHistory::kWriteIntervalMs,
                 "the writer wrote too little to be killed mid-write");
    }
};

QTEST_GUILESS_MAIN(TestBatteryHistory)
#include "tst_batteryhistory.moc"
