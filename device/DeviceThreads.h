#pragma once
// The two worker threads that keep slow device traffic off the window: the send thread
// that applies the working set, and the status thread that polls the mouse for battery and
// status reports.

#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <atomic>

// What one input report of `length` bytes read from the command handle is. A report is
// taken only when it came whole: the bytes a short one lacks would read as zeros, a
// profile, stage and rate the mouse never reported.
enum class ReportKind { Other, Battery, Status };
ReportKind reportKind(const unsigned char *reply, int length);

// Set while the mouse reports all-zero battery data ("MOUSE OFF"); a send then refuses.
void setMouseOffline(bool offline);
bool mouseOffline();

class KelProcessThread : public QThread {
    Q_OBJECT

public:
    explicit KelProcessThread(QObject *parent = nullptr);

    // 0 done or nothing to send, 5 the mouse is off, otherwise the download's result.
    quint8 result = 0;
    // Send every group whatever changed.
    bool force = false;

    void stop() { m_stop = true; }
    // The groups the last run sent (0 when it sent nothing).
    unsigned sentFlags() const { return m_sentFlags; }
    // The program ends while the run may still be busy with the mouse: from now on the run
    // writes nothing more to the profile files or to Config.ini, and a write under way is
    // waited for, so the process can end at once without leaving a file half written.
    void abandon();

signals:
    void DoProcessDlg();

protected:
    void run() override;

private:
    // Does a write to storage unless the run was abandoned; false when it was.
    template <typename Write> bool store(Write write);

    std::atomic<bool> m_stop{false};
    std::atomic<unsigned> m_sentFlags{0};
    QMutex m_storeMutex;
    bool m_abandoned = false; // guarded by m_storeMutex
};

class KelGetBatteryThread : public QThread {
    Q_OBJECT

public:
    // Pauses of one poll cycle, in milliseconds.
    static constexpr int kQueryPauseMs = 10;
    static constexpr int kReadTimeoutMs = 50;
    static constexpr int kAfterQueryMs = 450;
    static constexpr int kAfterListenMs = 400;
    static constexpr int kAfterErrorMs = 450;
    // One status query, then 55 listen cycles.
    static constexpr int kCycleEnd = 57;

    explicit KelGetBatteryThread(QObject *parent = nullptr);

    // Ends the loop at its next check; a pause in progress is cut short.
    void stop();
    bool isStopping() const { return m_stop; }

signals:
    void RefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    void RefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    void RefreshWriteStatus(quint8 iStatus);

protected:
    void run() override;

private:
    void handleBatteryReport(const unsigned char *reply);
    // Sleeps unless stopped meanwhile; false when stopped.
    bool pause(int milliseconds);

    std::atomic<bool> m_stop{false};
    QMutex m_pauseMutex;
    QWaitCondition m_wake;
};
