#include "DeviceThreads.h"

#include "AppConfig.h"
#include "DeviceCommands.h"
#include "HidTransport.h"
#include "ProfileData.h"
#include "ProfileFiles.h"

#include <QDebug>
#include <cstring>
#include <mutex>

namespace {
std::atomic<bool> g_mouseOffline{false};

constexpr uint8_t kBatteryReport = 0x48;
constexpr uint8_t kStatusReport = 0x49;
} // namespace

ReportKind reportKind(const unsigned char *reply, int length) {
    if (length < kFrameLength)
        return ReportKind::Other;
    if (reply[3] == kBatteryReport)
        return ReportKind::Battery;
    return reply[3] == kStatusReport ? ReportKind::Status : ReportKind::Other;
}

void setMouseOffline(bool offline) {
    g_mouseOffline = offline;
}
bool mouseOffline() {
    return g_mouseOffline;
}

KelProcessThread::KelProcessThread(QObject *parent) : QThread(parent) {}

void KelProcessThread::abandon() {
    QMutexLocker lock(&m_storeMutex);
    m_abandoned = true;
}

template <typename Write> bool KelProcessThread::store(Write write) {
    QMutexLocker lock(&m_storeMutex);
    if (m_abandoned)
        return false;
    write();
    return true;
}

void KelProcessThread::run() {
    if (m_stop) {
        qDebug("isStop.\n");
        return;
    }
    m_sentFlags = 0;
    if (!store([] { saveAppliedState(workingSet()); }))
        return;
    if (mouseOffline()) {
        result = ResultMouseOff;
        emit DoProcessDlg();
        return;
    }
    result = ResultDone;
    unsigned flags = diffProfileSets(workingSet(), appliedSet());
    if (readDiffFlag() == 1 || force) {
        flags = DownloadEverything;
    } else if (flags == 0) {
        emit DoProcessDlg();
        return;
    }
    if (!store([] { saveAppliedState(workingSet()); }))
        return;
    m_sentFlags = flags;
    result = quint8(DownloadProfile(workingSet(), flags));
    const bool stored = store([this] {
        appliedSet() = workingSet();
        writeDiffFlag(result != ResultDone ? 1 : 0);
    });
    if (stored)
        emit DoProcessDlg();
}

KelGetBatteryThread::KelGetBatteryThread(QObject *parent) : QThread(parent) {}

void KelGetBatteryThread::stop() {
    m_stop = true;
    QMutexLocker lock(&m_pauseMutex);
    m_wake.wakeAll();
}

bool KelGetBatteryThread::pause(int milliseconds) {
    QMutexLocker lock(&m_pauseMutex);
    if (!m_stop)
        m_wake.wait(&m_pauseMutex, ulong(milliseconds));
    return !m_stop;
}

void KelGetBatteryThread::handleBatteryReport(const unsigned char *reply) {
    linkMode = reply[10];
    emit RefreshBatteryStatus(reply[6], reply[4], reply[5]);
    if (reply[4] != 0 || reply[5] != 0 || reply[6] != 0)
        emit RefreshWriteStatus(reply[7]);
}

void KelGetBatteryThread::run() {
    qDebug("KelGetBatteryThread.\n");
    int counter = 0;
    while (!m_stop) {
        HidHandle *handle = commandHandle();
        if (!handle)
            return; // no command interface open: end without a message
        unsigned char request[64];
        unsigned char reply[64];
        std::memset(request, 0, sizeof request);
        std::memset(reply, 0, sizeof reply);

        if (counter == 0) {
            {
                // One transfer at a time per handle: a command from the window waits.
                std::lock_guard<std::recursive_mutex> lock(handle->mutex());
                std::memcpy(request, kStatusQuery, kFrameLength);
                if (handle->write(request, kFrameLength) < 0)
                    qDebug("Unable to send a feature report.\n");
                devicePause(kQueryPauseMs);
                const int n = handle->readTimeout(reply, kFrameLength, kReadTimeoutMs);
                if (n < 0) {
                    emit RefreshBatteryStatus(0, reply[4], reply[5]);
                } else {
                    qDebug("Threadread bat - %x %x %x %x %x %x %x %x\n", reply[0], reply[1],
                           reply[2], reply[3], reply[4], reply[5], reply[6], reply[7]);
                    // A status report here is only logged; the listen read signals it.
                    if (reportKind(reply, n) == ReportKind::Battery)
                        handleBatteryReport(reply);
                }
            }
            counter = 2;
            if (!pause(kAfterQueryMs))
                break;
        } else {
            ++counter;
        }

        // Listen for what the mouse sends by itself.
        std::memset(reply, 0, sizeof reply);
        reply[0] = 4;
        int n;
        {
            std::lock_guard<std::recursive_mutex> lock(handle->mutex());
            n = handle->readTimeout(reply, kFrameLength, kReadTimeoutMs);
        }
        if (n < 0) {
            qDebug("Unable to read a feature report 1.\n");
            pause(kAfterErrorMs);
        } else {
            const ReportKind kind = reportKind(reply, n);
            if (kind == ReportKind::Status)
                emit RefreshStatus(reply[4], reply[5], reply[6], reply[7]);
            else if (kind == ReportKind::Battery)
                handleBatteryReport(reply);
            pause(kAfterListenMs);
        }
        if (counter == kCycleEnd)
            counter = 0;
    }
    qDebug("KelGetBatteryThread Stop.\n");
}
