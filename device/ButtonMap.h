#pragma once
// The mouse's button table and macro memory, built from the first profile's buttons and
// the macro files bound to them.
//
// Button table: header 0x0A 0x00, then 24 device slots of four bytes (type, p1, p2, p3);
// on the mouse it continues with four bytes 0xFF at address 0x62. Macro memory: 20 slots
// of 200 bytes, each a list of 3-byte steps (map, high, low).

#include <QString>

struct ProfileSet;

#include <array>
#include <cstdint>
#include <map>
#include <vector>

constexpr int kButtonTableSize = 98;
constexpr int kDeviceSlotCount = 24;
constexpr int kWheelUpPosition = 22;
constexpr int kWheelDownPosition = 23;

constexpr int kMacroSlotCount = 20;
constexpr int kMacroSlotSize = 200;
constexpr int kMacroMemorySize = kMacroSlotCount * kMacroSlotSize;
// The mouse plays at most twelve different macros (indices 0..11).
constexpr int kMaxMacros = 12;
// Whole steps that fit one macro slot.
constexpr int kMacroSlotSteps = kMacroSlotSize / 3;

// Function code of a button bound to a gun file (played like a macro).
constexpr int kFunGunFile = 510;

// One step of a macro in macro memory: kind, high byte, low byte. A delay has map 6.
struct MacroStep {
    uint8_t map = 0;
    uint8_t high = 0;
    uint8_t low = 0;
};

// The button table image, kept between downloads (zero at start).
std::array<uint8_t, kButtonTableSize> &buttonTableImage();
// The macro memory image, cleared by every WriteMacros.
std::array<uint8_t, kMacroMemorySize> &macroMemoryImage();
// Macro index -> macro name, filled by WriteButtonTable and emptied by WriteMacros.
std::map<int, QString> &macroIndexMap();

// The four device bytes of a function code with no parameters of its own (zeros for an
// unknown code). Codes 6, 7, 12, 55, 200 and 510 are completed by EncodeButton.
std::array<uint8_t, 4> deviceFunctionCode(int fun);

// Encodes button slot `buttonSlot` of download-table profile `profile` into the image at
// device position `position`: 22 and 23 are the wheel positions (swapped when the
// descriptor's ScrollRev is 1), any other position is mapped by the button matrix.
void EncodeButton(int profile, int buttonSlot, int position);
// Fills macro slot `index` from the steps: steps that hold a delay go in as they are;
// otherwise a one-unit delay follows every fourth step and ends the macro.
void EncodeMacro(const std::vector<MacroStep> &steps, int index);
// The steps of a macro file ("Setting/Count" bounded to 1024); none for a missing file or
// a name that cannot be a file name.
std::vector<MacroStep> readMacroSteps(const QString &macroName);

// The macro slots a download of the configuration would fill: from the first profile's
// buttons when it sends the button table, else from the index map the last one left.
// DownloadProfile refuses a configuration that needs more than kMaxMacros.
int macrosNeeded(const ProfileSet &configuration, bool buttonTable);

// Result codes as SendCommand's; WriteMacros adds ResultTooManyMacros.
int WriteButtonTable();
int WriteMacros();
