// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying a request out in the command line's own process, the way when the window is not
// running. The caller holds the product's instance lock. The mouse is found, opened and asked
// for its battery once, the command runs as the window runs it, and the mouse is closed again.

#include "MouseRequests.h"

MouseOutcome runLocally(const MouseRequest &request);
