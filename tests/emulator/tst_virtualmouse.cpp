// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse model: frame checks, echoes, tables that take effect at their commit block,
// macro memory, profile selection, apply groups and marks, the status query, the
// misbehaviours and the mouse's own reports.

#include "VirtualMouse.h"

#include <QElapsedTimer>
#include <QtTest>

#include <thread>

using namespace MouseProtocol;

Q_DECLARE_METATYPE(MouseTable)
Q_DECLARE_METATYPE(VirtualMouse::Answer)

namespace {

MouseReport frame(uint8_t code, uint16_t address, uint8_t tag, const std::vector<uint8_t> &data) {
    MouseReport f{};
    f[0] = kReportId;
    f[2] = kFrameMarker;
    f[3] = code;
    f[4] = uint8_t(address & 0xFF);
    f[5] = uint8_t(address >> 8);
    f[6] = uint8_t(data.size());
    f[7] = tag;
    std::copy(data.begin(), data.end(), f.begin() + 8);
    f[1] = frameChecksum(f.data());
    return f;
}

MouseReport commit(uint8_t code) {
    return frame(code, code == 0x05 ? kMacroCommitAddress : kCommitAddress, kTagCommit,
                 {kCommitData});
}

std::vector<uint8_t> bytes(size_t n, uint8_t first) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(first + i);
    return v;
}

// A host with one handle on the cable link.
struct Host {
    VirtualMouse mouse;
    std::shared_ptr<MouseEndpoint> ep = mouse.open(MouseLink::Cable);

    void send(const MouseReport &f) { QCOMPARE(ep->write(f.data(), f.size()), int(f.size())); }
    // The next report, or n = 0 when none came within the time.
    MouseReport next(int ms = 0, int *n = nullptr) {
        MouseReport r{};
        const int got = ep->read(r.data(), r.size(), ms);
        if (n)
            *n = got;
        return r;
    }
};

} // namespace

class TestVirtualMouse : public QObject {
    Q_OBJECT
private slots:
    void badFramesAreIgnored_data();
    void badFramesAreIgnored();
    void answeredCommands_data();
    void answeredCommands();
    void tablesTakeEffectAtCommit_data();
    void tablesTakeEffectAtCommit();
    void brokenBlocksAreRefused_data();
    void brokenBlocksAreRefused();
    void macroMemoryAddressing();
    void selectApplyAndMarks();
    void settingsCommitSetsLiveState();
    void statusQueryAndSleep();
    void millivolts_data();
    void millivolts();
    void misbehaviour_data();
    void misbehaviour();
    void slowAnswers();
    void statusReportsReachEveryHandle();
    void unplugKillsHandles();
    void fullQueueLosesReports();
    void dumpFormat();
};

void TestVirtualMouse::badFramesAreIgnored_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("length");
    const MouseReport good = frame(0x01, 0, kTagFirst, bytes(19, 1));
    auto raw = [](MouseReport f) { return QByteArray(reinterpret_cast<char *>(f.data()), 33); };
    MouseReport f = good;
    f[0] = 0x04;
    QTest::newRow("report id") << raw(f) << 33;
    f = good;
    f[2] = 0xFB;
    f[1] = frameChecksum(f.data());
    QTest::newRow("marker") << raw(f) << 33;
    f = good;
    f[1] ^= 0x80;
    QTest::newRow("checksum") << raw(f) << 33;
    QTest::newRow("too short") << raw(good) << 7;
    QTest::newRow("data beyond the write") << raw(good) << 20;
    f = good;
    f[6] = 26;
    f[1] = frameChecksum(f.data());
    QTest::newRow("length above 25") << raw(f) << 33;
}

void TestVirtualMouse::badFramesAreIgnored() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, length);
    Host h;
    h.ep->write(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(length));
    h.send(commit(0x01));
    int n = -1;
    const MouseReport r = h.next(0, &n);
    // Only the commit is answered, and it commits nothing: the bad block never arrived.
    QCOMPARE(n, 33);
    QCOMPARE(r, commit(0x01));
    QCOMPARE(h.next(0, &n)[0], uint8_t(0));
    QCOMPARE(n, 0);
    QCOMPARE(h.mouse.table(MouseTable::Settings), std::vector<uint8_t>(19, 0));
    QCOMPARE(h.mouse.invalidFrameCount(), 1);
    QCOMPARE(h.mouse.frames().size(), size_t(2));
    QCOMPARE(h.mouse.frames()[0].length, size_t(length));
}

void TestVirtualMouse::answeredCommands_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("echoed");
    for (int code : {0x01, 0x05, 0x06, 0x0A, 0x40, 0x46})
        QTest::addRow("%02x", code) << code << true;
    for (int code : {0x0B, 0x42, 0x44, 0x47, 0x49})
        QTest::addRow("%02x", code) << code << false;
}

void TestVirtualMouse::answeredCommands() {
    QFETCH(int, code);
    QFETCH(bool, echoed);
    Host h;
    const MouseReport f = frame(uint8_t(code), code == 0x40 ? 0x01F3 : 0, kTagFirst, {});
    h.send(f);
    int n = -1;
    const MouseReport r = h.next(0, &n);
    QCOMPARE(n, echoed ? 33 : 0);
    if (echoed)
        QCOMPARE(r, f);
    QCOMPARE(h.mouse.frameCount(uint8_t(code)), 1);
}

void TestVirtualMouse::tablesTakeEffectAtCommit_data() {
    QTest::addColumn<MouseTable>("table");
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("first"); // first data byte, the rest counting up
    // The settings block names profile 2 in its byte 6.
    QTest::newRow("settings") << MouseTable::Settings << 0 << 19 << 0xFC;
    QTest::newRow("dpi stage 7") << MouseTable::Dpi << 36 << 5 << 0x10;
    QTest::newRow("buttons tail") << MouseTable::Buttons << 0x62 << 4 << 0x10;
    QTest::newRow("lighting slot 9") << MouseTable::Lighting << 0x48 << 8 << 0x10;
    QTest::newRow("macro slot 19") << MouseTable::Macros << 3980 << 20 << 0x10;
}

void TestVirtualMouse::tablesTakeEffectAtCommit() {
    QFETCH(MouseTable, table);
    QFETCH(int, address);
    QFETCH(int, length);
    QFETCH(int, first);
    const uint8_t code = uint8_t(int(table) + 1);
    const std::vector<uint8_t> block = bytes(size_t(length), uint8_t(first));
    Host h;
    const std::vector<uint8_t> zero(mouseTableSize(table), 0);

    h.send(frame(code, 0, kTagFirst, {0xEE}));
    h.send(frame(code, uint16_t(address), kTagNext, block));
    QCOMPARE(h.mouse.table(table), zero);
    std::vector<uint8_t> expected = zero;
    expected[0] = 0xEE;
    std::copy(block.begin(), block.end(), expected.begin() + address);
    QCOMPARE(h.mouse.pendingTable(table), expected);

    h.send(commit(code));
    QCOMPARE(h.mouse.table(table), expected);
    QVERIFY(h.mouse.pendingTable(table).empty());
    QCOMPARE(h.mouse.commitCount(table), 1);

    // A later write changes only what it covers.
    h.send(frame(code, 0, kTagFirst, {0x01}));
    h.send(commit(code));
    expected[0] = 0x01;
    QCOMPARE(h.mouse.table(table), expected);
    QVERIFY(h.mouse.protocolErrors().empty());
}

void TestVirtualMouse::brokenBlocksAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    auto raw = [](MouseReport f) { return QByteArray(reinterpret_cast<char *>(f.data()), 33); };
    QTest::newRow("settings beyond 19") << raw(frame(0x01, 1, kTagFirst, bytes(19, 1)));
    QTest::newRow("dpi beyond 41") << raw(frame(0x02, 40, kTagNext, bytes(5, 1)));
    QTest::newRow("macros beyond 4000") << raw(frame(0x05, 3990, kTagNext, bytes(20, 1)));
    QTest::newRow("commit without 1A") << raw(frame(0x01, 0x7F, kTagCommit, {0x1B}));
    QTest::newRow("commit without its tag") << raw(frame(0x03, 0x7F, kTagNext, {0x1A}));
    QTest::newRow("commit tag elsewhere") << raw(frame(0x04, 0x10, kTagCommit, {0x1A}));
    QTest::newRow("macro commit at 7F") << raw(frame(0x05, 0x7F, kTagCommit, {0x1A}));
    QTest::newRow("profile 5") << raw(frame(0x44, 5, 0, {}));
    QTest::newRow("apply without F3") << raw(frame(0x40, 0x0100, 0, {}));
    QTest::newRow("mark 2") << raw(frame(0x46, 2, 0, {}));
}

void TestVirtualMouse::brokenBlocksAreRefused() {
    QFETCH(QByteArray, bytes);
    Host h;
    h.send(frame(0x02, 0, kTagFirst, {3})); // something pending that must survive
    h.ep->write(reinterpret_cast<const uint8_t *>(bytes.constData()), 33);
    QCOMPARE(h.mouse.protocolErrors().size(), size_t(1));
    for (int t = 0; t < kMouseTableCount; ++t)
        QCOMPARE(h.mouse.table(MouseTable(t)), std::vector<uint8_t>(mouseTableSize(MouseTable(t))));
    QCOMPARE(h.mouse.pendingTable(MouseTable::Dpi)[0], uint8_t(3));
    QCOMPARE(h.mouse.activeProfile(), 0);
    QVERIFY(h.mouse.appliedGroups().empty());
    QCOMPARE(h.mouse.beginMarks() + h.mouse.endMarks(), 0);
}

void TestVirtualMouse::macroMemoryAddressing() {
    Host h;
    // Slot 1 (200..399) in ten blocks of 20, the first tagged as a continuation.
    for (int j = 0; j < 10; ++j)
        h.send(frame(0x05, uint16_t(200 + 20 * j), kTagNext, bytes(20, uint8_t(20 * j))));
    // A block at 0x7F is plain macro memory, not a commit.
    h.send(frame(0x05, 0x7F, kTagNext, {0x5A}));
    h.send(commit(0x05));
    const std::vector<uint8_t> memory = h.mouse.table(MouseTable::Macros);
    QCOMPARE(memory.size(), size_t(4000));
    for (int i = 0; i < 200; ++i)
        QCOMPARE(memory[size_t(200 + i)], uint8_t(i));
    QCOMPARE(memory[0x7F], uint8_t(0x5A));
    QCOMPARE(memory[199], uint8_t(0));
    QCOMPARE(memory[400], uint8_t(0));
    QCOMPARE(h.mouse.commitCount(MouseTable::Macros), 1);
    QVERIFY(h.mouse.protocolErrors().empty());
}

void TestVirtualMouse::selectApplyAndMarks() {
    Host h;
    h.send(frame(0x46, 0, 0, {}));
    h.send(frame(0x44, 3, 0, {}));
    for (uint8_t mask : {0x04, 0x01, 0x02, 0x08, 0x10})
        h.send(frame(0x40, uint16_t(kApplyMarker | mask << 8), 0, {}));
    h.send(frame(0x46, 1, 0, {}));
    QCOMPARE(h.mouse.activeProfile(), 3);
    QCOMPARE(h.mouse.selectedProfiles(), std::vector<int>{3});
    QCOMPARE(h.mouse.appliedGroups(), (std::vector<uint8_t>{0x04, 0x01, 0x02, 0x08, 0x10}));
    QCOMPARE(h.mouse.beginMarks(), 1);
    QCOMPARE(h.mouse.endMarks(), 1);
    // Everything but the profile selection was echoed.
    int echoes = 0, n = 0;
    while (h.next(0, &n), n > 0)
        ++echoes;
    QCOMPARE(echoes, 7);
}

void TestVirtualMouse::settingsCommitSetsLiveState() {
    Host h;
    std::vector<uint8_t> settings(19, 0);
    settings[6] = 2;  // active profile
    settings[13] = 4; // report rate of profile 3 (index 2)
    settings[17] = 5; // DPI stage
    h.send(frame(0x01, 0, kTagFirst, settings));
    QCOMPARE(h.mouse.activeProfile(), 0);
    h.send(commit(0x01));
    QCOMPARE(h.mouse.activeProfile(), 2);
    QCOMPARE(h.mouse.reportRate(), uint8_t(4));
    QCOMPARE(h.mouse.dpiStage(), uint8_t(5));
    const MouseReport s = h.mouse.statusReport();
    QCOMPARE(s[3], kCmdStatusReport);
    QCOMPARE(s[4], uint8_t(2));
    QCOMPARE(s[5], uint8_t(5));
    QCOMPARE(s[6], uint8_t(4));
    QCOMPARE(s[1], frameChecksum(s.data()));
    // Selecting another profile takes that profile's report rate.
    h.send(frame(0x44, 0, 0, {}));
    QCOMPARE(h.mouse.reportRate(), uint8_t(0));
}

void TestVirtualMouse::statusQueryAndSleep() {
    Host h;
    h.mouse.setBattery(1000, true);
    h.mouse.setWriteStatus(0);
    h.mouse.setLinkMode(8);
    MouseReport query{};
    query[0] = 0x05;
    query[1] = 0x24;
    query[2] = 0xFA;
    query[3] = 0x48;
    h.send(query);
    MouseReport r = h.next();
    QCOMPARE(r[3], kCmdStatusQuery);
    QCOMPARE(r[4], uint8_t(0xE8));
    QCOMPARE(r[5], uint8_t(0x03));
    QCOMPARE(r[6], uint8_t(1));
    QCOMPARE(r[7], uint8_t(0));
    QCOMPARE(r[10], uint8_t(8));
    QCOMPARE(r[1], frameChecksum(r.data()));

    // Asleep: the query gets a report of zeros behind its header; nothing else is answered.
    h.mouse.setAsleep(true);
    h.send(query);
    r = h.next();
    QCOMPARE(r[3], kCmdStatusQuery);
    QCOMPARE(std::vector<uint8_t>(r.begin() + 4, r.end()), std::vector<uint8_t>(29, 0));
    h.send(frame(0x01, 0, kTagFirst, bytes(19, 1)));
    int n = -1;
    h.next(0, &n);
    QCOMPARE(n, 0);
    h.mouse.setAsleep(false);
    h.send(query);
    QCOMPARE(h.next()[4], uint8_t(0xE8));
}

void TestVirtualMouse::millivolts_data() {
    QTest::addColumn<int>("millivolts");
    QTest::addColumn<int>("raw");
    QTest::newRow("4125") << 4125 << 1000;
    QTest::newRow("4001") << 4001 << 970;
    QTest::newRow("3196") << 3196 << 775;
    QTest::newRow("4200") << 4200 << 1018;
    QTest::newRow("0") << 0 << 0;
}

void TestVirtualMouse::millivolts() {
    QFETCH(int, millivolts);
    QFETCH(int, raw);
    QCOMPARE(int(VirtualMouse::rawFromMillivolts(millivolts)), raw);
    // The host's integer conversion gives back the value within one step.
    QVERIFY(qAbs(raw * 990 / 240 - millivolts) <= 4);
}

void TestVirtualMouse::misbehaviour_data() {
    QTest::addColumn<VirtualMouse::Answer>("answer");
    QTest::addColumn<int>("count");
    for (int count : {0, 2}) {
        QTest::addRow("none %d", count) << VirtualMouse::Answer::None << count;
        QTest::addRow("zeros %d", count) << VirtualMouse::Answer::Zeros << count;
        QTest::addRow("wrong header %d", count) << VirtualMouse::Answer::WrongHeader << count;
        QTest::addRow("wrong data %d", count) << VirtualMouse::Answer::WrongData << count;
    }
}

void TestVirtualMouse::misbehaviour() {
    QFETCH(VirtualMouse::Answer, answer);
    QFETCH(int, count);
    Host h;
    h.mouse.setAnswer(answer, count);
    const MouseReport f = frame(0x02, 1, kTagNext, bytes(5, 0x40));
    for (int i = 0; i < 4; ++i) {
        h.send(f);
        int n = -1;
        const MouseReport r = h.next(0, &n);
        const bool failing = count == 0 || i < count;
        if (!failing) {
            QCOMPARE(n, 33);
            QCOMPARE(r, f);
            continue;
        }
        const bool headerSame = std::equal(f.begin(), f.begin() + 7, r.begin());
        const bool dataSame = std::equal(f.begin() + 8, f.end(), r.begin() + 8);
        switch (answer) {
        case VirtualMouse::Answer::None:
            QCOMPARE(n, 0);
            break;
        case VirtualMouse::Answer::Zeros:
            QCOMPARE(r, MouseReport{});
            break;
        case VirtualMouse::Answer::WrongHeader:
            QVERIFY(!headerSame);
            QVERIFY(dataSame);
            break;
        case VirtualMouse::Answer::WrongData:
            QVERIFY(headerSame);
            QVERIFY(!dataSame);
            break;
        case VirtualMouse::Answer::Ok:
            QFAIL("not a misbehaviour");
        }
    }
    // The frames themselves were taken in every case.
    QCOMPARE(h.mouse.pendingTable(MouseTable::Dpi)[1], uint8_t(0x40));
    QCOMPARE(h.mouse.answer(), count ? VirtualMouse::Answer::Ok : answer);
}

void TestVirtualMouse::slowAnswers() {
    Host h;
    h.mouse.setAnswerDelay(300);
    const MouseReport f = frame(0x46, 0, 0, {});
    h.send(f);
    QElapsedTimer t;
    t.start();
    int n = -1;
    h.next(100, &n);
    QCOMPARE(n, 0);
    QVERIFY(t.elapsed() >= 95);
    const MouseReport r = h.next(2000, &n);
    QCOMPARE(n, 33);
    QCOMPARE(r, f);
    // Late by the delay, and well before the read's time-out.
    QVERIFY2(t.elapsed() >= 290 && t.elapsed() < 1800, qPrintable(QString::number(t.elapsed())));
}

void TestVirtualMouse::statusReportsReachEveryHandle() {
    VirtualMouse mouse;
    auto cable = mouse.open(MouseLink::Cable);
    auto cable2 = mouse.open(MouseLink::Cable);
    auto receiver = mouse.open(MouseLink::Receiver);
    mouse.changeDpiStage(3);
    QVERIFY(mouse.changeProfile(4));
    QVERIFY(!mouse.changeProfile(5));
    mouse.changeReportRate(2);
    mouse.changeMode(1);
    for (const auto &ep : {cable, cable2, receiver}) {
        QCOMPARE(ep->pending(), size_t(4));
        MouseReport r{};
        for (int i = 0; i < 4; ++i)
            ep->read(r.data(), r.size(), 0);
        QCOMPARE(r[3], kCmdStatusReport);
        QCOMPARE(r[4], uint8_t(4));
        QCOMPARE(r[5], uint8_t(3));
        QCOMPARE(r[6], uint8_t(2));
        QCOMPARE(r[7], uint8_t(1));
    }
    // An echo goes only to the handles of the link that asked.
    const MouseReport f = frame(0x46, 0, 0, {});
    cable->write(f.data(), f.size());
    QCOMPARE(cable->pending(), size_t(1));
    QCOMPARE(cable2->pending(), size_t(1));
    QCOMPARE(receiver->pending(), size_t(0));
}

void TestVirtualMouse::unplugKillsHandles() {
    VirtualMouse mouse;
    auto ep = mouse.open(MouseLink::Receiver);
    auto other = mouse.open(MouseLink::Cable);
    QElapsedTimer t;
    t.start();
    std::thread unplugger([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        mouse.unplug(MouseLink::Receiver);
    });
    MouseReport r{};
    QCOMPARE(ep->read(r.data(), r.size(), 5000), -1);
    unplugger.join();
    QVERIFY(t.elapsed() < 1000);
    QCOMPARE(ep->write(r.data(), r.size()), -1);
    QVERIFY(!mouse.open(MouseLink::Receiver));
    QVERIFY(other->alive());
    mouse.plug(MouseLink::Receiver);
    QVERIFY(!ep->alive());
    auto fresh = mouse.open(MouseLink::Receiver);
    QVERIFY(fresh && fresh->alive());
}

void TestVirtualMouse::fullQueueLosesReports() {
    VirtualMouse mouse;
    auto ep = mouse.open(MouseLink::Cable);
    for (int i = 0; i < 70; ++i)
        mouse.changeDpiStage(uint8_t(i));
    QCOMPARE(ep->pending(), kEndpointQueueLimit);
    MouseReport r{};
    ep->read(r.data(), r.size(), 0);
    QCOMPARE(r[5], uint8_t(0)); // the oldest are kept
}

void TestVirtualMouse::dumpFormat() {
    Host h;
    h.send(frame(0x01, 0, kTagFirst, bytes(19, 0xF0)));
    h.send(commit(0x01));
    h.send(frame(0x44, 1, 0, {}));
    h.send(frame(kCmdStatusQuery, 0, 0, {}));
    // Not taken: a frame with a wrong checksum, and one on a link that is not plugged.
    MouseReport broken = frame(0x44, 2, 0, {});
    broken[1] ^= 0xFF;
    h.send(broken);
    h.mouse.unplug(MouseLink::Receiver);
    h.mouse.receive(MouseLink::Receiver, frame(0x44, 3, 0, {}).data(), kMouseReportSize);
    const QStringList lines = QString::fromStdString(h.mouse.dump()).split('\n');
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[0], QStringLiteral("settings f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff000102"));
    QVERIFY(lines[1].startsWith("dpi "));
    QCOMPARE(lines[1].size(), 4 + 82);
    QCOMPARE(lines[2].size(), 8 + 204);
    QCOMPARE(lines[3].size(), 9 + 160);
    QCOMPARE(lines[4].size(), 7 + 8000);
    QCOMPARE(lines[5], QStringLiteral("profile 1"));
    QCOMPARE(lines[6], QStringLiteral("receiver commands 0 queries 0"));
    QCOMPARE(lines[7], QStringLiteral("cable commands 4 queries 1"));
    QCOMPARE(lines[8], QString());
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
