// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse session against the virtual mouse: the status poll, reports found by any read,
// sends, the order of slot choices, and a transfer cut short.
#include "MouseSession.h"
#include "TestAppDir.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <thread>

namespace {

ProfileSet defaultSet() {
    ProfileSet set;
    resetProfileSet(set);
    return set;
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT

    // The installation and the mouse behind the in-process HID backend.
    struct Rig {
        Rig() : api(mouse) {
            dir.installData(QStringLiteral("DefaultProfile.bin"));
            dir.installData(QStringLiteral("Configs/Config.ini"));
            setHidApi(&api);
        }
        ~Rig() { setHidApi(nullptr); }
        TestAppDir dir;
        VirtualMouse mouse;
        VirtualHidApi api;
    };
    std::unique_ptr<Rig> m_rig;

private slots:
    void init() {
        qRegisterMetaType<MouseDevices>();
        m_rig = std::make_unique<Rig>();
    }
    void cleanup() { m_rig.reset(); }

    void batteryQueryIsAnsweredAndFound() {
        m_rig->mouse.setBatteryMillivolts(4000, true);
        m_rig->mouse.setLinkMode(8);
        MouseSession session;
        QSignalSpy devices(&session, &MouseSession::devicesChanged);
        QSignalSpy battery(&session, &MouseSession::RefreshBatteryStatus);
        QSignalSpy write(&session, &MouseSession::RefreshWriteStatus);
        session.start(QStringLiteral("TOLV"));
        QCOMPARE(devices.count(), 1);
        const MouseDevices found = devices.first().first().value<MouseDevices>();
        QCOMPARE(found.presentCount(), 1);
        QCOMPARE(found.link, MouseDevices::Cable);
        QCOMPARE(int(found.device2Release), 0x0902);
        QVERIFY(battery.wait(2000));
        const uint16_t raw = VirtualMouse::rawFromMillivolts(4000);
        QCOMPARE(battery.first(), (QList<QVariant>{QVariant::fromValue(quint8(1)),
                                                   QVariant::fromValue(quint8(raw & 0xFF)),
                                                   QVariant::fromValue(quint8(raw >> 8))}));
        QCOMPARE(write.count(), 1);
        QCOMPARE(int(session.commands().linkMode()), 8);
        QCOMPARE(m_rig->mouse.frameCount(0x48), 1);

        // A sleeping mouse answers with zeros, and no write status.
        m_rig->mouse.setAsleep(true);
        battery.clear();
        write.clear();
        QVERIFY(session.queryBattery(1000));
        QCOMPARE(battery.count(), 1);
        QCOMPARE(battery.first(),
                 (QList<QVariant>{QVariant::fromValue(quint8(0)), QVariant::fromValue(quint8(0)),
                                  QVariant::fromValue(quint8(0))}));
        QCOMPARE(write.count(), 0);
    }

    // A change made on the mouse whose report is read by the battery query, by the poll, or by
    // a command of a send on its way to the answer, is handed on every time.
    void everyStatusReportIsHandedOn() {
        MouseSession session;
        QSignalSpy status(&session, &MouseSession::RefreshStatus);
        QSignalSpy battery(&session, &MouseSession::RefreshBatteryStatus);
        // Waiting when the first query goes out: the query's read finds it before the answer.
        session.start(QStringLiteral("TOLV"));
        m_rig->mouse.changeDpiStage(3);
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 2000);
        QCOMPARE(status.first().at(1).value<quint8>(), quint8(3));
        QVERIFY(battery.count() > 0 || battery.wait(2000));
        // Sent between two polls.
        m_rig->mouse.changeProfile(2);
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 2000);
        QCOMPARE(status.last().at(0).value<quint8>(), quint8(2));

        // Several changes read in one round: the last state is handed on, once.
        session.setPolling(false);
        m_rig->mouse.changeDpiStage(1);
        m_rig->mouse.changeDpiStage(5);
        m_rig->mouse.changeProfile(3);
        status.clear();
        session.setPolling(true);
        QVERIFY(status.wait(2000));
        QTest::qWait(2 * MouseSession::kPollIntervalMs);
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.first().at(0).value<quint8>(), quint8(3));
        QCOMPARE(status.first().at(1).value<quint8>(), quint8(5));

        // Sent while a download runs: a command reads it before its own answer, and the latest
        // state goes on now and then while the download lasts.
        session.setPolling(false);
        status.clear();
        m_rig->mouse.setAnswerDelay(5);
        std::atomic<bool> sending{true};
        std::thread mouseSide([&] {
            for (int stage = 0; sending; stage = (stage + 1) % 6) {
                m_rig->mouse.changeDpiStage(uint8_t(stage));
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        const int result = session.send(defaultSet(), DownloadEverything);
        sending = false;
        mouseSide.join();
        QCOMPARE(result, 0);
        // Handed on during the send, not only once at its end.
        QVERIFY2(status.count() >= 2, qPrintable(QString::number(status.count())));
    }

    // Another program (a command line run) opens the mouse beside this session. A change made
    // on the mouse before that program's send (or this session's own) is no longer what the
    // mouse holds afterwards, and is not handed on; one made after it is.
    void aChangeBeforeAnotherProgramsSendIsNotHandedOn() {
        MouseSession follower;
        QSignalSpy status(&follower, &MouseSession::RefreshStatus);
        follower.start(QStringLiteral("TOLV"), false);
        m_rig->mouse.changeDpiStage(3);
        {
            MouseSession other;
            other.start(QStringLiteral("TOLV"), false);
            QCOMPARE(other.send(defaultSet(), DownloadGeneral), 0);
        }
        follower.readReports();
        QCOMPARE(status.count(), 0);
        m_rig->mouse.changeDpiStage(4);
        follower.readReports();
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.first().at(1).value<quint8>(), quint8(4));
        m_rig->mouse.changeDpiStage(2);
        status.clear();
        QCOMPARE(follower.send(defaultSet(), DownloadGeneral), 0);
        QCOMPARE(status.count(), 0);
    }

    // After a failed send the poll goes on: a change made on the mouse still arrives.
    void thePollGoesOnAfterAFailedSend() {
        MouseSession session;
        QSignalSpy status(&session, &MouseSession::RefreshStatus);
        session.start(QStringLiteral("TOLV"));
        m_rig->mouse.setAnswer(VirtualMouse::Answer::WrongData);
        QCOMPARE(session.send(defaultSet(), DownloadEverything), int(ResultVerifyFailed));
        m_rig->mouse.setAnswer(VirtualMouse::Answer::Ok);
        QVERIFY(session.polling());
        m_rig->mouse.changeDpiStage(4);
        QVERIFY(status.wait(2000));
        QCOMPARE(status.last().at(1).value<quint8>(), quint8(4));
    }

    // Plug events: the last link gone closes the device and stops the poll; back, it is opened
    // again, and a collection that is new is told.
    void unplugAndPlugAgain() {
        MouseSession session;
        QSignalSpy devices(&session, &MouseSession::devicesChanged);
        session.start(QStringLiteral("TOLV"));
        m_rig->mouse.unplug(MouseLink::Cable);
        m_rig->mouse.unplug(MouseLink::Receiver);
        session.rescan();
        MouseDevices now = devices.last().first().value<MouseDevices>();
        QCOMPARE(now.presentCount(), 0);
        QCOMPARE(now.link, MouseDevices::NoLink);
        QVERIFY(!session.polling());
        m_rig->mouse.plug(MouseLink::Receiver);
        session.rescan();
        now = devices.last().first().value<MouseDevices>();
        QCOMPARE(now.presentCount(), 1);
        QCOMPARE(now.link, MouseDevices::Receiver);
        QVERIFY(now.newCollection);
        QVERIFY(session.polling());
    }

    // Slot choices queued on the worker reach the mouse in their order, each answered, and
    // ending the worker during a slow transfer cuts it short.
    void workerKeepsTheOrderAndEndsPromptly() {
        auto worker = std::make_unique<MouseWorker>();
        MouseSession *session = worker->session();
        // Answers arrive on this thread, queued.
        QList<QPair<quint64, int>> selected;
        connect(session, &MouseSession::profileSelected, this,
                [&selected](quint64 ticket, int, int result) {
                    selected.append({ticket, result});
                });
        session->requestStart(QStringLiteral("TOLV"));
        for (int i = 0; i < 5; ++i)
            session->requestProfile(quint64(i + 1), (i * 3) % 5, ProfileData());
        QTRY_COMPARE_WITH_TIMEOUT(selected.size(), 5, 10000);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(selected.at(i), qMakePair(quint64(i + 1), 0));
        QCOMPARE(m_rig->mouse.selectedProfiles(), (std::vector<int>{0, 3, 1, 4, 2}));
        QCOMPARE(m_rig->mouse.activeProfile(), 2);
        // Replaceable ones queued behind a slow one: the mouse goes straight to the last.
        m_rig->mouse.setAnswerDelay(20);
        const int marks = m_rig->mouse.beginMarks();
        session->requestProfile(6, 0, ProfileData(), true);
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->mouse.beginMarks() > marks, 5000);
        for (int i = 1; i < 4; ++i)
            session->requestProfile(quint64(6 + i), i, ProfileData(), true);
        QTRY_COMPARE_WITH_TIMEOUT(selected.size(), 9, 10000);
        QCOMPARE(selected.mid(5), (QList<QPair<quint64, int>>{
                                      {6, 0}, {7, ResultReplaced}, {8, ResultReplaced}, {9, 0}}));
        QCOMPARE(m_rig->mouse.selectedProfiles(), (std::vector<int>{0, 3, 1, 4, 2, 0, 3}));

        // A mouse that answers each frame 100 ms late: a whole send would take seconds.
        m_rig->mouse.setAnswerDelay(100);
        // A slot choice writes the slot's DPI stages between marks of its own.
        const int begins = m_rig->mouse.beginMarks();
        const int ends = m_rig->mouse.endMarks();
        QCOMPARE(ends, begins);
        session->requestSend(9, defaultSet(), DownloadEverything);
        QTRY_VERIFY_WITH_TIMEOUT(m_rig->mouse.beginMarks() > begins, 5000);
        const int framesBefore = int(m_rig->mouse.frames().size());
        worker.reset();
        // Ended at the transfer under way: at most a frame or two more reached the mouse.
        QVERIFY(int(m_rig->mouse.frames().size()) <= framesBefore + 2);
        QCOMPARE(m_rig->mouse.endMarks(), ends);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
