// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying a request out in the command line's own process, the way when the window is not
// running. The caller holds the product's instance lock. The mouse is found, opened and asked
// for its battery once, the command runs as the window runs it, and the mouse is closed again.
// The battery reading of a status goes into the model's battery history through battery, as
// in the window, and the status tells the hours left from it.

#include "MouseRequests.h"

#include <memory>

class BatteryRecorder;

MouseOutcome runLocally(const MouseRequest &request, BatteryRecorder &battery);

// The looks of `status --follow` while the window is not running, each under the lock that
// the caller holds: the mouse stays open from look to look (without the lock between them,
// reading nothing then), so that what it tells by itself meanwhile, a slot, DPI stage or
// report rate changed with its buttons, is read at the next look and saved as the window saves
// it. The battery is asked for as often as the window's status poll asks, and the devices are
// looked for again when a plug event of the model came (at every look without plug events).
class StatusFollower {
public:
    StatusFollower();
    ~StatusFollower();
    StatusFollower(const StatusFollower &) = delete;
    StatusFollower &operator=(const StatusFollower &) = delete;

    // The status, as runLocally gives it for a status request.
    MouseOutcome look(BatteryRecorder &battery);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
