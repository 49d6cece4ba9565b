// SPDX-License-Identifier: GPL-3.0-or-later
#include "MacroRules.h"

#include "ModelDescriptor.h"

#include <QtGlobal>

namespace {
// A gun set's delays are counted in tens of milliseconds whatever the model.
constexpr int kGunDelayUnit = 10;
constexpr int kDefaultUnit = 10;

uint8_t signedByte(int step) {
    return uint8_t(step & 0xFF);
}

bool knownButton(uint8_t mask) {
    return mask == MacroButtonLeft || mask == MacroButtonRight || mask == MacroButtonMiddle ||
           mask == MacroButtonForward || mask == MacroButtonBackward;
}
} // namespace

int boundedDelayUnit(int unit) {
    return unit >= 1 && unit <= 1000 ? unit : kDefaultUnit;
}

int macroDelayUnit() {
    return boundedDelayUnit(descriptorMinDelay());
}

MacroEvent delayEvent(int ms, int unit) {
    const int count = qBound(0, ms / boundedDelayUnit(unit), kMaxDelayCount);
    return {MacroKindDelay, uint8_t(count >> 8), uint8_t(count & 0xFF)};
}

int delayMs(const MacroEvent &e, int unit) {
    return (e.DataH * 256 + e.DataL) * boundedDelayUnit(unit);
}

int recordedDelayMs(qint64 elapsedMs, int unit) {
    const int u = boundedDelayUnit(unit);
    const qint64 rounded = qBound<qint64>(0, elapsedMs, qint64(kMaxDelayCount) * u) / u * u;
    return int(qMax<qint64>(rounded, u));
}

MacroEvent movementEvent(MoveDirection direction, int distance) {
    const int d = qBound(1, distance, kMoveMaxDistance);
    switch (direction) {
    case MoveLeft:
        return {MacroKindMove, 0, signedByte(-d)};
    case MoveRight:
        return {MacroKindMove, 0, signedByte(d)};
    case MoveUp:
        return {MacroKindMove, signedByte(-d), 0};
    case MoveDown:
        break;
    }
    return {MacroKindMove, signedByte(d), 0};
}

int moveStep(uint8_t byte) {
    return byte <= kMoveMaxDistance ? int(byte) : int(byte) - 256;
}

bool moveOf(const MacroEvent &e, MoveDirection &direction, int &distance) {
    const int h = moveStep(e.DataL);
    const int v = moveStep(e.DataH);
    if (h != 0) {
        direction = h < 0 ? MoveLeft : MoveRight;
        distance = qAbs(h);
        return true;
    }
    if (v != 0) {
        direction = v < 0 ? MoveUp : MoveDown;
        distance = qAbs(v);
        return true;
    }
    return false;
}

QVector<MacroEvent> editorEvents(const QVector<MacroEvent> &fileEvents) {
    QVector<MacroEvent> shown;
    for (MacroEvent e : fileEvents) {
        switch (e.Map & 0x7F) {
        case MacroKindButton:
            if (!knownButton(e.DataL))
                continue;
            break;
        case MacroKindMove:
            if (e.DataH != 0 && e.DataL != 0)
                e.DataH = e.DataL = 0;
            break;
        case MacroKindKey:
        case MacroKindDelay:
            break;
        default:
            continue;
        }
        shown.append(e);
    }
    return shown;
}

bool rowsFit(const QVector<MacroEvent> &rows, const QVector<MacroEvent> &adding) {
    return rows.size() + adding.size() <= kMacroMaxRows &&
           mouseMacroSteps(rows + adding) <= kMouseMacroSteps;
}

int macroRoomLeft(const QVector<MacroEvent> &rows) {
    int room = 0;
    QVector<MacroEvent> more = rows;
    // The next step is like the last one: a delay when the rows have delays.
    const MacroEvent step = mouseMacroSteps(rows) == rows.size() && !rows.isEmpty()
                                ? MacroEvent{MacroKindDelay, 0, 1}
                                : MacroEvent{MacroKindKey, 0, 4};
    while (rowsFit(more, {step})) {
        more.append(step);
        ++room;
    }
    return room;
}

QVector<MacroEvent> withDelay(const MacroEvent &e, int delayType, int defaultDelayMs, int unit) {
    QVector<MacroEvent> out{e};
    if (delayType == 1)
        out.append(delayEvent(10, unit));
    else if (delayType == 2)
        out.append(delayEvent(defaultDelayMs, unit));
    return out;
}

QVector<MacroEvent> gunEvents(const QVector<GunShot> &shots) {
    QVector<MacroEvent> out;
    for (const GunShot &s : shots) {
        out.append({MacroKindButton, 0, MacroButtonLeft});
        out.append({uint8_t(MacroKindButton | kMacroPressBit), 0, MacroButtonLeft});
        const int v = qBound(-100, s.vertical, 100);
        const int h = qBound(-100, s.horizontal, 100);
        if (v != 0)
            out.append({MacroKindMove, signedByte(v), 0});
        if (h != 0)
            out.append({MacroKindMove, 0, signedByte(h)});
        if (s.delay != 0)
            out.append(delayEvent(qBound(0, s.delay, 999), kGunDelayUnit));
    }
    return out;
}
