#include "DeviceCommands.h"

#include "AppConfig.h"
#include "ButtonMap.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "SensorTables.h"

#include <QtGlobal>

#include <algorithm>
#include <mutex>

std::atomic<uint8_t> linkMode{0};

namespace {

std::atomic<DeviceMainWindow *> g_mainWindow{nullptr};

std::mutex g_tableMutex;
ProfileSet g_downloadTable;
std::atomic<bool> g_tableFilled{false};

constexpr uint8_t kApplyGroup = 0xF3;
constexpr uint8_t kApplyMasks[] = {0x04, 0x01, 0x02, 0x08, 0x10};

int boundedProfile(int profile) {
    return std::clamp(profile, 0, kProfileCount - 1);
}

} // namespace

void RegisterMainWindow(DeviceMainWindow *window) {
    g_mainWindow.store(window);
}

ProfileSet &downloadTable() {
    return g_downloadTable;
}

bool downloadTableFilled() {
    return g_tableFilled.load();
}

uint8_t downloadedMouseSpeed() {
    std::lock_guard<std::mutex> lock(g_tableMutex);
    return g_downloadTable.activeProfile().mousespeed;
}

int SelectProfile(int index) {
    SendFrame(CmdSelectProfile, frameParams(uint8_t(index), 0), 0, nullptr, 0);
    SendFrame(CmdApplyGroup, frameParams(kApplyGroup, 0x01), 0, nullptr, 0);
    return 1;
}

int ApplySettings() {
    for (uint8_t mask : kApplyMasks) {
        const int r = SendFrame(CmdApplyGroup, frameParams(kApplyGroup, mask), 0, nullptr, 0);
        if (r != ResultDone)
            return r;
    }
    return ResultDone;
}

int DownloadMark(int phase) {
    return SendFrame(CmdDownloadMark, frameParams(uint8_t(phase), 0), 0, nullptr, 0);
}

uint8_t lightingEffectCode(int ledMode) {
    static const uint8_t codes[kLedModeCount] = {1, 2, 3, 4, 5, 6, 6, 6, 6, 6, 8, 7, 9, 10};
    if (ledMode < 0 || ledMode >= kLedModeCount)
        return 6;
    return codes[ledMode];
}

void buildSettingsTable(uint8_t out[19]) {
    const ProfileSet &t = g_downloadTable;
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

int WriteSettingsTable() {
    uint8_t data[19] = {};
    buildSettingsTable(data);
    const int r = SendFrame(CmdSettingsTable, 0x00, kTagFirst, data, sizeof data);
    if (r != ResultDone)
        return r;
    return SendCommit(CmdSettingsTable);
}

int WriteDpiTable(int profile) {
    const ProfileData &p = g_downloadTable.profiles[boundedProfile(profile)];
    const int descriptorCount = dpiStageCount();
    const int stageCount =
        descriptorCount >= 1 && descriptorCount <= kDpiStageCount ? descriptorCount : 8;
    const int sensor = sensorCode();
    const uint8_t link = linkMode.load();

    const uint8_t count = uint8_t(stageCount);
    int r = SendFrame(CmdDpiTable, 0x00, kTagFirst, &count, 1);
    if (r != ResultDone)
        return r;
    for (int i = 0; i < kDpiStageCount; ++i) {
        const DpiInfo &stage = p.dpiInfo[i];
        uint8_t data[5] = {};
        data[0] = i < stageCount ? stage.used : 0;
        EncodeDpiStage(sensor, stage.x, stage.y, link, data + 1);
        r = SendFrame(CmdDpiTable, uint16_t(1 + 5 * i), kTagNext, data, sizeof data);
        if (r != ResultDone)
            return r;
    }
    return SendCommit(CmdDpiTable);
}

void buildLightingTable(int profile, uint8_t out[80]) {
    const ProfileData &p = g_downloadTable.profiles[boundedProfile(profile)];
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

int WriteLightingTable() {
    uint8_t slots[80];
    buildLightingTable(0, slots);
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
        const int r = SendFrame(CmdLightingTable, b.address, b.tag, slots + b.offset, b.length);
        if (r != ResultDone)
            return r;
    }
    return SendCommit(CmdLightingTable);
}

int DownloadProfile(const ProfileSet &configuration, unsigned flags) {
    // The mouse plays at most twelve macros: a configuration that needs more is refused
    // before anything is sent, so the mouse keeps what it had.
    if (macrosNeeded(configuration, flags & DownloadButtons) > kMaxMacros) {
        qDebug("iIndex>=MAX_MACRO_NUMBER_560\n");
        return ResultTooManyMacros;
    }
    // The status thread rests while the download runs, so that its reads do not take the
    // download's answers, and polls again afterwards whatever the outcome: after a failed
    // send the battery and the changes made on the mouse must still be shown.
    struct StatusThreadPause {
        DeviceMainWindow *window = g_mainWindow.load();
        StatusThreadPause() {
            if (window)
                window->stopBatteryThread();
        }
        ~StatusThreadPause() {
            if (window)
                window->startBatteryThread();
        }
    } statusPause;
    {
        std::lock_guard<std::mutex> lock(g_tableMutex);
        g_downloadTable = configuration;
        g_tableFilled.store(true);
    }

    int r = DownloadMark(0);
    if (r != ResultDone)
        return r;
    r = WriteSettingsTable();
    if (r != ResultDone)
        return r;
    if (flags & DownloadButtons) {
        r = WriteButtonTable();
        if (r != ResultDone)
            return r;
    }
    if (flags & DownloadDpi) {
        r = WriteDpiTable(0);
        if (r != ResultDone)
            return r;
    }
    if (flags & DownloadLighting) {
        r = WriteLightingTable();
        if (r != ResultDone)
            return r;
    }
    if (flags != 0) {
        r = ApplySettings();
        if (r != ResultDone)
            return r;
    }
    r = WriteMacros();
    if (r != ResultDone)
        return r;
    return DownloadMark(1);
}
