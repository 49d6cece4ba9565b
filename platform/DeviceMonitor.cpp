// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceMonitor.h"
#include "PlatformLog.h"

#include <QDebug>
#include <QList>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <libudev.h>

namespace {

// A hexadecimal sysfs attribute such as idVendor "248a" or bcdDevice "0902".
bool readHexAttribute(udev_device *device, const char *name, quint16 &out) {
    const char *text = udev_device_get_sysattr_value(device, name);
    if (!text)
        return false;
    bool ok = false;
    const uint value = QByteArray(text).trimmed().toUInt(&ok, 16);
    if (!ok || value > 0xFFFF)
        return false;
    out = quint16(value);
    return true;
}

QString fromUdev(const char *text) {
    return text ? QString::fromLocal8Bit(text) : QString();
}

} // namespace

DeviceMonitor::DeviceMonitor(QObject *parent) : DeviceMonitor(Source(), parent) {}

DeviceMonitor::DeviceMonitor(const Source &source, QObject *parent) : QObject(parent) {
    qRegisterMetaType<HidrawDevice>();
    setUp(source);
}

DeviceMonitor::~DeviceMonitor() {
    tearDown();
}

void DeviceMonitor::setUp(const Source &source) {
    m_udev = udev_new();
    if (!m_udev) {
        qCWarning(lcPlatform, "DeviceMonitor: no udev context (%s); running without hot-plug",
                  std::strerror(errno));
        return;
    }
    udev_monitor *monitor = udev_monitor_new_from_netlink(m_udev, source.netlink.constData());
    if (!monitor) {
        qCWarning(lcPlatform,
                  "DeviceMonitor: cannot open a udev monitor on \"%s\" (%s); running without "
                  "hot-plug",
                  source.netlink.constData(), std::strerror(errno));
        tearDown();
        return;
    }
    int r = udev_monitor_filter_add_match_subsystem_devtype(monitor, source.subsystem.constData(),
                                                            nullptr);
    if (r >= 0)
        r = udev_monitor_enable_receiving(monitor);
    const int fd = r >= 0 ? udev_monitor_get_fd(monitor) : -1;
    if (fd < 0) {
        qCWarning(lcPlatform,
                  "DeviceMonitor: cannot receive udev events (%s); running without hot-plug",
                  std::strerror(r < 0 ? -r : errno));
        udev_monitor_unref(monitor);
        tearDown();
        return;
    }
    m_monitor = monitor;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DeviceMonitor::readEvents);
    // Receiving is on before the scan, so nothing that arrives in between is missed.
    rememberPresent(source.subsystem);
}

void DeviceMonitor::tearDown() {
    delete m_notifier;
    m_notifier = nullptr;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    m_monitor = nullptr;
    if (m_udev)
        udev_unref(m_udev);
    m_udev = nullptr;
}

void DeviceMonitor::rememberPresent(const QByteArray &subsystem) {
    udev_enumerate *scan = udev_enumerate_new(m_udev);
    if (!scan)
        return;
    if (udev_enumerate_add_match_subsystem(scan, subsystem.constData()) >= 0 &&
        udev_enumerate_scan_devices(scan) >= 0) {
        udev_list_entry *entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan)) {
            udev_device *device =
                udev_device_new_from_syspath(m_udev, udev_list_entry_get_name(entry));
            if (!device)
                continue;
            const HidrawDevice d = describe(device);
            if (!d.path.isEmpty())
                m_known.insert(d.path, d);
            udev_device_unref(device);
        }
    }
    udev_enumerate_unref(scan);
}

bool DeviceMonitor::parseHidId(const QByteArray &hidId, quint16 &vendorId, quint16 &productId) {
    const QList<QByteArray> parts = hidId.trimmed().split(':');
    if (parts.size() != 3)
        return false;
    uint values[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        if (parts[i].isEmpty())
            return false;
        values[i] = parts[i].toUInt(&ok, 16);
        if (!ok)
            return false;
    }
    if (values[1] > 0xFFFF || values[2] > 0xFFFF)
        return false;
    vendorId = quint16(values[1]);
    productId = quint16(values[2]);
    return true;
}

HidrawDevice DeviceMonitor::describe(udev_device *device) const {
    HidrawDevice d;
    d.path = fromUdev(udev_device_get_devnode(device));
    if (d.path.isEmpty()) {
        // A removed node may come without its node name; hidraw nodes are named after the
        // device.
        const QString name = fromUdev(udev_device_get_sysname(device));
        if (!name.isEmpty())
            d.path = QStringLiteral("/dev/") + name;
    }
    d.sysPath = fromUdev(udev_device_get_syspath(device));

    // Parents belong to the child; they are not released here.
    if (udev_device *hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr)) {
        if (const char *id = udev_device_get_property_value(hid, "HID_ID"))
            d.hasIds = parseHidId(QByteArray(id), d.vendorId, d.productId);
    }
    if (udev_device *usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device")) {
        if (!d.hasIds) {
            quint16 vid = 0, pid = 0;
            if (readHexAttribute(usb, "idVendor", vid) && readHexAttribute(usb, "idProduct", pid)) {
                d.vendorId = vid;
                d.productId = pid;
                d.hasIds = true;
            }
        }
        d.hasRelease = readHexAttribute(usb, "bcdDevice", d.releaseNumber);
    }
    return d;
}

void DeviceMonitor::readEvents() {
    // The socket is non-blocking: receiving stops when nothing more is queued.
    while (m_monitor) {
        udev_device *device = udev_monitor_receive_device(m_monitor);
        if (!device)
            break;
        const QByteArray action(udev_device_get_action(device));
        HidrawDevice d = describe(device);
        udev_device_unref(device);
        if (d.path.isEmpty())
            continue;
        if (action == "add") {
            m_known.insert(d.path, d);
            emit deviceArrived(d.path, d);
        } else if (action == "remove") {
            const HidrawDevice known = m_known.take(d.path);
            if (!d.hasIds && known.hasIds) {
                d.hasIds = true;
                d.vendorId = known.vendorId;
                d.productId = known.productId;
            }
            if (!d.hasRelease && known.hasRelease) {
                d.hasRelease = true;
                d.releaseNumber = known.releaseNumber;
            }
            emit deviceRemoved(d.path, d);
        }
    }
}
