// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidApi.h"

#include <hidapi.h>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

class HidapiConnection : public HidConnection {
public:
    explicit HidapiConnection(hid_device *device) : m_device(device) {}
    ~HidapiConnection() override { hid_close(m_device); }
    HidapiConnection(const HidapiConnection &) = delete;
    HidapiConnection &operator=(const HidapiConnection &) = delete;

    int write(const unsigned char *data, size_t length) override {
        return hid_write(m_device, data, length);
    }
    int readTimeout(unsigned char *data, size_t length, int milliseconds) override {
        return hid_read_timeout(m_device, data, length, milliseconds);
    }

private:
    hid_device *m_device;
};

class HidapiBackend : public HidApi {
public:
    int init() override { return hid_init(); }
    int exit() override { return hid_exit(); }

    std::vector<HidDeviceRecord> enumerate(uint16_t vendorId, uint16_t productId) override {
        std::vector<HidDeviceRecord> records;
        hid_device_info *list = hid_enumerate(vendorId, productId);
        for (const hid_device_info *d = list; d; d = d->next) {
            HidDeviceRecord r;
            r.path = d->path ? d->path : "";
            r.vendorId = d->vendor_id;
            r.productId = d->product_id;
            r.serialNumber = d->serial_number ? d->serial_number : L"";
            r.releaseNumber = d->release_number;
            r.usagePage = d->usage_page;
            r.usage = d->usage;
            r.interfaceNumber = d->interface_number;
            records.push_back(std::move(r));
        }
        hid_free_enumeration(list);
        return records;
    }

    std::unique_ptr<HidConnection> open(const std::string &path) override {
        hid_device *device = hid_open_path(path.c_str());
        if (!device)
            return nullptr;
        return std::make_unique<HidapiConnection>(device);
    }

    bool accessDenied(const std::string &path) override {
        // hidapi keeps no reason for a failed open; the same open of the node tells it.
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            return false;
        }
        return errno == EACCES || errno == EPERM;
    }
};

HidapiBackend g_hidapi;
std::atomic<HidApi *> g_installed{nullptr};

} // namespace

HidApi &hidApi() {
    HidApi *api = g_installed.load();
    return api ? *api : g_hidapi;
}

void setHidApi(HidApi *api) {
    g_installed.store(api);
}
