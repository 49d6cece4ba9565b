// SPDX-License-Identifier: GPL-3.0-or-later
// A macro file (.MSMACRO): loaded by the macro page, bound to a button and sent.
#include "DeviceCommands.h"
#include "FuzzInstallation.h"
#include "ProfileData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Fuzz::macroFileInput(QStringLiteral("Fuzz"), kFunMacro, data, size);
    return 0;
}
