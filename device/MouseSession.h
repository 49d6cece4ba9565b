// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything live about the mouse, in one object on one thread: the open handles, the status
// poll, the reactions to devices coming and going, the send of a profile set, the choice of
// the active slot, and the battery query.
//
// A program with a window runs the session on a worker thread of its own (MouseWorker) and
// talks to it only by the request*() calls, which queue the work on the session's thread in
// call order, and by the session's signals. The command line, which may wait, makes a session
// on its own thread and calls the plain functions directly.
//
// The status poll: every kPollIntervalMs the reports the mouse sent by itself are read and
// handed on; every kCycleEnd - 1 rounds a status query asks for the battery first. Every
// battery or status report is handed on, whichever read finds it: the poll, the battery
// query, or a command waiting for its answer in the middle of a send. A status report tells
// the mouse's whole state (profile, stage, rate, mode), so of those read together only the
// last is handed on: a window that takes a while over each never falls behind the mouse.

#include "DeviceCommands.h"
#include "HidTransport.h"

#include <QElapsedTimer>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

class DeviceMonitor;
class QTimer;
struct HidrawDevice;

// Whether a hidraw node that came or went may be the model's: one of its identities, or a
// node whose identity is not known (or no model known).
bool mayBeModelDevice(const HidrawDevice &device, const DeviceMatchTable &table);

// What the session found: the match table, and what is open.
struct MouseDevices {
    enum Link { NoLink, Receiver, Cable };

    DeviceMatchTable table;
    // Release number of the last cable command collection found (0: none).
    quint16 device2Release = 0;
    // The link commands go to now.
    Link link = NoLink;
    // A collection of the model appeared that was not there before: the mouse may hold
    // something else than what was sent to it.
    bool newCollection = false;
    // An interface of the model that this user may not open; empty when there is none.
    QString deniedPath;
    // Plug events are being received.
    bool hotPlug = false;

    // The names of the models present, in the table's order.
    QStringList presentNames() const;
    int presentCount() const { return presentNames().size(); }
    // The model's entry (an empty one when the table is not loaded).
    const DeviceMatchEntry &model() const;
};
Q_DECLARE_METATYPE(MouseDevices)

class MouseSession : public QObject {
    Q_OBJECT

public:
    // The poll: a listen round every kPollIntervalMs; the status query waits kQueryPauseMs
    // after its write and up to kQueryReadMs for its answer; kCycleEnd as the round count
    // at which the next query is due.
    static constexpr int kPollIntervalMs = 450;
    static constexpr int kQueryPauseMs = 10;
    static constexpr int kQueryReadMs = 50;
    // How long a send waits for the battery's answer of a mouse last heard asleep.
    static constexpr int kWakeCheckMs = 200;
    static constexpr int kCycleEnd = 57;
    // One plug brings several events: they are looked at together this long after the last.
    static constexpr int kSettleMs = 100;
    // A model whose devices changed is opened again once the system settled.
    static constexpr int kReopenMs = 500;
    // During a send, the latest change made on the mouse is handed on at most this often.
    static constexpr int kStatusFlushMs = 100;

    explicit MouseSession(QObject *parent = nullptr);
    ~MouseSession() override;

    // --- direct calls, on the session's thread ---------------------------------------------

    // Loads the match table, looks for the devices and opens this model's; with `live`, the
    // status poll starts and plug events are followed. Tells devicesChanged.
    void start(const QString &model, bool live = true);
    // Opens the named model, closing what was open first, unless that model is open already;
    // the poll starts again. Tells devicesChanged.
    void openModel(const QString &model);
    // Closes the device and stops the poll.
    void close();
    // Sends the configuration (DownloadProfile); the poll starts over afterwards.
    int send(const ProfileSet &configuration, unsigned flags);
    // Makes slot `index` the mouse's active profile and applies it; the apply's result. The
    // mouse keeps one DPI table and one button table: the slot's stages and buttons (from
    // `record`) are written first.
    int selectProfile(int index, const ProfileData &record);
    // Asks for the battery once and hands on what comes back within the time (the answer is
    // told by RefreshBatteryStatus). False when no answer came.
    bool queryBattery(int timeoutMs);
    // Hands on what the mouse sent by itself since the last read (a poll round does this
    // too); nothing waits.
    void readReports();
    // The poll on or off; on, it starts over with a status query.
    void setPolling(bool on);
    bool polling() const { return m_polling; }
    // Looks again at what is plugged in, as after a plug event.
    void rescan();

    MouseDevices devices() const;
    HidTransport &transport() { return m_transport; }
    DeviceCommands &commands() { return m_commands; }

    // --- requests, from any thread ------------------------------------------------------

    void requestStart(const QString &model);
    void requestModel(const QString &model);
    // Answered by sendFinished with the same ticket. With checkAwake (the mouse was last heard
    // asleep) the mouse is asked first, and a mouse still asleep gets nothing (ResultMouseOff).
    void requestSend(quint64 ticket, const ProfileSet &configuration, unsigned flags,
                     bool checkAwake = false);
    // Answered by profileSelected with the same ticket. A replaceable choice that a later one
    // (of higher ticket) follows before it starts is not made (ResultReplaced): clicks in a
    // row take the mouse straight to the slot chosen last.
    void requestProfile(quint64 ticket, int index, const ProfileData &record,
                        bool replaceable = false);
    void requestPolling(bool on);
    // Asks the mouse for its battery now; answered by wakeChecked with the same ticket:
    // ResultDone when it answered awake, ResultMouseOff otherwise.
    void requestWakeCheck(quint64 ticket);
    // Ends a transfer under way at its next step, and every later one: the program is
    // quitting. From any thread.
    void abort() { m_transport.cancel(); }

signals:
    void devicesChanged(const MouseDevices &devices);
    // Battery report bytes 6, 4, 5; all zero: the mouse sleeps or is out of reach.
    void RefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    // A change made on the mouse: status report bytes 4, 5, 6, 7.
    void RefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    // Battery report byte 7; 0 means the mouse did not keep what was last written to it.
    void RefreshWriteStatus(quint8 iStatus);
    // A send under way: the steps done and the steps it has.
    void sendProgress(quint64 ticket, int done, int total);
    void sendFinished(quint64 ticket, int result, unsigned flags);
    void profileSelected(quint64 ticket, int index, int result);
    void wakeChecked(quint64 ticket, int result);

private:
    void post(std::function<void()> work);
    void pollRound();
    void schedulePoll(int milliseconds);
    void writeStatusQuery(HidHandle &handle);
    void handleReport(const unsigned char *report, int length);
    // Hands on the status report read last, if one is waiting.
    void flushStatus();
    void onDeviceEvent(const QString &path, const HidrawDevice &device);
    void reopen();
    void openCurrent();
    void logLink();
    void tellDevices(bool newCollection = false);
    void makeTimers();
    // A request for the mouse that comes while a reopen waits for the system to settle opens
    // the device now, rather than failing for want of it.
    void reopenIfDue();

    HidTransport m_transport;
    DeviceCommands m_commands;
    QString m_model;
    DeviceMonitor *m_monitor = nullptr;
    QTimer *m_pollTimer = nullptr;
    QTimer *m_settleTimer = nullptr;
    QTimer *m_reopenTimer = nullptr;
    bool m_live = false; // polls and follows plug events
    bool m_polling = false;
    int m_pollCounter = 0;
    quint64 m_sendTicket = 0; // the send under way, for its progress
    std::atomic<quint64> m_newestSlotChoice{0};
    // The last status report read and not yet handed on (bytes 4..7).
    quint8 m_pendingStatus[4] = {};
    bool m_statusPending = false;
    bool m_settingsUnsent = false; // a send under way has not yet written its settings table
    QElapsedTimer m_statusClock;
    // The last battery answer was not all zeros.
    bool m_awake = true;
    bool m_linkHeard = false; // a battery report came since the device was opened
};

// A session on a worker thread of its own: made, started and ended from the owner's thread.
// Ending it cuts a transfer under way short and waits for the thread, which then closes the
// device.
class MouseWorker {
public:
    MouseWorker();
    ~MouseWorker();
    MouseWorker(const MouseWorker &) = delete;
    MouseWorker &operator=(const MouseWorker &) = delete;

    MouseSession *session() const { return m_session; }

private:
    QThread m_thread;
    MouseSession *m_session;
};
