// SPDX-License-Identifier: GPL-3.0-or-later
// A small host program for the end-to-end tests, run under virtual-mouse. It talks to the
// mouse through hidapi and libudev exactly as the real program does, and exits with 0
// when every check passed (printing what failed otherwise).
//
//   hid-probe tables VID PID          table blocks with commit, echoes, a bad frame
//   hid-probe status VID PID FIFO     battery and status reports, misbehaving answers
//   hid-probe hotplug VID PID FIFO    unplug and plug seen by a udev monitor
//   hid-probe list                    prints every collection

#include <hidapi/hidapi.h>
#include <libudev.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Frame = std::vector<unsigned char>;
constexpr size_t kFrameSize = 33;
int g_failures = 0;

void fail(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::fprintf(stderr, "hid-probe: FAIL: ");
    std::vfprintf(stderr, format, args);
    std::fprintf(stderr, "\n");
    va_end(args);
    ++g_failures;
}

Frame frame(unsigned char code, unsigned address, unsigned char tag, const Frame &data) {
    Frame f(kFrameSize, 0);
    f[0] = 0x05;
    f[2] = 0xFA;
    f[3] = code;
    f[4] = static_cast<unsigned char>(address & 0xFF);
    f[5] = static_cast<unsigned char>(address >> 8);
    f[6] = static_cast<unsigned char>(data.size());
    f[7] = tag;
    if (!data.empty())
        std::memcpy(&f[8], data.data(), data.size());
    unsigned sum = 0;
    for (int i = 2; i <= 7; ++i)
        sum += f[i];
    f[1] = static_cast<unsigned char>((sum & 0xFF) ^ 0x66);
    return f;
}

Frame commitFrame(unsigned char code) {
    return frame(code, code == 0x05 ? 0x0FFF : 0x7F, 0xD3, {0x1A});
}

std::string hex(const unsigned char *bytes, size_t n) {
    std::string out;
    char buf[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        out += buf;
    }
    return out;
}

struct Probe {
    unsigned short vid = 0;
    unsigned short pid = 0;
    hid_device *dev = nullptr;

    std::string commandPath() {
        std::string path;
        hid_device_info *all = hid_enumerate(vid, pid);
        for (hid_device_info *d = all; d; d = d->next)
            if (d->usage_page == 1 && d->usage == 0)
                path = d->path;
        hid_free_enumeration(all);
        return path;
    }

    bool open() {
        const std::string path = commandPath();
        if (path.empty()) {
            fail("no command collection for %04x:%04x", vid, pid);
            return false;
        }
        dev = hid_open_path(path.c_str());
        if (!dev)
            fail("cannot open %s", path.c_str());
        return dev != nullptr;
    }

    void close() {
        if (dev)
            hid_close(dev);
        dev = nullptr;
    }

    bool write(const Frame &f) {
        if (hid_write(dev, f.data(), f.size()) != int(f.size())) {
            fail("write of command %02x failed", f[3]);
            return false;
        }
        return true;
    }

    // Sends a frame and expects its echo within the transfer's 150 ms.
    bool transfer(const Frame &f) {
        if (!write(f))
            return false;
        unsigned char reply[kFrameSize] = {};
        const int n = hid_read_timeout(dev, reply, sizeof reply, 150);
        if (n != int(kFrameSize) || std::memcmp(reply, f.data(), kFrameSize) != 0) {
            fail("command %02x at %02x%02x: read %d, echo %s", f[3], f[5], f[4], n,
                 hex(reply, kFrameSize).c_str());
            return false;
        }
        return true;
    }

    // Reads until a report with this code arrives (other reports are skipped).
    bool waitReport(unsigned char code, unsigned char *report, int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            std::memset(report, 0, kFrameSize);
            const int n = hid_read_timeout(dev, report, kFrameSize, 100);
            if (n < 0)
                return false;
            if (n > 3 && report[3] == code)
                return true;
        }
        return false;
    }
};

void control(const char *fifo, const char *line) {
    const int fd = ::open(fifo, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        fail("cannot open %s", fifo);
        return;
    }
    const std::string text = std::string(line) + "\n";
    if (::write(fd, text.data(), text.size()) != ssize_t(text.size()))
        fail("cannot write to %s", fifo);
    ::close(fd);
}

int listAll() {
    hid_device_info *all = hid_enumerate(0, 0);
    for (hid_device_info *d = all; d; d = d->next)
        std::printf("%s %04x:%04x release %04x usage %x:%x\n", d->path, d->vendor_id, d->product_id,
                    d->release_number, d->usage_page, d->usage);
    hid_free_enumeration(all);
    return 0;
}

int tables(Probe &p) {
    // The device lists its mouse, pointer and command collections on one node.
    hid_device_info *all = hid_enumerate(p.vid, p.pid);
    std::vector<std::pair<int, int>> usages;
    std::string path;
    bool samePath = true;
    for (hid_device_info *d = all; d; d = d->next) {
        usages.emplace_back(d->usage_page, d->usage);
        if (path.empty())
            path = d->path;
        samePath = samePath && path == d->path;
    }
    hid_free_enumeration(all);
    if (usages != std::vector<std::pair<int, int>>{{1, 2}, {1, 1}, {1, 0}} || !samePath)
        fail("collections of %04x:%04x are not mouse, pointer, command on one node", p.vid, p.pid);
    if (!p.open())
        return 1;
    // The open node leads back to its device record (through the node's device number).
    wchar_t text[64] = {};
    if (hid_get_manufacturer_string(p.dev, text, 64) != 0 || std::wcscmp(text, L"Virtual") != 0)
        fail("manufacturer string of the open device: %ls", text);

    Frame settings(19);
    for (size_t i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<unsigned char>(0x30 + i);
    settings[6] = 2;  // active profile
    settings[13] = 4; // report rate of profile 3
    settings[17] = 3; // DPI stage
    Frame macro(20);
    for (size_t i = 0; i < macro.size(); ++i)
        macro[i] = static_cast<unsigned char>(0xA0 + i);

    p.transfer(frame(0x46, 0, 0, {}));
    p.transfer(frame(0x01, 0x00, 0xD1, settings));
    p.transfer(commitFrame(0x01));
    p.transfer(frame(0x02, 0x00, 0xD1, {6}));
    p.transfer(frame(0x02, 0x01, 0xD2, {1, 0x20, 0x03, 0x40, 0x06}));
    p.transfer(commitFrame(0x02));
    // A lighting block that is never committed.
    p.transfer(frame(0x04, 0x00, 0xD1, Frame(24, 0x77)));
    p.transfer(frame(0x05, 200, 0xD2, macro));
    p.transfer(commitFrame(0x05));
    p.transfer(frame(0x40, 0x01F3, 0, {}));
    p.transfer(frame(0x46, 1, 0, {}));

    // A frame with a wrong checksum is ignored: no answer comes.
    Frame bad = frame(0x01, 0x00, 0xD1, Frame(19, 0x55));
    bad[1] ^= 0x01;
    p.write(bad);
    unsigned char reply[kFrameSize] = {};
    const int n = hid_read_timeout(p.dev, reply, sizeof reply, 150);
    if (n != 0)
        fail("a bad frame was answered (%d bytes)", n);
    p.close();
    return g_failures ? 1 : 0;
}

int status(Probe &p, const char *fifo) {
    if (!p.open())
        return 1;
    unsigned char r[kFrameSize] = {};

    // A battery change is reported by the mouse itself.
    control(fifo, "battery 4125 1");
    if (!p.waitReport(0x48, r, 3000) || r[4] != 0xE8 || r[5] != 0x03 || r[6] != 1)
        fail("battery report after the change: %s", hex(r, kFrameSize).c_str());
    // The status query is answered with the same report.
    Frame query(kFrameSize, 0);
    query[0] = 0x05;
    query[1] = 0x24; // checksum of FA 48
    query[2] = 0xFA;
    query[3] = 0x48;
    p.write(query);
    if (!p.waitReport(0x48, r, 1000) || r[4] != 0xE8 || r[5] != 0x03 || r[6] != 1 || r[7] != 1)
        fail("status query answer: %s", hex(r, kFrameSize).c_str());

    control(fifo, "dpi 3");
    if (!p.waitReport(0x49, r, 3000) || r[5] != 3)
        fail("status report after the DPI button: %s", hex(r, kFrameSize).c_str());
    control(fifo, "profile 4");
    if (!p.waitReport(0x49, r, 3000) || r[4] != 4 || r[5] != 3)
        fail("status report after a profile change: %s", hex(r, kFrameSize).c_str());
    control(fifo, "rate 2");
    if (!p.waitReport(0x49, r, 3000) || r[4] != 4 || r[6] != 2)
        fail("status report after a rate change: %s", hex(r, kFrameSize).c_str());

    // One lost answer; the status report after the command tells it has been taken.
    control(fifo, "answer none 1");
    control(fifo, "dpi 1");
    if (!p.waitReport(0x49, r, 3000))
        fail("no status report after answer none");
    const Frame block = frame(0x01, 0x00, 0xD1, Frame(19, 0x11));
    p.write(block);
    std::memset(r, 0, sizeof r);
    if (hid_read_timeout(p.dev, r, sizeof r, 150) != 0)
        fail("a lost answer arrived: %s", hex(r, kFrameSize).c_str());
    p.transfer(block); // recovered

    control(fifo, "answer wrong-data 1");
    control(fifo, "dpi 2");
    p.waitReport(0x49, r, 3000);
    p.write(block);
    if (hid_read_timeout(p.dev, r, sizeof r, 150) != int(kFrameSize) ||
        std::memcmp(r, block.data(), 8) != 0 || r[8] == block[8])
        fail("wrong-data answer: %s", hex(r, kFrameSize).c_str());

    control(fifo, "sleep");
    if (!p.waitReport(0x48, r, 3000) || r[4] || r[5] || r[6])
        fail("battery report of a sleeping mouse: %s", hex(r, kFrameSize).c_str());
    control(fifo, "wake");
    if (!p.waitReport(0x48, r, 3000) || r[4] != 0xE8)
        fail("battery report after waking: %s", hex(r, kFrameSize).c_str());
    p.close();
    return g_failures ? 1 : 0;
}

// Waits for a uevent with this action on the monitor.
bool waitUevent(udev_monitor *monitor, const char *action, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    pollfd pfd{udev_monitor_get_fd(monitor), POLLIN, 0};
    while (std::chrono::steady_clock::now() < end) {
        if (poll(&pfd, 1, 100) <= 0)
            continue;
        udev_device *d = udev_monitor_receive_device(monitor);
        if (!d)
            continue;
        const char *a = udev_device_get_action(d);
        const bool match = a && std::strcmp(a, action) == 0;
        udev_device_unref(d);
        if (match)
            return true;
    }
    return false;
}

int hotplug(Probe &p, const char *fifo) {
    udev *u = udev_new();
    udev_monitor *monitor = udev_monitor_new_from_netlink(u, "udev");
    udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr);
    udev_monitor_enable_receiving(monitor);
    if (!p.open())
        return 1;

    control(fifo, "unplug cable");
    if (!waitUevent(monitor, "remove", 5000))
        fail("no remove uevent");
    unsigned char r[kFrameSize] = {};
    if (hid_read_timeout(p.dev, r, sizeof r, 500) != -1)
        fail("reading an unplugged device did not fail");
    p.close();
    if (!p.commandPath().empty())
        fail("the unplugged device is still listed");

    control(fifo, "plug cable");
    if (!waitUevent(monitor, "add", 5000))
        fail("no add uevent");
    if (p.open()) {
        p.transfer(frame(0x46, 0, 0, {}));
        p.close();
    }
    udev_monitor_unref(monitor);
    udev_unref(u);
    return g_failures ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && std::strcmp(argv[1], "list") == 0)
        return listAll();
    if (argc < 4) {
        std::fprintf(stderr, "usage: hid-probe tables|status|hotplug VID PID [FIFO]\n");
        return 2;
    }
    Probe p;
    p.vid = static_cast<unsigned short>(std::strtoul(argv[2], nullptr, 16));
    p.pid = static_cast<unsigned short>(std::strtoul(argv[3], nullptr, 16));
    const std::string mode = argv[1];
    int code = 2;
    if (hid_init() != 0) {
        fail("hid_init");
        return 1;
    }
    if (mode == "tables")
        code = tables(p);
    else if (mode == "status" && argc >= 5)
        code = status(p, argv[4]);
    else if (mode == "hotplug" && argc >= 5)
        code = hotplug(p, argv[4]);
    hid_exit();
    return code;
}
