// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The virtual-mouse launcher's command line and the commands of its control FIFO.
//
//   virtual-mouse [--receiver] [--cable] [--release HEX] [--control FIFO] [--dump FILE]
//                 [--node-mode OCTAL] -- COMMAND [ARGS...]
//
// --node-mode sets the permission bits of the device nodes, e.g. 000 for a mouse that is
// plugged in but that the program may not open.
//
// Control commands, one a line: "plug receiver|cable", "unplug receiver|cable",
// "battery MILLIVOLTS CHARGING", "sleep", "wake [quietly]" (quietly: without the battery
// report a mouse sends when it wakes, as if the host missed it), "dpi STAGE", "profile INDEX",
// "rate CODE", "answer ok|none|zeros|wrong-header|wrong-data [COUNT]", "delay MS", and
// "dump", which writes the --dump file now, while the command runs (it is written again
// when the command ends). Empty lines and lines starting with '#' are ignored.

#include "VirtualMouse.h"

#include <string>
#include <vector>

struct LauncherOptions {
    bool receiver = true; // with neither option both devices are present
    bool cable = true;
    uint16_t release = 0x0902; // the cable device's release number
    std::string controlPath;
    std::string dumpPath;
    int nodeMode = -1; // permission bits of the device nodes; -1 leaves the pty's own
    std::vector<std::string> command;
    std::string error; // non-empty when the command line is wrong
};

// args: the arguments after the program name.
LauncherOptions parseLauncherOptions(const std::vector<std::string> &args);
const char *launcherUsage();

struct ControlCommand {
    enum Kind {
        Invalid,
        Empty,
        Plug,
        Unplug,
        Battery,
        Sleep,
        Wake,
        Dpi,
        Profile,
        Rate,
        Answer,
        Delay,
        Dump
    };
    Kind kind = Invalid;
    MouseLink link = MouseLink::Receiver; // plug, unplug
    int value = 0; // millivolts, DPI stage, profile index, rate code, answer count, delay
    bool charging = false;
    bool quietly = false; // wake without a report
    VirtualMouse::Answer answer = VirtualMouse::Answer::Ok;
    std::string error; // why an Invalid line was refused
};

ControlCommand parseControlCommand(const std::string &line);

// Carries out a command that concerns the mouse itself: battery, sleep and wake send a
// battery report, dpi, profile and rate a status report, as if changed on the mouse.
// Returns false for plug, unplug and dump, which concern the device nodes and the dump file
// and are the caller's, and for Invalid and Empty lines.
bool applyToMouse(VirtualMouse &mouse, const ControlCommand &command);
