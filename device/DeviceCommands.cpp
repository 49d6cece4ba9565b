// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceCommands.h"

#include "AppConfig.h"
#include "DeviceLog.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "SensorTables.h"

#include <algorithm>

namespace {

constexpr uint8_t kApplyGroup = 0xF3;
constexpr uint8_t kApplyMasks[] = {0x04, 0x01, 0x02, 0x08, 0x10};

int boundedProfile(int profile) {
    return std::clamp(profile, 0, kProfileCount - 1);
}

} // namespace

DeviceCommands::DeviceCommands(HidTransport &transport) : m_transport(transport) {}

int DeviceCommands::SelectProfile(int index, int *sent) {
    const int select =
        m_transport.SendFrame(CmdSelectProfile, frameParams(uint8_t(index), 0), 0, nullptr, 0);
    const int apply =
        m_transport.SendFrame(CmdApplyGroup, frameParams(kApplyGroup, 0x01), 0, nullptr, 0);
    if (sent)
        *sent = select != ResultDone ? select : apply;
    return 1;
}

int DeviceCommands::ApplySettings() {
    for (uint8_t mask : kApplyMasks) {
        const int r =
            m_transport.SendFrame(CmdApplyGroup, frameParams(kApplyGroup, mask), 0, nullptr, 0);
        if (r != ResultDone)
            return r;
    }
    return ResultDone;
}

int DeviceCommands::DownloadMark(int phase) {
    return m_transport.SendFrame(CmdDownloadMark, frameParams(uint8_t(phase), 0), 0, nullptr, 0);
}

uint8_t lightingEffectCode(int ledMode) {
    static const uint8_t codes[kLedModeCount] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 8, 7, 9, 10};
    if (ledMode < 0 || ledMode >= kLedModeCount)
        return 6;
    return codes[ledMode];
}

void DeviceCommands::buildSettingsTable(uint8_t out[19]) const {
    const ProfileSet &t = m_downloadTable;
    const ProfileData &active = t.activeProfile();
    for (int i = 0; i < kProfileCount; ++i) {
        out[i] = t.profiles[i].scrollspeed;
        out[11 + i] = t.profiles[i].pollrate;
    }
    uint8_t sensorFlags = t.LiftHigh;
    if (descriptorSyncMode() != 0) {
        if (t.Sync != 0)
            sensorFlags |= 0x80;
        if (t.AngleValue == 0)
            sensorFlags |= 0x40;
        if (t.Jitter == 0)
            sensorFlags |= 0x20;
    }
    out[5] = sensorFlags;
    out[6] = uint8_t(t.activeIndex());
    out[7] = t.profiles[0].LedMoveOFF;
    out[8] = t.profiles[0].LedSleepTime;
    out[9] = t.Debounce;
    out[10] = uint8_t(t.SensorMode | (t.Wake != 0 ? 0x80 : 0x00));
    out[16] = 0x1F;
    out[17] = active.dpi;
    out[18] = lightingEffectCode(active.LedMode);
}

int DeviceCommands::WriteSettingsTable() {
    uint8_t data[19] = {};
    buildSettingsTable(data);
    const int r = m_transport.SendFrame(CmdSettingsTable, 0x00, kTagFirst, data, sizeof data);
    if (r != ResultDone)
        return r;
    return m_transport.SendCommit(CmdSettingsTable);
}

int DeviceCommands::WriteDpiTable(int profile) {
    return WriteDpiStages(m_downloadTable.profiles[boundedProfile(profile)]);
}

int DeviceCommands::WriteDpiStages(const ProfileData &p) {
    const int descriptorCount = dpiStageCount();
    const int stageCount =
        descriptorCount >= 1 && descriptorCount <= kDpiStageCount ? descriptorCount : 8;
    const int sensor = sensorCode();
    const uint8_t link = m_linkMode;

    const uint8_t count = uint8_t(stageCount);
    int r = m_transport.SendFrame(CmdDpiTable, 0x00, kTagFirst, &count, 1);
    if (r != ResultDone)
        return r;
    for (int i = 0; i < kDpiStageCount; ++i) {
        const DpiInfo &stage = p.dpiInfo[i];
        uint8_t data[5] = {};
        data[0] = i < stageCount ? stage.used : 0;
        EncodeDpiStage(sensor, stage.x, stage.y, link, data + 1);
        r = m_transport.SendFrame(CmdDpiTable, uint16_t(1 + 5 * i), kTagNext, data, sizeof data);
        if (r != ResultDone)
            return r;
    }
    return m_transport.SendCommit(CmdDpiTable);
}

void DeviceCommands::buildLightingTable(int profile, uint8_t out[80]) const {
    const ProfileData &p = m_downloadTable.profiles[boundedProfile(profile)];
    // Effect of each slot; slot k is the effect of lighting effect code k + 1.
    static const int slotMode[10] = {0, 1, 2, 3, 4, 9, 11, 10, 12, 13};
    std::fill(out, out + 80, uint8_t(0));
    for (int k = 0; k < 10; ++k) {
        const LedModeInfo &m = p.ledModes[slotMode[k]];
        const uint8_t bright = uint8_t(m.bright);
        const uint8_t speed = uint8_t(m.breath);
        uint8_t *slot = out + 8 * k;
        slot[0] = 0x80;
        switch (k) {
        case 0:
            break;
        case 1:
            slot[1] = uint8_t(m.RGB.red());
            slot[2] = uint8_t(m.RGB.green());
            slot[3] = uint8_t(m.RGB.blue());
            slot[4] = 0x01;
            slot[6] = 0x02;
            slot[7] = bright;
            break;
        case 2:
            slot[1] = uint8_t(m.RGB.red());
            slot[2] = uint8_t(m.RGB.green());
            slot[3] = uint8_t(m.RGB.blue());
            slot[4] = 0x01;
            slot[5] = speed;
            slot[6] = 0x04;
            slot[7] = 0x03;
            break;
        case 3:
            slot[4] = 0x01;
            slot[5] = speed;
            slot[6] = 0x01;
            slot[7] = 0x03;
            break;
        case 4:
            slot[4] = 0x01;
            slot[5] = speed;
            slot[6] = 0x08;
            slot[7] = bright;
            break;
        case 5:
            slot[4] = 0x05;
            slot[5] = speed;
            slot[6] = 0x01;
            slot[7] = bright;
            break;
        case 6:
            slot[4] = 0x07;
            slot[7] = bright;
            break;
        case 7:
            slot[4] = 0x06;
            slot[5] = speed;
            slot[7] = bright;
            break;
        case 8:
            slot[4] = 0x08;
            slot[5] = speed;
            slot[7] = bright;
            break;
        case 9:
            slot[4] = 0x09;
            slot[5] = speed;
            slot[7] = bright;
            break;
        }
    }
}

int DeviceCommands::WriteLightingTable() {
    uint8_t table[80];
    buildLightingTable(0, table);
    struct Block {
        uint16_t address;
        int offset;
        int length;
        uint8_t tag;
    };
    static const Block blocks[] = {
        {0x00, 0, 24, kTagFirst},
        {0x18, 24, 24, kTagNext},
        {0x30, 48, 24, kTagNext},
        {0x48, 72, 8, kTagNext},
    };
    for (const Block &b : blocks) {
        const int r =
            m_transport.SendFrame(CmdLightingTable, b.address, b.tag, table + b.offset, b.length);
        if (r != ResultDone)
            return r;
    }
    return m_transport.SendCommit(CmdLightingTable);
}

int DeviceCommands::DownloadProfile(const ProfileSet &configuration, unsigned flags) {
    // The mouse plays at most twelve macros: a configuration that needs more is refused
    // before anything is sent, so the mouse keeps what it had.
    if (macrosNeeded(configuration, flags & DownloadButtons) > kMaxMacros) {
        qCDebug(lcDevice, "iIndex>=MAX_MACRO_NUMBER_560");
        return ResultTooManyMacros;
    }
    m_downloadTable = configuration;
    m_tableFilled = true;

    // The steps of this download, each a write that stops it at its first failure.
    std::vector<std::function<int()>> steps;
    steps.push_back([this] { return DownloadMark(0); });
    steps.push_back([this] {
        const int r = WriteSettingsTable();
        if (r == ResultDone && m_settingsWritten)
            m_settingsWritten();
        return r;
    });
    if (flags & DownloadButtons)
        steps.push_back([this] { return WriteButtonTable(); });
    if (flags & DownloadDpi)
        steps.push_back([this] { return WriteDpiTable(m_downloadTable.activeIndex()); });
    if (flags & DownloadLighting)
        steps.push_back([this] { return WriteLightingTable(); });
    if (flags != 0)
        steps.push_back([this] { return ApplySettings(); });
    steps.push_back([this] { return WriteMacros(); });
    steps.push_back([this] { return DownloadMark(1); });

    const int total = int(steps.size());
    for (int i = 0; i < total; ++i) {
        const int r = steps[size_t(i)]();
        // Cut short, the mouse may hold a new button table without its macros.
        if (r != ResultDone) {
            m_heldButtons.reset();
            return r;
        }
        if (m_progress)
            m_progress(i + 1, total);
    }
    return ResultDone;
}
