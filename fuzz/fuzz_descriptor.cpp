// SPDX-License-Identifier: GPL-3.0-or-later
// The model descriptor (DefaultProfile.bin) as start-up reads it: the model's counts, ids,
// options, button layout and default profile; then the defaults are sent to the mouse.
#include "AppConfig.h"
#include "FuzzInstallation.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::setUp();
    Fuzz::restoreConfig(); // the model's name is written back to Config.ini
    Fuzz::writeInput(descriptorPath(), data, size);
    ModelDescriptor descriptor;
    readModelDescriptor(descriptor);
    uint8_t sensor[SensorDefaultCount] = {};
    readSensorDefaults(sensor);
    int8_t matrix[kDescriptorButtonKeys] = {};
    readButtonMatrix2(matrix);
    if (readButtonMatrix(matrix) == 0)
        setButtonMatrix(matrix);
    buttonCount();
    dpiStageCount();
    int vid1 = 0, pid1 = 0, vid2 = 0, pid2 = 0;
    readUsbIds(vid1, pid1, vid2, pid2);
    int sleepMin = 0, sleepMax = 0;
    readSleepRange(sleepMin, sleepMax);
    descriptorProductName();
    HidTransport().LoadDeviceMatchTable();
    ProfileSet set;
    resetProfileSet(set);
    for (ProfileData &profile : set.profiles)
        makeDefaultProfile(profile);
    Fuzz::sendSet(set);
    return 0;
}
