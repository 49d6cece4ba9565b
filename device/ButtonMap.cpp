// SPDX-License-Identifier: GPL-3.0-or-later
// The button table and macro memory of a download.
#include "AppConfig.h"
#include "DeviceCommands.h"
#include "DeviceLog.h"
#include "HidTransport.h"
#include "IniFile.h"
#include "KeyTable.h"
#include "MacroFile.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "SensorTables.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kButtonTableAddress = 0x02;
constexpr int kButtonBlockSize = 24;
constexpr uint16_t kButtonTailAddress = 0x62;
constexpr uint16_t kMacroCommitAddress = 0x0FFF;
constexpr int kMacroBlockSize = 20;
constexpr int kMacroPauseMs = 50;
// Steps read from one macro file at most (a button holds 63; the editor writes no more
// than a few hundred).

constexpr uint8_t kDelayMap = 6;
const MacroStep kFiller{kDelayMap, 0x01, 0x00};
static_assert(kMacroSlotSteps == kMouseMacroSteps && kDelayMap == MacroKindDelay,
              "the editor's room for a macro is the mouse's");

struct FunctionRow {
    int fun;
    uint8_t bytes[4];
};

// clang-format off
const FunctionRow kFunctionRows[] = {
    {1, {0x81, 0, 0, 0}},          {2, {0x82, 0, 0, 0}},          {3, {0x83, 0, 0, 0}},
    {4, {0x85, 0, 0, 0}},          {5, {0x84, 0, 0, 0}},          {6, {0x90, 0, 0, 0}},
    {7, {0x8F, 0, 0, 0}},          {12, {0x99, 0, 0, 0}},         {13, {0x30, 0, 0, 0}},
    {16, {0x00, 0, 0, 0}},
    // Keyboard shortcuts: modifier mask (1 Ctrl, 2 Shift, 4 Alt, 8 Windows), key usage.
    {17, {0x8F, 0x01, 0x1B, 0}},   {18, {0x8F, 0x01, 0x06, 0}},   {19, {0x8F, 0x01, 0x19, 0}},
    {20, {0x8F, 0x01, 0x04, 0}},   {21, {0x8F, 0x01, 0x09, 0}},   {22, {0x8F, 0x01, 0x11, 0}},
    {23, {0x8F, 0x01, 0x13, 0}},   {24, {0x8F, 0x01, 0x16, 0}},   {25, {0x8F, 0x04, 0x2B, 0}},
    {26, {0x8F, 0x04, 0x3D, 0}},   {27, {0x8F, 0x08, 0x08, 0}},   {28, {0x8F, 0x08, 0x15, 0}},
    {29, {0x8F, 0x08, 0x07, 0}},   {30, {0x8F, 0x08, 0x0F, 0}},
    // Consumer-control keys: usage low byte, high byte.
    {31, {0x8E, 0x01, 0x23, 0x02}}, {32, {0x8E, 0x01, 0x24, 0x02}}, {33, {0x8E, 0x01, 0x25, 0x02}},
    {34, {0x8E, 0x01, 0x26, 0x02}}, {35, {0x8E, 0x01, 0x27, 0x02}}, {36, {0x8E, 0x01, 0x21, 0x02}},
    {37, {0x8E, 0x01, 0x2A, 0x02}}, {38, {0x8E, 0x01, 0x8A, 0x01}}, {39, {0x8E, 0x01, 0xCD, 0x00}},
    {40, {0x8E, 0x01, 0xB7, 0x00}}, {41, {0x8E, 0x01, 0xB6, 0x00}}, {42, {0x8E, 0x01, 0xB5, 0x00}},
    {43, {0x8E, 0x01, 0xE9, 0x00}}, {44, {0x8E, 0x01, 0xEA, 0x00}}, {45, {0x8E, 0x01, 0xE2, 0x00}},
    {46, {0x8E, 0x01, 0x83, 0x01}},
    {47, {0x88, 0, 0, 0}},          {48, {0x8A, 0, 0, 0}},          {49, {0x89, 0, 0, 0}},
    {50, {0x97, 0, 0, 0}},          {51, {0x98, 0, 0, 0}},          {52, {0x8B, 0, 0, 0}},
    {53, {0x8C, 0, 0, 0}},          {54, {0x9B, 0x08, 0, 0}},       {55, {0x9A, 0x01, 0x01, 0x01}},
    {57, {0x94, 0, 0, 0}},          {58, {0x95, 0, 0, 0}},          {59, {0x8D, 0, 0, 0}},
    {60, {0x9F, 0, 0, 0}},          {61, {0xA0, 0, 0, 0}},          {62, {0x8F, 0x08, 0x10, 0}},
    {63, {0x97, 0x01, 0, 0}},       {200, {0x91, 0, 0, 0}},         {510, {0x9D, 0, 0, 0}},
};
// clang-format on

// Modifier bit of a key code in a combination, 0 for an ordinary key.
int modifierBit(int keyCode) {
    switch (keyCode) {
    case 29:
    case 238:
        return 1; // Ctrl
    case 42:
    case 54:
        return 2; // Shift
    case 56:
    case 239:
        return 4; // Alt
    case 91:
    case 92:
        return 8; // Windows
    default:
        return 0;
    }
}

// The device slot of an image position, or -1 when the position has none.
int deviceSlotOf(int position) {
    if (position == kWheelUpPosition || position == kWheelDownPosition) {
        const bool reversed = descriptorScrollRev() == 1;
        if (position == kWheelUpPosition)
            return reversed ? kWheelDownPosition : kWheelUpPosition;
        return reversed ? kWheelUpPosition : kWheelDownPosition;
    }
    if (position < 0 || position >= kDescriptorButtonKeys)
        return -1;
    const int slot = buttonMatrix()[size_t(position)];
    return slot >= 0 && slot < kDeviceSlotCount ? slot : -1;
}

// The macro index of a name in an index map, or -1.
int findMacroIndex(const std::map<int, QString> &map, const QString &name) {
    for (const auto &entry : map) {
        if (entry.second == name)
            return entry.first;
    }
    return -1;
}

// The macro index of a name, adding it to the map when it is new.
int macroIndexOf(std::map<int, QString> &map, const QString &name) {
    const int found = findMacroIndex(map, name);
    if (found >= 0)
        return found;
    const int index = int(map.size());
    map[index] = name;
    return index;
}

bool isMacroFunction(int fun) {
    return fun == kFunMacro || fun == kFunGunFile;
}

// The button slots of the first profile that the table encodes, with their image positions,
// in the order they are encoded.
std::vector<std::pair<int, int>> encodedSlots() {
    std::vector<std::pair<int, int>> encoded;
    const int count = std::clamp(buttonCount(), 0, kDescriptorButtonKeys);
    for (int b = 0; b < count; ++b)
        encoded.emplace_back(b, b);
    encoded.emplace_back(kWheelUpSlot, kWheelUpPosition);
    encoded.emplace_back(kWheelDownSlot, kWheelDownPosition);
    return encoded;
}

} // namespace

std::array<uint8_t, 4> deviceFunctionCode(int fun) {
    for (const FunctionRow &row : kFunctionRows) {
        if (row.fun == fun)
            return {row.bytes[0], row.bytes[1], row.bytes[2], row.bytes[3]};
    }
    return {0, 0, 0, 0};
}

void DeviceCommands::EncodeButton(int profile, int buttonSlot, int position) {
    if (profile < 0 || profile >= kProfileCount || buttonSlot < 0 || buttonSlot >= kButtonSlotCount)
        return;
    const int deviceSlot = deviceSlotOf(position);
    if (deviceSlot < 0)
        return;
    ButtonInfo &button = m_downloadTable.profiles[profile].buttons[buttonSlot];

    m_buttonImage[0] = 0x0A;
    m_buttonImage[1] = 0x00;
    uint8_t *out = m_buttonImage.data() + kButtonTableAddress + 4 * deviceSlot;
    const std::array<uint8_t, 4> row = deviceFunctionCode(button.Fun);

    switch (button.Fun) {
    case 6: { // single key
        int usage = 0;
        keyCodeToUsage(button.Res1, usage);
        out[0] = 0x90;
        out[1] = 0x00;
        out[2] = uint8_t(usage);
        out[3] = 0x00;
        break;
    }
    case 7: { // key combination: modifiers as a mask, the other key as its usage
        int modifiers = 0;
        uint8_t key = 0;
        for (const KeyInfo &k : button.keyInfo) {
            if (k.map == 0)
                continue;
            int code = -1;
            usageToKeyCode(k.map, code);
            const int bit = modifierBit(code);
            if (bit)
                modifiers += bit;
            else
                key = k.map;
        }
        // Each modifier appears pressed and released.
        out[0] = 0x8F;
        out[1] = uint8_t(modifiers / 2);
        out[2] = key;
        out[3] = 0x00;
        break;
    }
    case 12: // fire key: shot kind, shots, delay in tens of milliseconds
        out[0] = 0x99;
        if (button.Res1 != 0) {
            out[1] = button.Res1;
            out[2] = uint8_t(button.LoopNumber & 0xFF);
            out[3] = uint8_t(button.KeyNumber / 10);
        } else {
            out[1] = 0x81;
            out[2] = 0x03;
            out[3] = 0x00;
        }
        break;
    case 55: { // sniper: the DPI register of the chosen step for both axes
        const uint8_t v = sniperRegister(sensorCode(), button.Res1);
        out[0] = 0x9A;
        out[1] = 0x01;
        out[2] = v;
        out[3] = v;
        break;
    }
    case kFunMacro:
    case kFunGunFile: {
        const int index = macroIndexOf(m_macroIndex, button.macroname);
        out[0] = row[0];
        switch (button.Res1) {
        case 1: // repeat while the button is held
            out[1] = uint8_t(index | 0x80);
            out[2] = 0xFF;
            out[3] = 0xFF;
            break;
        case 2: // repeat until the button is pressed again
            out[1] = uint8_t(index | 0x40);
            out[2] = 0xFF;
            out[3] = 0xFF;
            break;
        default: // play LoopNumber times; a mode a damaged file gives plays the same way
            out[1] = uint8_t(index);
            out[2] = uint8_t(button.LoopNumber & 0xFF);
            out[3] = uint8_t((button.LoopNumber >> 8) & 0xFF);
            break;
        }
        button.Res4 = uint8_t(index);
        break;
    }
    default:
        std::copy(row.begin(), row.end(), out);
        break;
    }
}

int DeviceCommands::WriteButtonTable() {
    const int profile = m_downloadTable.activeIndex();
    std::array<ButtonInfo, kButtonSlotCount> source;
    std::copy(std::begin(m_downloadTable.profiles[profile].buttons),
              std::end(m_downloadTable.profiles[profile].buttons), source.begin());
    // Until the table and the macros are through, the mouse holds part of something.
    m_heldButtons.reset();
    m_macroIndex.clear();
    for (const auto &[slot, position] : encodedSlots())
        EncodeButton(profile, slot, position);

    int r = m_transport.SendFrame(CmdButtonTable, 0x00, kTagFirst, m_buttonImage.data(), 2);
    if (r != ResultDone)
        return r;
    for (int block = 0; block < 4; ++block) {
        const int address = kButtonTableAddress + kButtonBlockSize * block;
        r = m_transport.SendFrame(CmdButtonTable, uint16_t(address), kTagNext,
                                  m_buttonImage.data() + address, kButtonBlockSize);
        if (r != ResultDone)
            return r;
    }
    const uint8_t tail[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    r = m_transport.SendFrame(CmdButtonTable, kButtonTailAddress, kTagNext, tail, 4);
    if (r != ResultDone)
        return r;
    r = m_transport.SendCommit(CmdButtonTable);
    if (r == ResultDone)
        m_heldButtons = source;
    return r;
}

int DeviceCommands::checkSlotButtons(int index, const ProfileData &record) const {
    if (index < 0 || index >= kProfileCount)
        return ResultDone;
    ProfileSet slotSet = m_downloadTable;
    slotSet.profiles[index] = record;
    slotSet.ProfileID = uint8_t(index);
    return macrosNeeded(slotSet, true) > kMaxMacros ? int(ResultTooManyMacros) : int(ResultDone);
}

int DeviceCommands::WriteSlotButtons(int index, const ProfileData &record) {
    if (index < 0 || index >= kProfileCount)
        return ResultDone;
    if (m_heldButtons &&
        std::equal(m_heldButtons->begin(), m_heldButtons->end(), std::begin(record.buttons)))
        return ResultDone;
    if (checkSlotButtons(index, record) != ResultDone) {
        qCDebug(lcDevice, "iIndex>=MAX_MACRO_NUMBER_560");
        return ResultTooManyMacros;
    }
    m_downloadTable.profiles[index] = record;
    m_downloadTable.ProfileID = uint8_t(index);
    const int r = WriteButtonTable();
    return r == ResultDone ? WriteMacros() : r;
}

void DeviceCommands::EncodeMacro(const std::vector<MacroStep> &steps, int index) {
    if (index < 0 || index >= kMacroSlotCount)
        return;
    const bool hasDelay = std::any_of(steps.begin(), steps.end(),
                                      [](const MacroStep &s) { return s.map == kDelayMap; });
    std::vector<MacroStep> out;
    if (hasDelay) {
        out = steps;
    } else {
        for (size_t i = 0; i < steps.size(); ++i) {
            out.push_back(steps[i]);
            if (i % 4 == 3)
                out.push_back(kFiller);
        }
        out.push_back(kFiller);
    }
    uint8_t *slot = m_macroImage.data() + kMacroSlotSize * index;
    std::fill(slot, slot + kMacroSlotSize, uint8_t(0));
    // Whole steps only: a step cut in two would play as some other step. Callers hand over
    // no more than fits (readMacroSteps).
    const size_t whole = std::min(out.size(), size_t(kMacroSlotSteps));
    for (size_t i = 0; i < whole; ++i) {
        slot[3 * i] = out[i].map;
        slot[3 * i + 1] = out[i].high;
        slot[3 * i + 2] = out[i].low;
    }
}

std::vector<MacroStep> readMacroSteps(const QString &macroName) {
    MacroFile file;
    loadMacroFile(macroName, file);
    // A macro longer than the mouse holds goes as far as it fits with nothing left held.
    const int count = sendableMacroSteps(file.events);
    if (count < file.events.size())
        qCDebug(lcDevice, "macro %s: %d of %d steps fit", qPrintable(macroName), count,
                int(file.events.size()));
    std::vector<MacroStep> steps;
    steps.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const MacroEvent &e = file.events[i];
        steps.push_back({e.Map, e.DataH, e.DataL});
    }
    return steps;
}

int DeviceCommands::WriteMacros() {
    const int r = writeMacroMemory();
    if (r != ResultDone)
        m_heldButtons.reset();
    return r;
}

int DeviceCommands::writeMacroMemory() {
    m_macroImage.fill(0);
    const ProfileSet &table = m_downloadTable;
    for (int p = 0; p < kProfileCount; ++p) {
        for (int b = 0; b < kButtonSlotCount; ++b) {
            const ButtonInfo &button = table.profiles[p].buttons[b];
            if (!isMacroFunction(button.Fun))
                continue;
            // Names already encoded (or never given an index) are skipped; the walk goes
            // on, so every macro encoded so far is sent.
            const int index = findMacroIndex(m_macroIndex, button.macroname);
            if (index < 0)
                continue;
            if (index >= kMaxMacros) {
                qCDebug(lcDevice, "iIndex>=MAX_MACRO_NUMBER_560");
                return ResultTooManyMacros;
            }
            // The program quitting does not wait for the rest.
            if (m_transport.cancelled())
                return ResultCancelled;
            EncodeMacro(readMacroSteps(button.macroname), index);
            devicePause(kMacroPauseMs);
            m_macroIndex.erase(index);
        }
    }

    bool sent = false;
    for (int k = 0; k < kMacroSlotCount; ++k) {
        const uint8_t *slot = m_macroImage.data() + kMacroSlotSize * k;
        if (std::all_of(slot, slot + 5, [](uint8_t b) { return b == 0; }))
            continue;
        for (int j = 0; j < kMacroSlotSize / kMacroBlockSize; ++j) {
            const uint8_t tag = (k == 0 && j == 0) ? kTagFirst : kTagNext;
            const int r = m_transport.SendFrame(CmdMacroMemory,
                                                uint16_t(kMacroSlotSize * k + kMacroBlockSize * j),
                                                tag, slot + kMacroBlockSize * j, kMacroBlockSize);
            if (r != ResultDone)
                return r;
        }
        sent = true;
    }
    if (!sent)
        return ResultDone;
    return m_transport.SendCommit(CmdMacroMemory, kMacroCommitAddress);
}

int DeviceCommands::macrosNeeded(const ProfileSet &configuration, bool buttonTable) const {
    // The index map the download would build (or keep), then the walk of WriteMacros over it.
    std::map<int, QString> index = m_macroIndex;
    if (buttonTable) {
        index.clear();
        for (const auto &[slot, position] : encodedSlots()) {
            const ButtonInfo &button = configuration.activeProfile().buttons[slot];
            if (isMacroFunction(button.Fun) && deviceSlotOf(position) >= 0)
                macroIndexOf(index, button.macroname);
        }
    }
    int needed = 0;
    for (const ProfileData &profile : configuration.profiles) {
        for (const ButtonInfo &button : profile.buttons) {
            if (isMacroFunction(button.Fun))
                needed = std::max(needed, findMacroIndex(index, button.macroname) + 1);
        }
    }
    return needed;
}
