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
};

// Reads Configs/MacroDB/<name>.MSMACRO; false (file left as defaults with no events) when
// the name is unsafe or the file is missing. Missing keys read as 0. The events are those
// the file really holds: a count larger than its steps, or negative, is cut to them.
bool loadMacroFile(const QString &name, MacroFile &file);
// Writes the whole file (MacroFilePath, ..., Count, events, WriteSign = 1); false when the
// name is unsafe or it cannot be written.
bool saveMacroFile(const QString &name, const MacroFile &file);
// The same without the write sign, as a gun file is written.
bool saveGunFile(const QString &name, const MacroFile &file);
// True when a macro file of that name exists.
bool macroFileExists(const QString &name);
