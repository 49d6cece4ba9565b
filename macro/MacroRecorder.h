// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard recorder of the macro page, apart from any window: turns key events (set-1
// scan code and the flags of storage's KeyEventFlag) into key rows with the delays between
// them, keeping a recording within the rows a button holds.

#include "MacroFile.h"

#include <QVector>

class MacroRecorder {
public:
    struct Options {
        int delayType = 0;       // 0 none, 1 recorded delays, 2 the default delay
        int defaultDelayMs = 10; // the default delay of option 2
        int unit = 10;           // the model's delay unit
    };

    // A new recording: no key held, no event yet.
    void start();

    // One key event at nowMs (any monotonic clock); repeat marks an auto-repeated press. Appends
    // the delay row (from the second event on) and the key row to rows; returns the number of rows
    // appended, 0 when the event is dropped: a repeat of a held key, a key without a HID usage, or
    // a row more than the recording may hold.
    int keyEvent(int scanCode, unsigned flags, bool repeat, qint64 nowMs, const Options &options,
                 QVector<MacroEvent> &rows);

    // The key code of an event as the recorder sees it: an Alt key held down changes
    // nothing (an Alt combination is the same key), so only the extended and released
    // bits go to the key tables.
    static int keyCodeOf(int scanCode, unsigned flags);

    bool isHeld(int keyCode) const { return m_held.contains(keyCode); }
    // A key event was dropped since start() because the recording held no more rows.
    bool isFull() const { return m_full; }

private:
    QVector<int> m_held; // key codes pressed and not yet released
    qint64 m_lastMs = 0;
    bool m_hasLast = false;
    bool m_full = false;
};
