// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualHidApi.h"

#include "ModelDescriptor.h"

using namespace MouseProtocol;

namespace {

size_t index(MouseLink link) {
    return link == MouseLink::Receiver ? 0 : 1;
}

class VirtualConnection : public HidConnection {
public:
    VirtualConnection(std::shared_ptr<MouseEndpoint> endpoint,
                      std::shared_ptr<std::atomic<int>> live)
        : m_endpoint(std::move(endpoint)), m_live(std::move(live)) {
        ++*m_live;
    }
    ~VirtualConnection() override {
        m_endpoint->close();
        --*m_live;
    }
    int write(const unsigned char *data, size_t length) override {
        return m_endpoint->write(data, length);
    }
    int readTimeout(unsigned char *data, size_t length, int milliseconds) override {
        return m_endpoint->read(data, length, milliseconds);
    }

private:
    std::shared_ptr<MouseEndpoint> m_endpoint;
    std::shared_ptr<std::atomic<int>> m_live;
};

// The collections of one device as hidapi lists them: the mouse, its pointer, and the
// command collection.
constexpr uint16_t kCollections[][2] = {{1, 2}, {1, 1}, {1, 0}};

} // namespace

VirtualHidApi::VirtualHidApi(VirtualMouse &mouse) : m_mouse(mouse) {
    int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
    readUsbIds(vid1, pid1, vid2, pid2);
    m_devices[0].vendorId = uint16_t(vid1);
    m_devices[0].productId = uint16_t(pid1);
    m_devices[1].vendorId = uint16_t(vid2);
    m_devices[1].productId = uint16_t(pid2);
}

std::string VirtualHidApi::pathOf(MouseLink link) {
    return link == MouseLink::Receiver ? "/dev/hidraw0" : "/dev/hidraw1";
}

void VirtualHidApi::setIds(MouseLink link, uint16_t vendorId, uint16_t productId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices[index(link)].vendorId = vendorId;
    m_devices[index(link)].productId = productId;
}

uint16_t VirtualHidApi::vendorId(MouseLink link) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_devices[index(link)].vendorId;
}

uint16_t VirtualHidApi::productId(MouseLink link) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_devices[index(link)].productId;
}

void VirtualHidApi::setReleaseNumber(MouseLink link, uint16_t release) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_devices[index(link)].release = release;
}

void VirtualHidApi::setInitFails(bool fails) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_initFails = fails;
}

int VirtualHidApi::init() {
    ++m_initCalls;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_initFails ? -1 : 0;
}

int VirtualHidApi::exit() {
    ++m_exitCalls;
    return 0;
}

std::vector<HidDeviceRecord> VirtualHidApi::enumerate(uint16_t vendorId, uint16_t productId) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<HidDeviceRecord> out;
    for (MouseLink link : {MouseLink::Receiver, MouseLink::Cable}) {
        const Device &d = m_devices[index(link)];
        if (!m_mouse.isPlugged(link))
            continue;
        if ((vendorId != 0 && vendorId != d.vendorId) ||
            (productId != 0 && productId != d.productId))
            continue;
        for (const auto &c : kCollections) {
            HidDeviceRecord r;
            r.path = pathOf(link);
            r.vendorId = d.vendorId;
            r.productId = d.productId;
            r.releaseNumber = d.release;
            r.usagePage = c[0];
            r.usage = c[1];
            r.interfaceNumber = 1;
            out.push_back(r);
        }
    }
    return out;
}

std::unique_ptr<HidConnection> VirtualHidApi::open(const std::string &path) {
    ++m_openCalls;
    for (MouseLink link : {MouseLink::Receiver, MouseLink::Cable}) {
        if (path != pathOf(link))
            continue;
        std::shared_ptr<MouseEndpoint> endpoint = m_mouse.open(link);
        if (!endpoint)
            return nullptr;
        return std::make_unique<VirtualConnection>(std::move(endpoint), m_live);
    }
    return nullptr;
}
