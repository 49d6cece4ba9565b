// SPDX-License-Identifier: GPL-3.0-or-later
#include "MouseSession.h"

#include "DeviceLog.h"
#include "DeviceMonitor.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstring>

namespace {

// Reports read in one poll round at most: the mouse queues far fewer between two rounds.
constexpr int kMaxReportsPerRound = 64;

const DeviceMatchEntry &emptyEntry() {
    static const DeviceMatchEntry none;
    return none;
}

} // namespace

QStringList MouseDevices::presentNames() const {
    QStringList names;
    for (const DeviceMatchEntry &e : table) {
        if (e.present())
            names << QString::fromStdString(e.modelName);
    }
    return names;
}

const DeviceMatchEntry &MouseDevices::model() const {
    return table.empty() ? emptyEntry() : table.front();
}

MouseSession::MouseSession(QObject *parent) : QObject(parent), m_commands(m_transport) {
    static const int registered = qRegisterMetaType<MouseDevices>();
    Q_UNUSED(registered)
    // Whatever read finds a report of the mouse's own, it is handed on.
    m_transport.setReportSink([this](const unsigned char *report, int length) {
        handleReport(report, length);
        // During a long send the latest state goes on now and then, not only at its end; not
        // before the send's own settings are in the mouse, which they replace.
        if (!m_settingsUnsent && m_statusClock.isValid() &&
            m_statusClock.elapsed() >= kStatusFlushMs)
            flushStatus();
    });
    m_commands.setSettingsWritten([this] {
        m_settingsUnsent = false;
        if (m_statusPending)
            qCDebug(lcDevice, "a status report heard before this send is dropped");
        m_statusPending = false;
    });
    m_statusClock.start();
    m_commands.setProgress(
        [this](int done, int total) { emit sendProgress(m_sendTicket, done, total); });
}

MouseSession::~MouseSession() {
    close();
    m_transport.ExitHid();
}

void MouseSession::makeTimers() {
    if (m_pollTimer)
        return;
    m_pollTimer = new QTimer(this);
    m_pollTimer->setSingleShot(true);
    connect(m_pollTimer, &QTimer::timeout, this, &MouseSession::pollRound);
    m_settleTimer = new QTimer(this);
    m_settleTimer->setSingleShot(true);
    m_settleTimer->setInterval(kSettleMs);
    connect(m_settleTimer, &QTimer::timeout, this, &MouseSession::rescan);
    m_reopenTimer = new QTimer(this);
    m_reopenTimer->setSingleShot(true);
    m_reopenTimer->setInterval(kReopenMs);
    connect(m_reopenTimer, &QTimer::timeout, this, &MouseSession::reopen);
}

// ---------------------------------------------------------------- opening and closing

void MouseSession::start(const QString &model, bool live) {
    makeTimers();
    m_model = model;
    m_live = live;
    if (live && !m_monitor) {
        m_monitor = new DeviceMonitor(this);
        connect(m_monitor, &DeviceMonitor::deviceArrived, this, &MouseSession::onDeviceEvent);
        connect(m_monitor, &DeviceMonitor::deviceRemoved, this, &MouseSession::onDeviceEvent);
        if (!m_monitor->isActive())
            qCDebug(lcDevice, "no plug events: the device monitor could not be set up");
    }
    m_transport.LoadDeviceMatchTable();
    m_transport.EnumerateDevices();
    m_transport.CloseDevice();
    openCurrent();
    tellDevices();
}

void MouseSession::openModel(const QString &model) {
    makeTimers();
    if (model == m_model && m_transport.commandHandle()) {
        if (!m_polling && m_live)
            setPolling(true);
        return;
    }
    m_model = model;
    m_reopenTimer->stop();
    setPolling(false);
    m_transport.CloseDevice();
    openCurrent();
    tellDevices();
}

void MouseSession::openCurrent() {
    // Opened again, the mouse (or another one on the receiver) may hold other buttons.
    m_commands.forgetHeldButtons();
    // The link byte, which limits some sensors' DPI values, is that of the new way to the
    // mouse only once it has answered on it.
    m_linkHeard = false;
    m_transport.OpenDevice(m_model);
    logLink();
    // Every time the device is opened, the poll starts over with a status query.
    setPolling(m_live);
}

void MouseSession::logLink() {
    const HidHandle *handle = m_transport.commandHandle();
    qCDebug(lcDevice, "device opened, commands on %s",
            handle == &m_transport.hidCommand2   ? "cable"
            : handle == &m_transport.hidCommand1 ? "receiver"
                                                 : "nothing");
}

void MouseSession::close() {
    if (m_reopenTimer)
        m_reopenTimer->stop();
    setPolling(false);
    m_transport.CloseDevice();
}

MouseDevices MouseSession::devices() const {
    MouseDevices d;
    d.table = m_transport.deviceMatchTable();
    d.device2Release = m_transport.device2Release();
    const HidHandle *handle = m_transport.commandHandle();
    d.link = handle == &m_transport.hidCommand2   ? MouseDevices::Cable
             : handle == &m_transport.hidCommand1 ? MouseDevices::Receiver
                                                  : MouseDevices::NoLink;
    d.deniedPath = QString::fromStdString(m_transport.deniedDevicePath());
    d.hotPlug = m_monitor && m_monitor->isActive();
    return d;
}

void MouseSession::tellDevices(bool newCollection) {
    MouseDevices d = devices();
    d.newCollection = newCollection;
    emit devicesChanged(d);
}

// ---------------------------------------------------------------- plug events

bool mayBeModelDevice(const HidrawDevice &device, const DeviceMatchTable &table) {
    if (!device.hasIds || table.empty())
        return true;
    const DeviceMatchEntry &e = table.front();
    return (device.vendorId == e.vendorId1 && device.productId == e.productId1) ||
           (device.vendorId == e.vendorId2 && device.productId == e.productId2);
}

void MouseSession::onDeviceEvent(const QString &path, const HidrawDevice &device) {
    Q_UNUSED(path)
    // A device of another maker or model changes nothing here but the poll, which starts
    // over as after every plug event.
    if (!mayBeModelDevice(device, m_transport.deviceMatchTable())) {
        if (m_polling)
            setPolling(true);
        return;
    }
    m_settleTimer->start();
}

void MouseSession::rescan() {
    makeTimers();
    // The plug event only tells that something hidraw came or went; the enumeration tells
    // which collections of which model are there now.
    const DeviceMatchTable &table = m_transport.deviceMatchTable();
    const DeviceMatchEntry before = table.empty() ? DeviceMatchEntry() : table.front();
    m_transport.LoadDeviceMatchTable();
    m_transport.EnumerateDevices();
    const DeviceMatchEntry &now = m_transport.deviceMatchTable().front();
    const bool newCollection =
        (now.mouse1Found && !before.mouse1Found) || (now.command1Found && !before.command1Found) ||
        (now.mouse2Found && !before.mouse2Found) || (now.command2Found && !before.command2Found);

    m_reopenTimer->stop();
    setPolling(false);
    m_transport.CloseDevice();
    if (!now.present()) {
        tellDevices(newCollection);
        return;
    }
    if (!before.present()) {
        openCurrent();
        tellDevices(newCollection);
        return;
    }
    // The model's devices changed under the open handles: opened again once the system
    // settled (a node can hang up before it leaves the device list).
    tellDevices(newCollection);
    m_reopenTimer->start();
}

void MouseSession::reopen() {
    m_transport.CloseDevice();
    openCurrent();
    tellDevices();
}

void MouseSession::reopenIfDue() {
    if (m_reopenTimer && m_reopenTimer->isActive()) {
        m_reopenTimer->stop();
        reopen();
    }
}

// ---------------------------------------------------------------- the poll

void MouseSession::setPolling(bool on) {
    makeTimers();
    m_polling = on;
    m_pollCounter = 0;
    if (on)
        schedulePoll(0);
    else
        m_pollTimer->stop();
}

void MouseSession::schedulePoll(int milliseconds) {
    m_pollTimer->start(milliseconds);
}

void MouseSession::readReports() {
    HidHandle *handle = m_transport.commandHandle();
    if (!handle)
        return;
    // What the mouse sent by itself since the last round; nothing here waits.
    unsigned char reply[64];
    for (int i = 0; i < kMaxReportsPerRound; ++i) {
        std::memset(reply, 0, sizeof reply);
        const int n = handle->readTimeout(reply, kFrameLength, 0);
        if (n < 0) {
            qCDebug(lcDevice, "Unable to read a feature report 1.");
            break;
        }
        if (n == 0)
            break;
        handleReport(reply, n);
    }
    flushStatus();
}

void MouseSession::pollRound() {
    if (!m_polling)
        return;
    HidHandle *handle = m_transport.commandHandle();
    if (!handle) {
        // Nothing to poll until the device is opened again.
        m_polling = false;
        return;
    }
    unsigned char reply[64];
    if (m_pollCounter == 0) {
        readReports();
        writeStatusQuery(*handle);
        std::memset(reply, 0, sizeof reply);
        const int n = handle->readTimeout(reply, kFrameLength, kQueryReadMs);
        if (n < 0) {
            // No answer at all: the mouse is off or out of the receiver's reach.
            m_awake = false;
            emit RefreshBatteryStatus(0, 0, 0);
        } else {
            qCDebug(lcDevice, "Threadread bat - %x %x %x %x %x %x %x %x", reply[0], reply[1],
                    reply[2], reply[3], reply[4], reply[5], reply[6], reply[7]);
            handleReport(reply, n);
        }
        m_pollCounter = 2;
    } else {
        ++m_pollCounter;
    }

    readReports();
    if (m_pollCounter == kCycleEnd)
        m_pollCounter = 0;
    schedulePoll(kPollIntervalMs);
}

void MouseSession::writeStatusQuery(HidHandle &handle) {
    // Written as it is, not through the command transfer: its answer comes as a report.
    unsigned char request[64] = {};
    std::memcpy(request, kStatusQuery, kFrameLength);
    if (handle.write(request, kFrameLength) < 0)
        qCDebug(lcDevice, "Unable to send a feature report.");
    devicePause(kQueryPauseMs);
}

void MouseSession::flushStatus() {
    m_statusClock.restart();
    if (!m_statusPending)
        return;
    m_statusPending = false;
    emit RefreshStatus(m_pendingStatus[0], m_pendingStatus[1], m_pendingStatus[2],
                       m_pendingStatus[3]);
}

void MouseSession::handleReport(const unsigned char *report, int length) {
    switch (reportKind(report, length)) {
    case ReportKind::Battery:
        m_commands.setLinkMode(report[10]);
        m_linkHeard = true;
        m_awake = report[4] != 0 || report[5] != 0 || report[6] != 0;
        emit RefreshBatteryStatus(report[6], report[4], report[5]);
        if (report[4] != 0 || report[5] != 0 || report[6] != 0) {
            // The mouse did not keep a write: its button table is not known either.
            if (report[7] == 0)
                m_commands.forgetHeldButtons();
            emit RefreshWriteStatus(report[7]);
        }
        break;
    case ReportKind::Status:
        qCDebug(lcDevice, "status report: profile %x, stage %x, rate %x, mode %x", report[4],
                report[5], report[6], report[7]);
        // A status report tells the whole state; a later one read before this one is handed
        // on takes its place.
        std::memcpy(m_pendingStatus, report + 4, sizeof m_pendingStatus);
        m_statusPending = true;
        break;
    case ReportKind::Other:
        // The answer to another program's command (every reader of the mouse gets a copy)
        // that wrote the active slot, stage and rate: a change made on the mouse and heard
        // before it is no longer what the mouse holds.
        if (m_statusPending && length >= kFrameLength && report[2] == kFrameMarker &&
            (report[3] == CmdSettingsTable || report[3] == CmdSelectProfile)) {
            qCDebug(lcDevice, "a status report heard before another program's send is dropped");
            m_statusPending = false;
        }
        break;
    }
}

bool MouseSession::queryBattery(int timeoutMs) {
    HidHandle *handle = m_transport.commandHandle();
    if (!handle)
        return false;
    // An answer to an earlier query still waiting would be taken for this one's.
    readReports();
    writeStatusQuery(*handle);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs && !m_transport.cancelled()) {
        unsigned char reply[64] = {};
        const int n = handle->readTimeout(reply, kFrameLength,
                                          int(qMax<qint64>(1, timeoutMs - clock.elapsed())));
        if (n < 0) {
            flushStatus();
            m_awake = false;
            emit RefreshBatteryStatus(0, 0, 0);
            return true;
        }
        handleReport(reply, n);
        if (reportKind(reply, n) == ReportKind::Battery) {
            flushStatus();
            return true;
        }
    }
    flushStatus();
    return false;
}

// ---------------------------------------------------------------- sending

int MouseSession::send(const ProfileSet &configuration, unsigned flags) {
    // A change made on the mouse and heard before the send writes its settings (the user
    // pressed the DPI button just before Apply) is undone by them.
    m_settingsUnsent = true;
    const int result = m_commands.DownloadProfile(configuration, flags);
    m_settingsUnsent = false;
    flushStatus();
    qCDebug(lcDevice, "send result %d (groups %u)", result, flags);
    // The poll starts over with a status query, whatever the outcome: after a failed send
    // the battery and the changes made on the mouse must still be shown.
    if (m_polling)
        setPolling(true);
    return result;
}

int MouseSession::selectProfile(int index, const ProfileData &record) {
    // The mouse keeps one DPI table and one button table: the slot's stages and buttons go
    // in as a download's tables do, between its marks.
    // Buttons that play more macros than the mouse holds are refused before anything goes.
    int result = m_commands.checkSlotButtons(index, record);
    if (result == ResultDone)
        result = m_commands.DownloadMark(0);
    if (result == ResultDone)
        result = m_commands.WriteSlotButtons(index, record);
    if (result == ResultDone)
        result = m_commands.WriteDpiStages(record);
    if (result == ResultDone)
        result = m_commands.DownloadMark(1);
    if (result == ResultDone)
        m_commands.SelectProfile(index, &result);
    if (result == ResultDone)
        result = m_commands.ApplySettings();
    flushStatus();
    qCDebug(lcDevice, "slot %d selected: result %d", index, result);
    return result;
}

// ---------------------------------------------------------------- requests

void MouseSession::post(std::function<void()> work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void MouseSession::requestStart(const QString &model) {
    post([this, model] { start(model); });
}

void MouseSession::requestModel(const QString &model) {
    post([this, model] { openModel(model); });
}

void MouseSession::requestSend(quint64 ticket, const ProfileSet &configuration, unsigned flags,
                               bool checkAwake) {
    post([this, ticket, configuration, flags, checkAwake] {
        m_sendTicket = ticket;
        reopenIfDue();
        int result = ResultDone;
        // The battery is asked only every half minute or so: a mouse moved since it was last
        // heard asleep is awake, and the user's Apply is not refused for it. A way to the mouse
        // opened just now is asked too, for its link byte, before any DPI value is encoded.
        const bool answered = (checkAwake || !m_linkHeard) && queryBattery(kWakeCheckMs);
        if (checkAwake && !(answered && m_awake))
            result = ResultMouseOff;
        else if (flags != 0)
            result = send(configuration, flags);
        emit sendFinished(ticket, result, flags);
    });
}

void MouseSession::requestProfile(quint64 ticket, int index, const ProfileData &record,
                                  bool replaceable) {
    m_newestSlotChoice = std::max(m_newestSlotChoice.load(), ticket);
    post([this, ticket, index, record, replaceable] {
        if (replaceable && ticket < m_newestSlotChoice) {
            emit profileSelected(ticket, index, ResultReplaced);
            return;
        }
        reopenIfDue();
        if (!m_linkHeard)
            queryBattery(kWakeCheckMs);
        emit profileSelected(ticket, index, selectProfile(index, record));
    });
}

void MouseSession::requestWakeCheck(quint64 ticket) {
    post([this, ticket] {
        reopenIfDue();
        const bool awake = queryBattery(kWakeCheckMs) && m_awake;
        emit wakeChecked(ticket, awake ? ResultDone : ResultMouseOff);
    });
}

void MouseSession::requestPolling(bool on) {
    post([this, on] {
        // Turning it on again is only for a device that is open.
        setPolling(on && m_transport.commandHandle() != nullptr);
    });
}

// ---------------------------------------------------------------- the worker

MouseWorker::MouseWorker() : m_session(new MouseSession) {
    m_thread.setObjectName(QStringLiteral("mouse session"));
    m_session->moveToThread(&m_thread);
    // Deleted on its own thread once its loop has ended: the device is closed there.
    QObject::connect(&m_thread, &QThread::finished, m_session, &QObject::deleteLater);
    m_thread.start();
}

MouseWorker::~MouseWorker() {
    m_session->abort();
    m_thread.quit();
    m_thread.wait();
}
