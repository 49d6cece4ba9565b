// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model descriptor DefaultProfile.bin: what the installed model has and its factory
// settings. INI text in group "PROFILE"; read only, each accessor opens the file anew.

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

constexpr int kDescriptorButtonKeys = 16; // button entries read from the file
constexpr int kDescriptorButtons = 20;    // button entries of the record

struct ModelDescriptor {
    uint8_t dpi = 0;
    int32_t stageValue[8] = {};
    int32_t pollrate = 0;
    uint8_t LedMode = 0;
    struct LedDefault {
        QColor RGB;
        int32_t bright = 0;
        int32_t breath = 0;
    } ledModes[14];
    struct Button {
        int32_t ID = 0;
        int32_t Fun = 0;
        int32_t LoopNumber = 0;
        int32_t KeyNumber = 0;
        uint8_t Res1 = 0;
        uint8_t Res2 = 0;
        uint8_t Res3 = 0;
        uint8_t Res4 = 0;
    } buttons[kDescriptorButtons];
};

// Order of the seven bytes of readSensorDefaults.
enum SensorDefault {
    SensorLift,
    SensorAngle,
    SensorDebounce,
    SensorJitter,
    SensorWake,
    SensorMode_,
    SensorSync,
    SensorDefaultCount
};

// 0, or -1 when the file does not exist (the output is then untouched).
int readModelDescriptor(ModelDescriptor &descriptor);
int readSensorDefaults(uint8_t out[SensorDefaultCount]);
int readButtonMatrix(int8_t out[kDescriptorButtonKeys]);
// The button count, or -1 when the file does not exist.
int readButtonMatrix2(int8_t out[kDescriptorButtonKeys]);

int buttonCount();
int dpiStageCount();
void readUsbIds(int &vid1, int &pid1, int &vid2, int &pid2);
void readSleepRange(int &min, int &max);

int descriptorDisableMacro();
int descriptorShowUpdate();
int descriptorShowSleep();
int descriptorLedDisable();
int descriptorScrollRev();
int descriptorMinDelay();
int descriptor33254();
int descriptorColorMode();
int descriptorSyncMode();
int descriptorFrench();
// "PROFILE/ProductName": the product the installation is made for.
QString descriptorProductName();

// The button matrix of the last profile-set load, used by the button-table encoding.
std::array<int8_t, kDescriptorButtonKeys> buttonMatrix();
void setButtonMatrix(const int8_t matrix[kDescriptorButtonKeys]);
