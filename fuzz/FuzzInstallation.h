// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every fuzz target shares: a scratch installation in a temporary directory with the
// repository's model descriptor and Config.ini, and a mouse that answers every command, so
// that what a loader reads from a file can go on to the mouse as the program sends it.

#include <QString>

#include <cstddef>
#include <cstdint>

class DeviceCommands;
class HidTransport;
struct ProfileSet;

namespace Fuzz {

// Once per process: the directory, its data files and the answering mouse. Protocol pauses
// are skipped.
void setUp();
// Writes one input to path, replacing what was there. Each write gets a modification time
// of its own, so that a settings object never serves an earlier input from its cache.
void writeInput(const QString &path, const uint8_t *data, size_t size);
// Puts the installation's Config.ini back (the repository's, with the model chosen), for
// targets whose code writes to it: every input then starts from the same state.
void restoreConfig();
// The transport to the answering mouse, and the command set over it.
HidTransport &transport();
DeviceCommands &commands();
// Sends every group of the set to the mouse, as Apply after a failed send does.
int sendSet(const ProfileSet &set);
// One input as a macro file of that name: loaded as the macro page loads it, then bound to
// the first button of the model's default profiles (function kFunMacro or the gun-file
// function) and sent with the button table and the macro memory, for which the device
// layer reads the file again.
void macroFileInput(const QString &name, int fun, const uint8_t *data, size_t size);

// Answers what is written to the mouse with the given replies, in order, instead of an
// echo: each reply is a length byte (0: the read times out) and that many bytes, at most
// 64; once they are used up, reads fail. Null restores the echo.
void replyWith(const uint8_t *replies, size_t size);
// True when a reply read since the last write matched it (CompareReply gave 0).
bool lastWriteConfirmed();

} // namespace Fuzz
