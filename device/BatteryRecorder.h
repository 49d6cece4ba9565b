// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's battery readings going into the battery history of the current model, and the
// time left estimated from it: the same for the window's tray and for the command line without
// the window. The window's writes go to a thread of the recorder's own, the command line's are
// made at once.

#include "BatteryEstimate.h"
#include "BatteryHistory.h"
#include "MouseRequests.h"

#include <QThreadPool>
#include <memory>

class BatteryRecorder {
public:
    // InBackground: the window's. AtOnce: a program that reads the mouse again and again (the
    // command line's follower). OneReading: a program that reads the mouse once and ends (a
    // status bar may run it every few seconds): its reading is kept only when the newest one
    // kept is kWriteIntervalMs older or the charging changed, so that such runs do not write
    // the file each time; the time left is told from the history all the same.
    enum class Writes { AtOnce, InBackground, OneReading };

    explicit BatteryRecorder(Writes writes);
    // Waits for the last write.
    ~BatteryRecorder();
    BatteryRecorder(const BatteryRecorder &) = delete;
    BatteryRecorder &operator=(const BatteryRecorder &) = delete;

    // The time of the readings, in ms since the epoch; tests set a clock of their own
    // (nullptr: the system's).
    static void setClock(qint64 (*clock)());
    // The time now on that clock.
    static qint64 now();

    // Keeps the reading of status (its battery fields, as setStatusBattery fills them) in the
    // history of the current model and sets status.hoursLeft; onCable: the mouse charges on its
    // cable, whatever the report says. Returns the estimate: the hours left only on the
    // battery, the hours to full only while charging, neither for a sleeping mouse.
    BatteryEstimate note(MouseStatus &status, bool onCable);
    // The readings of the history, oldest first (none before the first reading).
    QVector<BatterySample> samples() const;
    // Writes what is not yet written and waits for the write: the program ends without its
    // destructors (the window system went away).
    void writeNow();

private:
    Writes m_writes;
    // Declared before the history, so that it outlives it: the history's end hands it the last
    // write.
    QThreadPool m_writer;
    std::unique_ptr<BatteryHistory> m_history;
};
