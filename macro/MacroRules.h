// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro editor's rules, apart from any window: delay counts, movements, which steps
// the editor shows, the row limits of recording and insertion, keys left held down, and
// the steps of a gun set.

#include "MacroFile.h"

#include <QVector>

// A button holds at most 63 steps; a recording without delays at most 40.
constexpr int kMacroMaxRows = 63;
constexpr int kMacroMaxRowsNoDelay = 40;
// Movement distances 1..120.
constexpr int kMoveMaxDistance = 120;
// Highest delay count a step can hold.
constexpr int kMaxDelayCount = 0xFFFF;

// The model's delay unit in milliseconds: the descriptor's MinDelay, 10 when it is not a
// usable divisor.
int macroDelayUnit();
int boundedDelayUnit(int unit);

// A delay of ms milliseconds as a step: ms / unit, as high and low byte.
MacroEvent delayEvent(int ms, int unit);
// The milliseconds a delay step stands for.
int delayMs(const MacroEvent &e, int unit);
// The delay recorded between two events e milliseconds apart: e rounded down to the unit,
// and at least one unit.
int recordedDelayMs(qint64 elapsedMs, int unit);

enum MoveDirection { MoveLeft = 0, MoveRight, MoveUp, MoveDown };
// A movement of distance 1..120 (bounded) in a direction.
MacroEvent movementEvent(MoveDirection direction, int distance);
// A stored movement byte as a signed step: 1..120 forward, 121..255 backward.
int moveStep(uint8_t byte);
// Direction and distance of a movement step; false for a step that moves nowhere.
bool moveOf(const MacroEvent &e, MoveDirection &direction, int &distance);

// The steps the editor shows of a file's steps: kinds other than button, movement, key
// and delay are left out, as are button steps of an unknown button; a movement along both
// axes becomes a movement of 0.
QVector<MacroEvent> editorEvents(const QVector<MacroEvent> &fileEvents);

// True when the steps added to the rows still fit a button: at most 63 rows, and what the
// mouse gets of them, fillers counted, in its memory for one macro.
bool rowsFit(const QVector<MacroEvent> &rows, const QVector<MacroEvent> &adding);
// How many more steps of the kind the rows have (with or without delays) still fit.
int macroRoomLeft(const QVector<MacroEvent> &rows);

// The steps of one insertion: the event, then by the delay option nothing (0), a delay of
// 10 ms (1) or of the default delay (2).
QVector<MacroEvent> withDelay(const MacroEvent &e, int delayType, int defaultDelayMs, int unit);

// One shot of a gun set: delay 1..999 ms, steps -100..100 (down and right positive).
struct GunShot {
    int delay = 100;
    int vertical = 0;
    int horizontal = 0;
};
constexpr int kGunShots = 5;
// Per shot: left button up, left button down, the vertical and the horizontal movement
// when not 0, and the delay in tens of milliseconds when not 0.
QVector<MacroEvent> gunEvents(const QVector<GunShot> &shots);
