// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile record: everything the user can set for one profile of the mouse,
// and the set of five profiles with the mouse-wide sensor options.

#include <QColor>
#include <QString>
#include <cstdint>

constexpr int kProfileCount = 5;
constexpr int kDpiStageCount = 8;
constexpr int kButtonSlotCount = 42;
constexpr int kKeyStepCount = 63;
constexpr int kLedModeCount = 14;

// Button slots of the two wheel directions.
constexpr int kWheelUpSlot = 40;
constexpr int kWheelDownSlot = 41;

// Function code of a button bound to a macro file.
constexpr int kFunMacro = 200;
// Function code of a button bound to a gun file (played like a macro).
constexpr int kFunGunFile = 510;

struct DpiInfo {
    uint8_t used = 0;
    uint8_t link = 0;
    uint32_t xy = 0;
    uint32_t x = 0;
    uint32_t y = 0;

    bool operator==(const DpiInfo &o) const {
        return used == o.used && link == o.link && xy == o.xy && x == o.x && y == o.y;
    }
    bool operator!=(const DpiInfo &o) const { return !(*this == o); }
};

struct KeyInfo {
    uint8_t map = 0;
    uint8_t L = 0;
    uint8_t H = 0;

    bool operator==(const KeyInfo &o) const { return map == o.map && L == o.L && H == o.H; }
    bool operator!=(const KeyInfo &o) const { return !(*this == o); }
};

struct ButtonInfo {
    int32_t ID = 0;
    int32_t Fun = 0;
    int32_t LoopNumber = 0;
    int32_t KeyNumber = 0; // valid entries of KeyInfo; read it through keyStepCount()
    KeyInfo keyInfo[kKeyStepCount];
    uint8_t Res1 = 0;
    uint8_t Res2 = 0;
    uint8_t Res3 = 0;
    uint8_t Res4 = 0;
    QString macroname;

    // KeyNumber comes from files and dialogs; bounded, it can index KeyInfo.
    int keyStepCount() const;

    bool operator==(const ButtonInfo &o) const;
    bool operator!=(const ButtonInfo &o) const { return !(*this == o); }
};

struct LedModeInfo {
    QColor RGB; // invalid until a colour is given
    uint32_t h = 0;
    uint32_t s = 0;
    uint32_t v = 0;
    uint32_t bright = 0;
    uint32_t breath = 0;

    bool operator==(const LedModeInfo &o) const {
        return RGB == o.RGB && h == o.h && s == o.s && v == o.v && bright == o.bright &&
               breath == o.breath;
    }
    bool operator!=(const LedModeInfo &o) const { return !(*this == o); }
};

struct ProfileData {
    uint8_t pollrate = 0;
    uint8_t dpi = 0;
    uint8_t LedMode = 0;
    uint8_t LedMoveOFF = 0;
    uint8_t LedSleepTime = 0;
    DpiInfo dpiInfo[kDpiStageCount];
    uint8_t mousespeed = 0;
    uint8_t dbclickspeed = 0;
    uint8_t scrollispage = 0;
    uint8_t scrollspeed = 0;
    uint8_t accelenable = 0;
    uint8_t acee = 0;
    ButtonInfo buttons[kButtonSlotCount];
    LedModeInfo ledModes[kLedModeCount];
    QString ProfileName;
    QString ProfilePath;

    // The active DPI stage, or -1 when the stored number names no stage.
    int activeStage() const { return dpi < kDpiStageCount ? dpi : -1; }
    // The active lighting effect, or nullptr when the stored number names none.
    const LedModeInfo *activeLedMode() const {
        return LedMode < kLedModeCount ? &ledModes[LedMode] : nullptr;
    }

    bool operator==(const ProfileData &o) const;
    bool operator!=(const ProfileData &o) const { return !(*this == o); }
};

struct ProfileSet {
    uint8_t ProfileID = 0;
    ProfileData profiles[kProfileCount];
    uint8_t AngleValue = 0;
    uint8_t LiftHigh = 0;
    uint8_t Sync = 0;
    uint8_t Count = 0;
    uint8_t Jitter = 0;
    uint8_t Debounce = 0;
    uint8_t Wake = 0;
    uint8_t SensorMode = 0;
    QString profileNames[kProfileCount];

    // ProfileID as stored may be anything a file held; this is the slot it can index.
    int activeIndex() const { return ProfileID < kProfileCount ? ProfileID : 0; }
    ProfileData &activeProfile() { return profiles[activeIndex()]; }
    const ProfileData &activeProfile() const { return profiles[activeIndex()]; }

    bool operator==(const ProfileSet &o) const;
    bool operator!=(const ProfileSet &o) const { return !(*this == o); }
};

// The lowest key response the mouse takes; a 0 from a file stands for it.
constexpr uint8_t kKeyResponseMin = 1;
// The key response the mouse is sent for a stored one.
inline uint8_t boundedKeyResponse(uint8_t stored) {
    return stored < kKeyResponseMin ? kKeyResponseMin : stored;
}
// The lift-off distance in millimetres the mouse is sent and the pages show for a stored one:
// 1 or 2, any other byte is 2.
inline uint8_t boundedLift(uint8_t stored) {
    return stored == 1 ? 1 : 2;
}
// Makes the values of the set that the mouse cannot take the nearest ones it can.
void boundForMouse(ProfileSet &set);

// Masks returned by diffProfileSets and taken by the download.
enum DiffMask : unsigned {
    DiffGeneral = 1,
    DiffDpi = 2,
    DiffButtons = 4,
    DiffLighting = 8,
    DiffAll = 15,
};

// Overwrites the record with the model's default profile (from the descriptor, or the
// built-in fallback when there is none).
void makeDefaultProfile(ProfileData &record);

// Factory reset: sensor options from the descriptor, profile 0 default, slot names
// "Profile 1".."Profile 5"; Count and profiles 1..4 are left as they are.
void resetProfileSet(ProfileSet &set);

// The DPI number shown for a stored stage value, by the sensor's step rule.
int stageToDpi(int a, int sensorCode);

// Which groups of settings differ between the two sets (DiffMask bits). A macro button
// whose file carries a write sign counts as changed, and the sign is cleared in the file.
unsigned diffProfileSets(const ProfileSet &working, const ProfileSet &applied);
