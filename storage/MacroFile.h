// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Macro files: <app dir>/Configs/MacroDB/<name>.MSMACRO, INI text in group "Setting". A
// macro is a list of three-byte steps that a mouse button replays; gun files share the
// layout. The low seven bits of a step's Map give its kind, bit 7 marks a press.

#include <QString>
#include <QVector>
#include <cstdint>

// One macro step.
struct MacroEvent {
    uint8_t Map = 0;
    uint8_t DataH = 0;
    uint8_t DataL = 0;

    bool operator==(const MacroEvent &o) const {
        return Map == o.Map && DataH == o.DataH && DataL == o.DataL;
    }
    bool operator!=(const MacroEvent &o) const { return !(*this == o); }
};

// Step kinds (Map & 0x7F) and the press bit.
enum MacroKind : uint8_t {
    MacroKindButton = 0x01, // DataL: button mask
    MacroKindMove = 0x02,   // DataH: vertical step, DataL: horizontal step (signed)
    MacroKindKey = 0x04,    // DataL: HID keyboard usage
    MacroKindDelay = 0x06,  // DataH/DataL: high and low byte of the delay in units
};
constexpr uint8_t kMacroPressBit = 0x80;

// Mouse button masks of button steps.
enum MacroButtonMask : uint8_t {
    MacroButtonLeft = 0x01,
    MacroButtonRight = 0x02,
    MacroButtonMiddle = 0x04,
    MacroButtonForward = 0x08,
    MacroButtonBackward = 0x10,
};

// The whole .MSMACRO file (gun files share the layout).
struct MacroFile {
    int DefaultDelay = 10; // milliseconds
    int DelayType = 0;     // 0 none, 1 record the delays, 2 insert the default delay
    int LoopType = 0;      // 0 none, 1 loop count, 2 repeat while held, 3 repeat until pressed
    int LoopTime = 1;      // 1..255
    QVector<MacroEvent> events;

    bool operator==(const MacroFile &o) const {
        return DefaultDelay == o.DefaultDelay && DelayType == o.DelayType &&
               LoopType == o.LoopType && LoopTime == o.LoopTime && events == o.events;
    }
    bool operator!=(const MacroFile &o) const { return !(*this == o); }
};

// Reads Configs/MacroDB/<name>.MSMACRO; false (file left as defaults with no events) when
// the name is unsafe or the file is missing. The one reader of macro files: the editor, the
// button binding and the download all see the same macro. The events are those the file
// really holds: the steps 0, 1, ... whose kind is present, no more than its count (a count
// that is no number counts them all); values are bounded to what the editor's fields take
// (delay type 0-2, loop type 0-3, loop time 1-255, default delay 10-65535 ms, step bytes
// 0-255).
bool loadMacroFile(const QString &name, MacroFile &file);
// Writes the whole file (MacroFilePath, ..., Count, events, WriteSign = 1); false when the
// name is unsafe or it cannot be written.
bool saveMacroFile(const QString &name, const MacroFile &file);
// The same without the write sign, as a gun file is written.
bool saveGunFile(const QString &name, const MacroFile &file);
// True when a macro file of that name exists.
bool macroFileExists(const QString &name);

// A button's macro on the mouse: 200 bytes, 66 whole steps of three bytes. Without any delay
// step, a filler step goes after every fourth step and one more ends the macro.
constexpr int kMouseMacroSteps = 66;
// The steps the mouse gets for these events, fillers counted.
int mouseMacroSteps(const QVector<MacroEvent> &events);
// How many of the events are sent: all of them when they fit the mouse; otherwise the
// longest beginning that fits and leaves no key or button held, so that the mouse never
// plays a macro cut mid-step or ending with a key down.
int sendableMacroSteps(const QVector<MacroEvent> &events);
// True when some key or button pressed in the steps is not released later.
bool hasUnreleasedKeys(const QVector<MacroEvent> &events);
