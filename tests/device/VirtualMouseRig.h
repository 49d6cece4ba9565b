// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A virtual mouse plugged in through the in-process HID backend, with the installation's
// descriptor and Config.ini in a temporary application directory, and the device opened on a
// transport of the rig's own with its command set.

#include "DeviceCommands.h"
#include "HidApi.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "TestAppDir.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <memory>

class VirtualMouseRig {
public:
    VirtualMouseRig() : api(mouse) {
        dir.installData(QStringLiteral("DefaultProfile.bin"));
        dir.installData(QStringLiteral("Configs/Config.ini"));
        setHidApi(&api);
        transport.LoadDeviceMatchTable();
        transport.EnumerateDevices();
        transport.OpenDevice(QStringLiteral("TOLV"));
        loadButtonMatrix();
    }
    ~VirtualMouseRig() {
        transport.CloseDevice();
        setHidApi(nullptr);
    }
    // The button matrix that a profile load publishes for the button-table encoding.
    void loadButtonMatrix() {
        int8_t matrix[kDescriptorButtonKeys] = {};
        readButtonMatrix(matrix);
        setButtonMatrix(matrix);
    }
    // Closes and opens the device again, as after a plug event.
    void reopen() {
        transport.CloseDevice();
        transport.LoadDeviceMatchTable();
        transport.EnumerateDevices();
        transport.OpenDevice(QStringLiteral("TOLV"));
    }

    TestAppDir dir;
    VirtualMouse mouse;
    VirtualHidApi api;
    HidTransport transport;
    DeviceCommands commands{transport};
};
