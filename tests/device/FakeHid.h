// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted HID backend for the device tests: a list of collections to enumerate, and
// behind each path a mouse whose answers are taken from a script (an echo of the last
// report once the script runs out). Time-outs come back at once; nothing sleeps.

#include "DeviceCommands.h"
#include "HidApi.h"
#include "HidTransport.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>

#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

enum class Answer : int {
    Echo,        // the last report as written
    OtherHeader, // a status report (command 0x49) instead of the answer
    OtherData,   // the right header with a changed data byte
    Zeros,       // an empty report
    Timeout,     // hid_read_timeout returns 0
    Error,       // hid_read_timeout returns -1
    Short,       // the echo cut to its first 20 bytes
};

Q_DECLARE_METATYPE(Answer)

struct FakeMouse {
    QList<QByteArray> writes; // every report written, as written
    int reads = 0;
    std::deque<Answer> script;
    Answer whenScriptEnds = Answer::Echo;
    std::deque<int> failWrites; // 1-based numbers of writes that fail
    int liveConnections = 0;
    // Writes that came while the report written before had not been read back yet:
    // two transfers on the handle at once.
    int overlaps = 0;
    bool awaitingRead = false;
    std::mutex mutex;

    int write(const unsigned char *data, size_t length) {
        std::lock_guard<std::mutex> lock(mutex);
        if (awaitingRead)
            ++overlaps;
        const uint8_t code = length > 3 ? data[3] : 0;
        awaitingRead = code <= 0x0A || code == 0x40 || code == 0x46;
        const int number = writes.size() + 1;
        writes.append(QByteArray(reinterpret_cast<const char *>(data), int(length)));
        for (int n : failWrites) {
            if (n == number)
                return -1;
        }
        return int(length);
    }

    int read(unsigned char *data, size_t length) {
        std::lock_guard<std::mutex> lock(mutex);
        awaitingRead = false;
        ++reads;
        Answer a = whenScriptEnds;
        if (!script.empty()) {
            a = script.front();
            script.pop_front();
        }
        if (a == Answer::Timeout)
            return 0;
        if (a == Answer::Error)
            return -1;
        QByteArray reply(int(length), '\0');
        if (a != Answer::Zeros)
            std::copy(writes.last().begin(),
                      writes.last().begin() + std::min<int>(writes.last().size(), int(length)),
                      reply.begin());
        if (a == Answer::OtherHeader)
            reply[3] = char(0x49);
        if (a == Answer::OtherData)
            reply[8] = char(reply[8] ^ 0x5A);
        std::copy(reply.begin(), reply.end(), data);
        return a == Answer::Short ? std::min(int(length), 20) : int(length);
    }
};

class FakeConnection : public HidConnection {
public:
    explicit FakeConnection(std::shared_ptr<FakeMouse> mouse) : m_mouse(std::move(mouse)) {
        ++m_mouse->liveConnections;
    }
    ~FakeConnection() override { --m_mouse->liveConnections; }
    int write(const unsigned char *data, size_t length) override {
        return m_mouse->write(data, length);
    }
    int readTimeout(unsigned char *data, size_t length, int) override {
        return m_mouse->read(data, length);
    }

private:
    std::shared_ptr<FakeMouse> m_mouse;
};

class FakeHidApi : public HidApi {
public:
    std::vector<HidDeviceRecord> records;
    bool initFails = false;
    bool denied = false; // every node is there but may not be opened
    int opens = 0;

    int init() override { return initFails ? -1 : 0; }
    int exit() override { return 0; }
    std::vector<HidDeviceRecord> enumerate(uint16_t, uint16_t) override { return records; }
    bool accessDenied(const std::string &) override { return denied; }
    std::unique_ptr<HidConnection> open(const std::string &path) override {
        ++opens;
        auto it = m_mice.find(path);
        if (denied)
            return nullptr;
        if (it == m_mice.end())
            return nullptr;
        return std::make_unique<FakeConnection>(it->second);
    }

    // A collection to enumerate; its path gets a mouse that can be opened.
    std::shared_ptr<FakeMouse> add(const std::string &path, uint16_t vid, uint16_t pid,
                                   uint16_t usage, uint16_t release = 0x0100) {
        HidDeviceRecord r;
        r.path = path;
        r.vendorId = vid;
        r.productId = pid;
        r.usagePage = 1;
        r.usage = usage;
        r.releaseNumber = release;
        records.push_back(r);
        return mouse(path);
    }
    std::shared_ptr<FakeMouse> mouse(const std::string &path) {
        auto &m = m_mice[path];
        if (!m)
            m = std::make_shared<FakeMouse>();
        return m;
    }

private:
    std::map<std::string, std::shared_ptr<FakeMouse>> m_mice;
};

// A transport and the command set over it, as a mouse session holds them.
struct CommandRig {
    HidTransport transport;
    DeviceCommands commands{transport};
};

// Installs a fake backend with one command collection open as the transport's hidCommand2
// and records the protocol pauses instead of waiting; undoes everything when it goes.
class ScriptedDevice {
public:
    explicit ScriptedDevice(HidTransport &transport, const std::string &path = "/dev/hidraw7")
        : m_transport(transport) {
        mouse = api.mouse(path);
        setHidApi(&api);
        transport.hidCommand2.open(path);
        setDevicePauseHook([this](int ms) { pauses.push_back(ms); });
    }
    ~ScriptedDevice() {
        m_transport.CloseDevice();
        setDevicePauseHook({});
        setHidApi(nullptr);
    }
    ScriptedDevice(const ScriptedDevice &) = delete;
    ScriptedDevice &operator=(const ScriptedDevice &) = delete;

    // The command codes (byte 3) of every report written, in order.
    QByteArray codes() const {
        QByteArray c;
        for (const QByteArray &w : mouse->writes)
            c.append(w.at(3));
        return c;
    }

    FakeHidApi api;
    std::shared_ptr<FakeMouse> mouse;
    std::vector<int> pauses;

private:
    HidTransport &m_transport;
};

// A frame as the mouse must receive it: report id, checksum, 0xFA, code, address,
// length, tag, data, zeros to 33 bytes.
inline QByteArray expectedFrame(uint8_t code, uint16_t address, uint8_t tag,
                                const QByteArray &data) {
    QByteArray f(kFrameLength, '\0');
    f[0] = char(0x05);
    f[2] = char(0xFA);
    f[3] = char(code);
    f[4] = char(address & 0xFF);
    f[5] = char(address >> 8);
    f[6] = char(data.size());
    f[7] = char(tag);
    for (int i = 0; i < data.size(); ++i)
        f[8 + i] = data[i];
    unsigned sum = 0;
    for (int i = 2; i <= 7; ++i)
        sum += uint8_t(f[i]);
    f[1] = char((sum & 0xFF) ^ 0x66);
    return f;
}
