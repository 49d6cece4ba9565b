// SPDX-License-Identifier: GPL-3.0-or-later
// The in-process backend: enumeration records as hidapi on hidraw gives them, opening,
// read time-outs and prompt wake-ups, unplugging, and a concurrency smoke test.

#include "TestAppDir.h"
#include "VirtualHidApi.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

using namespace MouseProtocol;

namespace {

std::vector<uint8_t> frame(uint8_t code, uint8_t p1, uint8_t p2) {
    std::vector<uint8_t> f(kMouseReportSize, 0);
    f[0] = kReportId;
    f[2] = kFrameMarker;
    f[3] = code;
    f[4] = p1;
    f[5] = p2;
    f[1] = frameChecksum(f.data());
    return f;
}

} // namespace

class TestVirtualHidApi : public QObject {
    Q_OBJECT
private slots:
    void enumeration_data();
    void enumeration();
    void idsComeFromTheDescriptor();
    void opening();
    void readTimeouts();
    void unplugWhileReading();
    void concurrentTransfersAndPolling();
};

void TestVirtualHidApi::enumeration_data() {
    QTest::addColumn<bool>("receiver");
    QTest::addColumn<bool>("cable");
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QStringList>("expected"); // path:vid:pid:release:usagePage:usage
    const QStringList receiver = {"/dev/hidraw0:248a:fa02:0902:1:2",
                                  "/dev/hidraw0:248a:fa02:0902:1:1",
                                  "/dev/hidraw0:248a:fa02:0902:1:0"};
    const QStringList cable = {"/dev/hidraw1:248a:fb01:0310:1:2", "/dev/hidraw1:248a:fb01:0310:1:1",
                               "/dev/hidraw1:248a:fb01:0310:1:0"};
    QTest::newRow("both") << true << true << 0 << 0 << receiver + cable;
    QTest::newRow("receiver only") << true << false << 0 << 0 << receiver;
    QTest::newRow("cable only") << false << true << 0 << 0 << cable;
    QTest::newRow("neither") << false << false << 0 << 0 << QStringList();
    QTest::newRow("by product") << true << true << 0x248A << 0xFB01 << cable;
    QTest::newRow("other vendor") << true << true << 0x1234 << 0 << QStringList();
}

void TestVirtualHidApi::enumeration() {
    QFETCH(bool, receiver);
    QFETCH(bool, cable);
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QStringList, expected);
    TestAppDir dir;
    dir.installData("DefaultProfile.bin");
    VirtualMouse mouse;
    if (!receiver)
        mouse.unplug(MouseLink::Receiver);
    if (!cable)
        mouse.unplug(MouseLink::Cable);
    VirtualHidApi api(mouse);
    api.setReleaseNumber(MouseLink::Cable, 0x0310);
    QStringList got;
    for (const HidDeviceRecord &r : api.enumerate(uint16_t(vid), uint16_t(pid))) {
        got << QString::asprintf("%s:%04x:%04x:%04x:%x:%x", r.path.c_str(), r.vendorId, r.productId,
                                 r.releaseNumber, r.usagePage, r.usage);
        QCOMPARE(r.interfaceNumber, 1);
    }
    QCOMPARE(got, expected);
}

void TestVirtualHidApi::idsComeFromTheDescriptor() {
    TestAppDir dir;
    dir.writeText("DefaultProfile.bin",
                  "[PROFILE]\nvid1=4660\npid1=22136\nvid2=4661\npid2=22137\n");
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    QCOMPARE(api.vendorId(MouseLink::Receiver), uint16_t(0x1234));
    QCOMPARE(api.productId(MouseLink::Receiver), uint16_t(0x5678));
    QCOMPARE(api.vendorId(MouseLink::Cable), uint16_t(0x1235));
    QCOMPARE(api.productId(MouseLink::Cable), uint16_t(0x5679));
    QCOMPARE(api.enumerate(0x1235, 0x5679).size(), size_t(3));
}

void TestVirtualHidApi::opening() {
    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    QCOMPARE(api.init(), 0);
    api.setInitFails(true);
    QCOMPARE(api.init(), -1);
    QVERIFY(!api.open("/dev/hidraw7"));
    {
        auto a = api.open(VirtualHidApi::pathOf(MouseLink::Cable));
        auto b = api.open(VirtualHidApi::pathOf(MouseLink::Cable));
        QVERIFY(a && b);
        QCOMPARE(api.openConnections(), 2);
    }
    QCOMPARE(api.openConnections(), 0);
    mouse.unplug(MouseLink::Cable);
    QVERIFY(!api.open(VirtualHidApi::pathOf(MouseLink::Cable)));
    QVERIFY(api.open(VirtualHidApi::pathOf(MouseLink::Receiver)));
}

void TestVirtualHidApi::readTimeouts() {
    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    auto writer = api.open(VirtualHidApi::pathOf(MouseLink::Cable));
    auto reader = writer.get();
    unsigned char buf[64] = {};

    // Idle: the read waits its whole time-out and returns 0.
    QElapsedTimer t;
    t.start();
    QCOMPARE(reader->readTimeout(buf, sizeof buf, 150), 0);
    QVERIFY(t.elapsed() >= 145);
    QCOMPARE(reader->readTimeout(buf, sizeof buf, 0), 0);

    // An answer made while a read waits wakes it at once.
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto f = frame(kCmdMark, 0, 0);
        writer->write(f.data(), f.size());
    });
    t.restart();
    QCOMPARE(reader->readTimeout(buf, sizeof buf, 5000), 33);
    later.join();
    // Well before the time-out, with room for a loaded machine.
    QVERIFY2(t.elapsed() < 2500, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(buf[3], kCmdMark);

    // A short buffer takes the start of the report.
    const auto f = frame(kCmdMark, 1, 0);
    writer->write(f.data(), f.size());
    std::memset(buf, 0, sizeof buf);
    QCOMPARE(reader->readTimeout(buf, 5, 0), 5);
    QCOMPARE(buf[3], kCmdMark);
    QCOMPARE(buf[5], 0);
}

void TestVirtualHidApi::unplugWhileReading() {
    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    auto c = api.open(VirtualHidApi::pathOf(MouseLink::Receiver));
    std::thread unplugger([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        mouse.unplug(MouseLink::Receiver);
    });
    unsigned char buf[33];
    QElapsedTimer t;
    t.start();
    QCOMPARE(c->readTimeout(buf, sizeof buf, -1), -1);
    unplugger.join();
    QVERIFY(t.elapsed() < 1000);
    QCOMPARE(c->write(buf, sizeof buf), -1);
    QVERIFY(api.enumerate(0, 0).size() == 3); // only the cable is left
}

// One thread writes and reads through one handle while another polls on its
// own handle and the mouse sends reports of its own: every echo must come back whole and
// in order, and nothing may crash or hang.
void TestVirtualHidApi::concurrentTransfersAndPolling() {
    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api(mouse);
    const std::string path = VirtualHidApi::pathOf(MouseLink::Cable);
    auto sender = api.open(path);
    auto poller = api.open(path);
    std::atomic<bool> done{false};
    std::atomic<int> batteryReports{0};
    constexpr int kTransfers = 300;

    std::thread status([&] {
        const auto query = frame(kCmdStatusQuery, 0, 0);
        unsigned char r[33];
        while (!done) {
            // Like a hidraw buffer, a full queue loses what comes: drain it, then ask.
            for (int i = 0; i < 64 && poller->readTimeout(r, sizeof r, 0) > 0; ++i) {
            }
            poller->write(query.data(), query.size());
            for (int i = 0; i < 64; ++i) {
                if (poller->readTimeout(r, sizeof r, 20) == 33 && r[3] == kCmdStatusQuery) {
                    ++batteryReports;
                    break;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    std::thread buttons([&] {
        for (int i = 0; !done; ++i) {
            mouse.changeDpiStage(uint8_t(i));
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });

    int matched = 0, lost = 0;
    for (int i = 0; i < kTransfers; ++i) {
        std::vector<uint8_t> f(kMouseReportSize, 0);
        f[0] = kReportId;
        f[2] = kFrameMarker;
        f[3] = 0x05;
        f[4] = uint8_t(i & 0xFF);
        f[5] = uint8_t((i >> 8) & 0x0F);
        f[6] = 20;
        f[7] = kTagNext;
        for (int k = 0; k < 20; ++k)
            f[size_t(8 + k)] = uint8_t(i + k);
        f[1] = frameChecksum(f.data());
        sender->write(f.data(), f.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        unsigned char r[33];
        int n;
        // Skip the status and battery reports meant for others.
        while ((n = sender->readTimeout(r, sizeof r, 1000)) == 33 &&
               (r[3] == kCmdStatusReport || r[3] == kCmdStatusQuery)) {
        }
        if (n != 33)
            ++lost;
        else if (std::memcmp(r, f.data(), 33) == 0)
            ++matched;
    }
    done = true;
    status.join();
    buttons.join();
    QCOMPARE(lost, 0);
    QCOMPARE(matched, kTransfers);
    QVERIFY(batteryReports > 0);
    QCOMPARE(mouse.frameCount(0x05), kTransfers);
    QVERIFY(mouse.protocolErrors().empty());
}

QTEST_GUILESS_MAIN(TestVirtualHidApi)
#include "tst_virtualhidapi.moc"
