// SPDX-License-Identifier: GPL-3.0-or-later
// A gun file (the macro file the gun-set dialog writes): loaded by the macro page, bound to
// a button as a gun file and sent.
#include "DeviceCommands.h"
#include "FuzzInstallation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::macroFileInput(QStringLiteral("Gun"), kFunGunFile, data, size);
    return 0;
}
