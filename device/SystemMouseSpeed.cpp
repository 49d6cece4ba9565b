#include "SystemMouseSpeed.h"

#include "DeviceCommands.h"
#include "PointerSpeed.h"
#include "ProfileData.h"

#include <QDebug>

uint8_t GetSystemMouseSpeed() {
    return uint8_t(PointerSpeed::readSpeed());
}

void SetSystemMouseSpeed() {
    const uint8_t speed =
        downloadTableFilled() ? downloadedMouseSpeed() : workingSet().activeProfile().mousespeed;
    const int error = PointerSpeed::writeSpeed(speed);
    qDebug("Error in SystemParametersInfo :%d", error);
}
