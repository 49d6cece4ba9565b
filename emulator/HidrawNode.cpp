// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidrawNode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

using namespace MouseProtocol;

namespace {

constexpr const char *kUsbRoot = "/devices/pci0000:00/0000:00:14.0/usb1/";

std::string hex4(unsigned v, bool upper) {
    char buf[8];
    std::snprintf(buf, sizeof buf, upper ? "%04X" : "%04x", v & 0xFFFF);
    return buf;
}

std::string hexBytes(const std::vector<uint8_t> &bytes) {
    std::string out;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

// Copies text (without its terminating zero) into an ioctl's buffer and completes the call
// with the copied length, as the kernel does for the name and phys requests.
void completeWithString(UMockdevIoctlClient *client, const std::string &text, size_t room) {
    GError *err = nullptr;
    UMockdevIoctlData *data =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, room, &err);
    if (!data) {
        g_clear_error(&err);
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    const size_t n = std::min(room, text.size() + 1);
    std::memset(data->data, 0, room);
    std::memcpy(data->data, text.c_str(), n);
    umockdev_ioctl_client_complete(client, glong(n), 0);
    g_object_unref(data);
}

template <typename T> T *resolveArg(UMockdevIoctlClient *client, UMockdevIoctlData **holder) {
    GError *err = nullptr;
    *holder =
        umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(T), &err);
    if (!*holder) {
        g_clear_error(&err);
        return nullptr;
    }
    return reinterpret_cast<T *>((*holder)->data);
}

} // namespace

const std::vector<uint8_t> &mouseReportDescriptor() {
    static const std::vector<uint8_t> descriptor = {
        0x05, 0x01,       // Usage Page (Generic Desktop)
        0x09, 0x02,       // Usage (Mouse)
        0xA1, 0x01,       // Collection (Application)
        0x85, 0x01,       //   Report ID (1)
        0x09, 0x01,       //   Usage (Pointer)
        0xA1, 0x00,       //   Collection (Physical)
        0x05, 0x09,       //     Usage Page (Button)
        0x19, 0x01,       //     Usage Minimum (1)
        0x29, 0x05,       //     Usage Maximum (5)
        0x15, 0x00,       //     Logical Minimum (0)
        0x25, 0x01,       //     Logical Maximum (1)
        0x95, 0x05,       //     Report Count (5)
        0x75, 0x01,       //     Report Size (1)
        0x81, 0x02,       //     Input (Data, Variable, Absolute)
        0x95, 0x01,       //     Report Count (1)
        0x75, 0x03,       //     Report Size (3)
        0x81, 0x01,       //     Input (Constant)
        0x05, 0x01,       //     Usage Page (Generic Desktop)
        0x09, 0x30,       //     Usage (X)
        0x09, 0x31,       //     Usage (Y)
        0x16, 0x01, 0x80, //     Logical Minimum (-32767)
        0x26, 0xFF, 0x7F, //     Logical Maximum (32767)
        0x75, 0x10,       //     Report Size (16)
        0x95, 0x02,       //     Report Count (2)
        0x81, 0x06,       //     Input (Data, Variable, Relative)
        0x09, 0x38,       //     Usage (Wheel)
        0x15, 0x81,       //     Logical Minimum (-127)
        0x25, 0x7F,       //     Logical Maximum (127)
        0x75, 0x08,       //     Report Size (8)
        0x95, 0x01,       //     Report Count (1)
        0x81, 0x06,       //     Input (Data, Variable, Relative)
        0xC0,             //   End Collection
        0xC0,             // End Collection
        0x05, 0x01,       // Usage Page (Generic Desktop)
        0x09, 0x00,       // Usage (Undefined): the command collection
        0xA1, 0x01,       // Collection (Application)
        0x85, 0x05,       //   Report ID (5)
        0x06, 0x00, 0xFF, //   Usage Page (Vendor Defined 0xFF00)
        0x15, 0x00,       //   Logical Minimum (0)
        0x26, 0xFF, 0x00, //   Logical Maximum (255)
        0x75, 0x08,       //   Report Size (8)
        0x95, 0x20,       //   Report Count (32)
        0x09, 0x01,       //   Usage (1)
        0x81, 0x02,       //   Input (Data, Variable, Absolute)
        0x09, 0x02,       //   Usage (2)
        0x91, 0x02,       //   Output (Data, Variable, Absolute)
        0xC0,             // End Collection
    };
    return descriptor;
}

HidrawNode::HidrawNode(UMockdevTestbed *testbed, VirtualMouse &mouse, HidrawNodeConfig config)
    : m_testbed(testbed), m_mouse(mouse), m_config(std::move(config)) {}

HidrawNode::~HidrawNode() {
    unplug();
}

std::string HidrawNode::devnode() const {
    return "/dev/hidraw" + std::to_string(m_config.number);
}

std::vector<std::string> HidrawNode::sysfsPaths() const {
    const std::string usb = kUsbRoot + m_config.usbPort;
    const std::string interface = usb + "/" + m_config.usbPort + ":1.1";
    const std::string hid = interface + "/0003:" + hex4(m_config.vendorId, true) + ":" +
                            hex4(m_config.productId, true) + "." +
                            hex4(unsigned(m_config.number + 1), true);
    const std::string hidraw = hid + "/hidraw/hidraw" + std::to_string(m_config.number);
    return {usb, interface, hid, hidraw};
}

std::string HidrawNode::deviceRecords(unsigned major, unsigned minor) const {
    const std::vector<std::string> p = sysfsPaths();
    const std::string vid = hex4(m_config.vendorId, false);
    const std::string pid = hex4(m_config.productId, false);
    const std::string name = m_config.manufacturer + " " + m_config.product;
    const std::string hidName = p[2].substr(p[2].rfind('/') + 1);
    std::string r;
    r += "P: " + p[0] + "\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n";
    r += "A: idVendor=" + vid + "\nA: idProduct=" + pid +
         "\nA: bcdDevice=" + hex4(m_config.release, false) + "\n";
    r += "A: manufacturer=" + m_config.manufacturer + "\nA: product=" + m_config.product +
         "\nA: serial=\n\n";
    r += "P: " + p[1] + "\nE: DEVTYPE=usb_interface\nE: SUBSYSTEM=usb\n";
    r += "A: bInterfaceNumber=01\nA: bInterfaceClass=03\n\n";
    r += "P: " + p[2] + "\nE: SUBSYSTEM=hid\nE: HID_ID=0003:0000" + hex4(m_config.vendorId, true) +
         ":0000" + hex4(m_config.productId, true) + "\nE: HID_NAME=" + name +
         "\nE: HID_UNIQ=\nE: HID_PHYS=usb-0000:00:14.0-" + m_config.usbPort + "/input1\n";
    r += "H: report_descriptor=" + hexBytes(mouseReportDescriptor()) + "\n\n";
    r += "P: " + p[3] + "\nE: SUBSYSTEM=hidraw\nE: DEVNAME=" + devnode() +
         "\nE: MAJOR=" + std::to_string(major) + "\nE: MINOR=" + std::to_string(minor) +
         "\nA: dev=" + std::to_string(major) + ":" + std::to_string(minor) +
         "\nL: device=../../../" + hidName + "\n";
    return r;
}

bool HidrawNode::plug(std::string &error) {
    if (m_plugged)
        return true;

    // The node's pty: the program opens the slave, we keep the master and a slave of our
    // own, so the master never sees a hang-up while the program has the node closed.
    int master = -1, slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(slave, F_SETFL, fcntl(slave, F_GETFL) | O_NONBLOCK);
    char ptyName[64] = {};
    struct stat st {};
    if (ptsname_r(master, ptyName, sizeof ptyName) != 0 || stat(ptyName, &st) != 0 ||
        (m_config.nodeMode >= 0 && fchmod(slave, mode_t(m_config.nodeMode)) != 0)) {
        error = std::string("pty name or mode: ") + std::strerror(errno);
        ::close(master);
        ::close(slave);
        return false;
    }

    gchar *root = umockdev_testbed_get_root_dir(m_testbed);
    const std::string devDir = std::string(root) + "/dev";
    const std::string link = std::string(root) + devnode();
    g_free(root);
    mkdir(devDir.c_str(), 0755);
    unlink(link.c_str());
    if (symlink(ptyName, link.c_str()) != 0) {
        error = "symlink " + link + ": " + std::strerror(errno);
        ::close(master);
        ::close(slave);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_master = master;
        m_slave = slave;
    }

    m_handler = umockdev_ioctl_base_new();
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(onIoctl), this);
    g_signal_connect(m_handler, "handle-read", G_CALLBACK(onRead), this);
    g_signal_connect(m_handler, "handle-write", G_CALLBACK(onWrite), this);
    GError *err = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, devnode().c_str(), m_handler, &err)) {
        error = std::string("attach ioctl handler: ") + (err ? err->message : "?");
        g_clear_error(&err);
        g_object_unref(m_handler);
        m_handler = nullptr;
        std::lock_guard<std::mutex> lock(m_mutex);
        ::close(m_master);
        ::close(m_slave);
        m_master = m_slave = -1;
        return false;
    }

    m_mouse.plug(m_config.link);
    std::shared_ptr<MouseEndpoint> endpoint = m_mouse.open(m_config.link);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_endpoint = endpoint;
    }
    m_pump = std::thread(&HidrawNode::pump, this, endpoint);
    m_plugged = true;

    // Adding the records sends the "add" uevents.
    if (!umockdev_testbed_add_from_string(
            m_testbed, deviceRecords(major(st.st_rdev), minor(st.st_rdev)).c_str(), &err)) {
        error = std::string("add device: ") + (err ? err->message : "?");
        g_clear_error(&err);
        unplug();
        return false;
    }
    return true;
}

void HidrawNode::unplug() {
    if (!m_plugged)
        return;
    m_plugged = false;

    // The mouse leaves: its endpoint dies and the pump stops.
    m_mouse.unplug(m_config.link);
    std::shared_ptr<MouseEndpoint> endpoint;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        endpoint.swap(m_endpoint);
    }
    endpoint->close();
    if (m_pump.joinable())
        m_pump.join();

    std::vector<std::string> paths = sysfsPaths();
    std::reverse(paths.begin(), paths.end()); // hidraw, hid, interface, usb device
    for (const std::string &p : paths) {
        const std::string sys = "/sys" + p;
        umockdev_testbed_uevent(m_testbed, sys.c_str(), "remove");
        umockdev_testbed_remove_device(m_testbed, sys.c_str());
    }

    GError *err = nullptr;
    if (!umockdev_testbed_detach_ioctl(m_testbed, devnode().c_str(), &err))
        g_clear_error(&err);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (UMockdevIoctlClient *client : m_waiting) {
            umockdev_ioctl_client_complete(client, -1, ENODEV);
            g_object_unref(client);
        }
        m_waiting.clear();
        m_ready.clear();
        // Closing both ends hangs the pty up: the program's poll() sees it.
        ::close(m_master);
        ::close(m_slave);
        m_master = m_slave = -1;
    }
    g_object_unref(m_handler);
    m_handler = nullptr;

    gchar *root = umockdev_testbed_get_root_dir(m_testbed);
    unlink((std::string(root) + devnode()).c_str());
    g_free(root);
}

void HidrawNode::pump(std::shared_ptr<MouseEndpoint> endpoint) {
    MouseReport report{};
    while (endpoint->read(report.data(), report.size(), -1) > 0)
        deliver(report);
}

void HidrawNode::deliver(const MouseReport &report) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_master < 0)
        return;
    if (!m_waiting.empty()) {
        UMockdevIoctlClient *client = m_waiting.front();
        m_waiting.pop_front();
        UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);
        const size_t n = std::min(size_t(buffer->data_len), report.size());
        std::memcpy(buffer->data, report.data(), n);
        umockdev_ioctl_client_complete(client, glong(n), 0);
        g_object_unref(client);
        return;
    }
    if (m_ready.size() >= kEndpointQueueLimit)
        return;
    m_ready.push_back(report);
    const char bell = 1;
    if (::write(m_master, &bell, 1) != 1)
        m_ready.pop_back();
}

gboolean HidrawNode::onRead(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self) {
    auto *node = static_cast<HidrawNode *>(self);
    std::lock_guard<std::mutex> lock(node->m_mutex);
    if (node->m_ready.empty()) {
        // A blocking read with nothing to give: it is answered by the next report.
        node->m_waiting.push_back(client);
        g_object_ref(client);
        return TRUE;
    }
    const MouseReport report = node->m_ready.front();
    node->m_ready.pop_front();
    char bell = 0;
    if (::read(node->m_slave, &bell, 1) != 1) {
        // The doorbell is always there for a queued report; nothing to do if it is not.
    }
    UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);
    const size_t n = std::min(size_t(buffer->data_len), report.size());
    std::memcpy(buffer->data, report.data(), n);
    umockdev_ioctl_client_complete(client, glong(n), 0);
    return TRUE;
}

gboolean HidrawNode::onWrite(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self) {
    auto *node = static_cast<HidrawNode *>(self);
    UMockdevIoctlData *buffer = umockdev_ioctl_client_get_arg(client);
    std::shared_ptr<MouseEndpoint> endpoint;
    {
        std::lock_guard<std::mutex> lock(node->m_mutex);
        endpoint = node->m_endpoint;
    }
    const int n = endpoint ? endpoint->write(buffer->data, size_t(buffer->data_len)) : -1;
    if (n < 0)
        umockdev_ioctl_client_complete(client, -1, ENODEV);
    else
        umockdev_ioctl_client_complete(client, n, 0);
    return TRUE;
}

gboolean HidrawNode::onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self) {
    auto *node = static_cast<HidrawNode *>(self);
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    const std::vector<uint8_t> &descriptor = mouseReportDescriptor();
    UMockdevIoctlData *holder = nullptr;

    if (request == HIDIOCGRDESCSIZE) {
        // Asked at each open: like a newly opened hidraw file, the program reads only the
        // reports sent from now on, not those the mouse sent while the node was closed.
        {
            std::lock_guard<std::mutex> lock(node->m_mutex);
            char bell = 0;
            for (; !node->m_ready.empty(); node->m_ready.pop_front()) {
                if (::read(node->m_slave, &bell, 1) != 1)
                    break;
            }
        }
        if (int *size = resolveArg<int>(client, &holder)) {
            *size = int(descriptor.size());
            umockdev_ioctl_client_complete(client, 0, 0);
        } else {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
        }
    } else if (request == HIDIOCGRDESC) {
        if (auto *d = resolveArg<hidraw_report_descriptor>(client, &holder)) {
            if (d->size > HID_MAX_DESCRIPTOR_SIZE) {
                umockdev_ioctl_client_complete(client, -1, EINVAL);
            } else {
                const size_t n = std::min(size_t(d->size), descriptor.size());
                std::memcpy(d->value, descriptor.data(), n);
                umockdev_ioctl_client_complete(client, 0, 0);
            }
        } else {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
        }
    } else if (request == HIDIOCGRAWINFO) {
        if (auto *info = resolveArg<hidraw_devinfo>(client, &holder)) {
            info->bustype = 3; // BUS_USB
            info->vendor = int16_t(node->m_config.vendorId);
            info->product = int16_t(node->m_config.productId);
            umockdev_ioctl_client_complete(client, 0, 0);
        } else {
            umockdev_ioctl_client_complete(client, -1, EFAULT);
        }
    } else if (_IOC_TYPE(request) == 'H' && _IOC_DIR(request) == _IOC_READ &&
               (_IOC_NR(request) == 0x04 || _IOC_NR(request) == 0x05 || _IOC_NR(request) == 0x08)) {
        std::string text; // uniq (0x08) is empty
        if (_IOC_NR(request) == 0x04)
            text = node->m_config.manufacturer + " " + node->m_config.product;
        else if (_IOC_NR(request) == 0x05)
            text = "usb-0000:00:14.0-" + node->m_config.usbPort + "/input1";
        completeWithString(client, text, _IOC_SIZE(request));
    } else {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
    }
    if (holder)
        g_object_unref(holder);
    return TRUE;
}
