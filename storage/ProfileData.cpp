// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProfileData.h"

#include "AppConfig.h"
#include "IniFile.h"
#include "ModelDescriptor.h"

#include <climits>

int ButtonInfo::keyStepCount() const {
    if (KeyNumber < 0)
        return 0;
    return KeyNumber > kKeyStepCount ? kKeyStepCount : KeyNumber;
}

bool ButtonInfo::operator==(const ButtonInfo &o) const {
    if (ID != o.ID || Fun != o.Fun || LoopNumber != o.LoopNumber || KeyNumber != o.KeyNumber ||
        Res1 != o.Res1 || Res2 != o.Res2 || Res3 != o.Res3 || Res4 != o.Res4 ||
        macroname != o.macroname)
        return false;
    for (int k = 0; k < kKeyStepCount; ++k) {
        if (keyInfo[k] != o.keyInfo[k])
            return false;
    }
    return true;
}

bool ProfileData::operator==(const ProfileData &o) const {
    if (pollrate != o.pollrate || dpi != o.dpi || LedMode != o.LedMode ||
        LedMoveOFF != o.LedMoveOFF || LedSleepTime != o.LedSleepTime ||
        mousespeed != o.mousespeed || dbclickspeed != o.dbclickspeed ||
        scrollispage != o.scrollispage || scrollspeed != o.scrollspeed ||
        accelenable != o.accelenable || acee != o.acee || ProfileName != o.ProfileName ||
        ProfilePath != o.ProfilePath)
        return false;
    for (int i = 0; i < kDpiStageCount; ++i) {
        if (dpiInfo[i] != o.dpiInfo[i])
            return false;
    }
    for (int i = 0; i < kButtonSlotCount; ++i) {
        if (buttons[i] != o.buttons[i])
            return false;
    }
    for (int i = 0; i < kLedModeCount; ++i) {
        if (ledModes[i] != o.ledModes[i])
            return false;
    }
    return true;
}

bool ProfileSet::operator==(const ProfileSet &o) const {
    if (ProfileID != o.ProfileID || AngleValue != o.AngleValue || LiftHigh != o.LiftHigh ||
        Sync != o.Sync || Count != o.Count || Jitter != o.Jitter || Debounce != o.Debounce ||
        Wake != o.Wake || SensorMode != o.SensorMode)
        return false;
    for (int i = 0; i < kProfileCount; ++i) {
        if (profiles[i] != o.profiles[i] || profileNames[i] != o.profileNames[i])
            return false;
    }
    return true;
}

void makeDefaultProfile(ProfileData &record) {
    record = ProfileData();
    record.pollrate = 1;
    record.dpi = 1;
    record.LedMode = 1;
    record.mousespeed = 10;
    record.dbclickspeed = 5;
    record.scrollispage = 0;
    record.scrollspeed = 1;
    record.accelenable = 1;
    record.acee = 1;
    record.LedMoveOFF = 0;
    record.LedSleepTime = 1;

    ModelDescriptor d;
    if (readModelDescriptor(d) == 0) {
        record.pollrate = uint8_t(d.pollrate);
        record.LedMode = d.LedMode;
        record.dpi = d.dpi;
        for (int i = 0; i < kDpiStageCount; ++i) {
            DpiInfo &s = record.dpiInfo[i];
            s.used = 1;
            s.link = 1;
            s.xy = s.x = s.y = uint32_t(d.stageValue[i]);
        }
        for (int i = 0; i < kDescriptorButtons; ++i) {
            ButtonInfo &b = record.buttons[i];
            b.Fun = d.buttons[i].Fun;
            b.LoopNumber = d.buttons[i].LoopNumber;
            b.KeyNumber = d.buttons[i].KeyNumber;
            b.Res1 = d.buttons[i].Res1;
            b.Res2 = d.buttons[i].Res2;
            b.Res3 = d.buttons[i].Res3;
            b.Res4 = d.buttons[i].Res4;
        }
        for (int n = 0; n < kLedModeCount; ++n) {
            LedModeInfo &m = record.ledModes[n];
            m.RGB = d.ledModes[n].RGB;
            m.bright = uint32_t(d.ledModes[n].bright);
            m.breath = uint32_t(d.ledModes[n].breath);
            m.h = 360;
            m.s = 0;
            m.v = 0;
        }
    } else {
        record.LedMode = 9;
        static const uint32_t stages[kDpiStageCount] = {8, 12, 16, 24, 50, 75, 0, 0};
        for (int i = 0; i < kDpiStageCount; ++i) {
            DpiInfo &s = record.dpiInfo[i];
            s.used = 1;
            s.link = 1;
            s.xy = s.x = s.y = stages[i];
        }
        static const int32_t funs[7] = {1, 2, 3, 4, 5, 4, 5};
        for (int i = 0; i < 7; ++i)
            record.buttons[i].Fun = funs[i];
        for (int n = 0; n < kLedModeCount; ++n) {
            LedModeInfo &m = record.ledModes[n];
            m.RGB = QColor(255, 0, 0);
            m.h = 360;
            m.bright = 3;
            m.breath = 3;
        }
        record.ledModes[4].breath = 2;
        record.ledModes[9].breath = 4;
        record.ledModes[10].RGB = QColor(0, 255, 0);
        record.ledModes[10].breath = 5;
        record.ledModes[12].breath = 1;
    }
    record.buttons[kWheelUpSlot].Fun = 52;
    record.buttons[kWheelDownSlot].Fun = 53;
}

void boundForMouse(ProfileSet &set) {
    set.Debounce = boundedKeyResponse(set.Debounce);
    set.LiftHigh = boundedLift(set.LiftHigh);
}

void resetProfileSet(ProfileSet &set) {
    // Without a descriptor the sensor options become 0.
    uint8_t sensor[SensorDefaultCount] = {};
    readSensorDefaults(sensor);
    set.ProfileID = 0;
    set.LiftHigh = sensor[SensorLift];
    set.AngleValue = sensor[SensorAngle];
    set.Debounce = sensor[SensorDebounce];
    set.Jitter = sensor[SensorJitter];
    set.Wake = sensor[SensorWake];
    set.SensorMode = sensor[SensorMode_];
    set.Sync = sensor[SensorSync];
    makeDefaultProfile(set.profiles[0]);
    for (int i = 0; i < kProfileCount; ++i)
        set.profileNames[i] = QStringLiteral("Profile %1").arg(i + 1);
}

namespace {
// Piecewise-linear step rules; a is widened so that no stored value can overflow.
long long stageToDpiWide(long long a, int sensor) {
    switch (sensor) {
    case 3104:
    case 31042:
        if (a <= 106) {
            const long long d = 40 * a;
            return d == 560 ? 500 : d;
        }
        return 80 * a - 4240;
    case 3212:
        if (a <= 63) {
            const long long d = 38 * a / 10 * 10;
            switch (d) {
            case 790:
                return 800;
            case 1210:
                return 1200;
            case 1630:
                return 1600;
            case 2390:
                return 2400;
            default:
                return d;
            }
        }
        if (a <= 94)
            return (a - 32) * 76 / 10 * 10;
        {
            const long long d = (a - 63) * 152 / 10 * 10;
            return d == 7290 ? 7200 : d;
        }
    case 3311:
    case 3360:
    case 33112:
        return a <= 120 ? 100 * a : 12000 + 200 * (a - 120);
    case 3325:
    case 33252:
        if (a <= 50)
            return 100 * a;
        if (a <= 75)
            return 5000 + 200 * (a - 50);
        return 10000 + 400 * (a - 75);
    case 3327:
        if (a <= 61)
            return 100 * (a + 1);
        if (a <= 92)
            return 6200 + 200 * (a - 61);
        return a == 106 ? 16400 : 12300 + 300 * (a - 92);
    case 3333:
        return a <= 80 ? 100 * a : 8000 + 200 * (a - 80);
    case 3335:
    case 33352:
        return a <= 160 ? 100 * a : 16000 + 200 * (a - 160);
    case 3370:
        return a <= 200 ? 50 * a : 10000 + 100 * (a - 200);
    case 3389:
        return a <= 320 ? 50 * a : 16000 + 100 * (a - 320);
    case 3395:
    case 33952:
        return a <= 519 ? 50 * (a + 1) : 26000 + 100 * (a - 519);
    case 3399:
        return a <= 399 ? 50 * (a + 1) : 20000 + 100 * (a - 399);
    default:
        return 0;
    }
}

bool slotDiffers(const ButtonInfo &w, const ButtonInfo &a) {
    if (w.ID != a.ID || w.Fun != a.Fun || w.LoopNumber != a.LoopNumber ||
        w.KeyNumber != a.KeyNumber || w.Res1 != a.Res1 || w.Res2 != a.Res2 || w.Res3 != a.Res3 ||
        w.Res4 != a.Res4)
        return true;
    for (int k = 0; k < kKeyStepCount; ++k) {
        if (w.keyInfo[k] != a.keyInfo[k])
            return true;
    }
    if (w.Fun == a.Fun && (w.Fun == kFunMacro || w.Fun == kFunGunFile)) {
        if (w.macroname != a.macroname)
            return true;
        // A macro edited since it was last sent carries a write sign in its file; a gun file
        // is a macro file too, edited on the same page.
        const QString path = macroFilePath(w.macroname);
        if (path.isEmpty())
            return false;
        const QString sign = QStringLiteral("Setting/WriteSign");
        if (IniFile(path).value(sign, 0).toInt() != 0) {
            updateIniFile(path, [&](IniFile &macro) { macro.setValue(sign, 0); });
            return true;
        }
    }
    return false;
}

bool activeEffectDiffers(const ProfileData &w, const ProfileData &a) {
    const LedModeInfo *wm = w.activeLedMode();
    const LedModeInfo *am = a.activeLedMode();
    if (!wm || !am)
        return false;
    return *wm != *am;
}
} // namespace

int stageToDpi(int a, int sensorCode) {
    const long long d = stageToDpiWide(a, sensorCode);
    if (d > INT_MAX)
        return INT_MAX;
    if (d < INT_MIN)
        return INT_MIN;
    return int(d);
}

unsigned diffProfileSets(const ProfileSet &working, const ProfileSet &applied) {
    unsigned mask = 0;
    for (int p = 0; p < kProfileCount; ++p) {
        if (working.profiles[p].pollrate != applied.profiles[p].pollrate ||
            working.profiles[p].scrollspeed != applied.profiles[p].scrollspeed)
            mask |= DiffGeneral;
    }
    if (working.AngleValue != applied.AngleValue || working.LiftHigh != applied.LiftHigh ||
        working.Sync != applied.Sync || working.Jitter != applied.Jitter ||
        working.Debounce != applied.Debounce || working.Wake != applied.Wake ||
        working.SensorMode != applied.SensorMode)
        mask |= DiffGeneral;
    if (working.ProfileID != applied.ProfileID) {
        mask |= DiffGeneral;
        // The mouse keeps one DPI table and one button table, written from the active
        // profile.
        const ProfileData &w = working.activeProfile();
        const ProfileData &a = applied.activeProfile();
        for (int i = 0; i < kDpiStageCount; ++i) {
            if (w.dpiInfo[i].used != a.dpiInfo[i].used || w.dpiInfo[i].x != a.dpiInfo[i].x ||
                w.dpiInfo[i].y != a.dpiInfo[i].y)
                mask |= DiffDpi;
        }
        for (int b = 0; b < kButtonSlotCount; ++b) {
            if (slotDiffers(w.buttons[b], a.buttons[b]))
                mask |= DiffButtons;
        }
    } else {
        const ProfileData &w = working.activeProfile();
        const ProfileData &a = applied.activeProfile();
        if (w.dpi != a.dpi || w.LedMode != a.LedMode || w.LedMoveOFF != a.LedMoveOFF ||
            w.LedSleepTime != a.LedSleepTime)
            mask |= DiffGeneral;
    }
    // The settings table carries the first profile's move-off flag and sleep time, whatever
    // profile is active.
    if (working.profiles[0].LedMoveOFF != applied.profiles[0].LedMoveOFF ||
        working.profiles[0].LedSleepTime != applied.profiles[0].LedSleepTime)
        mask |= DiffGeneral;

    [&] {
        for (int p = 0; p < kProfileCount; ++p) {
            for (int i = 0; i < kDpiStageCount; ++i) {
                const DpiInfo &w = working.profiles[p].dpiInfo[i];
                const DpiInfo &a = applied.profiles[p].dpiInfo[i];
                if (w.used != a.used || w.x != a.x || w.y != a.y) {
                    mask |= DiffDpi;
                    return;
                }
            }
        }
    }();

    [&] {
        for (int p = 0; p < kProfileCount; ++p) {
            for (int b = 0; b < kButtonSlotCount; ++b) {
                if (slotDiffers(working.profiles[p].buttons[b], applied.profiles[p].buttons[b])) {
                    mask |= DiffButtons;
                    return;
                }
            }
        }
    }();

    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileData &w = working.profiles[p];
        const ProfileData &a = applied.profiles[p];
        if (w.LedMode != a.LedMode || activeEffectDiffers(w, a)) {
            mask |= DiffLighting;
            break;
        }
    }
    // The mouse's one lighting table is built from every effect of the first profile.
    for (int e = 0; e < kLedModeCount; ++e) {
        if (working.profiles[0].ledModes[e] != applied.profiles[0].ledModes[e])
            mask |= DiffLighting;
    }
    return mask;
}
