// SPDX-License-Identifier: GPL-3.0-or-later
// Discovery, opening and the verified transfer against a scripted HID backend.

#include "FakeHid.h"
#include "HidTransport.h"
#include "TestAppDir.h"

#include "AppConfig.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::vector<Answer>)

namespace {

const uint16_t kVid = 0x248A;
const uint16_t kReceiverPid = 0xFA02;
const uint16_t kCablePid = 0xFB01;

// A command frame of this code with no data, as a caller builds it (checksum left 0).
QByteArray request(uint8_t code, QByteArray data = {}) {
    QByteArray f(kFrameLength, '\0');
    f[0] = char(0x05);
    f[2] = char(0xFA);
    f[3] = char(code);
    f[6] = char(data.size());
    for (int i = 0; i < data.size(); ++i)
        f[8 + i] = data[i];
    return f;
}

QByteArray hexFrame(const char *text) {
    QByteArray f = QByteArray::fromHex(text);
    return f + QByteArray(kFrameLength - f.size(), '\0');
}

// The transport under test, made again for each test.
std::unique_ptr<CommandRig> g_rig;
CommandRig &rig() {
    return *g_rig;
}

int send(const QByteArray &frame) {
    return rig().transport.SendCommand(reinterpret_cast<const unsigned char *>(frame.constData()),
                                       frame.size());
}

} // namespace

class TestTransport : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new TestAppDir);
        m_dir->writeText(QStringLiteral("Configs/Config.ini"), "[Mouse_List]\n0=TOLV\n");
        g_rig = std::make_unique<CommandRig>();
    }
    void cleanup() {
        g_rig.reset();
        setHidApi(nullptr);
        setDevicePauseHook({});
        m_dir.reset();
    }

    void checksumOfKnownFrames_data() {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("checksum");
        // The status query the mouse firmware documents with its checksum filled in.
        QTest::newRow("status query") << QByteArray::fromHex("0500fa48") << 0x24;
        // Commit block of the settings table.
        QTest::newRow("settings commit") << QByteArray::fromHex("0500fa017f0001d31a") << 0x28;
        // Begin mark.
        QTest::newRow("begin mark") << QByteArray::fromHex("0500fa46") << 0x26;
    }
    void checksumOfKnownFrames() {
        QFETCH(QByteArray, frame);
        QFETCH(int, checksum);
        frame += QByteArray(kFrameLength - frame.size(), '\0');
        QCOMPARE(int(frameChecksum(reinterpret_cast<const unsigned char *>(frame.constData()))),
                 checksum);
    }

    void statusQueryCarriesItsChecksum() {
        const QByteArray query(reinterpret_cast<const char *>(kStatusQuery), kFrameLength);
        QCOMPARE(query.toHex(), (hexFrame("0524fa48")).toHex());
        QCOMPARE(int(frameChecksum(kStatusQuery)), int(kStatusQuery[1]));
    }

    void compareReply_data() {
        QTest::addColumn<int>("byteChanged");
        QTest::addColumn<bool>("withData");
        QTest::addColumn<int>("expected");
        QTest::newRow("identical") << -1 << true << 0;
        QTest::newRow("checksum only") << 1 << true << 0;
        QTest::newRow("block tag only") << 7 << true << 0;
        for (int b : {0, 2, 3, 4, 5, 6})
            QTest::newRow(qPrintable(QStringLiteral("header byte %1").arg(b))) << b << true << 1;
        QTest::newRow("header without data") << 4 << false << 1;
        QTest::newRow("first data byte") << 8 << true << 2;
        QTest::newRow("last data byte") << 10 << true << 2;
        QTest::newRow("beyond the length") << 11 << true << 0;
        QTest::newRow("data, not compared") << 8 << false << 0;
    }
    void compareReply() {
        QFETCH(int, byteChanged);
        QFETCH(bool, withData);
        QFETCH(int, expected);
        const QByteArray req = request(0x01, QByteArray::fromHex("112233"));
        QByteArray reply = req;
        if (byteChanged >= 0)
            reply[byteChanged] = char(reply[byteChanged] ^ 0x01);
        QCOMPARE(CompareReply(reinterpret_cast<const unsigned char *>(req.constData()),
                              reinterpret_cast<const unsigned char *>(reply.constData()), withData),
                 expected);
    }

    // Every way a transfer can go, counted in writes, reads and pauses.
    void sendCommand_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<std::vector<Answer>>("script");
        QTest::addColumn<Answer>("thereafter");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("reads");

        using A = Answer;
        QTest::newRow("answered at once") << 0x01 << std::vector<A>{} << A::Echo << 0 << 1 << 1;
        QTest::newRow("0x42 is not answered")
            << 0x42 << std::vector<A>{} << A::Error << 0 << 1 << 0;
        QTest::newRow("0x44 is not answered")
            << 0x44 << std::vector<A>{} << A::Error << 0 << 1 << 0;
        QTest::newRow("0x0B is not answered")
            << 0x0B << std::vector<A>{} << A::Error << 0 << 1 << 0;
        QTest::newRow("0x40 compares the header only")
            << 0x40 << std::vector<A>{} << A::OtherData << 0 << 1 << 1;
        QTest::newRow("0x46 compares the header only")
            << 0x46 << std::vector<A>{} << A::OtherData << 0 << 1 << 1;
        QTest::newRow("0x0A compares data")
            << 0x0A << std::vector<A>{A::OtherData} << A::Echo << 0 << 2 << 2;
        QTest::newRow("header mismatch, then the answer")
            << 0x01 << std::vector<A>{A::OtherHeader} << A::Echo << 0 << 1 << 2;
        QTest::newRow("answer cut short, then the answer")
            << 0x01 << std::vector<A>{A::Short} << A::Echo << 0 << 1 << 2;
        QTest::newRow("answers cut short only")
            << 0x40 << std::vector<A>{} << A::Short << 2 << 3 << -1;
        QTest::newRow("two data mismatches, then the answer")
            << 0x02 << std::vector<A>{A::OtherData, A::OtherData} << A::Echo << 0 << 3 << 3;
        QTest::newRow("three data mismatches")
            << 0x02 << std::vector<A>{} << A::OtherData << 2 << 3 << 3;
        QTest::newRow("read errors, then the answer")
            << 0x01 << std::vector<A>{A::Error, A::Error} << A::Echo << 0 << 1 << 3;
        QTest::newRow("read errors exhausted")
            << 0x01 << std::vector<A>{} << A::Error << 2 << 3 << 32;
        QTest::newRow("empty reports only") << 0x01 << std::vector<A>{} << A::Zeros << 2 << 6 << 6;
        QTest::newRow("no answer at all") << 0x01 << std::vector<A>{} << A::Timeout << 2 << 6 << 6;
        QTest::newRow("no answer, 0x40") << 0x40 << std::vector<A>{} << A::Timeout << 2 << 6 << 6;
        QTest::newRow("five silences, then the answer")
            << 0x01 << std::vector<A>(5, A::Timeout) << A::Echo << 0 << 6 << 6;
        // A time-out after a wrong answer is no answer: the wrong answer is not looked at
        // again, the report is written again.
        QTest::newRow("time-out after a wrong header")
            << 0x01 << std::vector<A>{A::OtherHeader, A::Timeout} << A::Echo << 0 << 2 << 3;
        QTest::newRow("time-out after wrong data")
            << 0x01 << std::vector<A>{A::OtherData, A::Timeout, A::Timeout} << A::Echo << 0 << 4
            << 4;
    }
    void sendCommand() {
        QFETCH(int, code);
        QFETCH(std::vector<Answer>, script);
        QFETCH(Answer, thereafter);
        QFETCH(int, result);
        QFETCH(int, writes);
        QFETCH(int, reads);

        ScriptedDevice dev(rig().transport);
        dev.mouse->script.assign(script.begin(), script.end());
        dev.mouse->whenScriptEnds = thereafter;
        const QByteArray frame = request(uint8_t(code), QByteArray::fromHex("0102030405"));

        QCOMPARE(send(frame), result);
        QCOMPARE(dev.mouse->writes.size(), writes);
        if (reads >= 0) // -1: as many as fit the answer window
            QCOMPARE(dev.mouse->reads, reads);
        // Every write sends the same bytes, with the checksum filled in.
        QByteArray sent = frame;
        sent[1] = char(frameChecksum(reinterpret_cast<const unsigned char *>(frame.constData())));
        for (const QByteArray &w : dev.mouse->writes)
            QCOMPARE(w, sent);
        // Each write is followed by its 10 ms pause.
        QCOMPARE(int(std::count(dev.pauses.begin(), dev.pauses.end(), 10)), writes);
    }

    void pausesOfRereads() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->script = {Answer::Error, Answer::OtherHeader, Answer::Echo};
        QCOMPARE(send(request(0x01)), 0);
        // After the write, a pause before reading again after the error; a foreign report
        // is read past at once.
        QCOMPARE(dev.pauses, (std::vector<int>{10, 50}));
    }

    // Reports that are not the answer are read past for a second after each write, then
    // the report is written again, three times in all: bounded by time, not by their count.
    void foreignReportsAreReadPastForASecond() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->whenScriptEnds = Answer::OtherHeader;
        QElapsedTimer t;
        t.start();
        QCOMPARE(send(request(0x01)), 2);
        QVERIFY2(t.elapsed() >= 3000 && t.elapsed() < 6000,
                 qPrintable(QString::number(t.elapsed())));
        QCOMPARE(dev.mouse->writes.size(), 3);
        QVERIFY(dev.mouse->reads > 20);
    }

    void writeFailure() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->failWrites = {1};
        QCOMPARE(send(request(0x01)), 4);
        QCOMPARE(dev.mouse->writes.size(), 1);
        QCOMPARE(dev.mouse->reads, 0);
    }

    void writeFailureOnRewrite() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->script = {Answer::OtherData};
        dev.mouse->failWrites = {2};
        QCOMPARE(send(request(0x01, "a")), 4);
        QCOMPARE(dev.mouse->writes.size(), 2);
    }

    void noHandle() {
        FakeHidApi api;
        setHidApi(&api);
        QCOMPARE(send(request(0x01)), 1);
        QCOMPARE(send(request(0x42)), 1);
    }

    // --- discovery ---------------------------------------------------------------------

    void loadTableFromDescriptor() {
        m_dir->writeText(QStringLiteral("DefaultProfile.bin"),
                         "[PROFILE]\nvid1=4660\npid1=22136\nvid2=43981\npid2=61185\n");
        m_dir->setIni(QStringLiteral("Configs/Config.ini"),
                      {{QStringLiteral("Mouse_List/0"), QStringLiteral("M\u00e9lo")}});
        rig().transport.LoadDeviceMatchTable();
        const DeviceMatchTable &t = rig().transport.deviceMatchTable();
        QCOMPARE(t.size(), size_t(1));
        const DeviceMatchEntry &e = t.front();
        QCOMPARE(e.vendorId1, 0x1234u);
        QCOMPARE(e.productId1, 0x5678u);
        QCOMPARE(e.vendorId2, 0xABCDu);
        QCOMPARE(e.productId2, 0xEF01u);
        QCOMPARE(e.usage1, 2u);
        QCOMPARE(e.usagePage1, 1u);
        QCOMPARE(e.usage2, 0u);
        QCOMPARE(e.usagePage2, 1u);
        QCOMPARE(e.usage3, 2u);
        QCOMPARE(e.usage4, 0u);
        QCOMPARE(e.maxRelease1, 0u);
        QCOMPARE(e.maxRelease2, 0u);
        QCOMPARE(e.modelName, std::string("M\xc3\xa9lo"));
    }

    void loadTableDefaults() {
        rig().transport.LoadDeviceMatchTable();
        const DeviceMatchEntry &e = rig().transport.deviceMatchTable().front();
        QCOMPARE(e.vendorId1, 0x248Au);
        QCOMPARE(e.productId1, 0xFA02u);
        QCOMPARE(e.vendorId2, 0x248Au);
        QCOMPARE(e.productId2, 0xFB01u);
        QCOMPARE(e.modelName, std::string("TOLV"));
    }

    // Which handle commands go to, by which identities are plugged in (hidraw paths: the
    // mouse and command collections of a node share its path).
    void discovery_data() {
        QTest::addColumn<bool>("receiver");
        QTest::addColumn<bool>("cable");
        QTest::newRow("receiver only") << true << false;
        QTest::newRow("cable only") << false << true;
        QTest::newRow("both") << true << true;
    }
    void discovery() {
        QFETCH(bool, receiver);
        QFETCH(bool, cable);
        FakeHidApi api;
        setHidApi(&api);
        setDevicePauseHook([](int) {});
        std::shared_ptr<FakeMouse> rx, usb;
        api.add("/dev/hidraw0", 0x046D, 0xC077, 2); // somebody else's mouse
        if (receiver) {
            api.add("/dev/hidraw1", kVid, kReceiverPid, 2);
            rx = api.add("/dev/hidraw1", kVid, kReceiverPid, 0);
        }
        if (cable) {
            api.add("/dev/hidraw2", kVid, kCablePid, 2, 0x0902);
            usb = api.add("/dev/hidraw2", kVid, kCablePid, 0, 0x0902);
        }
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        const DeviceMatchEntry &e = rig().transport.deviceMatchTable().front();
        QCOMPARE(e.mouse1Found, receiver ? 1 : 0);
        QCOMPARE(e.command1Found, receiver ? 1 : 0);
        QCOMPARE(e.mouse2Found, cable ? 1 : 0);
        QCOMPARE(e.command2Found, cable ? 1 : 0);
        QCOMPARE(e.path2, receiver ? std::string("/dev/hidraw1") : std::string());
        QCOMPARE(e.path4, cable ? std::string("/dev/hidraw2") : std::string());
        QCOMPARE(int(rig().transport.device2Release()), cable ? 0x0902 : 0);

        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QCOMPARE(rig().transport.hidMouse1.isOpen(), receiver);
        QCOMPARE(rig().transport.hidCommand1.isOpen(), receiver);
        QCOMPARE(rig().transport.hidMouse2.isOpen(), cable);
        QCOMPARE(rig().transport.hidCommand2.isOpen(), cable);

        QCOMPARE(send(request(0x46)), 0);
        if (cable) {
            QCOMPARE(usb->writes.size(), 1);
            if (rx)
                QCOMPARE(rx->writes.size(), 0);
        } else {
            QCOMPARE(rx->writes.size(), 1);
        }

        rig().transport.CloseDevice();
        QVERIFY(!rig().transport.hidMouse1.isOpen() && !rig().transport.hidCommand1.isOpen());
        QVERIFY(!rig().transport.hidMouse2.isOpen() && !rig().transport.hidCommand2.isOpen());
        QCOMPARE(send(request(0x46)), 1);
        // Closing keeps what was found.
        QCOMPARE(rig().transport.deviceMatchTable().front().command2Found, cable ? 1 : 0);
        // Once the mouse is gone, a look finds no cable release (it would still ask for an
        // update of a cable no longer there).
        FakeHidApi empty;
        setHidApi(&empty);
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        QCOMPARE(int(rig().transport.device2Release()), 0);
    }

    // Paths that name collections: the first identity's command collection must be the
    // fourth; the second identity's is taken by its usages alone.
    void collectionTags_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<uint16_t>("pid");
        QTest::addColumn<bool>("taken");
        const QString receiverPath =
            QStringLiteral("\\\\?\\hid#vid_248a&pid_fa02&mi_01&%1#8&2b1f&0&0003#{4d1e55b2}");
        QTest::newRow("receiver col04") << receiverPath.arg("col04") << kReceiverPid << true;
        QTest::newRow("receiver COL04") << receiverPath.arg("COL04") << kReceiverPid << true;
        QTest::newRow("receiver col02") << receiverPath.arg("col02") << kReceiverPid << false;
        QTest::newRow("cable col02") << receiverPath.arg("col02") << kCablePid << true;
        QTest::newRow("receiver hidraw") << QStringLiteral("/dev/hidraw3") << kReceiverPid << true;
    }
    void collectionTags() {
        QFETCH(QString, path);
        QFETCH(uint16_t, pid);
        QFETCH(bool, taken);
        FakeHidApi api;
        setHidApi(&api);
        api.add(path.toStdString(), kVid, pid, 0);
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        const DeviceMatchEntry &e = rig().transport.deviceMatchTable().front();
        const int found = pid == kReceiverPid ? e.command1Found : e.command2Found;
        QCOMPARE(found, taken ? 1 : 0);
    }

    void releaseBounds_data() {
        QTest::addColumn<uint32_t>("minRelease");
        QTest::addColumn<uint32_t>("maxRelease");
        QTest::addColumn<uint16_t>("release");
        QTest::addColumn<bool>("matched");
        QTest::newRow("no bound") << 0x0100u << 0u << uint16_t(0xFFFF) << true;
        QTest::newRow("below") << 0x0100u << 0x0200u << uint16_t(0x00FF) << false;
        QTest::newRow("lowest") << 0x0100u << 0x0200u << uint16_t(0x0100) << true;
        QTest::newRow("highest") << 0x0100u << 0x0200u << uint16_t(0x0200) << true;
        QTest::newRow("above") << 0x0100u << 0x0200u << uint16_t(0x0201) << false;
    }
    void releaseBounds() {
        QFETCH(uint32_t, minRelease);
        QFETCH(uint32_t, maxRelease);
        QFETCH(uint16_t, release);
        QFETCH(bool, matched);
        FakeHidApi api;
        setHidApi(&api);
        api.add("/dev/hidraw1", kVid, kReceiverPid, 2, release);
        api.add("/dev/hidraw1", kVid, kReceiverPid, 0, release);
        api.add("/dev/hidraw2", kVid, kCablePid, 2, release);
        api.add("/dev/hidraw2", kVid, kCablePid, 0, release);
        rig().transport.LoadDeviceMatchTable();
        DeviceMatchEntry &e = rig().transport.deviceMatchTable().front();
        e.minRelease1 = e.minRelease2 = minRelease;
        e.maxRelease1 = e.maxRelease2 = maxRelease;
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        QCOMPARE(e.mouse1Found, matched ? 1 : 0);
        QCOMPARE(e.command1Found, matched ? 1 : 0);
        QCOMPARE(e.mouse2Found, matched ? 1 : 0);
        QCOMPARE(e.command2Found, matched ? 1 : 0);
        QCOMPARE(int(rig().transport.device2Release()), matched ? int(release) : 0);
    }

    void enumerationWithoutHidapi() {
        FakeHidApi api;
        api.initFails = true;
        api.add("/dev/hidraw1", kVid, kCablePid, 0);
        setHidApi(&api);
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.EnumerateDevices(), -1);
        QCOMPARE(rig().transport.deviceMatchTable().front().command2Found, 0);
        rig().transport.deviceMatchTable().front().mouse2Found = 1;
        rig().transport.deviceMatchTable().front().command2Found = 1;
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QCOMPARE(api.opens, 0);
        QVERIFY(!rig().transport.hidCommand2.isOpen());
    }

    void enumerationOnlyAdds() {
        FakeHidApi api;
        setHidApi(&api);
        api.add("/dev/hidraw2", kVid, kCablePid, 2);
        api.add("/dev/hidraw2", kVid, kCablePid, 0);
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        api.records.clear(); // the cable leaves
        QCOMPARE(rig().transport.EnumerateDevices(), 0);
        QCOMPARE(rig().transport.deviceMatchTable().front().command2Found, 1);
        rig().transport.LoadDeviceMatchTable();
        QCOMPARE(rig().transport.deviceMatchTable().front().command2Found, 0);
    }

    void openOnlyTheNamedModel() {
        FakeHidApi api;
        setHidApi(&api);
        api.add("/dev/hidraw2", kVid, kCablePid, 2);
        api.add("/dev/hidraw2", kVid, kCablePid, 0);
        rig().transport.LoadDeviceMatchTable();
        rig().transport.EnumerateDevices();
        rig().transport.OpenDevice(QStringLiteral("OTHER"));
        QVERIFY(!rig().transport.hidCommand2.isOpen());
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QVERIFY(rig().transport.hidCommand2.isOpen());
    }

    // A node this user may not open is told while the mouse is there, and forgotten once the
    // device is closed (unplugged), so that no warning names a node that is gone.
    void deniedNodeForgottenOnClose() {
        FakeHidApi api;
        setHidApi(&api);
        api.add("/dev/hidraw2", kVid, kCablePid, 2);
        api.add("/dev/hidraw2", kVid, kCablePid, 0);
        api.denied = true;
        rig().transport.LoadDeviceMatchTable();
        rig().transport.EnumerateDevices();
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QCOMPARE(rig().transport.deniedDevicePath(), std::string("/dev/hidraw2"));
        rig().transport.CloseDevice();
        QVERIFY(rig().transport.deniedDevicePath().empty());
    }

    void openTwiceClosesFirst() {
        FakeHidApi api;
        setHidApi(&api);
        auto m = api.add("/dev/hidraw2", kVid, kCablePid, 2);
        api.add("/dev/hidraw2", kVid, kCablePid, 0);
        rig().transport.LoadDeviceMatchTable();
        rig().transport.EnumerateDevices();
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QCOMPARE(m->liveConnections, 2);
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QCOMPARE(m->liveConnections, 2);
        rig().transport.CloseDevice();
        QCOMPARE(m->liveConnections, 0);
    }

    void longPathsKeptWhole() {
        FakeHidApi api;
        setHidApi(&api);
        const std::string path = "/sys/devices/" + std::string(400, 'p') + "/hidraw9";
        api.add(path, kVid, kCablePid, 2, 0x0321);
        api.add(path, kVid, kCablePid, 0, 0x0321);
        rig().transport.LoadDeviceMatchTable();
        rig().transport.EnumerateDevices();
        QCOMPARE(rig().transport.deviceMatchTable().front().path4, path);
        rig().transport.OpenDevice(QStringLiteral("TOLV"));
        QVERIFY(rig().transport.hidCommand2.isOpen());
        QCOMPARE(int(ReleaseNumberOfPath(path)), 0x0321);
    }

    void releaseNumberOfPath() {
        FakeHidApi api;
        setHidApi(&api);
        api.add("/dev/hidraw1", kVid, kReceiverPid, 0, 0x0123);
        api.add("/dev/hidraw2", kVid, kCablePid, 0, 0x0902);
        QCOMPARE(int(ReleaseNumberOfPath("/dev/hidraw2")), 0x0902);
        QCOMPARE(int(ReleaseNumberOfPath("/dev/hidraw1")), 0x0123);
        QCOMPARE(int(ReleaseNumberOfPath("/dev/hidraw5")), 0);
    }

    // Reports of the mouse's own that a command reads past on its way to the answer go to
    // the sink whole; a report cut short, and the answer itself, do not.
    void reportsReadPastGoToTheSink() {
        ScriptedDevice dev(rig().transport);
        QList<QByteArray> seen;
        rig().transport.setReportSink([&seen](const unsigned char *report, int length) {
            seen << QByteArray(reinterpret_cast<const char *>(report), length);
        });
        dev.mouse->script = {Answer::OtherHeader, Answer::Short, Answer::OtherHeader};
        QCOMPARE(send(request(0x01, "\x07")), 0);
        QCOMPARE(seen.size(), 2);
        for (const QByteArray &report : seen) {
            QCOMPARE(report.size(), kFrameLength);
            QCOMPARE(int(uint8_t(report[3])), 0x49);
        }
    }

    // Once cancelled, a transfer under way and every later one end at their next step.
    void cancelEndsTransfers() {
        ScriptedDevice dev(rig().transport);
        dev.mouse->whenScriptEnds = Answer::Timeout;
        int writesWhenCancelled = -1;
        setDevicePauseHook([&](int) {
            if (dev.mouse->writes.size() == 2 && writesWhenCancelled < 0) {
                writesWhenCancelled = dev.mouse->writes.size();
                rig().transport.cancel();
            }
        });
        QCOMPARE(send(request(0x01)), int(ResultCancelled));
        QCOMPARE(dev.mouse->writes.size(), writesWhenCancelled);
        QCOMPARE(send(request(0x42)), int(ResultCancelled));
        QCOMPARE(dev.mouse->writes.size(), writesWhenCancelled);
    }

private:
    std::unique_ptr<TestAppDir> m_dir;
};

QTEST_GUILESS_MAIN(TestTransport)
#include "tst_transport.moc"
