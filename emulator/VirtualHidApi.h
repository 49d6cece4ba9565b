// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An in-process HID backend that puts a VirtualMouse behind the device layer's hidapi seam.
// It lists the receiver (first id pair) and the cable (second id pair) the way hidapi on
// hidraw does: three collections per device, (usage page 1, usage 2), (1, 1) and the
// command collection (1, 0), all sharing the device's node path. Every open handle gets
// its own copy of the mouse's input reports. Thread-safe.

#include "HidApi.h"
#include "VirtualMouse.h"

#include <atomic>
#include <mutex>

class VirtualHidApi : public HidApi {
public:
    // Takes the USB ids from the installation's model descriptor (its defaults when there
    // is none). The mouse must outlive the backend and every connection it opened.
    explicit VirtualHidApi(VirtualMouse &mouse);

    static std::string pathOf(MouseLink link); // "/dev/hidraw0" receiver, "/dev/hidraw1" cable
    void setIds(MouseLink link, uint16_t vendorId, uint16_t productId);
    uint16_t vendorId(MouseLink link) const;
    uint16_t productId(MouseLink link) const;
    void setReleaseNumber(MouseLink link, uint16_t release); // default 0x0902
    // Makes init() fail with -1, as hid_init does without a usable backend.
    void setInitFails(bool fails);

    int init() override;
    int exit() override;
    std::vector<HidDeviceRecord> enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<HidConnection> open(const std::string &path) override;

    int initCalls() const { return m_initCalls; }
    int exitCalls() const { return m_exitCalls; }
    int openCalls() const { return m_openCalls; }
    // Connections opened and not yet closed.
    int openConnections() const { return *m_live; }

private:
    struct Device {
        uint16_t vendorId;
        uint16_t productId;
        uint16_t release = 0x0902;
    };
    VirtualMouse &m_mouse;
    mutable std::mutex m_mutex;
    Device m_devices[kMouseLinkCount];
    bool m_initFails = false;
    std::atomic<int> m_initCalls{0};
    std::atomic<int> m_exitCalls{0};
    std::atomic<int> m_openCalls{0};
    std::shared_ptr<std::atomic<int>> m_live = std::make_shared<std::atomic<int>>(0);
};
