// SPDX-License-Identifier: GPL-3.0-or-later
// Hot-plug of hidraw nodes, against devices added to and removed from a umockdev testbed.
// Runs under umockdev-wrapper, which routes this process's udev and sysfs to the testbed.

// GLib headers use "signals" as a name: they come before Qt's keyword macros.
#include <umockdev.h>

#include "DeviceMonitor.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// One hidraw node and its parents, as the kernel lays out a USB HID device.
struct FakeNode {
    QByteArray usb;       // usb_device; empty for a device without a USB parent
    QByteArray interface; // usb_interface
    QByteArray hid;
    QByteArray hidraw;
    QByteArray record;
};

FakeNode usbNode(int index, const char *vid, const char *pid, const char *bcd) {
    FakeNode n;
    const QByteArray port = "1-" + QByteArray::number(index + 1);
    const QByteArray hidName = QByteArray("0003:") + QByteArray(vid).toUpper() + ':' +
                               QByteArray(pid).toUpper() + '.' +
                               QByteArray::number(index + 1).rightJustified(4, '0');
    n.usb = "/devices/pci0000:00/0000:00:14.0/usb1/" + port;
    n.interface = n.usb + '/' + port + ":1.0";
    n.hid = n.interface + '/' + hidName;
    n.hidraw = n.hid + "/hidraw/hidraw" + QByteArray::number(index);
    const QByteArray minor = QByteArray::number(index);
    n.record = "P: " + n.usb + "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\nA: idVendor=" + vid +
               "\nA: idProduct=" + pid + "\nA: bcdDevice=" + bcd +
               "\n\n"
               "P: " +
               n.interface +
               "\nE: DEVTYPE=usb_interface\nE: SUBSYSTEM=usb\nA: bInterfaceNumber=00\n\n"
               "P: " +
               n.hid + "\nE: SUBSYSTEM=hid\nE: HID_ID=0003:0000" + QByteArray(vid).toUpper() +
               ":0000" + QByteArray(pid).toUpper() +
               "\nE: HID_NAME=Test Mouse\nE: HID_UNIQ=\n\n"
               "P: " +
               n.hidraw + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/hidraw" + minor +
               "\nE: MAJOR=240\nE: MINOR=" + minor + "\nA: dev=240:" + minor +
               "\nL: device=../../../" + hidName + "\n";
    return n;
}

class Testbed {
public:
    Testbed() : m_bed(umockdev_testbed_new()) {}
    ~Testbed() { g_object_unref(m_bed); }
    Testbed(const Testbed &) = delete;
    Testbed &operator=(const Testbed &) = delete;

    bool add(const QByteArray &record) {
        GError *error = nullptr;
        const bool ok = umockdev_testbed_add_from_string(m_bed, record.constData(), &error);
        if (!ok) {
            qWarning("add_from_string: %s", error ? error->message : "?");
            g_clear_error(&error);
        }
        return ok;
    }

    // Unplugs like the kernel: the remove event, then the device, children first.
    void unplugPaths(const QList<QByteArray> &devices) {
        for (const QByteArray &path : devices) {
            if (path.isEmpty())
                continue;
            const QByteArray sys = "/sys" + path;
            umockdev_testbed_uevent(m_bed, sys.constData(), "remove");
            umockdev_testbed_remove_device(m_bed, sys.constData());
        }
    }
    void unplug(const FakeNode &n) { unplugPaths({n.hidraw, n.hid, n.interface, n.usb}); }

private:
    UMockdevTestbed *m_bed;
};

HidrawDevice deviceOf(const QSignalSpy &spy, int i) {
    return spy.at(i).at(1).value<HidrawDevice>();
}

} // namespace

class TestDeviceMonitor : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // umockdev_in_mock_environment() only turns true once a testbed exists.
        if (!qgetenv("LD_PRELOAD").contains("libumockdev-preload"))
            QSKIP("needs umockdev preloaded (ctest does it; or run under umockdev-wrapper)");
    }

    void hidIdText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::newRow("usb") << QByteArray("0003:0000248A:0000FA02") << true << 0x248A << 0xFA02;
        QTest::newRow("bluetooth lower case")
            << QByteArray("0005:0000046d:0000b01a\n") << true << 0x046D << 0xB01A;
        QTest::newRow("two fields") << QByteArray("0000248A:0000FA02") << false << 0 << 0;
        QTest::newRow("not hex") << QByteArray("0003:0000248G:0000FA02") << false << 0 << 0;
        QTest::newRow("empty field") << QByteArray("0003::0000FA02") << false << 0 << 0;
        QTest::newRow("vendor too wide") << QByteArray("0003:0001248A:0000FA02") << false << 0 << 0;
        QTest::newRow("empty") << QByteArray() << false << 0 << 0;
    }
    void hidIdText() {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(int, vid);
        QFETCH(int, pid);
        // Ids are left alone when the text is not understood.
        quint16 vendor = 7, product = 9;
        QCOMPARE(DeviceMonitor::parseHidId(text, vendor, product), ok);
        QCOMPARE(int(vendor), ok ? vid : 7);
        QCOMPARE(int(product), ok ? pid : 9);
    }

    void plugAndUnplugUsbNode() {
        Testbed bed;
        DeviceMonitor monitor;
        QVERIFY(monitor.isActive());
        QSignalSpy arrived(&monitor, &DeviceMonitor::deviceArrived);
        QSignalSpy removed(&monitor, &DeviceMonitor::deviceRemoved);

        const FakeNode mouse = usbNode(0, "248a", "fa02", "0902");
        QVERIFY(bed.add(mouse.record));
        QVERIFY(arrived.wait(3000));
        QCOMPARE(arrived.count(), 1); // the usb and hid records are not hidraw
        QCOMPARE(arrived.at(0).at(0).toString(), QStringLiteral("/dev/hidraw0"));
        HidrawDevice d = deviceOf(arrived, 0);
        QCOMPARE(d.path, QStringLiteral("/dev/hidraw0"));
        QVERIFY(d.sysPath.endsWith(QString::fromLatin1(mouse.hidraw)));
        QVERIFY(d.hasIds);
        QCOMPARE(d.vendorId, quint16(0x248A));
        QCOMPARE(d.productId, quint16(0xFA02));
        QVERIFY(d.hasRelease);
        QCOMPARE(d.releaseNumber, quint16(0x0902));

        // A second device beside the first is reported on its own.
        const FakeNode other = usbNode(1, "1d57", "fa60", "0100");
        QVERIFY(bed.add(other.record));
        QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 2, 3000);
        QCOMPARE(deviceOf(arrived, 1).path, QStringLiteral("/dev/hidraw1"));
        QCOMPARE(deviceOf(arrived, 1).productId, quint16(0xFA60));
        QCOMPARE(deviceOf(arrived, 1).releaseNumber, quint16(0x0100));

        // The parents are gone with the node: the removal still names the device.
        bed.unplug(mouse);
        QVERIFY(removed.wait(3000));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("/dev/hidraw0"));
        d = deviceOf(removed, 0);
        QVERIFY(d.hasIds);
        QCOMPARE(d.vendorId, quint16(0x248A));
        QCOMPARE(d.productId, quint16(0xFA02));
        QCOMPARE(d.releaseNumber, quint16(0x0902));

        // Plugged in again under the same name.
        QVERIFY(bed.add(mouse.record));
        QTRY_COMPARE_WITH_TIMEOUT(arrived.count(), 3, 3000);
        QCOMPARE(deviceOf(arrived, 2).path, QStringLiteral("/dev/hidraw0"));

        bed.unplug(other);
        bed.unplug(mouse);
        QTRY_COMPARE_WITH_TIMEOUT(removed.count(), 3, 3000);
        QCOMPARE(deviceOf(removed, 1).productId, quint16(0xFA60));
        QCOMPARE(deviceOf(removed, 2).productId, quint16(0xFA02));
        QCOMPARE(arrived.count(), 3);
    }

    // A node that was there before the monitor started is known when it goes away.
    void nodePresentAtStart() {
        Testbed bed;
        const FakeNode mouse = usbNode(2, "248a", "fa03", "0901");
        QVERIFY(bed.add(mouse.record));
        DeviceMonitor monitor;
        QVERIFY(monitor.isActive());
        QSignalSpy arrived(&monitor, &DeviceMonitor::deviceArrived);
        QSignalSpy removed(&monitor, &DeviceMonitor::deviceRemoved);
        // Events of the add may still be queued for a monitor made right after it.
        QTest::qWait(100);
        arrived.clear();

        bed.unplug(mouse);
        QVERIFY(removed.wait(3000));
        const HidrawDevice d = deviceOf(removed, 0);
        QCOMPARE(d.path, QStringLiteral("/dev/hidraw2"));
        QVERIFY(d.hasIds);
        QCOMPARE(d.productId, quint16(0xFA03));
        QCOMPARE(d.releaseNumber, quint16(0x0901));
        QCOMPARE(arrived.count(), 0);
    }

    // Bluetooth and other non-USB HID: ids from HID_ID, no release number; and a node
    // record without a node name still gets its /dev path.
    void nodeWithoutUsbParent() {
        Testbed bed;
        DeviceMonitor monitor;
        QSignalSpy arrived(&monitor, &DeviceMonitor::deviceArrived);
        QSignalSpy removed(&monitor, &DeviceMonitor::deviceRemoved);
        const QByteArray hid = "/devices/virtual/misc/uhid/0005:0000046D:0000B01A.0009";
        const QByteArray hidraw = hid + "/hidraw/hidraw7";
        QVERIFY(bed.add("P: " + hid +
                        "\nE: SUBSYSTEM=hid\nE: HID_ID=0005:0000046D:0000B01A\nE: HID_UNIQ=\n\n"
                        "P: " +
                        hidraw + "\nE: SUBSYSTEM=hidraw\nA: dev=240:7\n"));
        QVERIFY(arrived.wait(3000));
        const HidrawDevice d = deviceOf(arrived, 0);
        QCOMPARE(d.path, QStringLiteral("/dev/hidraw7"));
        QVERIFY(d.hasIds);
        QCOMPARE(d.vendorId, quint16(0x046D));
        QCOMPARE(d.productId, quint16(0xB01A));
        QVERIFY(!d.hasRelease);

        bed.unplugPaths({hidraw, hid});
        QVERIFY(removed.wait(3000));
        QCOMPARE(removed.at(0).at(0).toString(), QStringLiteral("/dev/hidraw7"));
    }

    // Devices of other subsystems never reach the listener.
    void otherSubsystemsAreIgnored() {
        Testbed bed;
        DeviceMonitor monitor;
        QSignalSpy arrived(&monitor, &DeviceMonitor::deviceArrived);
        QSignalSpy removed(&monitor, &DeviceMonitor::deviceRemoved);
        const QByteArray input = "/devices/virtual/input/input42";
        QVERIFY(bed.add("P: " + input + "\nE: SUBSYSTEM=input\nE: NAME=\"Test Keys\"\n"));
        bed.unplugPaths({input});
        // A hidraw node afterwards: once it is seen, everything before it has been read.
        const FakeNode mouse = usbNode(3, "248a", "fa02", "0902");
        QVERIFY(bed.add(mouse.record));
        QVERIFY(arrived.wait(3000));
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(deviceOf(arrived, 0).path, QStringLiteral("/dev/hidraw3"));
        QCOMPARE(removed.count(), 0);
        bed.unplug(mouse);
        QVERIFY(removed.wait(3000));
    }

    // A monitor that cannot be opened leaves the program without hot-plug, not broken.
    void setUpFailure() {
        DeviceMonitor::Source source;
        source.netlink = "no-such-event-source";
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("cannot open a udev monitor")));
        DeviceMonitor monitor(source);
        QVERIFY(!monitor.isActive());
    }
};

QTEST_GUILESS_MAIN(TestDeviceMonitor)
#include "tst_devicemonitor.moc"
