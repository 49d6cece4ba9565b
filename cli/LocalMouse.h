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

// The mouse held open between the looks of a status follower while the window is not running,
// with no lock held: what the mouse tells by itself, a slot or DPI stage changed with its
// buttons, is heard there, as the window hears it.
class MouseListener {
public:
    MouseListener();
    ~MouseListener();
    MouseListener(const MouseListener &) = delete;
    MouseListener &operator=(const MouseListener &) = delete;

    // Reads what the mouse sent since the last call; true when a change waits to be taken.
    bool heard();
    // Takes the change heard into the saved state as the window does: the slot, then the DPI
    // stage of the slot then active (the report rate the window keeps unsaved, and so does
    // this). The caller holds the product's instance lock.
    void takeHeardChange();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
