// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroRecorder.h"
#include "MacroLog.h"

#include "KeyTable.h"
#include "MacroRules.h"

#include <QtGlobal>

void MacroRecorder::start() {
    m_held.clear();
    m_hasLast = false;
    m_lastMs = 0;
    m_full = false;
}

int MacroRecorder::keyCodeOf(int scanCode, unsigned flags) {
    return keyCodeFromEvent(scanCode, flags & (KeyFlagExtended | KeyFlagReleased));
}

int MacroRecorder::keyEvent(int scanCode, unsigned flags, bool repeat, qint64 nowMs,
                            const Options &options, QVector<MacroEvent> &rows) {
    const int code = keyCodeOf(scanCode, flags);
    const bool press = !(flags & KeyFlagReleased);
    const int held = m_held.indexOf(code);
    qCDebug(lcMacro, "OnHookKey ret %d %u %d\n", code, flags, held);
    if (press && (held >= 0 || repeat))
        return 0; // auto-repeat of a key held down
    // A key held before the recording began (Space that pressed START): its release alone
    // would let go of a key the macro never pressed.
    if (!press && held < 0)
        return 0;
    int usage = 0;
    if (!keyCodeToUsage(code, usage))
        return 0;

    const bool delayRow = m_hasLast && options.delayType != 0;
    const int limit = options.delayType == 0 ? kMacroMaxRowsNoDelay : kMacroMaxRows;
    const int adding = delayRow ? 2 : 1;
    // A press keeps room for the releases of the keys held, its own included: a full macro
    // must not leave a key down on the computer when it plays.
    const int perRelease = options.delayType == 0 ? 1 : 2;
    const int kept = press ? int(m_held.size() + 1) * perRelease : 0;
    if (rows.size() + adding + kept > limit) {
        m_full = true;
        return 0;
    }

    // The time of this event, less what a recorded delay left over below one unit: that
    // part goes to the next delay, so a long recording plays at the pace it was typed
    // instead of losing up to a unit at every step.
    qint64 counted = nowMs;
    if (delayRow) {
        const int ms = options.delayType == 1 ? recordedDelayMs(nowMs - m_lastMs, options.unit)
                                              : options.defaultDelayMs;
        rows.append(delayEvent(ms, options.unit));
        const qint64 left = nowMs - m_lastMs - ms;
        if (options.delayType == 1 && left > 0 && left < boundedDelayUnit(options.unit))
            counted = nowMs - left;
    }
    const uint8_t map = press ? uint8_t(MacroKindKey | kMacroPressBit) : uint8_t(MacroKindKey);
    rows.append({map, 0, uint8_t(usage)});
    if (press)
        m_held.append(code);
    else if (held >= 0)
        m_held.remove(held);
    m_lastMs = counted;
    m_hasLast = true;
    return adding;
}
