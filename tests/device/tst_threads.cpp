// The send thread and the status thread against the virtual mouse.
#include "AppConfig.h"
#include "DeviceCommands.h"
#include "DeviceThreads.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "VirtualMouseRig.h"

#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {
class Window : public DeviceMainWindow {
public:
    void stopBatteryThread() override {}
    void startBatteryThread() override {}
};

QStringList g_messages;
void captureMessages(QtMsgType, const QMessageLogContext &, const QString &text) {
    g_messages << text;
}

// Runs one send and returns its result.
int runSend(bool force = false) {
    KelProcessThread thread;
    thread.force = force;
    QSignalSpy done(&thread, &KelProcessThread::DoProcessDlg);
    thread.start();
    if (!thread.wait(20000))
        return -1;
    return done.count() == 1 ? thread.result : -2;
}
} // namespace

class TestThreads : public QObject {
    Q_OBJECT

    std::unique_ptr<VirtualMouseRig> rig;
    Window window;

private slots:
    void init() {
        rig = std::make_unique<VirtualMouseRig>();
        RegisterMainWindow(&window);
        setMouseOffline(false);
        setCurrentProductName(QStringLiteral("TOLV"));
        ProfileSet set;
        resetProfileSet(set);
        for (int i = 1; i < kProfileCount; ++i)
            set.profiles[i] = set.profiles[0];
        appliedSet() = set;
        workingSet() = set;
        writeDiffFlag(0);
        rig->mouse.clearFrames();
    }
    void cleanup() {
        RegisterMainWindow(nullptr);
        rig.reset();
    }

    void nothingChangedSendsNothing() {
        QCOMPARE(runSend(), 0);
        QCOMPARE(rig->mouse.frames().size(), size_t(0));
        // The working set was still stored.
        QVERIFY(QFileInfo::exists(profileFilePath(QStringLiteral("Profile 1"))));
    }

    void mouseOffSendsNothing() {
        workingSet().profiles[0].pollrate = 8;
        setMouseOffline(true);
        QCOMPARE(runSend(), int(ResultMouseOff));
        QCOMPARE(rig->mouse.frames().size(), size_t(0));
        QCOMPARE(readDiffFlag(), 0);
        QVERIFY(appliedSet().profiles[0].pollrate != 8); // not applied
    }

    void aChangedStageSendsOnlyItsGroup() {
        workingSet().profiles[0].dpiInfo[2].x = 99;
        QCOMPARE(runSend(), 0);
        VirtualMouse &m = rig->mouse;
        QCOMPARE(m.frameCount(0x02), 10);
        QCOMPARE(m.frameCount(0x03), 0);
        QCOMPARE(m.frameCount(0x04), 0);
        QCOMPARE(m.frameCount(0x40), 5);
        QCOMPARE(int(m.table(MouseTable::Dpi)[1 + 5 * 2 + 1]), 99);
        QVERIFY(appliedSet() == workingSet());
        QCOMPARE(readDiffFlag(), 0);
    }

    void aFailedSendMakesTheNextOneSendEverything() {
        workingSet().profiles[0].dpiInfo[0].y = 20;
        rig->mouse.unplug(MouseLink::Receiver);
        rig->mouse.unplug(MouseLink::Cable);
        const int result = runSend();
        QVERIFY(result != 0 && result > 0);
        QCOMPARE(readDiffFlag(), 1);
        QVERIFY(appliedSet() == workingSet()); // applied whether it worked or not

        rig->mouse.plug(MouseLink::Receiver);
        rig->mouse.plug(MouseLink::Cable);
        rig->reopen();
        rig->mouse.clearFrames();
        QCOMPARE(runSend(), 0); // nothing changed, but the last send failed
        QVERIFY(rig->mouse.frameCount(0x03) > 0);
        QVERIFY(rig->mouse.frameCount(0x04) > 0);
        QCOMPARE(readDiffFlag(), 0);
    }

    void forceSendsEverything() {
        QCOMPARE(runSend(true), 0);
        QVERIFY(rig->mouse.frameCount(0x03) > 0);
        QCOMPARE(rig->mouse.frameCount(0x02), 10);
    }

    void stoppedBeforeItRanDoesNothing() {
        KelProcessThread thread;
        QSignalSpy done(&thread, &KelProcessThread::DoProcessDlg);
        thread.stop();
        thread.start();
        QVERIFY(thread.wait(5000));
        QCOMPARE(done.count(), 0);
    }

    void batteryQueryIsAnswered() {
        rig->mouse.setBatteryMillivolts(4000, true);
        rig->mouse.setLinkMode(8);
        KelGetBatteryThread thread;
        QSignalSpy battery(&thread, &KelGetBatteryThread::RefreshBatteryStatus);
        QSignalSpy write(&thread, &KelGetBatteryThread::RefreshWriteStatus);
        thread.start();
        QVERIFY(battery.wait(2000));
        thread.stop();
        QVERIFY(thread.wait(1000));
        const uint16_t raw = VirtualMouse::rawFromMillivolts(4000);
        QCOMPARE(battery.first().at(0).value<quint8>(), quint8(1));
        QCOMPARE(battery.first().at(1).value<quint8>(), quint8(raw & 0xFF));
        QCOMPARE(battery.first().at(2).value<quint8>(), quint8(raw >> 8));
        QCOMPARE(write.count(), 1);
        QCOMPARE(int(linkMode), 8);
        QCOMPARE(rig->mouse.frameCount(0x48), 1);
    }

    void sleepingMouseReportsZeros() {
        rig->mouse.setAsleep(true);
        KelGetBatteryThread thread;
        QSignalSpy battery(&thread, &KelGetBatteryThread::RefreshBatteryStatus);
        QSignalSpy write(&thread, &KelGetBatteryThread::RefreshWriteStatus);
        thread.start();
        QVERIFY(battery.wait(2000));
        thread.stop();
        QVERIFY(thread.wait(1000));
        QCOMPARE(battery.first(),
                 (QList<QVariant>{QVariant::fromValue(quint8(0)), QVariant::fromValue(quint8(0)),
                                  QVariant::fromValue(quint8(0))}));
        QCOMPARE(write.count(), 0);
    }

    void statusReportsAreSignalledOnlyInListenReads() {
        // A report waiting before the first query is read by the query read: only logged.
        rig->mouse.changeDpiStage(3);
        KelGetBatteryThread thread;
        QSignalSpy status(&thread, &KelGetBatteryThread::RefreshStatus);
        QSignalSpy battery(&thread, &KelGetBatteryThread::RefreshBatteryStatus);
        thread.start();
        QVERIFY(battery.wait(2000)); // the query's answer, picked up by the listen read
        QTest::qWait(300);
        QCOMPARE(status.count(), 0);
        // A change made on the mouse now arrives in a listen read.
        rig->mouse.changeProfile(2);
        QVERIFY(status.wait(2000));
        thread.stop();
        QVERIFY(thread.wait(1000));
        QCOMPARE(status.first().at(0).value<quint8>(), quint8(2));
        QCOMPARE(status.first().at(1).value<quint8>(), quint8(3));
    }

    // A mouse that sends status reports every 30 ms while commands go to it: every command
    // still gets through; one the mouse never answers ends in bounded time.
    void commandsGetThroughAFloodOfReports() {
        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            while (flooding) {
                rig->mouse.sendStatusReport();
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
        QTest::qWait(2500); // the reports pile up unread, as between two sends
        int done = 0;
        for (int i = 0; i < 13; ++i) {
            const uint8_t data[] = {uint8_t(i), 0x22};
            done += SendFrame(0x01, uint16_t(i), kTagFirst, data, 2) == ResultDone ? 1 : 0;
        }
        rig->mouse.setAnswer(VirtualMouse::Answer::None);
        QElapsedTimer t;
        t.start();
        const int silent = SendFrame(0x01, 0, kTagFirst, nullptr, 0);
        const qint64 silentMs = t.elapsed();
        flooding = false;
        flood.join();
        QCOMPARE(done, 13);
        QCOMPARE(rig->mouse.frameCount(0x01) >= 13, true);
        QCOMPARE(silent, int(ResultVerifyFailed));
        QVERIFY2(silentMs < 8000, qPrintable(QString::number(silentMs)));
    }

    void stopIsPrompt() {
        KelGetBatteryThread thread;
        thread.start();
        QTest::qWait(100);
        QElapsedTimer t;
        t.start();
        thread.stop();
        QVERIFY(thread.wait(2000));
        QVERIFY2(t.elapsed() < 300, qPrintable(QString::number(t.elapsed())));
    }

    void noHandleEndsAtOnceWithoutMessage() {
        CloseDevice();
        g_messages.clear();
        const QtMessageHandler old = qInstallMessageHandler(captureMessages);
        KelGetBatteryThread thread;
        thread.start();
        const bool ended = thread.wait(500);
        qInstallMessageHandler(old);
        QVERIFY(ended);
        QVERIFY(!g_messages.join('|').contains(QLatin1String("Stop")));
    }
};

QTEST_GUILESS_MAIN(TestThreads)
#include "tst_threads.moc"
