// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one seam between the device layer and hidapi: enumerate, open by path, write,
// read with time-out, close. Production code goes to hidapi itself; tests put a scripted
// or virtual mouse behind the same calls.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct HidDeviceRecord {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::wstring serialNumber;
    uint16_t releaseNumber = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int interfaceNumber = -1;
};

// One open HID device. Closing is destruction.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    // As hid_write: bytes written, or -1.
    virtual int write(const unsigned char *data, size_t length) = 0;
    // As hid_read_timeout: bytes read, 0 on time-out, -1 on error.
    virtual int readTimeout(unsigned char *data, size_t length, int milliseconds) = 0;
};

class HidApi {
public:
    virtual ~HidApi() = default;
    // As hid_init / hid_exit: 0 on success.
    virtual int init() = 0;
    virtual int exit() = 0;
    // Every HID collection of the given ids (0 matches any).
    virtual std::vector<HidDeviceRecord> enumerate(uint16_t vendorId, uint16_t productId) = 0;
    // nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidConnection> open(const std::string &path) = 0;
    // Asked after an open failed: true when the system refuses this user access to the
    // device (no permission), as opposed to a device that is gone or broken.
    virtual bool accessDenied(const std::string &path) {
        (void)path;
        return false;
    }
};

// The process-wide backend: hidapi unless a test installed another one.
HidApi &hidApi();
// Installs a backend (not owned); nullptr restores hidapi.
void setHidApi(HidApi *api);
