// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hot-plug of HID devices: a udev monitor on the "hidraw" subsystem, read on the thread
// that owns the monitor (the GUI thread) through a socket notifier.
//
// Every hidraw node that appears or goes away is reported with its device node path
// ("/dev/hidraw3") and whatever USB identity could be read for it. The identity comes
// from the node's parents while the device is there: the hid parent's HID_ID property
// (bus:vendor:product), and the USB device's idVendor, idProduct and bcdDevice
// attributes. A removed node's parents are usually gone by the time the event is read,
// so removals carry the identity remembered from the node's arrival (or from the nodes
// present when the monitor started).
//
// The monitor only says that something hidraw changed; the listener re-enumerates.
// When the monitor cannot be set up (no udev, no netlink socket) it logs a warning, stays
// inactive and never emits.

#include <QHash>
#include <QMetaType>
#include <QObject>
#include <QString>

struct udev;
struct udev_device;
struct udev_monitor;
class QSocketNotifier;

// What is known about one hidraw node.
struct HidrawDevice {
    QString path;    // device node, e.g. "/dev/hidraw3"
    QString sysPath; // sysfs path of the node; empty when udev did not give one
    bool hasIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
    bool hasRelease = false;   // only USB devices have a release number
    quint16 releaseNumber = 0; // BCD, e.g. 0x0902
};
Q_DECLARE_METATYPE(HidrawDevice)

class DeviceMonitor : public QObject {
    Q_OBJECT

public:
    // Where the monitor listens. The defaults are what the program uses; tests may point
    // it elsewhere.
    struct Source {
        QByteArray netlink = "udev"; // "udev" (processed events) or "kernel"
        QByteArray subsystem = "hidraw";
    };

    explicit DeviceMonitor(QObject *parent = nullptr);
    explicit DeviceMonitor(const Source &source, QObject *parent = nullptr);
    ~DeviceMonitor() override;
    DeviceMonitor(const DeviceMonitor &) = delete;
    DeviceMonitor &operator=(const DeviceMonitor &) = delete;

    // True when events are being received.
    bool isActive() const { return m_monitor != nullptr; }

    // Reads "0003:0000248A:0000FA02" (bus:vendor:product, hexadecimal) into the ids.
    // False, leaving the ids alone, for anything else.
    static bool parseHidId(const QByteArray &hidId, quint16 &vendorId, quint16 &productId);

signals:
    void deviceArrived(const QString &path, const HidrawDevice &device);
    void deviceRemoved(const QString &path, const HidrawDevice &device);

private:
    void setUp(const Source &source);
    void tearDown();
    void readEvents();
    HidrawDevice describe(udev_device *device) const;
    void rememberPresent(const QByteArray &subsystem);

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, HidrawDevice> m_known; // by node path, for removals
};
