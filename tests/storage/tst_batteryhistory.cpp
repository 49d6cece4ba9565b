// SPDX-License-Identifier: GPL-3.0-or-later
// The battery history: only changes kept, bounded at each write, a damaged file set aside, and
// a writer killed at random moments leaving a whole file.
#include "BatteryHistory.h"
#include "TestAppDir.h"

#include <QRandomGenerator>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr qint64 kMinute = 60 * 1000;
constexpr qint64 kDay = 24 * 60 * kMinute;
constexpr qint64 kStart = 1700000000000;
const QString kModel = QStringLiteral("TOLV/2");

QByteArray fileText() {
    QFile file(BatteryHistory::filePath(kModel));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The reading a killed writer records as its i-th: each differs from the one before.
BatterySample numbered(qint64 i) {
    return {kStart + i * BatteryHistory::kWriteIntervalMs, 3000 + int(i % 1000), int(i % 101),
            false};
}
} // namespace

class TestBatteryHistory : public QObject {
    Q_OBJECT

private slots:
    void keepsChangesAndStaysBounded() {
        TestAppDir dir;
        QCOMPARE(BatteryHistory::filePath(kModel),
                 dir.file(QStringLiteral("state/mousecfg/TOLV_2.battery")));
        // 70 days of readings every 10 minutes, charging in the first hour of each day.
        QByteArray text = "mousecfg-battery-history 1\n";
        const qint64 now = kStart + 70 * kDay;
        for (qint64 t = kStart; t < now; t += 10 * kMinute) {
            const bool charging = (t - kStart) % kDay < 60 * kMinute;
            text += QByteArray::number(t) +
                    ((t - kStart) / kMinute % 20 ? " 3900 70 " : " 3896 60 ") +
                    (charging ? "1\n" : "0\n");
        }
        dir.writeText(QStringLiteral("state/mousecfg/TOLV_2.battery"), text);
        {
            BatteryHistory history(kModel);
            QCOMPARE(history.samples().size(), 70 * 144);
            QVERIFY(history.record({now, 3890, 60, false}));
            QVERIFY(!history.record({now + 1000, 3890, 60, false}));
            const QVector<BatterySample> &s = history.samples();
            QVERIFY(s.first().timeMs >= now - 60 * kDay);
            QCOMPARE(int(std::count_if(
                         s.begin(), s.end(),
                         [&](const BatterySample &x) { return x.timeMs >= now - 2 * kDay; })),
                     2 * 144 + 1);
            int changes = 0;
            for (int i = 1; i < s.size(); ++i) {
                changes += s[i].charging != s[i - 1].charging;
                if (s[i].timeMs < now - 2 * kDay && s[i].charging == s[i - 1].charging)
                    QVERIFY(s[i].timeMs - s[i - 1].timeMs >= 30 * kMinute);
            }
            QCOMPARE(changes, 2 * 60 - 1); // every charge's start and end, but the first start
            // A second's readings for over two hours: the oldest go.
            for (int i = 1; i <= BatteryHistory::kMaxSamples + 500; ++i)
                history.record({now + i * 1000, 3800 + i % 2, 60, false});
            QVERIFY(history.flush());
            QCOMPARE(history.samples().size(), BatteryHistory::kMaxSamples);
            QCOMPARE(history.samples().last().timeMs,
                     now + (BatteryHistory::kMaxSamples + 500) * 1000);
        }
        const BatteryHistory again(kModel);
        QCOMPARE(again.samples().size(), BatteryHistory::kMaxSamples);
        QCOMPARE(again.samples().last().timeMs, now + (BatteryHistory::kMaxSamples + 500) * 1000);
    }

    void damagedFileSetAside() {
        TestAppDir dir;
        const QString path = BatteryHistory::filePath(kModel);
        const QByteArray good = "mousecfg-battery-history 1\n1700000000000 3900 70 0\n";
        const QList<QByteArray> damaged = {
            "[Config]\nCount=5\n", "mousecfg-battery-history 2\n1700000000000 3900 70 0\n",
            good + "1700000000001 3900 7", good + "1700000000001 3900 101 0\n",
            good + "1699999999999 3900 70 0\n"};
        for (const QByteArray &text : damaged) {
            dir.writeText(QStringLiteral("state/mousecfg/TOLV_2.battery"), text);
            BatteryHistory history(kModel);
            QVERIFY(history.samples().isEmpty());
            QVERIFY(!QFile::exists(path));
            QFile bad(path + QStringLiteral(".bad"));
            QVERIFY(bad.open(QIODevice::ReadOnly));
            QCOMPARE(bad.readAll(), text);
            QVERIFY(history.record({kStart, 3900, 70, false}));
            QCOMPARE(fileText(), good);
        }
        QCOMPARE(QDir(BatteryHistory::folder())
                     .entryList(QDir::Files)
                     .filter(QStringLiteral(".bad"))
                     .size(),
                 1);
    }

    void killedWriterLeavesWholeFile() {
        TestAppDir dir;
        qint64 last = -1;
        for (int round = 0; round < 40; ++round) {
            const pid_t writer = fork();
            if (writer == 0) {
                BatteryHistory history(kModel);
                for (qint64 i = history.samples().size();; ++i)
                    history.record(numbered(i));
            }
            QVERIFY(writer > 0);
            ::usleep(2000 + QRandomGenerator::global()->bounded(25000));
            ::kill(writer, SIGKILL);
            ::waitpid(writer, nullptr, 0);
            const BatteryHistory history(kModel);
            QVERIFY2(!QFile::exists(BatteryHistory::filePath(kModel) + QStringLiteral(".bad")),
                     "a torn file");
            for (const BatterySample &s : history.samples())
                QCOMPARE(s, numbered((s.timeMs - kStart) / BatteryHistory::kWriteIntervalMs));
            // Never back to an older file.
            const qint64 now = history.samples().isEmpty() ? -1 : history.samples().last().timeMs;
            QVERIFY(now >= last);
            last = now;
            // The killed writes' temporary files went with the opening.
            const QRegularExpression temporary(QStringLiteral("\\.battery\\.[A-Za-z0-9]{6}$"));
            QCOMPARE(QDir(BatteryHistory::folder()).entryList(QDir::Files).filter(temporary),
                     QStringList());
        }
        QVERIFY2(last > kStart + 10 * BatteryHistory::kWriteIntervalMs,
                 "the writer wrote too little to be killed mid-write");
    }
};

QTEST_GUILESS_MAIN(TestBatteryHistory)
#include "tst_batteryhistory.moc"
