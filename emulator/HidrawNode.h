// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One virtual hidraw node in a umockdev testbed, served by a VirtualMouse: the USB device,
// its interface, the HID device with our report descriptor, and the hidraw node, backed by
// a pty. The program under test finds it through libudev and opens it through hidapi;
// its writes reach the mouse model and the model's reports come back as reads.
//
// Reads keep report boundaries with a doorbell: every report made ready for the program
// puts one byte into the pty, so that the program's poll() wakes; the read itself is
// answered by the ioctl handler, which takes the byte back out.

#include "VirtualMouse.h"

#include <umockdev.h>

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HidrawNodeConfig {
    MouseLink link = MouseLink::Receiver;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t release = 0x0902;
    int number = 0;      // hidrawN, and the HID device's instance number N + 1
    std::string usbPort; // "1-1"
    std::string manufacturer;
    std::string product;
    int nodeMode = -1; // permission bits of the device node; -1 leaves the pty's own
};

// The report descriptor of both devices: a mouse collection (report id 1) and the
// command collection (usage page 1, usage 0, report id 5, 32-byte input and output).
const std::vector<uint8_t> &mouseReportDescriptor();

class HidrawNode {
public:
    HidrawNode(UMockdevTestbed *testbed, VirtualMouse &mouse, HidrawNodeConfig config);
    ~HidrawNode(); // unplugs
    HidrawNode(const HidrawNode &) = delete;
    HidrawNode &operator=(const HidrawNode &) = delete;

    // Adds the device records (which sends the "add" uevents) and starts serving.
    bool plug(std::string &error);
    // Sends the "remove" uevents, removes the records and hangs the node up.
    void unplug();
    bool isPlugged() const { return m_plugged; }
    std::string devnode() const;

private:
    static gboolean onIoctl(UMockdevIoctlBase *handler, UMockdevIoctlClient *client, gpointer self);
    static gboolean onRead(UMockdevIoctlBase *handler, UMockdevIoctlClient *client, gpointer self);
    static gboolean onWrite(UMockdevIoctlBase *handler, UMockdevIoctlClient *client, gpointer self);
    void pump(std::shared_ptr<MouseEndpoint> endpoint);
    void deliver(const MouseReport &report);
    std::vector<std::string> sysfsPaths() const; // usb device, interface, hid, hidraw
    std::string deviceRecords(unsigned major, unsigned minor) const;

    UMockdevTestbed *m_testbed;
    VirtualMouse &m_mouse;
    HidrawNodeConfig m_config;
    bool m_plugged = false;

    UMockdevIoctlBase *m_handler = nullptr;
    std::shared_ptr<MouseEndpoint> m_endpoint;
    std::thread m_pump;

    std::mutex m_mutex; // guards what follows; taken by the umockdev worker and the pump
    int m_master = -1;
    int m_slave = -1;
    std::deque<MouseReport> m_ready;             // each with one doorbell byte in the pty
    std::deque<UMockdevIoctlClient *> m_waiting; // blocking reads with nothing to give
};
