// SPDX-License-Identifier: GPL-3.0-or-later
#include "HidTransport.h"

#include "AppConfig.h"
#include "DeviceLog.h"
#include "HidApi.h"
#include "ModelDescriptor.h"

#include <QThread>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <mutex>

Q_LOGGING_CATEGORY(lcDevice, "mousecfg.device", QtInfoMsg)
// Step-by-step trace of the transfer.
Q_LOGGING_CATEGORY(lcTransferTrace, "mousecfg.device.trace", QtInfoMsg)

namespace {

constexpr uint8_t kBatteryReport = 0x48;
constexpr uint8_t kStatusReport = 0x49;

std::mutex g_pauseMutex;
std::function<void(int)> g_pauseHook;

constexpr int kBufferSize = 64;
constexpr int kReadTimeoutMs = 150;
constexpr int kPauseAfterWriteMs = 10;
constexpr int kPauseBeforeRereadMs = 50;
// Retry bounds of one transfer.
constexpr int kMaxReadFailures = 29;
constexpr int kMaxZeroReplies = 5;
constexpr int kMaxRewrites = 2;
// How long after a write reports that are not the answer (the mouse's own status reports,
// a late answer to an earlier command) are read past before the command is written again.
// A time, not a count: a mouse that reports every few milliseconds still gets its answer
// through, and one that never answers still ends the transfer.
constexpr std::chrono::milliseconds kAnswerWindow(1000);

constexpr uint16_t kTracedVendor = 0x04D9;

const char kDashes[] = "--------------------------------------";

void trace(const QString &text) {
    qCDebug(lcTransferTrace).noquote() << text;
}

void traceFrame(const char *prefix, int length, const unsigned char *frame) {
    if (!lcTransferTrace().isDebugEnabled())
        return;
    QString text = QString::asprintf(prefix, length);
    for (int i = 0; i < kFrameLength; ++i) {
        if (i)
            text += QLatin1Char(' ');
        text += QString::asprintf("%02x", frame[i]);
    }
    trace(text);
}

// True when the path names HID collections ("col01", "COL04", ...); hidraw paths do not.
bool hasCollectionTag(const std::string &path) {
    for (size_t i = 0; i + 3 < path.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(path[i])) == 'c' &&
            std::tolower(static_cast<unsigned char>(path[i + 1])) == 'o' &&
            std::tolower(static_cast<unsigned char>(path[i + 2])) == 'l' &&
            std::isdigit(static_cast<unsigned char>(path[i + 3])))
            return true;
    }
    return false;
}

bool containsNoCase(const std::string &text, const char *needle) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return lower.find(needle) != std::string::npos;
}

// The first identity's command collection: on paths with collection tags it is the
// fourth collection; on hidraw the usages alone tell it.
bool isFirstCommandPath(const std::string &path) {
    return !hasCollectionTag(path) || containsNoCase(path, "col04");
}

bool releaseAccepted(uint16_t release, uint32_t minRelease, uint32_t maxRelease) {
    return maxRelease == 0 || (minRelease <= release && release <= maxRelease);
}

bool allZero(const unsigned char *bytes, int count) {
    return std::all_of(bytes, bytes + count, [](unsigned char b) { return b == 0; });
}

} // namespace

ReportKind reportKind(const unsigned char *report, int length) {
    if (length < kFrameLength)
        return ReportKind::Other;
    if (report[3] == kBatteryReport)
        return ReportKind::Battery;
    return report[3] == kStatusReport ? ReportKind::Status : ReportKind::Other;
}

// --- handles ---------------------------------------------------------------------------

bool HidHandle::open(const std::string &path) {
    m_connection.reset();
    m_connection = hidApi().open(path);
    return m_connection != nullptr;
}

void HidHandle::close() {
    m_connection.reset();
}

int HidHandle::write(const unsigned char *data, size_t length) {
    return m_connection ? m_connection->write(data, length) : -1;
}

int HidHandle::readTimeout(unsigned char *data, size_t length, int milliseconds) {
    return m_connection ? m_connection->readTimeout(data, length, milliseconds) : -1;
}

HidTransport::~HidTransport() {
    CloseDevice();
}

HidHandle *HidTransport::commandHandle() {
    if (hidCommand2.isOpen())
        return &hidCommand2;
    if (hidCommand1.isOpen())
        return &hidCommand1;
    return nullptr;
}

const HidHandle *HidTransport::commandHandle() const {
    return const_cast<HidTransport *>(this)->commandHandle();
}

// --- discovery -------------------------------------------------------------------------

void HidTransport::LoadDeviceMatchTable() {
    m_table.assign(1, DeviceMatchEntry());
    DeviceMatchEntry &e = m_table.front();
    int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
    readUsbIds(vid1, pid1, vid2, pid2);
    e.vendorId1 = uint32_t(vid1);
    e.productId1 = uint32_t(pid1);
    e.vendorId2 = uint32_t(vid2);
    e.productId2 = uint32_t(pid2);
    e.usage1 = kUsageMouse;
    e.usagePage1 = kUsagePageDesktop;
    e.usage2 = kUsageCommand;
    e.usagePage2 = kUsagePageDesktop;
    e.usage3 = kUsageMouse;
    e.usagePage3 = kUsagePageDesktop;
    e.usage4 = kUsageCommand;
    e.usagePage4 = kUsagePageDesktop;
    const QString model = modelListName();
    e.modelName = model.toStdString();
    qCDebug(lcDevice).noquote() << "model" << model;
}

int HidTransport::EnumerateDevices() {
    if (hidApi().init() != 0)
        return -1;
    const std::vector<HidDeviceRecord> records = hidApi().enumerate(0, 0);
    // The cable's release as found now: a cable pulled out has none.
    m_device2Release = 0;
    for (const HidDeviceRecord &d : records) {
        if (d.vendorId == kTracedVendor) {
            qCDebug(lcDevice,
                    "Device Found\n  type: %x %x\n  path: %s\n  serial_number: %s\n usge %x uu %x",
                    d.vendorId, d.productId, d.path.c_str(),
                    qPrintable(QString::fromStdWString(d.serialNumber)), d.usage, d.usagePage);
        }
        for (DeviceMatchEntry &e : m_table) {
            const bool first = d.vendorId == e.vendorId1 && d.productId == e.productId1 &&
                               releaseAccepted(d.releaseNumber, e.minRelease1, e.maxRelease1);
            const bool second = d.vendorId == e.vendorId2 && d.productId == e.productId2 &&
                                releaseAccepted(d.releaseNumber, e.minRelease2, e.maxRelease2);
            if (first && d.usage == e.usage1 && d.usagePage == e.usagePage1) {
                e.path1 = d.path;
                qCDebug(lcDevice, "1 %s", e.path1.c_str());
                e.mouse1Found = 1;
            }
            if (first && d.usage == e.usage2 && d.usagePage == e.usagePage2 &&
                isFirstCommandPath(d.path)) {
                e.path2 = d.path;
                qCDebug(lcDevice, "2 %s", e.path2.c_str());
                e.command1Found = 1;
                e.release1 = d.releaseNumber;
            }
            if (second && d.usage == e.usage3 && d.usagePage == e.usagePage3) {
                e.path3 = d.path;
                qCDebug(lcDevice, "3 %s", e.path3.c_str());
                e.mouse2Found = 1;
            }
            if (second && d.usage == e.usage4 && d.usagePage == e.usagePage4) {
                e.path4 = d.path;
                qCDebug(lcDevice, "4 %s", e.path4.c_str());
                e.command2Found = 1;
                e.release2 = d.releaseNumber;
                m_device2Release = d.releaseNumber;
            }
        }
    }
    return 0;
}

void HidTransport::openRole(HidHandle &handle, const std::string &path) {
    if (!handle.open(path) && m_deniedPath.empty() && hidApi().accessDenied(path))
        m_deniedPath = path;
}

void HidTransport::OpenDevice(const QString &modelName) {
    m_deniedPath.clear();
    if (hidApi().init() != 0)
        return;
    const std::string name = modelName.toStdString();
    for (const DeviceMatchEntry &e : m_table) {
        if (e.modelName != name)
            continue;
        if (e.mouse1Found == 1 && e.command1Found == 1) {
            openRole(hidMouse1, e.path1);
            openRole(hidCommand1, e.path2);
        }
        if (e.mouse2Found == 1 && e.command2Found == 1) {
            openRole(hidMouse2, e.path3);
            openRole(hidCommand2, e.path4);
        }
    }
}

void HidTransport::CloseDevice() {
    // A node that could not be opened is news only while its device is there.
    m_deniedPath.clear();
    hidMouse1.close();
    hidCommand1.close();
    hidMouse2.close();
    hidCommand2.close();
}

void HidTransport::ExitHid() {
    hidApi().exit();
}

uint16_t ReleaseNumberOfPath(const std::string &path) {
    if (hidApi().init() != 0)
        return 0;
    for (const HidDeviceRecord &d : hidApi().enumerate(0, 0)) {
        if (d.path == path)
            return d.releaseNumber;
    }
    return 0;
}

// --- transfer --------------------------------------------------------------------------

void devicePause(int milliseconds) {
    std::function<void(int)> hook;
    {
        std::lock_guard<std::mutex> lock(g_pauseMutex);
        hook = g_pauseHook;
    }
    if (hook)
        hook(milliseconds);
    else
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void setDevicePauseHook(std::function<void(int)> hook) {
    std::lock_guard<std::mutex> lock(g_pauseMutex);
    g_pauseHook = std::move(hook);
}

uint8_t frameChecksum(const unsigned char *frame) {
    unsigned sum = 0;
    for (int i = 2; i <= 7; ++i)
        sum += frame[i];
    return uint8_t((sum & 0xFF) ^ 0x66);
}

int CompareReply(const unsigned char *request, const unsigned char *reply, bool withData) {
    for (int i : {0, 2, 3, 4, 5, 6}) {
        if (request[i] != reply[i])
            return 1;
    }
    const int n = std::min<int>(request[6], kFrameDataMax);
    if (!withData || n == 0)
        return 0;
    return std::memcmp(request + kFrameDataOffset, reply + kFrameDataOffset, size_t(n)) == 0 ? 0
                                                                                             : 2;
}

int HidTransport::SendCommand(const unsigned char *report, int length) {
    trace(QStringLiteral("开始发送") + QLatin1String(kDashes));
    // One transfer at a time: the session's thread is the only one that reads or writes the
    // handles, so nothing else can take this command's answer.
    HidHandle *handle = commandHandle();
    if (!handle) {
        trace(QStringLiteral("没找到设备，失败返回") + QLatin1String(kDashes));
        return ResultNoDevice;
    }

    length = std::clamp(length, 0, kBufferSize);
    unsigned char request[kBufferSize] = {};
    unsigned char reply[kBufferSize] = {};
    std::memcpy(request, report, size_t(length));
    request[1] = frameChecksum(request);

    const uint8_t code = request[3];
    const bool answered = code <= 0x0A || code == 0x40 || code == 0x46;
    const bool withData = code <= 0x0A;

    using Clock = std::chrono::steady_clock;
    int readFailures = 0;
    int zeroReplies = 0;
    int rewrites = 0;
    bool write = true;
    Clock::time_point writtenAt;

    for (;;) {
        if (m_cancelled)
            return ResultCancelled;
        if (write) {
            writtenAt = Clock::now();
            const int written = handle->write(request, size_t(length));
            traceFrame("hid_write length=%d data=", length, request);
            if (written < 0) {
                trace(QStringLiteral("hid_write发送失败") + QLatin1String(kDashes));
                qCDebug(lcDevice, "Unable to send a feature report.");
                return ResultWriteFailed;
            }
            devicePause(kPauseAfterWriteMs);
            if (!answered) {
                trace(QStringLiteral("发送成功") + QLatin1String(kDashes));
                return ResultDone;
            }
        }
        write = false;

        trace(QStringLiteral("hid_read开始"));
        // Every read starts from an empty buffer: a time-out is no answer, and the answer
        // of an earlier read is never taken for a new one.
        std::memset(reply, 0, sizeof reply);
        const int got = handle->readTimeout(reply, size_t(length), kReadTimeoutMs);
        if (got < 0) {
            trace(QStringLiteral("hid_read开始读失败 %1").arg(readFailures));
            ++readFailures;
            if (readFailures <= kMaxReadFailures) {
                trace(QStringLiteral("重新读"));
                devicePause(kPauseBeforeRereadMs);
                continue;
            }
            ++rewrites;
            trace(QStringLiteral("写失败 %1").arg(rewrites));
            if (rewrites <= kMaxRewrites) {
                trace(QStringLiteral("重新写"));
                write = true;
                continue;
            }
            trace(QStringLiteral("多次读失败，返回") + QLatin1String(kDashes));
            return ResultVerifyFailed;
        }
        traceFrame("hid_read length=%d data=", got, reply);

        if (allZero(reply, 8)) {
            // No answer (a time-out or an empty report): write again a few times, then
            // give up. Silence is never taken for a confirmation.
            ++zeroReplies;
            if (zeroReplies <= kMaxZeroReplies) {
                trace(QStringLiteral("对比位全为0，跳转到重新写"));
                write = true;
                continue;
            }
            trace(QStringLiteral("对比位全为0多次，返回") + QLatin1String(kDashes));
            return ResultVerifyFailed;
        }

        // A reply cut short is not the answer, even where the bytes it has agree: the rest
        // would be compared as zeros. It is read past like any other report.
        const int result = got < kFrameLength ? 1 : CompareReply(request, reply, withData);
        if (result == 0) {
            trace(QStringLiteral("发送成功") + QLatin1String(kDashes));
            return ResultDone;
        }
        if (result == 1) {
            // A report the mouse sent by itself (a change made on it, its battery) is not
            // lost for being read here.
            if (m_sink && reportKind(reply, got) != ReportKind::Other)
                m_sink(reply, got);
            // Another report was in the way; the answer can still be behind it. Reports
            // queued meanwhile are read at once, so that the answer is not left behind a
            // queue that grows faster than it is read. The silences counted so far still
            // count: a mouse that answers every write with a report of another command, then
            // nothing, would otherwise be written to without end.
            if (Clock::now() - writtenAt < kAnswerWindow) {
                trace(QStringLiteral("指令位对比失败，重新读 %1").arg(rewrites));
                continue;
            }
            ++rewrites;
            if (rewrites <= kMaxRewrites) {
                trace(QStringLiteral("指令位对比失败，重新写 %1").arg(rewrites));
                zeroReplies = 0;
                write = true;
                continue;
            }
            trace(QStringLiteral("指令位多次对比失败，返回") + QLatin1String(kDashes));
            return ResultVerifyFailed;
        }
        ++rewrites;
        if (rewrites <= kMaxRewrites) {
            trace(QStringLiteral("数据位对比失败，重新写 %1").arg(rewrites));
            zeroReplies = 0;
            write = true;
            continue;
        }
        trace(QStringLiteral("数据位多次对比失败，返回") + QLatin1String(kDashes));
        return ResultVerifyFailed;
    }
}

int HidTransport::SendFrame(uint8_t code, uint16_t address, uint8_t tag, const uint8_t *data,
                            int length) {
    unsigned char frame[kFrameLength] = {};
    length = std::clamp(length, 0, kFrameDataMax);
    frame[0] = kReportId;
    frame[2] = kFrameMarker;
    frame[3] = code;
    frame[4] = uint8_t(address & 0xFF);
    frame[5] = uint8_t(address >> 8);
    frame[6] = uint8_t(length);
    frame[7] = tag;
    if (length > 0)
        std::memcpy(frame + kFrameDataOffset, data, size_t(length));
    return SendCommand(frame, kFrameLength);
}

int HidTransport::SendCommit(uint8_t code, uint16_t address) {
    const uint8_t commit = 0x1A;
    return SendFrame(code, address, kTagCommit, &commit, 1);
}
