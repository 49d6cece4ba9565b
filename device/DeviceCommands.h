// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands the mouse takes and the download of a whole configuration.
//
// The mouse keeps its configuration in tables written in blocks of up to 24 data bytes;
// the first block of a table carries tag 0xD1, the others 0xD2, and a commit block
// (address 0x7F, tag 0xD3, data 0x1A) ends the table. A download is framed by a begin
// and an end mark.
//
// The button table and macro memory (ButtonMap.cpp) are built from the download table's
// first profile and the macro files bound to its buttons. Button table: header 0x0A 0x00,
// then 24 device slots of four bytes (type, p1, p2, p3); on the mouse it continues with four
// bytes 0xFF at address 0x62. Macro memory: 20 slots of 200 bytes, each a list of 3-byte steps
// (map, high, low).

#include "ProfileData.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class HidTransport;

// Command codes.
enum CommandCode : uint8_t {
    CmdSettingsTable = 0x01,
    CmdDpiTable = 0x02,
    CmdButtonTable = 0x03,
    CmdLightingTable = 0x04,
    CmdMacroMemory = 0x05,
    CmdApplyGroup = 0x40,
    CmdSelectProfile = 0x44,
    CmdDownloadMark = 0x46,
};

// Download flags.
enum DownloadFlag : unsigned {
    DownloadGeneral = 0x01,
    DownloadDpi = 0x02,
    DownloadButtons = 0x04,
    DownloadLighting = 0x08,
    DownloadEverything = 0x0F,
};

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

// One step of a macro in macro memory: kind, high byte, low byte. A delay has map 6.
struct MacroStep {
    uint8_t map = 0;
    uint8_t high = 0;
    uint8_t low = 0;
};

// The lighting effect code of the settings table for a LedMode.
uint8_t lightingEffectCode(int ledMode);
// The four device bytes of a function code with no parameters of its own (zeros for an
// unknown code). Codes 6, 7, 12, 55, 200 and 510 are completed by EncodeButton.
std::array<uint8_t, 4> deviceFunctionCode(int fun);
// The steps of a macro file as the mouse gets them: as far as they fit its memory with no key
// left held (sendableMacroSteps); none for a missing file or a name that cannot be a file
// name.
std::vector<MacroStep> readMacroSteps(const QString &macroName);

// The command set over one transport, with what a download keeps between downloads: the
// download table, the button table and macro memory images, and the receiver's link byte.
// Used from the mouse session's thread only.
class DeviceCommands {
public:
    explicit DeviceCommands(HidTransport &transport);

    // Copies the configuration into the download table and sends it; a result code. A
    // configuration whose buttons need more macros than the mouse plays sends nothing and
    // gives ResultTooManyMacros.
    int DownloadProfile(const ProfileSet &configuration, unsigned flags);

    // Makes profile `index` the mouse's active profile. The select frame has no answer; the
    // result is always 1, as callers ignore it. `sent`, when given, learns whether both frames
    // went out (ResultDone) or the first failure: a select that was never written is no switch.
    int SelectProfile(int index, int *sent = nullptr);
    // The five apply-group commands; stops at the first failure.
    int ApplySettings();
    // Phase 0 begins a download, phase 1 ends it.
    int DownloadMark(int phase);

    int WriteSettingsTable();
    // The mouse keeps one DPI table, for whichever profile is active: a download writes the
    // active profile's stages.
    int WriteDpiTable(int profile);
    // The DPI table from the stages of the record given (a slot about to become active).
    int WriteDpiStages(const ProfileData &record);
    int WriteLightingTable();
    // Result codes as SendCommand's; WriteMacros adds ResultTooManyMacros. The mouse keeps
    // one button table, as it keeps one DPI table: it is written from the active profile's
    // buttons.
    int WriteButtonTable();
    int WriteMacros();
    // The button table and the macros its buttons play, from the buttons of `record`, which
    // becomes profile `index` of the download table. Nothing is sent when the mouse holds
    // those buttons from the last write, and ResultTooManyMacros (nothing sent) when they
    // play more macros than the mouse holds.
    int WriteSlotButtons(int index, const ProfileData &record);
    // ResultTooManyMacros when the slot's buttons would play more macros than the mouse holds
    // (WriteSlotButtons would refuse them), else ResultDone: to be asked before a download
    // begins.
    int checkSlotButtons(int index, const ProfileData &record) const;
    // What the mouse holds of the button table is no longer known (the device was opened
    // again, a write failed or the mouse said it did not keep one): the next slot's buttons
    // are written whatever they are.
    void forgetHeldButtons() { m_heldButtons.reset(); }

    // Encodes button slot `buttonSlot` of download-table profile `profile` into the image at
    // device position `position`: 22 and 23 are the wheel positions (swapped when the
    // descriptor's ScrollRev is 1), any other position is mapped by the button matrix.
    void EncodeButton(int profile, int buttonSlot, int position);
    // Fills macro slot `index` from the steps: steps that hold a delay go in as they are;
    // otherwise a one-unit delay follows every fourth step and ends the macro.
    void EncodeMacro(const std::vector<MacroStep> &steps, int index);
    // The macro slots a download of the configuration would fill: from the active profile's
    // buttons when it sends the button table, else from the index map the last one left.
    // DownloadProfile refuses a configuration that needs more than kMaxMacros.
    int macrosNeeded(const ProfileSet &configuration, bool buttonTable) const;

    // The 19 data bytes of the settings table, from the download table.
    void buildSettingsTable(uint8_t out[19]) const;
    // The 80 data bytes of the lighting table (ten slots of eight bytes) of a profile.
    void buildLightingTable(int profile, uint8_t out[80]) const;

    // The configuration as last given to DownloadProfile (all defaults before the first).
    ProfileSet &downloadTable() { return m_downloadTable; }
    const ProfileSet &downloadTable() const { return m_downloadTable; }
    // True once a download has filled the table.
    bool downloadTableFilled() const { return m_tableFilled; }
    // The button table image, kept between downloads (zero at start).
    std::array<uint8_t, kButtonTableSize> &buttonTableImage() { return m_buttonImage; }
    // The macro memory image, cleared by every WriteMacros.
    std::array<uint8_t, kMacroMemorySize> &macroMemoryImage() { return m_macroImage; }
    // Macro index -> macro name, filled by WriteButtonTable and emptied by WriteMacros.
    std::map<int, QString> &macroIndexMap() { return m_macroIndex; }

    // The receiver's link byte of the last battery report (byte 10); 8 limits sensor 3395 to
    // stage 399.
    uint8_t linkMode() const { return m_linkMode; }
    void setLinkMode(uint8_t mode) { m_linkMode = mode; }

    // Told after each step of a download (begin mark, each table, apply, macros, end mark):
    // the steps done and the steps the download has.
    void setProgress(std::function<void(int done, int total)> progress) {
        m_progress = std::move(progress);
    }
    // Told once a download's settings table (the active slot, stage and rates) is in the
    // mouse: a state the mouse reported before then is no longer what it holds.
    void setSettingsWritten(std::function<void()> written) {
        m_settingsWritten = std::move(written);
    }

private:
    int writeMacroMemory();

    HidTransport &m_transport;
    ProfileSet m_downloadTable;
    bool m_tableFilled = false;
    uint8_t m_linkMode = 0;
    std::array<uint8_t, kButtonTableSize> m_buttonImage{};
    std::array<uint8_t, kMacroMemorySize> m_macroImage{};
    std::map<int, QString> m_macroIndex;
    // The buttons the mouse's button table and macro memory were last written from, while
    // known to be whole.
    std::optional<std::array<ButtonInfo, kButtonSlotCount>> m_heldButtons;
    std::function<void(int, int)> m_progress;
    std::function<void()> m_settingsWritten;
};
