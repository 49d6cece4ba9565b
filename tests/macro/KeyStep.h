// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key step a recorder writes for a key code: press (0x84) or release (0x04) with the
// key's HID usage.

#include "KeyTable.h"
#include "MacroFile.h"

inline MacroEvent keyStep(int code, bool press) {
    int usage = 0;
    keyCodeToUsage(code, usage);
    return {uint8_t(press ? 0x84 : 0x04), 0, uint8_t(usage)};
}
