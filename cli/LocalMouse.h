// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying a request out in the command line's own process, the way when the window is not
// running. The caller holds the product's instance lock. The mouse is found, opened and asked
// for its battery once, the command runs as the window runs it, and the mouse is closed again.
// The battery reading of a status goes into the model's battery history through battery, as
// in the window, and the status tells the hours left from it.

#include "MouseRequests.h"

class BatteryRecorder;

MouseOutcome runLocally(const MouseRequest &request, BatteryRecorder &battery);
